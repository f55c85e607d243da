#include "ui/main_window.h"

#include <atomic>
#include <cstdlib>
#include <initializer_list>
#include <utility>

#include "monitor/monitor.h"
#include "monitor/texts.h"
#include "ui/label.h"
#include "ui/watch_timer.h"

namespace autopause {
namespace {

inline constexpr char kMainClass[] = "AutopauseMainWindow";
inline constexpr char kTitle[] = "Zorvath加速器自动暂停";
inline constexpr UINT_PTR kWatchTimerId = 1;
// Runs the function in wParam on the interface thread.
inline constexpr UINT kRunOnInterfaceThread = WM_APP + 1;

enum ControlId { kButton1 = 101, kLabel1, kEdit1, kLabel2, kLabel3, kStartButton, kGroupBox1 };

struct Controls {
  HWND button1, label1, edit1, label2, label3, startButton, groupBox1;
};

HWND mainWindow = nullptr;
std::atomic<HWND> postTarget{nullptr};  // read by workers
DWORD interfaceThread = 0;
Controls controls{};
HWND focusBeforeDeactivation = nullptr;

// Once the window is gone there is no timer left to set: a null window would
// make SetTimer create a thread timer instead.
void timerStart(std::uint32_t periodMs) {
  if (mainWindow != nullptr) SetTimer(mainWindow, kWatchTimerId, periodMs, nullptr);
}
void timerStop() {
  if (mainWindow != nullptr) KillTimer(mainWindow, kWatchTimerId);
}
WatchTimer watchTimer{TimerDriver{timerStart, timerStop}};

constexpr DWORD kChild = WS_CHILD | WS_CLIPSIBLINGS;
constexpr DWORD kPushButton = kChild | WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;

HWND createControl(DWORD exStyle, const char* cls, const char* text, DWORD style, int x, int y,
                   int width, int height, HWND parent, int id) {
  HWND control = CreateWindowExA(exStyle, cls, text, style, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  if (control != nullptr) {
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  return control;
}

WNDPROC groupBoxProc = nullptr;

// A group box does not paint its inside; as the parent of five controls it must.
LRESULT CALLBACK groupBoxWithBackground(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) {
    RECT rect;
    GetClientRect(box, &rect);
    FillRect(reinterpret_cast<HDC>(wParam), &rect, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
  }
  return CallWindowProcA(groupBoxProc, box, message, wParam, lParam);
}

// Stacks siblings in the given order, the first on top.
void stackInOrder(std::initializer_list<HWND> siblings) {
  HWND above = HWND_TOP;
  for (HWND w : siblings) {
    SetWindowPos(w, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    above = w;
  }
}

// Created from the last of the control list to the first; the five inside the
// group box are placed relative to it.
bool createControls(HWND window) {
  Controls& c = controls;
  c.groupBox1 = createControl(0, "BUTTON", "自行修改进程名，默认为战地1。", kChild | BS_GROUPBOX | BS_LEFT,
                              8, 8, 272, 112, window, kGroupBox1);
  c.startButton = createControl(0, "BUTTON", "开始监控", kPushButton, 24, 40, 96, 40, window, kStartButton);
  if (!c.groupBox1 || !c.startButton) return false;
  groupBoxProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
      c.groupBox1, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(groupBoxWithBackground)));
  c.label3 = createControl(0, kLabelClass, kStatusUnknown, kChild, 96, 80, 120, 24, c.groupBox1, kLabel3);
  c.label2 = createControl(0, kLabelClass, "游戏状态：", kChild, 32, 80, 56, 24, c.groupBox1, kLabel2);
  c.edit1 = createControl(WS_EX_CLIENTEDGE, "EDIT", "bf1.exe",
                          kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, 176, 32, 80, 32, c.groupBox1, kEdit1);
  c.label1 = createControl(0, kLabelClass, "进程名称:", kChild, 112, 32, 56, 32, c.groupBox1, kLabel1);
  c.button1 = createControl(0, "BUTTON", "按钮", kPushButton, 296, 128, 48, 40, c.groupBox1, kButton1);
  if (!c.label3 || !c.label2 || !c.edit1 || !c.label1 || !c.button1) return false;
  SendMessageA(c.edit1, EM_LIMITTEXT, 0, 0);
  SendMessageA(c.edit1, EM_SETSEL, 0, 0);

  stackInOrder({c.button1, c.label1, c.edit1, c.label2, c.label3});
  stackInOrder({c.startButton, c.groupBox1});
  for (HWND w : {c.groupBox1, c.startButton, c.label3, c.label2, c.edit1, c.label1, c.button1}) {
    ShowWindow(w, SW_SHOWNA);
  }
  return true;
}

// The focus cycle: tab stops with the visible style that are enabled, in
// tab order (all equal), from the last of the control list to the first.
int focusCycle(HWND* cycle) {
  int n = 0;
  for (HWND w : {controls.startButton, controls.edit1, controls.button1}) {
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && IsWindowEnabled(w)) cycle[n++] = w;
  }
  return n;
}

void moveFocus(bool backwards) {
  HWND cycle[3];
  const int n = focusCycle(cycle);
  if (n == 0) return;
  const HWND focus = GetFocus();
  int at = -1;
  for (int i = 0; i < n; ++i)
    if (cycle[i] == focus) at = i;
  const int next = at < 0 ? (backwards ? n - 1 : 0) : (at + (backwards ? n - 1 : 1)) % n;
  SetFocus(cycle[next]);
}

void restoreFocus() {
  HWND target = focusBeforeDeactivation;
  if (target == nullptr || !IsWindow(target) || !IsChild(mainWindow, target)) {
    HWND cycle[3];
    target = focusCycle(cycle) > 0 ? cycle[0] : nullptr;
  }
  if (target != nullptr) SetFocus(target);
}

void paintBackground(HWND window, HDC dc) {
  RECT rect;
  GetClientRect(window, &rect);
  FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      paintBackground(window, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_COMMAND:
      if (LOWORD(wParam) == kStartButton && HIWORD(wParam) == BN_CLICKED) onStartClicked();
      return 0;
    case WM_TIMER:
      if (wParam == kWatchTimerId) onWatchTick();
      return 0;
    case kRunOnInterfaceThread:
      reinterpret_cast<void (*)()>(wParam)();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window, focus)) focusBeforeDeactivation = focus;
      } else {
        restoreFocus();
      }
      return 0;
    case WM_DESTROY:
      postTarget = nullptr;
      mainWindow = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool registerMainClass(HINSTANCE instance) {
  WNDCLASSA cls{};
  cls.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  cls.lpfnWndProc = mainProc;
  cls.hInstance = instance;
  cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
  cls.lpszClassName = kMainClass;
  return RegisterClassA(&cls) != 0;
}

void setIcons(HWND window, HINSTANCE instance) {
  for (auto [which, size] : {std::pair{ICON_BIG, 32}, std::pair{ICON_SMALL, 16}}) {
    HANDLE icon = LoadImageA(instance, "DEFAULT_ICON", IMAGE_ICON, size, size, 0);
    if (icon != nullptr) SendMessageA(window, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
  }
}

}  // namespace

HWND createMainWindow(HINSTANCE instance) {
  if (!registerMainClass(instance) || !registerLabelClass(instance)) return nullptr;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWindowWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kWindowHeight) / 2;
  HWND window = CreateWindowExA(0, kMainClass, kTitle,
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                                x, y, kWindowWidth, kWindowHeight, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return nullptr;
  RECT rect;
  GetWindowRect(window, &rect);
  if (rect.right - rect.left != kWindowWidth || rect.bottom - rect.top != kWindowHeight) {
    SetWindowPos(window, nullptr, x, y, kWindowWidth, kWindowHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  setIcons(window, instance);
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  mainWindow = window;
  if (!createControls(window)) {
    DestroyWindow(window);
    return nullptr;
  }
  interfaceThread = GetCurrentThreadId();
  postTarget = window;
  return window;
}

bool handleMainWindowKey(const MSG& msg) {
  if (mainWindow == nullptr || (msg.hwnd != mainWindow && !IsChild(mainWindow, msg.hwnd))) return false;
  const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  const bool keyChar = msg.message == WM_CHAR || msg.message == WM_SYSCHAR;
  if (!keyDown && !keyChar) return false;
  switch (msg.wParam) {
    case VK_ESCAPE:  // also the Esc character
      if (keyDown) PostMessageA(mainWindow, WM_CLOSE, 0, 0);
      return true;
    case VK_TAB:     // also '\t'
      if (keyDown) moveFocus(GetKeyState(VK_SHIFT) < 0);
      return true;
    case VK_RETURN:  // also '\r'
      return true;
    case VK_F1:
      return keyDown;
    default:
      return false;
  }
}

Text getProcessName() {
  const int length = GetWindowTextLengthA(controls.edit1);
  Text text{static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1))};
  if (text) {
    const int copied = GetWindowTextA(controls.edit1, text.get(), length + 1);
    text.get()[copied >= 0 && copied <= length ? copied : 0] = '\0';
  }
  return text;
}

void setStatusText(const char* text) { SetWindowTextA(controls.label3, text); }

void setWatchPeriod(std::int32_t milliseconds) { watchTimer.setPeriod(milliseconds); }

void setStartDisabled(bool disabled) {
  const bool hadFocus = GetFocus() == controls.startButton;
  EnableWindow(controls.startButton, !disabled);
  if (disabled && hadFocus) moveFocus(false);  // keep the keyboard on a control that takes it
}

bool onInterfaceThread() { return GetCurrentThreadId() == interfaceThread; }

void runOnInterfaceThread(void (*fn)()) {
  // Fails harmlessly once the window is gone: nothing is left to arm.
  HWND target = postTarget;
  if (target != nullptr) PostMessageA(target, kRunOnInterfaceThread, reinterpret_cast<WPARAM>(fn), 0);
}

}  // namespace autopause
