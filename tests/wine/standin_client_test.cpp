// The stand-in accelerator client, checked on its own: the end-to-end tests of
// the program trust its windows, its log and the way it blocks senders.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <tuple>

#include "tests/wine/client_log.h"
#include "tests/wine/support.h"

namespace autopause::wine {
namespace {

const char kMainTitle[] = "Zorvath加速器";
const char kPromptName[] = "uiErrorPrompt";
const LPARAM kMainPoint = 0x01CD03EC;
const LPARAM kPromptPoint = 0x0103012B;
// How long a sender that should stay blocked is watched before it counts as blocked.
const DWORD kStillBlockedMs = 700;

// The first top-level window, front to back, of process pid with this class
// (any when null) and title.
HWND findWindowOf(DWORD pid, const char* cls, const char* title) {
  for (HWND w = FindWindowExA(nullptr, nullptr, cls, title); w;
       w = FindWindowExA(nullptr, w, cls, title)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid) return w;
  }
  return nullptr;
}

std::string classOf(HWND w) {
  char name[256] = "";
  GetClassNameA(w, name, sizeof name);
  return name;
}

std::string titleOf(HWND w) {
  char text[256] = "";
  GetWindowTextA(w, text, sizeof text);
  return text;
}

// SendMessageA on a thread of its own, as the program's workers do.
class Sender {
 public:
  Sender(HWND w, UINT message, WPARAM wParam, LPARAM lParam)
      : thread_([this, w, message, wParam, lParam] {
          SendMessageA(w, message, wParam, lParam);
          done_ = true;
        }) {}
  ~Sender() { thread_.join(); }
  bool done() const { return done_; }

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

struct Expected {
  const char* window;
  const char* what;
  unsigned long wParam, lParam;
};

class StandinClient : public ::testing::Test {
 protected:
  // Starts the client in mode and finds its main window.
  void start(const char* mode) {
    log_ = newClientLogPath();
    client_ = Process(exeDir() + "standin_client.exe", "\"" + log_ + "\" " + mode);
    ASSERT_TRUE(client_.started());
    ASSERT_TRUE(waitForClientEvent(log_, "main", "ready")) << describe(readClientLog(log_));
    main_ = findWindowOf(client_.id(), nullptr, kMainTitle);
    ASSERT_NE(main_, nullptr);
    EXPECT_EQ(classOf(main_), "StandinClientMain");
    EXPECT_EQ(titleOf(main_), kMainTitle);
    EXPECT_TRUE(IsWindowVisible(main_));
    EXPECT_EQ(GetWindow(main_, GW_OWNER), nullptr);
    EXPECT_EQ(GetAncestor(main_, GA_PARENT), GetDesktopWindow());
  }

  // Waits for the prompt to be logged and finds its window.
  HWND waitForPrompt(int n = 1) {
    EXPECT_TRUE(waitForClientEvent(log_, "prompt", "shown", n)) << describe(readClientLog(log_));
    HWND prompt = findWindowOf(client_.id(), kPromptName, kPromptName);
    EXPECT_NE(prompt, nullptr);
    if (!prompt) return nullptr;
    EXPECT_TRUE(IsWindowVisible(prompt));
    EXPECT_EQ(GetWindow(prompt, GW_OWNER), nullptr);
    EXPECT_EQ(GetAncestor(prompt, GA_PARENT), GetDesktopWindow());
    return prompt;
  }

  // Sends from another thread; true when SendMessageA returned in time.
  bool sendReturns(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    senders_.push_back(std::make_unique<Sender>(w, message, wParam, lParam));
    Sender& sender = *senders_.back();
    return waitUntil([&] { return sender.done(); });
  }

  void expectLog(const std::vector<Expected>& expected) {
    const std::vector<ClientEvent> events = readClientLog(log_);
    ASSERT_EQ(events.size(), expected.size()) << describe(events);
    for (size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(events[i].window, expected[i].window) << "line " << i << '\n' << describe(events);
      EXPECT_EQ(events[i].what, expected[i].what) << "line " << i << '\n' << describe(events);
      EXPECT_EQ(events[i].wParam, expected[i].wParam) << "line " << i << '\n' << describe(events);
      EXPECT_EQ(events[i].lParam, expected[i].lParam) << "line " << i << '\n' << describe(events);
      if (i > 0) {
        EXPECT_LE(events[i - 1].tick, events[i].tick) << describe(events);
      }
    }
  }

  void TearDown() override {
    client_.terminate();  // unblocks any sender still waiting on the client
    senders_.clear();
  }

  std::string log_;
  Process client_;
  HWND main_ = nullptr;
  std::vector<std::unique_ptr<Sender>> senders_;
};

TEST_F(StandinClient, NormalModeShowsOnePromptAndReturnsAtOnce) {
  start("normal");
  ASSERT_EQ(findWindowOf(client_.id(), kPromptName, kPromptName), nullptr);

  ASSERT_TRUE(sendReturns(main_, WM_LBUTTONDOWN, 0x0001, kMainPoint));
  HWND prompt = waitForPrompt();
  ASSERT_NE(prompt, nullptr);
  // A second click while the prompt is up shows no other one.
  ASSERT_TRUE(sendReturns(main_, WM_LBUTTONDOWN, 0x0001, kMainPoint));
  ASSERT_TRUE(sendReturns(main_, WM_LBUTTONUP, 0, kMainPoint));
  EXPECT_EQ(count(readClientLog(log_), "prompt", "shown"), 1);
  EXPECT_TRUE(IsWindow(prompt));

  // The button-down alone leaves the prompt up; the button-up closes it.
  ASSERT_TRUE(sendReturns(prompt, WM_LBUTTONDOWN, 1, kPromptPoint));
  EXPECT_TRUE(IsWindow(prompt));
  ASSERT_TRUE(sendReturns(prompt, WM_LBUTTONUP, 0, kPromptPoint));
  EXPECT_TRUE(waitUntil([&] { return !IsWindow(prompt); }));
  EXPECT_EQ(findWindowOf(client_.id(), kPromptName, kPromptName), nullptr);

  expectLog({{"main", "ready", 0, 0},
             {"main", "down", 1, 0x1cd03ec},
             {"prompt", "shown", 0, 0},
             {"main", "down", 1, 0x1cd03ec},
             {"main", "up", 0, 0x1cd03ec},
             {"prompt", "down", 1, 0x103012b},
             {"prompt", "up", 0, 0x103012b},
             {"prompt", "closed", 0, 0}});

  // Once closed, the next click shows a new prompt.
  ASSERT_TRUE(sendReturns(main_, WM_LBUTTONDOWN, 0x0001, kMainPoint));
  EXPECT_NE(waitForPrompt(2), nullptr);
}

// Modes where one button message on the main window holds its sender until the
// prompt is closed.
class BlockingMode : public StandinClient,
                     public ::testing::WithParamInterface<std::tuple<const char*, UINT>> {};

TEST_P(BlockingMode, SenderStaysBlockedUntilThePromptIsClicked) {
  const char* mode = std::get<0>(GetParam());
  const UINT blocking = std::get<1>(GetParam());
  start(mode);

  if (blocking == WM_LBUTTONUP) {
    ASSERT_TRUE(sendReturns(main_, WM_LBUTTONDOWN, 0x0001, kMainPoint));
    EXPECT_EQ(count(readClientLog(log_), "prompt", "shown"), 0);
    EXPECT_EQ(findWindowOf(client_.id(), kPromptName, kPromptName), nullptr);
  }
  const WPARAM wParam = blocking == WM_LBUTTONDOWN ? 0x0001 : 0;
  senders_.push_back(std::make_unique<Sender>(main_, blocking, wParam, kMainPoint));
  const Sender& held = *senders_.back();

  HWND prompt = waitForPrompt();
  ASSERT_NE(prompt, nullptr);
  EXPECT_FALSE(waitUntil([&] { return held.done(); }, kStillBlockedMs));
  ASSERT_TRUE(sendReturns(prompt, WM_LBUTTONDOWN, 1, kPromptPoint));
  EXPECT_FALSE(waitUntil([&] { return held.done(); }, kStillBlockedMs));
  EXPECT_TRUE(IsWindow(prompt));

  ASSERT_TRUE(sendReturns(prompt, WM_LBUTTONUP, 0, kPromptPoint));
  EXPECT_TRUE(waitUntil([&] { return held.done(); }));
  EXPECT_FALSE(IsWindow(prompt));

  if (blocking == WM_LBUTTONDOWN) {
    ASSERT_TRUE(sendReturns(main_, WM_LBUTTONUP, 0, kMainPoint));
    expectLog({{"main", "ready", 0, 0},
               {"main", "down", 1, 0x1cd03ec},
               {"prompt", "shown", 0, 0},
               {"prompt", "down", 1, 0x103012b},
               {"prompt", "up", 0, 0x103012b},
               {"prompt", "closed", 0, 0},
               {"main", "up", 0, 0x1cd03ec}});
  } else {
    expectLog({{"main", "ready", 0, 0},
               {"main", "down", 1, 0x1cd03ec},
               {"main", "up", 0, 0x1cd03ec},
               {"prompt", "shown", 0, 0},
               {"prompt", "down", 1, 0x103012b},
               {"prompt", "up", 0, 0x103012b},
               {"prompt", "closed", 0, 0}});
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, BlockingMode,
                         ::testing::Values(std::make_tuple("prompt-in-down", UINT{WM_LBUTTONDOWN}),
                                           std::make_tuple("prompt-in-up", UINT{WM_LBUTTONUP})),
                         [](const auto& info) {
                           return std::get<1>(info.param) == WM_LBUTTONDOWN ? "PromptInDown"
                                                                            : "PromptInUp";
                         });

TEST_F(StandinClient, KeepPromptModeLeavesThePromptUpWhenClicked) {
  start("keep-prompt");
  ASSERT_TRUE(sendReturns(main_, WM_LBUTTONDOWN, 0x0001, kMainPoint));
  HWND prompt = waitForPrompt();
  ASSERT_NE(prompt, nullptr);
  ASSERT_TRUE(sendReturns(main_, WM_LBUTTONUP, 0, kMainPoint));
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(sendReturns(prompt, WM_LBUTTONDOWN, 1, kPromptPoint));
    ASSERT_TRUE(sendReturns(prompt, WM_LBUTTONUP, 0, kPromptPoint));
  }
  EXPECT_TRUE(IsWindow(prompt));
  EXPECT_TRUE(IsWindowVisible(prompt));
  expectLog({{"main", "ready", 0, 0},
             {"main", "down", 1, 0x1cd03ec},
             {"prompt", "shown", 0, 0},
             {"main", "up", 0, 0x1cd03ec},
             {"prompt", "down", 1, 0x103012b},
             {"prompt", "up", 0, 0x103012b},
             {"prompt", "down", 1, 0x103012b},
             {"prompt", "up", 0, 0x103012b}});
}

TEST_F(StandinClient, HungModeTimesSendersOut) {
  start("hung");
  DWORD_PTR result = 0;
  SetLastError(0);
  EXPECT_EQ(SendMessageTimeoutA(main_, WM_LBUTTONDOWN, 0x0001, kMainPoint, SMTO_NORMAL, 500, &result), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
  EXPECT_EQ(findWindowOf(client_.id(), kPromptName, kPromptName), nullptr);
  expectLog({{"main", "ready", 0, 0}});
}

TEST_F(StandinClient, ClosingTheMainWindowEndsIt) {
  start("normal");
  ASSERT_TRUE(PostMessageA(main_, WM_CLOSE, 0, 0));
  EXPECT_EQ(client_.waitExit(), 0u);
}

TEST_F(StandinClient, RefusesAnUnknownMode) {
  log_ = newClientLogPath();
  client_ = Process(exeDir() + "standin_client.exe", "\"" + log_ + "\" sideways");
  EXPECT_EQ(client_.waitExit(), 2u);
  EXPECT_TRUE(readClientLog(log_).empty());
}

TEST_F(StandinClient, StartsAFreshLog) {
  log_ = newClientLogPath();
  HANDLE old = CreateFileA(log_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(old, INVALID_HANDLE_VALUE);
  const char earlier[] = "main ready 1\nmain down 0x1 0x1 2\n";
  DWORD written = 0;
  WriteFile(old, earlier, sizeof earlier - 1, &written, nullptr);
  CloseHandle(old);
  ASSERT_EQ(readClientLog(log_).size(), 2u);
  client_ = Process(exeDir() + "standin_client.exe", "\"" + log_ + "\" normal");
  ASSERT_TRUE(waitUntil([&] { return count(readClientLog(log_), "main", "down") == 0; }));
  ASSERT_TRUE(waitForClientEvent(log_, "main", "ready"));
  EXPECT_EQ(readClientLog(log_).size(), 1u);
}

}  // namespace
}  // namespace autopause::wine
