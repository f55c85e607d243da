#pragma once
// A fake main window, timer, process list and worker threads for driving the
// monitor on Linux: no sleeps, time moves only when a test advances it.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "monitor/ports.h"
#include "ui/watch_timer.h"

namespace autopause::fake {

struct System {
  // What the monitor did, in order: "status:waiting", "period:3000", "disabled:1",
  // "lookup:bf1.exe", "worker:disconnect", "notice", "click-down:main@1004,461", ...
  std::vector<std::string> log;

  // Controls.
  std::string processName = "bf1.exe";
  bool nameUnavailable = false;  // getProcessName gives no text at all
  std::string status;
  bool startDisabled = false;
  WatchTimer timer{TimerDriver{}};

  // The clock and the timer's schedule.
  std::uint64_t now = 0;
  std::uint64_t nextTick = 0;
  bool timerRunning = false;

  // Running processes by name.
  std::map<std::string, ProcessId> processes;

  // Threads: which one is "running" now, worker routines not yet run, and work
  // handed to the interface thread.
  bool onInterfaceThread = true;
  std::deque<ThreadRoutine> pendingWorkers;
  std::deque<void (*)()> interfaceQueue;

  // Client windows that the workers may find; null when absent.
  WindowHandle clientMain = nullptr;
  WindowHandle clientPrompt = nullptr;

  // Runs while the notice is "shown"; the notice closes when it returns.
  std::function<void()> whileNoticeShown;

  // Moves time forward, raising every tick that falls due on the way.
  void advance(std::uint64_t ms);
  // Runs queued worker routines (and those they start) as worker threads.
  void runWorkers();
  // Runs what workers handed to the interface thread.
  void pumpInterface();

  std::size_t count(const std::string& entry) const;
};

// A fresh fake installed as the ports, with the monitor state reset.
System& install();
System& current();

std::string statusName(const char* text);

}  // namespace autopause::fake
