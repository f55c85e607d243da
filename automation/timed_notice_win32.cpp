#include <windows.h>

#include "automation/timed_notice.h"
#include "automation/window_search.h"
#include "monitor/texts.h"

namespace autopause {
namespace {

inline constexpr char kBindFailedText[] =
    "无法从 user32.dll 取得 MessageBoxTimeoutA，程序无法继续运行。";

MessageBoxTimeoutFn boundBox = nullptr;

struct System {
  static void* loadLibrary(const char* name) { return LoadLibraryA(name); }
  static MessageBoxTimeoutFn findExport(void* library, const char* name) {
    return reinterpret_cast<MessageBoxTimeoutFn>(
        reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name)));
  }
  [[noreturn]] static void fatal() {
    MessageBoxA(nullptr, kBindFailedText, nullptr, MB_OK | MB_ICONERROR);
    ExitProcess(static_cast<UINT>(-1));
  }
  static ProcessId currentProcessId() { return GetCurrentProcessId(); }
  static WindowHandle findWindowOfProcess(ProcessId id, std::int32_t ms) {
    return autopause::findWindowOfProcess(id, ms);
  }
  static MessageBoxTimeoutFn messageBoxTimeout() { return bindMessageBoxTimeout<System>(boundBox); }
};

}  // namespace

int showTimedNotice(const char* text, const NoticeOptions& options) {
  return showTimedNoticeWith<System>(text, options, kNoticeCaption);
}

}  // namespace autopause
