#pragma once
// A message box that closes itself after a time-out.
#include <cstdint>
#include <optional>

#include "monitor/ports.h"

namespace autopause {

inline constexpr std::int32_t kNoticeTimeoutMs = 5000;
inline constexpr std::int32_t kOwnerSearchMs = 1000;

// Every option left out takes its default; one given is used as it is (an
// owner given as null means no owner and no search).
struct NoticeOptions {
  std::optional<std::uint32_t> style;          // 0: one OK button
  std::optional<const char*> caption;          // "友情提醒"
  std::optional<WindowHandle> owner;           // the program's own main window
  std::optional<std::int32_t> timeoutMs;       // 5000
};

// Blocks until the box has closed; the box's result minus one (-1: no box).
int showTimedNotice(const char* text, const NoticeOptions& options = {});

// The box's entry point, bound by name from user32.dll on first use.
using MessageBoxTimeoutFn = int(AUTOPAUSE_STDCALL*)(WindowHandle owner, const char* text,
                                                    const char* caption, std::uint32_t style,
                                                    std::uint16_t language,
                                                    std::uint32_t milliseconds);

inline constexpr char kNoticeLibrary[] = "user32.dll";
inline constexpr char kNoticeExport[] = "MessageBoxTimeoutA";

// Binds the box once per process into slot; a failure is fatal (Api::fatal
// does not return). Api: loadLibrary(name), findExport(lib, name), fatal().
template <class Api>
MessageBoxTimeoutFn bindMessageBoxTimeout(MessageBoxTimeoutFn& slot) {
  if (slot == nullptr) {
    void* library = Api::loadLibrary(kNoticeLibrary);
    slot = library ? Api::findExport(library, kNoticeExport) : nullptr;
    if (slot == nullptr) Api::fatal();
  }
  return slot;
}

// The notice itself. Api: currentProcessId(), findWindowOfProcess(id, ms),
// messageBoxTimeout() (the bound entry point).
template <class Api>
int showTimedNoticeWith(const char* text, const NoticeOptions& options, const char* defaultCaption) {
  WindowHandle owner = options.owner ? *options.owner
                                     : Api::findWindowOfProcess(Api::currentProcessId(), kOwnerSearchMs);
  const char* caption = options.caption.value_or(defaultCaption);
  const std::uint32_t style = options.style.value_or(0);
  const std::int32_t timeout = options.timeoutMs.value_or(kNoticeTimeoutMs);
  return Api::messageBoxTimeout()(owner, text, caption, style, 0,
                                  static_cast<std::uint32_t>(timeout)) - 1;
}

}  // namespace autopause
