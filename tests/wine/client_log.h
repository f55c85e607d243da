#pragma once
// Reads the log that standin_client.exe writes while it runs:
//   <window> <what> <wParam hex> <lParam hex> <tick>   for button messages ("down", "up")
//   <window> <what> <tick>                             for "ready", "shown", "closed"
// where window is "main" or "prompt".
#include <windows.h>

#include <string>
#include <vector>

#include "tests/wine/support.h"

namespace autopause::wine {

struct ClientEvent {
  std::string window, what;
  unsigned long wParam = 0, lParam = 0;  // 0 on lines without them
  unsigned long tick = 0;                // GetTickCount() in the client
};

// A path for a new log in a fresh folder, with no older log left there (folders
// of earlier runs can come back under the same name).
std::string newClientLogPath();

// The complete lines of the log so far, in order; a line still being written is
// left out, a malformed one is reported as a test failure. No file: no events.
// Starts a copy of standin_client.exe in dir, logging to log, in the given mode.
Process startStandinClient(const std::string& dir, const std::string& log, const std::string& mode);

std::vector<ClientEvent> readClientLog(const std::string& path);

// How many events are for this window and this what.
int count(const std::vector<ClientEvent>& events, const std::string& window, const std::string& what);

// Waits until the log holds at least n events for window and what; true when it did.
bool waitForClientEvent(const std::string& path, const std::string& window, const std::string& what,
                        int n = 1, DWORD timeoutMs = 20000);

// The events one per line, for failure messages.
std::string describe(const std::vector<ClientEvent>& events);

}  // namespace autopause::wine
