// The real program's window, inspected and driven from outside.
#include <gtest/gtest.h>

#include "tests/wine/app.h"

namespace autopause {
namespace {

using wine::App;
using wine::textOf;

RECT placeIn(HWND control, HWND parent) {
  RECT r;
  GetWindowRect(control, &r);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

struct ControlCase {
  const char* name;
  const char* cls;
  const char* text;  // GBK at run time
  bool inGroupBox;
  int x, y, width, height;
  LONG styles;      // must all be set
  LONG exStyles;
};

const ControlCase kControls[] = {
    {"按钮1", "BUTTON", "按钮", true, 296, 128, 48, 40,
     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_MULTILINE, 0},
    {"标签1", "AutopauseLabel", "进程名称:", true, 112, 32, 56, 32, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0},
    {"编辑框1", "EDIT", "bf1.exe", true, 176, 32, 80, 32,
     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
    {"标签2", "AutopauseLabel", "游戏状态：", true, 32, 80, 56, 24, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0},
    {"标签3", "AutopauseLabel", "未知", true, 96, 80, 120, 24, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0},
    {"按钮_开始", "BUTTON", "开始监控", false, 24, 40, 96, 40,
     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_MULTILINE, 0},
    {"分组框1", "BUTTON", "自行修改进程名，默认为战地1。", false, 8, 8, 272, 112,
     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0},
};

class MainWindow : public ::testing::Test {
 protected:
  void TearDown() override {
    if (app_.process().started() && app_.window() != nullptr) {
      PostMessageA(app_.window(), WM_CLOSE, 0, 0);
      EXPECT_EQ(app_.waitExit(), 0u);
    }
  }
  App app_;
};

TEST_F(MainWindow, TitleSizeAndCentredPlace) {
  ASSERT_NE(app_.window(), nullptr);
  EXPECT_EQ(textOf(app_.window()), "Zorvath\xBC\xD3\xCB\xD9\xC6\xF7\xD7\xD4\xB6\xAF\xD4\xDD\xCD\xA3")
      << "the title must be GBK bytes";
  RECT r;
  GetWindowRect(app_.window(), &r);
  EXPECT_EQ(r.right - r.left, 292);
  EXPECT_EQ(r.bottom - r.top, 159);
  EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 292) / 2);
  EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 159) / 2);
  const LONG style = GetWindowLongA(app_.window(), GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0) << "neither maximisable nor resizable";
  EXPECT_EQ(GetWindow(app_.window(), GW_OWNER), nullptr);
}

TEST_F(MainWindow, EveryControlWhereItBelongs) {
  const HWND group = app_.groupBox();
  ASSERT_NE(group, nullptr);
  for (const ControlCase& c : kControls) {
    SCOPED_TRACE(c.name);
    HWND control = app_.control(c.cls, c.text);
    ASSERT_NE(control, nullptr);
    const HWND parent = c.inGroupBox ? group : app_.window();
    EXPECT_EQ(GetParent(control), parent);
    const RECT r = placeIn(control, parent);
    EXPECT_EQ(r.left, c.x);
    EXPECT_EQ(r.top, c.y);
    EXPECT_EQ(r.right - r.left, c.width);
    EXPECT_EQ(r.bottom - r.top, c.height);
    EXPECT_EQ(GetWindowLongA(control, GWL_STYLE) & c.styles, c.styles);
    EXPECT_EQ(GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, c.exStyles);
    EXPECT_TRUE(IsWindowEnabled(control));
  }
}

TEST_F(MainWindow, StackingOrderFollowsTheControlList) {
  const HWND group = app_.groupBox();
  const HWND expectedInGroup[] = {app_.hiddenButton(), app_.control("AutopauseLabel", "进程名称:"),
                                  app_.editBox(), app_.control("AutopauseLabel", "游戏状态："),
                                  app_.statusLabel()};
  HWND w = GetWindow(group, GW_CHILD);
  for (HWND expected : expectedInGroup) {
    EXPECT_EQ(w, expected);
    w = GetWindow(w, GW_HWNDNEXT);
  }
  EXPECT_EQ(GetWindow(app_.window(), GW_CHILD), app_.startButton());
  EXPECT_EQ(GetWindow(app_.startButton(), GW_HWNDNEXT), group);
}

TEST_F(MainWindow, HiddenButtonLiesOutsideItsGroupBox) {
  RECT box, button, overlap;
  GetClientRect(app_.groupBox(), &box);
  button = placeIn(app_.hiddenButton(), app_.groupBox());
  EXPECT_FALSE(IntersectRect(&overlap, &box, &button));
}

TEST_F(MainWindow, StartsWithTheFocusOnStartAndNoTick) {
  EXPECT_TRUE(app_.waitFocus(app_.startButton()));
  wine::Process game(wine::copyBeside("standin_game.exe", wine::freshTempDir(), "bf1.exe"));
  // Nothing is watched before start: even with the game running, no tick changes the status.
  EXPECT_FALSE(app_.waitStatus("正常游戏中", 4000));
  EXPECT_EQ(app_.status(), "未知");
}

TEST_F(MainWindow, TabAndShiftTabCycleThroughTheFocusStops) {
  ASSERT_TRUE(app_.waitFocus(app_.startButton()));
  const HWND forward[] = {app_.editBox(), app_.hiddenButton(), app_.startButton()};
  for (HWND expected : forward) {
    app_.press(VK_TAB);
    EXPECT_TRUE(app_.waitFocus(expected));
  }
  const HWND backward[] = {app_.hiddenButton(), app_.editBox(), app_.startButton()};
  for (HWND expected : backward) {
    app_.press(VK_TAB, true);
    EXPECT_TRUE(app_.waitFocus(expected));
  }
}

TEST_F(MainWindow, EnterDoesNothingAndSpaceOnStartStartsTheWatch) {
  ASSERT_TRUE(app_.waitFocus(app_.startButton()));
  app_.press(VK_RETURN);
  app_.press(VK_TAB);
  ASSERT_TRUE(app_.waitFocus(app_.editBox()));
  app_.press(VK_RETURN);
  app_.press(VK_TAB, true);
  ASSERT_TRUE(app_.waitFocus(app_.startButton())) << "Enter must not move the focus";
  EXPECT_EQ(app_.status(), "未知");
  EXPECT_TRUE(IsWindowEnabled(app_.startButton()));
  EXPECT_EQ(textOf(app_.editBox()), "bf1.exe");

  app_.press(VK_SPACE);
  EXPECT_TRUE(app_.waitStatus("等待打开游戏"));
  EXPECT_TRUE(wine::waitUntil([&] { return !IsWindowEnabled(app_.startButton()); }));
  // The disabled start button leaves the focus cycle.
  app_.press(VK_TAB);
  app_.press(VK_TAB);
  EXPECT_TRUE(app_.waitFocus(app_.editBox()));
}

TEST_F(MainWindow, SpaceOnTheUnseenButtonDoesNothing) {
  app_.press(VK_TAB);
  app_.press(VK_TAB);
  ASSERT_TRUE(app_.waitFocus(app_.hiddenButton()));
  app_.press(VK_SPACE);
  app_.press(VK_TAB);
  ASSERT_TRUE(app_.waitFocus(app_.startButton()));
  EXPECT_EQ(app_.status(), "未知");
  EXPECT_TRUE(IsWindowEnabled(app_.startButton()));
}

TEST_F(MainWindow, FocusComesBackToTheLastFocusedControl) {
  app_.press(VK_TAB);
  ASSERT_TRUE(app_.waitFocus(app_.editBox()));
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  EXPECT_TRUE(wine::waitUntil([&] { return GetForegroundWindow() == other; }));
  DestroyWindow(other);
  SetForegroundWindow(app_.window());
  EXPECT_TRUE(app_.waitFocus(app_.editBox()));
}

TEST_F(MainWindow, EscClosesFromAnyControlWithExitCodeZero) {
  app_.press(VK_TAB);
  ASSERT_TRUE(app_.waitFocus(app_.editBox()));
  app_.press(VK_ESCAPE);
  EXPECT_EQ(app_.waitExit(), 0u);
}

TEST_F(MainWindow, StartSeesTheRunningGameWithinAWatchPeriod) {
  wine::Process game(wine::copyBeside("standin_game.exe", wine::freshTempDir(), "bf1.exe"));
  PostMessageA(app_.startButton(), BM_CLICK, 0, 0);
  EXPECT_TRUE(app_.waitStatus("等待打开游戏", 2000));
  EXPECT_TRUE(app_.waitStatus("正常游戏中", 3000 + 3000)) << "seen by the first tick";
}

TEST(TwoCopies, RunSideBySide) {
  App first, second;
  ASSERT_NE(first.window(), nullptr);
  ASSERT_NE(second.window(), nullptr);
  EXPECT_NE(first.window(), second.window());
  for (App* app : {&first, &second}) {
    PostMessageA(app->window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app->waitExit(), 0u);
  }
}

}  // namespace
}  // namespace autopause
