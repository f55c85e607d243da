#include <windows.h>

#include "automation/messages.h"

namespace autopause {

WindowHandle findWindowByClassAndTitle(WindowHandle parent, WindowHandle childAfter,
                                       const char* className, const char* title) {
  return FindWindowExA(static_cast<HWND>(parent), static_cast<HWND>(childAfter), className, title);
}

void sendLeftButtonDown(WindowHandle window, std::uint16_t x, std::uint16_t y) {
  SendMessageA(static_cast<HWND>(window), WM_LBUTTONDOWN, MK_LBUTTON, packClickPoint(x, y));
}

void sendLeftButtonUp(WindowHandle window, std::uint16_t x, std::uint16_t y) {
  SendMessageA(static_cast<HWND>(window), WM_LBUTTONUP, 0, packClickPoint(x, y));
}

void startWorker(ThreadRoutine routine, void* parameter) {
  DWORD threadId;
  HANDLE thread = CreateThread(nullptr, 0, routine, parameter, 0, &threadId);
  if (thread != nullptr) CloseHandle(thread);
}

}  // namespace autopause
