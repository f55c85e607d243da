// Start-up: from CreateProcess until the program's top-level window is
// visible, for each executable named on the command line (found beside this
// driver), interleaved run by run; one warm-up run first.
//   startup_bench.exe <runs> <name.exe>...
// Prints "startup_<name> <median ms>".
#include <cstdlib>
#include <string>

#include "bench/bench.h"

using namespace autopause::bench;

namespace {

std::string besideMe(const char* name) {
  char path[MAX_PATH];
  std::string p(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return p.substr(0, p.find_last_of('\\') + 1) + name;
}

// Milliseconds until the window showed, or a negative number on failure.
double timeOneStart(const std::string& exe) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string commandLine = "\"" + exe + "\"";
  const double start = nowMs();
  if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return -1;
  HWND window = nullptr;
  double shown = -1;
  while (nowMs() - start < 20000) {
    if ((window = visibleWindowOf(info.dwProcessId)) != nullptr) {
      shown = nowMs() - start;
      break;
    }
    Sleep(1);
  }
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 10000);
    shown = -1;
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return shown;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const int runs = std::atoi(argv[1]), programs = argc - 2;
  std::vector<std::vector<double>> samples(programs);
  for (int run = -1; run < runs; ++run) {
    for (int k = 0; k < programs; ++k) {
      const int i = run % 2 ? programs - 1 - k : k;  // alternate the order
      const double ms = timeOneStart(besideMe(argv[2 + i]));
      if (ms < 0) {
        std::fprintf(stderr, "startup_bench: %s did not show its window\n", argv[2 + i]);
        return 1;
      }
      if (run >= 0) samples[i].push_back(ms);
    }
  }
  for (int i = 0; i < programs; ++i) {
    std::string key = std::string("startup_") + argv[2 + i];
    report(key.substr(0, key.size() - 4).c_str(), median(samples[i]));
  }
  return 0;
}
