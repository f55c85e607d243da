#pragma once
// The real autopause.exe, started and inspected from outside as a user's
// tools would: its windows, their texts and styles, the focus, real keys.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/wine/support.h"

namespace autopause::wine {

// A window's text, read with WM_GETTEXT as accessibility tools do.
std::string textOf(HWND window);

class App {
 public:
  // Starts autopause.exe from beside the test driver and waits for its window.
  App();

  HWND window() const { return window_; }
  Process& process() { return process_; }

  // Controls found by class and (initial) text, anywhere below the window.
  HWND control(const char* cls, const char* text) const;
  HWND startButton() const { return control("BUTTON", "开始监控"); }
  HWND groupBox() const { return control("BUTTON", "自行修改进程名，默认为战地1。"); }
  HWND editBox() const { return control("EDIT", nullptr); }
  HWND hiddenButton() const { return control("BUTTON", "按钮"); }
  HWND statusLabel() const { return status_; }

  std::string status() const { return textOf(status_); }
  bool waitStatus(const std::string& expected, DWORD timeoutMs = 15000) const;
  HWND focus() const;
  bool waitFocus(HWND expected, DWORD timeoutMs = 5000) const;

  // Real keyboard input to the window, which is brought to the front first.
  void press(WORD key, bool shift = false) const;
  void typeName(const std::string& name) const;  // replaces the edit box's text

  DWORD waitExit(DWORD timeoutMs = 20000) { return process_.waitExit(timeoutMs); }

 private:
  Process process_;
  HWND window_ = nullptr;
  HWND status_ = nullptr;
};

// The main window of the given process, or null.
HWND mainWindowOf(DWORD processId);

// Visible message boxes owned by the window, front to back.
std::vector<HWND> noticesOwnedBy(HWND owner);
// The first of them, or null.
HWND noticeOf(HWND owner);

}  // namespace autopause::wine
