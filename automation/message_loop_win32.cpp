#include "automation/message_loop.h"

namespace autopause {
namespace {
KeyboardHandler keyboardHandler = nullptr;
}

void setKeyboardHandler(KeyboardHandler handler) { keyboardHandler = handler; }

void handleMessage(const MSG& msg) {
  if (keyboardHandler != nullptr && keyboardHandler(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void processPendingEvents() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return;
    if (msg.message == WM_QUIT) {  // arrived between the two looks: leave it for the loop
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    handleMessage(msg);
  }
}

}  // namespace autopause
