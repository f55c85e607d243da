#include "monitor/monitor.h"

#include "monitor/texts.h"
#include "monitor/workers.h"

namespace autopause {

MonitorState monitor;

namespace {

const Ports* installed = nullptr;

void watchShowing(const char* status) {
  ports().setWatchPeriod(kWatchPeriodMs);
  ports().setStatusText(status);
}

void runGameClosedSteps() {
  const Ports& p = ports();
  monitor.closing = true;
  p.setStatusText(kStatusClosed);
  p.setWatchPeriod(0);
  p.startWorker(disconnectWorker);
  p.startWorker(dismissPromptWorker);
  p.showTimedNotice(kNoticeText);
  p.setStartDisabled(false);
  monitor.gameSeen = 0;
  monitor.closing = false;
}

}  // namespace

void usePorts(const Ports& p) { installed = &p; }
const Ports& ports() { return *installed; }

void onWindowCreated() { monitor.gameSeen = 0; }

void onStartClicked() {
  ports().setStartDisabled(true);
  // A game already seen keeps its status: "waiting" would be wrong while it runs.
  watchShowing(monitor.gameSeen ? kStatusPlaying : kStatusWaiting);
}

void armWatch() {
  if (!ports().onInterfaceThread()) {
    ports().runOnInterfaceThread(armWatch);
    return;
  }
  watchShowing(kStatusWaiting);
}

void onWatchTick() {
  if (monitor.closing) return;
  ProcessId pid;
  {
    Text name = ports().getProcessName();
    pid = ports().findProcessIdByName(name ? name.get() : "");
  }
  monitor.lastGamePid = pid;
  if (pid != 0 && monitor.gameSeen == 0) {
    monitor.gameSeen = 1;
    ports().setStatusText(kStatusPlaying);
  } else if (pid == 0 && monitor.gameSeen == 1) {
    runGameClosedSteps();
  }
}

}  // namespace autopause
