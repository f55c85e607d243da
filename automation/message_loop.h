#pragma once
// Handling of one message as the program's message loop does it, shared by
// the loop and by the places that dispatch pending messages while they wait.
#ifdef _WIN32
#include <windows.h>

namespace autopause {

// Sees each message before it is translated; true when it was handled.
using KeyboardHandler = bool (*)(const MSG& msg);
void setKeyboardHandler(KeyboardHandler handler);

void handleMessage(const MSG& msg);

// Handles the calling thread's queued messages until the queue is empty or a
// WM_QUIT is next, which stays queued for the message loop.
void processPendingEvents();

}  // namespace autopause
#endif
