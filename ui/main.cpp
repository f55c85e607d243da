// Start-up and shutdown: the program lives exactly as long as its window.
#include <windows.h>
#include <mbctype.h>

#include "automation/message_loop.h"
#include "automation/messages.h"
#include "automation/process_lookup.h"
#include "automation/timed_notice.h"
#include "monitor/monitor.h"
#include "ui/main_window.h"

namespace autopause {
namespace {

inline constexpr char kStartFailedText[] = "启动窗口载入失败，程序将退出。";

ProcessId lookUp(const char* name) { return findProcessIdByName(name); }
void startWorkerThread(ThreadRoutine routine) { startWorker(routine); }
int showNotice(const char* text) { return showTimedNotice(text); }
WindowHandle findClientWindow(const char* className, const char* title) {
  return findWindowByClassAndTitle(nullptr, nullptr, className, title);
}
void sleepMs(std::uint32_t ms) { Sleep(ms); }

const Ports win32Ports{getProcessName,     setStatusText,      setWatchPeriod,   setStartDisabled,
                       onInterfaceThread,  runOnInterfaceThread, lookUp,          startWorkerThread,
                       showNotice,         findClientWindow,   sendLeftButtonDown, sendLeftButtonUp,
                       sleepMs};

void enterExecutableFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  char* slash = nullptr;
  for (char* p = path; *p; p = CharNextA(p))
    if (*p == '\\') slash = p;
  if (slash == nullptr) return;
  *slash = '\0';
  SetCurrentDirectoryA(path);
}

int run(HINSTANCE instance) {
  _setmbcp(_MB_CP_ANSI);  // multibyte comparisons follow the system's ANSI code page
  enterExecutableFolder();
  usePorts(win32Ports);
  setKeyboardHandler(handleMainWindowKey);

  HWND window = createMainWindow(instance);
  if (window == nullptr) {
    MessageBoxA(nullptr, kStartFailedText, nullptr, MB_OK | MB_ICONERROR);
    return -1;
  }
  onWindowCreated();
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetActiveWindow(window);

  if (!IsWindow(window)) return 0;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) handleMessage(msg);
  return 0;
}

}  // namespace
}  // namespace autopause

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Worker threads still running end with the process.
  ExitProcess(static_cast<UINT>(autopause::run(instance)));
}
