#pragma once
// Finding a process's own top-level window, front to back, within a time limit.
#include <cstdint>

#include "monitor/ports.h"

namespace autopause {

// The frontmost visible top-level window of the process that has no owner,
// or null when the list ends or timeLimitMs has passed. Between visible
// candidates that do not qualify it handles the thread's pending messages.
WindowHandle findWindowOfProcess(ProcessId processId, std::int32_t timeLimitMs);

// The walk, over an API of the shape:
//   Api::tickCount(), Api::nextTopLevel(after), Api::isVisible(w),
//   Api::processOf(w), Api::parentOf(w), Api::processPendingEvents().
template <class Api>
WindowHandle findWindowOfProcessWith(ProcessId processId, std::int32_t timeLimitMs) {
  const std::uint32_t start = Api::tickCount();
  WindowHandle candidate = nullptr;
  for (;;) {
    // Unsigned subtraction keeps the elapsed time right across a tick-counter wrap.
    const std::uint32_t elapsed = Api::tickCount() - start;
    if (static_cast<std::int64_t>(elapsed) >= timeLimitMs) return nullptr;
    candidate = Api::nextTopLevel(candidate);
    if (candidate == nullptr) return nullptr;
    if (!Api::isVisible(candidate)) continue;
    if (Api::processOf(candidate) != processId || Api::parentOf(candidate) != nullptr) {
      Api::processPendingEvents();
      continue;
    }
    return candidate;
  }
}

}  // namespace autopause
