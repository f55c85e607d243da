#pragma once
// The main window: the process-name box, the start button and the status line.
#include <windows.h>

#include <cstdint>

#include "monitor/ports.h"

namespace autopause {

inline constexpr int kWindowWidth = 292;
inline constexpr int kWindowHeight = 159;

// Creates the window hidden, centred, with all its controls; null on failure.
HWND createMainWindow(HINSTANCE instance);

// Control operations for the monitor (interface thread only).
Text getProcessName();
void setStatusText(const char* text);
void setWatchPeriod(std::int32_t milliseconds);
void setStartDisabled(bool disabled);

// The main window's keys, seen before the focused control gets them.
bool handleMainWindowKey(const MSG& msg);

// Cross-thread hand-over to the interface thread.
bool onInterfaceThread();
void runOnInterfaceThread(void (*fn)());

}  // namespace autopause
