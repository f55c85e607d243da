#include "monitor/workers.h"

#include "monitor/monitor.h"
#include "monitor/texts.h"

namespace autopause {

// No step looks at the result of the one before: a window that is not found
// is a null handle, and a click sent to it reaches nothing.

unsigned long AUTOPAUSE_STDCALL disconnectWorker(void*) {
  const Ports& p = ports();
  WindowHandle window = p.findWindowByClassAndTitle(nullptr, kClientMainTitle);
  p.sendLeftButtonDown(window, kClientMainClick.x, kClientMainClick.y);
  p.startWorker(dismissPromptWorker);
  p.sendLeftButtonUp(window, kClientMainClick.x, kClientMainClick.y);
  return 0;
}

unsigned long AUTOPAUSE_STDCALL dismissPromptWorker(void*) {
  const Ports& p = ports();
  p.sleepMs(kPromptDelayMs);
  WindowHandle window = p.findWindowByClassAndTitle(kClientPromptName, kClientPromptName);
  p.sendLeftButtonDown(window, kClientPromptClick.x, kClientPromptClick.y);
  p.sendLeftButtonUp(window, kClientPromptClick.x, kClientPromptClick.y);
  armWatch();
  return 0;
}

}  // namespace autopause
