#include "tests/wine/app.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace autopause::wine {
namespace {

struct Search {
  const char* cls;
  const char* text;
  HWND found;
};

BOOL CALLBACK matchControl(HWND w, LPARAM param) {
  auto* s = reinterpret_cast<Search*>(param);
  char cls[64];
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpiA(cls, s->cls) != 0) return TRUE;
  if (s->text != nullptr && textOf(w) != s->text) return TRUE;
  s->found = w;
  return FALSE;
}

}  // namespace

std::string textOf(HWND window) {
  char text[1024] = "";
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, &copied);
  return std::string(text, std::strlen(text));
}

HWND mainWindowOf(DWORD processId) {
  for (HWND w = FindWindowExA(nullptr, nullptr, "AutopauseMainWindow", nullptr); w != nullptr;
       w = FindWindowExA(nullptr, w, "AutopauseMainWindow", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == processId && IsWindowVisible(w)) return w;
  }
  return nullptr;
}

std::vector<HWND> noticesOwnedBy(HWND owner) {
  std::vector<HWND> notices;
  for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr))
    if (GetWindow(w, GW_OWNER) == owner && IsWindowVisible(w)) notices.push_back(w);
  return notices;
}

HWND noticeOf(HWND owner) {
  const std::vector<HWND> notices = noticesOwnedBy(owner);
  return notices.empty() ? nullptr : notices.front();
}

App::App() : process_(exeDir() + "autopause.exe") {
  EXPECT_TRUE(waitUntil([&] { return (window_ = mainWindowOf(process_.id())) != nullptr; }))
      << "the main window never appeared";
  status_ = control("AutopauseLabel", "未知");
}

HWND App::control(const char* cls, const char* text) const {
  Search s{cls, text, nullptr};
  if (window_ != nullptr) EnumChildWindows(window_, matchControl, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

bool App::waitStatus(const std::string& expected, DWORD timeoutMs) const {
  return waitUntil([&] { return status() == expected; }, timeoutMs);
}

HWND App::focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(window_, nullptr), &info);
  return info.hwndFocus;
}

bool App::waitFocus(HWND expected, DWORD timeoutMs) const {
  return waitUntil([&] { return focus() == expected; }, timeoutMs);
}

void App::press(WORD key, bool shift) const {
  SetForegroundWindow(window_);
  waitUntil([&] { return GetForegroundWindow() == window_; }, 5000);
  std::vector<INPUT> inputs;
  auto add = [&](WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
  };
  if (shift) add(VK_SHIFT, false);
  add(key, false);
  add(key, true);
  if (shift) add(VK_SHIFT, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void App::typeName(const std::string& name) const {
  SendMessageA(editBox(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
}

}  // namespace autopause::wine
