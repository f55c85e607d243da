#include "tests/native/fake_system.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "monitor/monitor.h"
#include "monitor/texts.h"
#include "monitor/workers.h"

namespace autopause::fake {
namespace {

std::unique_ptr<System> instance;

System& sys() { return *instance; }

void log(std::string entry) { sys().log.push_back(std::move(entry)); }

void timerStart(std::uint32_t periodMs) {
  sys().timerRunning = true;
  sys().nextTick = sys().now + periodMs;
}
void timerStop() { sys().timerRunning = false; }

Text getProcessName() {
  if (sys().nameUnavailable) return Text{};
  const std::string& name = sys().processName;
  Text text{static_cast<char*>(std::malloc(name.size() + 1))};
  std::memcpy(text.get(), name.c_str(), name.size() + 1);
  return text;
}

void setStatusText(const char* text) {
  sys().status = text;
  log("status:" + statusName(text));
}

void setWatchPeriod(std::int32_t ms) {
  log("period:" + std::to_string(ms));
  sys().timer.setPeriod(ms);
}

void setStartDisabled(bool disabled) {
  sys().startDisabled = disabled;
  log(std::string("disabled:") + (disabled ? "1" : "0"));
}

bool onInterfaceThread() { return sys().onInterfaceThread; }
void runOnInterfaceThread(void (*fn)()) { sys().interfaceQueue.push_back(fn); }

ProcessId findProcessIdByName(const char* name) {
  log(std::string("lookup:") + name);
  auto it = sys().processes.find(name);
  return it == sys().processes.end() ? 0 : it->second;
}

void startWorker(ThreadRoutine routine) {
  log(routine == disconnectWorker ? "worker:disconnect" : "worker:dismiss");
  sys().pendingWorkers.push_back(routine);
}

int showTimedNotice(const char* text) {
  log(std::strcmp(text, kNoticeText) == 0 ? "notice" : "notice:other");
  if (sys().whileNoticeShown) sys().whileNoticeShown();
  log("notice-closed");
  return 0;
}

std::string windowName(WindowHandle w) {
  if (w == nullptr) return "null";
  if (w == sys().clientMain) return "main";
  if (w == sys().clientPrompt) return "prompt";
  return "other";
}

WindowHandle findWindowByClassAndTitle(const char* className, const char* title) {
  if (className == nullptr && std::strcmp(title, kClientMainTitle) == 0) return sys().clientMain;
  if (className && std::strcmp(className, kClientPromptName) == 0 &&
      std::strcmp(title, kClientPromptName) == 0)
    return sys().clientPrompt;
  return nullptr;
}

std::string point(std::uint16_t x, std::uint16_t y) {
  return std::to_string(x) + "," + std::to_string(y);
}

void sendLeftButtonDown(WindowHandle w, std::uint16_t x, std::uint16_t y) {
  log("click-down:" + windowName(w) + "@" + point(x, y));
}
void sendLeftButtonUp(WindowHandle w, std::uint16_t x, std::uint16_t y) {
  log("click-up:" + windowName(w) + "@" + point(x, y));
}
void sleepMs(std::uint32_t ms) { log("sleep:" + std::to_string(ms)); }

const Ports fakePorts{getProcessName,     setStatusText,   setWatchPeriod,
                      setStartDisabled,   onInterfaceThread, runOnInterfaceThread,
                      findProcessIdByName, startWorker,    showTimedNotice,
                      findWindowByClassAndTitle, sendLeftButtonDown, sendLeftButtonUp,
                      sleepMs};

}  // namespace

std::string statusName(const char* text) {
  if (std::strcmp(text, kStatusUnknown) == 0) return "unknown";
  if (std::strcmp(text, kStatusWaiting) == 0) return "waiting";
  if (std::strcmp(text, kStatusPlaying) == 0) return "playing";
  if (std::strcmp(text, kStatusClosed) == 0) return "closed";
  return std::string("other:") + text;
}

void System::advance(std::uint64_t ms) {
  const std::uint64_t until = now + ms;
  while (timerRunning && nextTick <= until) {
    now = nextTick;
    nextTick += static_cast<std::uint64_t>(timer.period());
    onWatchTick();
  }
  now = std::max(now, until);  // a tick's notice may have moved time on already
}

void System::runWorkers() {
  const bool wasInterface = onInterfaceThread;
  onInterfaceThread = false;
  while (!pendingWorkers.empty()) {
    ThreadRoutine routine = pendingWorkers.front();
    pendingWorkers.pop_front();
    routine(nullptr);
  }
  onInterfaceThread = wasInterface;
}

void System::pumpInterface() {
  while (!interfaceQueue.empty()) {
    auto fn = interfaceQueue.front();
    interfaceQueue.pop_front();
    fn();
  }
}

std::size_t System::count(const std::string& entry) const {
  return static_cast<std::size_t>(std::count(log.begin(), log.end(), entry));
}

System& install() {
  instance = std::make_unique<System>();
  instance->timer = WatchTimer{TimerDriver{timerStart, timerStop}};
  instance->status = kStatusUnknown;
  monitor = MonitorState{};
  usePorts(fakePorts);
  return *instance;
}

System& current() { return *instance; }

}  // namespace autopause::fake
