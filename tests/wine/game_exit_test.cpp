// The whole road of a game exit, end to end: the real program, a stand-in
// game and a stand-in accelerator client that logs every click it receives.
//
// Wine's MessageBoxTimeoutA ignores its time-out: the notice stays until it is
// answered. So these tests check the box's owner, caption, text and single
// button, keep it up well past the moments that matter (the workers' re-arm at
// about 500 ms, a tick falling due at about 3500 ms, which must not start a
// second round), then answer it. That the box is asked to close itself after
// 5000 ms is proven by the native notice tests over a fake platform.
#include <gtest/gtest.h>

#include <string>

#include "tests/wine/app.h"
#include "tests/wine/client_log.h"

namespace autopause {
namespace {

using wine::App;
using wine::ClientEvent;
using wine::Process;
using wine::textOf;

constexpr char kWaiting[] = "等待打开游戏";
constexpr char kPlaying[] = "正常游戏中";
constexpr char kClosed[] = "游戏已经关闭";

int childrenOfClass(HWND parent, const char* cls) {
  int n = 0;
  for (HWND w = FindWindowExA(parent, nullptr, cls, nullptr); w; w = FindWindowExA(parent, w, cls, nullptr)) ++n;
  return n;
}

bool hasChildText(HWND parent, const std::string& text) {
  for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (textOf(w) == text) return true;
  return false;
}

class GameExitRoad : public ::testing::Test {
 protected:
  void startClient(const char* mode) {
    client_ = wine::startStandinClient(dir_, log_, mode);
    ASSERT_TRUE(wine::waitForClientEvent(log_, "main", "ready"));
  }
  void startGame() { game_ = Process(wine::copyBeside("standin_game.exe", gameDir_, "bf1.exe")); }

  // Start pressed with the game running: the first tick sees it.
  void watchUntilPlaying() {
    PostMessageA(app_.startButton(), BM_CLICK, 0, 0);
    ASSERT_TRUE(app_.waitStatus(kWaiting, 5000));
    startGame();
    ASSERT_TRUE(app_.waitStatus(kPlaying, 10000));
  }

  // Ends the game and waits for the notice; the status passes "closed" on the way.
  HWND endGameAndWaitForNotice() {
    game_.terminate();
    bool sawClosed = false;
    HWND notice = nullptr;
    wine::waitUntil([&] {
      sawClosed = sawClosed || app_.status() == kClosed;
      notice = wine::noticeOf(app_.window());
      return notice != nullptr;
    }, 10000);
    sawClosed = sawClosed || app_.status() == kClosed;
    EXPECT_TRUE(sawClosed) << "the status shows the game closed until the workers re-arm";
    return notice;
  }

  void answer(HWND notice) {
    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(wine::waitUntil([&] { return wine::noticesOwnedBy(app_.window()).empty(); }));
  }

  std::vector<ClientEvent> clientLog() { return wine::readClientLog(log_); }

  void TearDown() override {
    if (app_.window() != nullptr) {
      PostMessageA(app_.window(), WM_CLOSE, 0, 0);
      EXPECT_EQ(app_.waitExit(), 0u);
    }
  }

  std::string dir_ = wine::freshTempDir();
  std::string gameDir_ = wine::freshTempDir();
  std::string log_ = dir_ + "client.log";
  Process client_;
  Process game_;
  App app_;
};

TEST_F(GameExitRoad, OneExitGivesOneClickRoundAndOneNotice) {
  startClient("keep-prompt");
  watchUntilPlaying();
  HWND notice = endGameAndWaitForNotice();
  ASSERT_NE(notice, nullptr);

  EXPECT_EQ(textOf(notice), "友情提醒");
  EXPECT_TRUE(hasChildText(notice, "已为您自动断开Zorvath加速"));
  EXPECT_EQ(childrenOfClass(notice, "Button"), 1) << "one OK button";
  EXPECT_TRUE(app_.waitStatus(kWaiting, 3000)) << "re-armed by the workers while the notice is up";
  EXPECT_FALSE(IsWindowEnabled(app_.startButton()));

  // Keep the box up past the tick that falls due about 3500 ms after the exit.
  ASSERT_TRUE(wine::waitForClientEvent(log_, "prompt", "up", 2));
  Sleep(4500);
  const auto events = clientLog();
  EXPECT_EQ(wine::noticesOwnedBy(app_.window()).size(), 1u) << "no second notice for the same exit";
  EXPECT_EQ(wine::count(events, "main", "down"), 1) << wine::describe(events);
  EXPECT_EQ(wine::count(events, "main", "up"), 1);
  EXPECT_EQ(wine::count(events, "prompt", "down"), 2);
  EXPECT_EQ(wine::count(events, "prompt", "up"), 2);
  unsigned long mainDownTick = 0;
  for (const ClientEvent& e : events) {
    if (e.what != "down" && e.what != "up") continue;
    if (e.window == "main") {
      EXPECT_EQ(e.wParam, e.what == "down" ? 1ul : 0ul);
      EXPECT_EQ(e.lParam, 0x01CD03ECul);
      if (e.what == "down") mainDownTick = e.tick;
    } else {
      EXPECT_EQ(e.wParam, e.what == "down" ? 1ul : 0ul);
      EXPECT_EQ(e.lParam, 0x0103012Bul);
      EXPECT_GE(e.tick - mainDownTick, 450ul) << "the prompt is looked for 500 ms later";
      EXPECT_LT(e.tick - mainDownTick, 3000ul);
    }
  }

  answer(notice);
  EXPECT_TRUE(wine::waitUntil([&] { return IsWindowEnabled(app_.startButton()) != FALSE; }));

  // Back to waiting without the start button: the next run and exit go the same road.
  startGame();
  EXPECT_TRUE(app_.waitStatus(kPlaying, 10000));
  notice = endGameAndWaitForNotice();
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(wine::waitForClientEvent(log_, "main", "down", 2));
  answer(notice);
}

TEST_F(GameExitRoad, WithoutAClientTheWatchIsStillReArmed) {
  watchUntilPlaying();
  HWND notice = endGameAndWaitForNotice();
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(app_.waitStatus(kWaiting, 3000));
  answer(notice);
  startGame();
  EXPECT_TRUE(app_.waitStatus(kPlaying, 10000));
}

struct OrderCase {
  const char* mode;
  const char* expectedOrder;  // the client's log, without ticks
  friend void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.mode; }
};

class PromptShownInsideAClick : public GameExitRoad, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(PromptShownInsideAClick, IsClickedWhileTheMainClickWaits) {
  startClient(GetParam().mode);
  watchUntilPlaying();
  HWND notice = endGameAndWaitForNotice();
  ASSERT_NE(notice, nullptr);
  ASSERT_TRUE(wine::waitForClientEvent(log_, "main", "up"));
  ASSERT_TRUE(app_.waitStatus(kWaiting, 5000));
  Sleep(1000);  // let a late second prompt run finish before reading the log
  std::string order;
  for (const ClientEvent& e : clientLog())
    if (e.what != "ready") order += e.window + " " + e.what + "; ";
  EXPECT_EQ(order, GetParam().expectedOrder) << wine::describe(clientLog());
  answer(notice);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PromptShownInsideAClick,
    ::testing::Values(
        // Inside the button-down: prompt run 2 starts only after it returns and finds nothing.
        OrderCase{"prompt-in-down",
                  "main down; prompt shown; prompt down; prompt up; prompt closed; main up; "},
        // Inside the button-up: prompt run 2 is already waiting and one run clicks it.
        OrderCase{"prompt-in-up",
                  "main down; main up; prompt shown; prompt down; prompt up; prompt closed; "}),
    [](const auto& info) { return std::string(info.param.mode) == "prompt-in-down" ? "InDown" : "InUp"; });

TEST_F(GameExitRoad, AHungClientLeavesTheWindowResponsive) {
  startClient("hung");
  watchUntilPlaying();
  HWND notice = endGameAndWaitForNotice();
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(app_.waitStatus(kWaiting, 3000)) << "prompt run 1 does not depend on the client";
  DWORD_PTR result;
  EXPECT_NE(SendMessageTimeoutA(app_.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result), 0);
  answer(notice);

  // The watch goes on: the next exit still shows its notice.
  startGame();
  ASSERT_TRUE(app_.waitStatus(kPlaying, 10000));
  notice = endGameAndWaitForNotice();
  ASSERT_NE(notice, nullptr);
  answer(notice);
  // Closing with a worker stuck in a click still ends the program at once.
  PostMessageA(app_.window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(app_.waitExit(5000), 0u);
}

TEST_F(GameExitRoad, ClosingWithTheNoticeUpExitsWithZero) {
  startClient("keep-prompt");
  watchUntilPlaying();
  HWND notice = endGameAndWaitForNotice();
  ASSERT_NE(notice, nullptr);
  PostMessageA(app_.window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(app_.waitExit(10000), 0u);
}

}  // namespace
}  // namespace autopause
