#pragma once
// The operations through which the monitor and its workers reach the main
// window and the system. Start-up installs the real ones; tests install fakes.
#include <cstdint>
#include <cstdlib>
#include <memory>

#ifdef _WIN32
#define AUTOPAUSE_STDCALL __stdcall
#else
#define AUTOPAUSE_STDCALL
#endif

namespace autopause {

using ProcessId = std::uint32_t;
using WindowHandle = void*;
// The platform's thread-procedure shape; the parameter is always null.
using ThreadRoutine = unsigned long(AUTOPAUSE_STDCALL*)(void*);

// A text the caller owns: ANSI bytes, released with free().
struct FreeText {
  void operator()(char* text) const { std::free(text); }
};
using Text = std::unique_ptr<char, FreeText>;

struct Ports {
  // The main window's controls.
  Text (*getProcessName)();
  void (*setStatusText)(const char* text);
  void (*setWatchPeriod)(std::int32_t milliseconds);
  void (*setStartDisabled)(bool disabled);
  // True on the thread that owns the main window.
  bool (*onInterfaceThread)();
  // Queues fn to run on the interface thread; dropped once the window is gone.
  void (*runOnInterfaceThread)(void (*fn)());

  // The system.
  ProcessId (*findProcessIdByName)(const char* name);
  void (*startWorker)(ThreadRoutine routine);
  int (*showTimedNotice)(const char* text);
  WindowHandle (*findWindowByClassAndTitle)(const char* className, const char* title);
  void (*sendLeftButtonDown)(WindowHandle window, std::uint16_t x, std::uint16_t y);
  void (*sendLeftButtonUp)(WindowHandle window, std::uint16_t x, std::uint16_t y);
  void (*sleepMs)(std::uint32_t milliseconds);
};

// Installed once at start-up, before any handler runs.
void usePorts(const Ports& ports);
const Ports& ports();

}  // namespace autopause
