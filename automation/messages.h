#pragma once
// Window messages and worker threads: finding a window by class and title,
// the two halves of a synthetic left click, and fire-and-forget threads.
#include <cstdint>

#include "monitor/ports.h"

namespace autopause {

// lParam of a mouse message: y in the high word, x in the low word.
constexpr std::uint32_t packClickPoint(std::uint16_t x, std::uint16_t y) {
  return (static_cast<std::uint32_t>(y) << 16) | x;
}

#ifdef _WIN32
// One FindWindowExA; a left-out argument is passed as null.
WindowHandle findWindowByClassAndTitle(WindowHandle parent = nullptr,
                                       WindowHandle childAfter = nullptr,
                                       const char* className = nullptr,
                                       const char* title = nullptr);
// Sent, never posted; the result is not looked at.
void sendLeftButtonDown(WindowHandle window, std::uint16_t x, std::uint16_t y);
void sendLeftButtonUp(WindowHandle window, std::uint16_t x, std::uint16_t y);
// Starts routine on a new thread and lets go of it: the handle is closed at
// once and nobody joins the thread. A thread that cannot start is not reported.
void startWorker(ThreadRoutine routine, void* parameter = nullptr);
#endif

}  // namespace autopause
