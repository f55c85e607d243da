#include <windows.h>

#include "automation/message_loop.h"
#include "automation/window_search.h"

namespace autopause {
namespace {

struct Desktop {
  static std::uint32_t tickCount() { return GetTickCount(); }
  static WindowHandle nextTopLevel(WindowHandle after) {
    return FindWindowExA(nullptr, static_cast<HWND>(after), nullptr, nullptr);
  }
  static bool isVisible(WindowHandle w) { return IsWindowVisible(static_cast<HWND>(w)) != FALSE; }
  static ProcessId processOf(WindowHandle w) {
    DWORD process = 0;
    GetWindowThreadProcessId(static_cast<HWND>(w), &process);
    return process;
  }
  static WindowHandle parentOf(WindowHandle w) { return GetParent(static_cast<HWND>(w)); }
  static void processPendingEvents() { autopause::processPendingEvents(); }
};

}  // namespace

WindowHandle findWindowOfProcess(ProcessId processId, std::int32_t timeLimitMs) {
  return findWindowOfProcessWith<Desktop>(processId, timeLimitMs);
}

}  // namespace autopause
