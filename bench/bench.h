#pragma once
// Small helpers shared by the bench drivers. Each driver prints its results
// as "key value" lines on stdout; scripts/bench.sh turns them into a table.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace autopause::bench {

inline double nowMs() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline void report(const char* key, double value) {
  std::printf("%s %.4f\n", key, value);
  std::fflush(stdout);
}

struct WindowSearch {
  DWORD processId;
  HWND found;
};

inline BOOL CALLBACK matchVisibleWindow(HWND w, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner != s->processId || !IsWindowVisible(w)) return TRUE;
  s->found = w;
  return FALSE;
}

// A visible top-level window of the process, or null.
inline HWND visibleWindowOf(DWORD processId) {
  WindowSearch s{processId, nullptr};
  EnumWindows(matchVisibleWindow, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

}  // namespace autopause::bench
