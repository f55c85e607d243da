// Long runs and hostile input against the real program: many game exits in a
// row, odd process names, a client that never answers, and the window closed
// in every phase. AUTOPAUSE_SOAK_EXITS sets the number of exits (default 5).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/wine/app.h"

#include <tlhelp32.h>
#include "tests/wine/client_log.h"

namespace autopause {
namespace {

using wine::App;
using wine::Process;

constexpr char kWaiting[] = "等待打开游戏";
constexpr char kPlaying[] = "正常游戏中";

int threadCount(DWORD processId) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  int n = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == processId) ++n;
  CloseHandle(snapshot);
  return n;
}

// Handles a process holds, from the system's handle table: Wine answers
// GetProcessHandleCount with 0, but lists every handle here.
struct SystemHandle {
  ULONG ownerPid;
  BYTE objectType, flags;
  USHORT value;
  PVOID object;
  ACCESS_MASK access;
};
struct SystemHandles {
  ULONG count;
  SystemHandle handles[1];
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

DWORD handleCount(DWORD processId) {
  static const auto query = reinterpret_cast<QuerySystemInformation>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  constexpr ULONG kSystemHandleInformation = 16;
  std::vector<char> buffer(1 << 20);
  ULONG needed = 0;
  while (query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0) {
    if (buffer.size() >= (64u << 20)) return 0;
    buffer.resize(buffer.size() * 2);
  }
  const auto* table = reinterpret_cast<const SystemHandles*>(buffer.data());
  DWORD n = 0;
  for (ULONG i = 0; i < table->count; ++i)
    if (table->handles[i].ownerPid == processId) ++n;
  return n;
}

bool responsive(HWND window) {
  DWORD_PTR result;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
}

int exitsToRun() {
  const char* n = std::getenv("AUTOPAUSE_SOAK_EXITS");
  return n != nullptr && std::atoi(n) > 0 ? std::atoi(n) : 5;
}

class Soak : public ::testing::Test {
 protected:
  void startClient(const char* mode) {
    client_ = wine::startStandinClient(dir_, log_, mode);
    ASSERT_TRUE(wine::waitForClientEvent(log_, "main", "ready"));
  }
  void startWatch() {
    PostMessageA(app_.startButton(), BM_CLICK, 0, 0);
    ASSERT_TRUE(app_.waitStatus(kWaiting, 5000));
  }
  Process startGame(const std::string& name = "bf1.exe") {
    return Process(wine::copyBeside("standin_game.exe", wine::freshTempDir(), name));
  }
  // One exit of the game: seen, ended, the notice answered, the watch running again.
  void playAndExit() {
    Process game = startGame();
    ASSERT_TRUE(app_.waitStatus(kPlaying, 10000));
    game.terminate();
    HWND notice = nullptr;
    ASSERT_TRUE(wine::waitUntil([&] { return (notice = wine::noticeOf(app_.window())) != nullptr; }, 10000));
    ASSERT_TRUE(app_.waitStatus(kWaiting, 5000)) << "the workers re-arm the watch";
    PostMessageA(notice, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(wine::waitUntil([&] { return IsWindowEnabled(app_.startButton()) != FALSE; }));
  }
  void TearDown() override {
    if (app_.window() != nullptr) PostMessageA(app_.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app_.waitExit(10000), 0u);
    EXPECT_TRUE(wine::processIdsNamed("autopause.exe").empty()) << "no leftover process";
  }

  std::string dir_ = wine::freshTempDir();
  std::string log_ = dir_ + "client.log";
  Process client_;
  App app_;
};

TEST_F(Soak, ManyExitsInARowLeakNoThreadOrHandle) {
  startClient("keep-prompt");
  startWatch();
  const int idleThreads = threadCount(app_.process().id());
  const int exits = exitsToRun();
  DWORD handlesAfterFirst = 0;
  for (int i = 1; i <= exits; ++i) {
    SCOPED_TRACE("exit " + std::to_string(i));
    ASSERT_NO_FATAL_FAILURE(playAndExit());
    ASSERT_TRUE(wine::waitForClientEvent(log_, "prompt", "up", 2 * i));
    // The three workers of each exit end by themselves.
    EXPECT_TRUE(wine::waitUntil([&] { return threadCount(app_.process().id()) == idleThreads; }))
        << threadCount(app_.process().id()) << " threads, " << idleThreads << " when idle";
    if (i == 1) {
      handlesAfterFirst = handleCount(app_.process().id());
      ASSERT_GT(handlesAfterFirst, 0u) << "the handle count cannot be read";
      ASSERT_GT(idleThreads, 0);
    }
    EXPECT_LE(handleCount(app_.process().id()), handlesAfterFirst) << "handles grow with every exit";
  }
  const auto events = wine::readClientLog(log_);
  EXPECT_EQ(wine::count(events, "main", "down"), exits);
  EXPECT_EQ(wine::count(events, "main", "up"), exits);
  EXPECT_EQ(wine::count(events, "prompt", "down"), 2 * exits);
  EXPECT_EQ(wine::count(events, "prompt", "up"), 2 * exits);
}

// Every name a user can type is looked up as it is: none matches bf1.exe, none
// hangs or ends the window.
TEST_F(Soak, OddNamesMatchNothingAndHarmNothing) {
  Process game = startGame();
  Process chinese = startGame("战地1.exe");
  startWatch();
  const std::string names[] = {"",
                               std::string(32 * 1024, 'b') + ".exe",
                               "bf1.exe\xB5",  // a lone lead byte at the end
                               "bf1\t.exe\x01",
                               "*",
                               "?",
                               "bf1.exe*",
                               "C:\\Games\\bf1.exe"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name.size() > 40 ? name.substr(0, 40) + "..." : name);
    app_.typeName(name);
    Sleep(3500);  // at least one tick with this name
    EXPECT_TRUE(responsive(app_.window()));
    EXPECT_EQ(app_.status(), kWaiting);
  }
  // A Chinese name matches its own copy of the game, case ignored.
  app_.typeName("战地1.EXE");
  EXPECT_TRUE(app_.waitStatus(kPlaying, 10000));
}

TEST_F(Soak, AClientThatNeverAnswersHoldsNothingUp) {
  startClient("hung");
  startWatch();
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE("exit " + std::to_string(i + 1));
    ASSERT_NO_FATAL_FAILURE(playAndExit());
    EXPECT_TRUE(responsive(app_.window()));
  }
}

enum class Phase { Waiting, Playing, ClosingSteps, NoticeUp, WorkersBlocked };

std::string phaseName(const ::testing::TestParamInfo<Phase>& info) {
  static const char* const names[] = {"Waiting", "Playing", "ClosingSteps", "NoticeUp", "WorkersBlocked"};
  return names[static_cast<int>(info.param)];
}

class ClosedInEveryPhase : public Soak, public ::testing::WithParamInterface<Phase> {};

TEST_P(ClosedInEveryPhase, ExitsWithZeroAtOnce) {
  startClient(GetParam() == Phase::WorkersBlocked ? "hung" : "keep-prompt");
  startWatch();
  Process game = startGame();
  if (GetParam() != Phase::Waiting) {
    ASSERT_TRUE(app_.waitStatus(kPlaying, 10000));
  }
  if (GetParam() == Phase::ClosingSteps) {
    game.terminate();
    ASSERT_TRUE(wine::waitUntil([&] { return app_.status() != kPlaying; }, 10000));
  }
  if (GetParam() == Phase::NoticeUp || GetParam() == Phase::WorkersBlocked) {
    game.terminate();
    ASSERT_TRUE(wine::waitUntil([&] { return wine::noticeOf(app_.window()) != nullptr; }, 10000));
  }
  PostMessageA(app_.window(), WM_CLOSE, 0, 0);
  EXPECT_EQ(app_.waitExit(5000), 0u);
}

INSTANTIATE_TEST_SUITE_P(Phases, ClosedInEveryPhase,
                         ::testing::Values(Phase::Waiting, Phase::Playing, Phase::ClosingSteps,
                                           Phase::NoticeUp, Phase::WorkersBlocked),
                         phaseName);

}  // namespace
}  // namespace autopause
