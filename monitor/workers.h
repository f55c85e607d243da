#pragma once
// The auto-disconnect sequence: two thread routines that click the
// accelerator client's windows after the game has exited.
#include <cstdint>

#include "monitor/ports.h"

namespace autopause {

struct ClickPoint {
  std::uint16_t x;
  std::uint16_t y;
};
inline constexpr ClickPoint kClientMainClick{1004, 461};
inline constexpr ClickPoint kClientPromptClick{299, 259};
inline constexpr std::uint32_t kPromptDelayMs = 500;

// Clicks the client's main window and starts the second prompt run between
// the button-down and the button-up.
unsigned long AUTOPAUSE_STDCALL disconnectWorker(void* unused);
// Waits, clicks the client's prompt, then arms the watch again.
unsigned long AUTOPAUSE_STDCALL dismissPromptWorker(void* unused);

}  // namespace autopause
