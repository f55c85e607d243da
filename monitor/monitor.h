#pragma once
// The game-exit monitor: follows one game by executable name from the watch
// timer's ticks and runs the game-closed steps once per sighting.
#include <cstdint>

#include "monitor/ports.h"

namespace autopause {

inline constexpr std::int32_t kWatchPeriodMs = 3000;

struct MonitorState {
  std::uint32_t gameSeen = 0;
  ProcessId lastGamePid = 0;
  // True from the first game-closed step until gameSeen is cleared; ticks
  // dispatched by the notice's own message loop meanwhile are dropped.
  bool closing = false;
};

// Belongs to the interface thread; no other thread reads or writes it.
extern MonitorState monitor;

void onWindowCreated();
void onStartClicked();
void onWatchTick();
// Any thread: off the interface thread it is handed over to it.
void armWatch();

}  // namespace autopause
