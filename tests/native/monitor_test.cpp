#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/monitor.h"
#include "monitor/texts.h"
#include "monitor/workers.h"
#include "tests/native/fake_system.h"

namespace autopause {
namespace {

using Log = std::vector<std::string>;

class MonitorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sys = &fake::install();
    onWindowCreated();
  }
  void gameRuns(ProcessId pid = 4242) { sys->processes["bf1.exe"] = pid; }
  void gameEnds() { sys->processes.erase("bf1.exe"); }
  void reachWaiting() {
    onStartClicked();
    sys->log.clear();
  }
  void reachPlaying() {
    onStartClicked();
    gameRuns();
    sys->advance(kWatchPeriodMs);
    ASSERT_EQ(monitor.gameSeen, 1u);
    sys->log.clear();
  }
  std::string status() const { return fake::statusName(sys->status.c_str()); }

  fake::System* sys = nullptr;
};

// --- Transitions that need no notice, as a table ---------------------------

enum class From { Idle, Waiting, Playing };
enum class Trigger { Start, TickGameAbsent, TickGamePresent };

struct TransitionCase {
  const char* name;
  From from;
  Trigger trigger;
  Log effects;  // lookups left out
  std::uint32_t gameSeen;
  std::int32_t period;
  const char* status;
  friend void PrintTo(const TransitionCase& c, std::ostream* os) { *os << c.name; }
};

class MonitorTransition : public MonitorTest,
                          public ::testing::WithParamInterface<TransitionCase> {};

TEST_P(MonitorTransition, EffectsAndState) {
  const TransitionCase& c = GetParam();
  if (c.from == From::Waiting) reachWaiting();
  if (c.from == From::Playing) reachPlaying();
  if (c.trigger == Trigger::TickGamePresent) gameRuns();
  if (c.trigger == Trigger::TickGameAbsent) gameEnds();
  const std::uint64_t dueBefore = sys->nextTick;

  if (c.trigger == Trigger::Start) {
    onStartClicked();
  } else {
    onWatchTick();
  }

  Log effects;
  for (const auto& e : sys->log)
    if (e.rfind("lookup:", 0) != 0) effects.push_back(e);
  EXPECT_EQ(effects, c.effects);
  EXPECT_EQ(monitor.gameSeen, c.gameSeen);
  EXPECT_EQ(sys->timer.period(), c.period);
  EXPECT_EQ(status(), c.status);
  if (c.from != From::Idle && c.trigger == Trigger::Start) {
    EXPECT_EQ(sys->nextTick, dueBefore) << "pressing start must not restart the countdown";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MonitorTransition,
    ::testing::Values(
        TransitionCase{"IdleStart", From::Idle, Trigger::Start,
                       {"disabled:1", "period:3000", "status:waiting"}, 0, 3000, "waiting"},
        TransitionCase{"WaitingStart", From::Waiting, Trigger::Start,
                       {"disabled:1", "period:3000", "status:waiting"}, 0, 3000, "waiting"},
        // A game already seen keeps "playing": "waiting" would be wrong while it runs.
        TransitionCase{"PlayingStart", From::Playing, Trigger::Start,
                       {"disabled:1", "period:3000", "status:playing"}, 1, 3000, "playing"},
        TransitionCase{"WaitingTickAbsent", From::Waiting, Trigger::TickGameAbsent, {}, 0, 3000,
                       "waiting"},
        TransitionCase{"WaitingTickPresent", From::Waiting, Trigger::TickGamePresent,
                       {"status:playing"}, 1, 3000, "playing"},
        TransitionCase{"PlayingTickPresent", From::Playing, Trigger::TickGamePresent, {}, 1, 3000,
                       "playing"},
        TransitionCase{"PlayingTickAbsent", From::Playing, Trigger::TickGameAbsent,
                       {"status:closed", "period:0", "worker:disconnect", "worker:dismiss",
                        "notice", "notice-closed", "disabled:0"},
                       0, 0, "closed"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Ticks, lookups and names ---------------------------------------------

TEST_F(MonitorTest, NothingIsLookedUpBeforeStart) {
  gameRuns();
  sys->advance(60'000);
  EXPECT_TRUE(sys->log.empty());
  EXPECT_EQ(status(), "unknown");
}

TEST_F(MonitorTest, EveryTickLooksUpTheCurrentNameOnce) {
  reachWaiting();
  sys->advance(2999);
  EXPECT_EQ(sys->count("lookup:bf1.exe"), 0u);
  sys->advance(1);
  sys->processName = "other.exe";
  sys->advance(3000);
  EXPECT_EQ(sys->log, (Log{"lookup:bf1.exe", "lookup:other.exe"}));
  EXPECT_EQ(monitor.lastGamePid, 0u);
}

TEST_F(MonitorTest, EmptyOrMissingNameIsLookedUpAsEmptyText) {
  reachWaiting();
  sys->processName = "";
  sys->advance(3000);
  sys->nameUnavailable = true;
  sys->advance(3000);
  EXPECT_EQ(sys->log, (Log{"lookup:", "lookup:"}));
}

TEST_F(MonitorTest, GameRestartedBetweenTicksIsStillPlaying) {
  reachPlaying();
  gameRuns(777);  // a new process under the same name
  sys->advance(3000);
  EXPECT_EQ(monitor.lastGamePid, 777u);
  EXPECT_EQ(sys->count("notice"), 0u);
  EXPECT_EQ(status(), "playing");
}

TEST_F(MonitorTest, GameStartedAndEndedBetweenTicksIsNeverSeen) {
  reachWaiting();
  sys->advance(1000);
  gameRuns();
  sys->advance(1000);
  gameEnds();
  sys->advance(10'000);
  EXPECT_EQ(monitor.gameSeen, 0u);
  EXPECT_EQ(sys->count("notice"), 0u);
}

TEST_F(MonitorTest, NameChangedWhileSeenCountsAsGameGone) {
  reachPlaying();
  sys->processName = "notrunning.exe";
  sys->advance(3000);
  EXPECT_EQ(sys->count("notice"), 1u);
  EXPECT_EQ(monitor.gameSeen, 0u);
}

// --- The game-closed steps and the notice ---------------------------------

TEST_F(MonitorTest, OneExitRunsTheStepsOnceWhileTicksFallDueDuringTheNotice) {
  reachPlaying();
  gameEnds();
  sys->whileNoticeShown = [this] {
    sys->advance(kPromptDelayMs);
    sys->runWorkers();  // both prompt runs re-arm from worker threads
    sys->pumpInterface();
    EXPECT_EQ(sys->timer.period(), kWatchPeriodMs);
    sys->advance(5000 - kPromptDelayMs);  // a tick falls due at ~3500 ms
  };
  sys->advance(3000);

  EXPECT_EQ(sys->count("notice"), 1u);
  EXPECT_EQ(sys->count("worker:disconnect"), 1u);
  EXPECT_EQ(sys->count("worker:dismiss"), 2u);  // one from the tick, one from the disconnect run
  EXPECT_EQ(sys->count("status:closed"), 1u);
  EXPECT_EQ(monitor.gameSeen, 0u);
  EXPECT_FALSE(sys->startDisabled);
  EXPECT_EQ(status(), "waiting");

  // Back to waiting: the game's next run is seen and its exit handled again.
  gameRuns();
  sys->whileNoticeShown = nullptr;
  sys->advance(3000);
  EXPECT_EQ(status(), "playing");
  gameEnds();
  sys->advance(3000);
  EXPECT_EQ(sys->count("notice"), 2u);
}

TEST_F(MonitorTest, GameBackDuringTheNoticeIsSeenOnlyAfterIt) {
  reachPlaying();
  gameEnds();
  sys->whileNoticeShown = [this] {
    sys->runWorkers();
    sys->pumpInterface();
    gameRuns();
    sys->advance(4000);  // the tick inside the notice is dropped
    EXPECT_EQ(monitor.gameSeen, 1u);
    EXPECT_EQ(sys->count("status:playing"), 0u);
  };
  sys->advance(3000);
  EXPECT_EQ(monitor.gameSeen, 0u);
  sys->advance(3000);
  EXPECT_EQ(monitor.gameSeen, 1u);
  EXPECT_EQ(status(), "playing");
}

TEST_F(MonitorTest, NoticeClosedBeforeAnyWorkerReArms) {
  reachPlaying();
  gameEnds();
  sys->advance(3000);  // the notice closes at once; no worker has run yet
  EXPECT_FALSE(sys->startDisabled);
  EXPECT_EQ(monitor.gameSeen, 0u);
  EXPECT_EQ(sys->timer.period(), 0);
  EXPECT_EQ(status(), "closed");

  sys->runWorkers();
  EXPECT_EQ(sys->timer.period(), 0) << "a worker must not touch the controls itself";
  sys->pumpInterface();
  EXPECT_EQ(sys->timer.period(), kWatchPeriodMs);
  EXPECT_EQ(status(), "waiting");
}

TEST_F(MonitorTest, WithoutWorkersTheWatchStaysStoppedUntilStart) {
  reachPlaying();
  gameEnds();
  sys->advance(3000);
  sys->pendingWorkers.clear();  // the threads could not be started
  sys->advance(60'000);
  EXPECT_EQ(sys->count("lookup:bf1.exe"), 1u);
  EXPECT_EQ(status(), "closed");
  onStartClicked();
  EXPECT_EQ(status(), "waiting");
  EXPECT_EQ(sys->timer.period(), kWatchPeriodMs);
}

TEST_F(MonitorTest, ArmingTwiceKeepsOneCountdown) {
  reachPlaying();
  gameEnds();
  sys->advance(3000);
  const std::uint64_t armedAt = sys->now + 500;
  sys->advance(500);
  sys->onInterfaceThread = false;
  armWatch();
  sys->onInterfaceThread = true;
  sys->pumpInterface();
  sys->advance(100);
  sys->onInterfaceThread = false;
  armWatch();
  sys->onInterfaceThread = true;
  sys->pumpInterface();
  EXPECT_EQ(sys->nextTick, armedAt + kWatchPeriodMs);
  EXPECT_EQ(sys->count("status:waiting"), 2u);
}

TEST_F(MonitorTest, ArmWatchFromIdleStartsWaiting) {
  sys->onInterfaceThread = false;
  armWatch();
  EXPECT_TRUE(sys->log.empty());
  sys->onInterfaceThread = true;
  sys->pumpInterface();
  EXPECT_EQ(sys->log, (Log{"period:3000", "status:waiting"}));
  sys->advance(3000);
  EXPECT_EQ(sys->count("lookup:bf1.exe"), 1u);
}

// --- The watch timer's rules ------------------------------------------------

struct PeriodCase {
  const char* name;
  std::int32_t first;
  std::uint64_t wait;
  std::int32_t second;
  std::int32_t period;      // afterwards
  std::uint64_t nextTick;   // 0: stopped
  friend void PrintTo(const PeriodCase& c, std::ostream* os) { *os << c.name; }
};

class WatchTimerRules : public MonitorTest, public ::testing::WithParamInterface<PeriodCase> {};

TEST_P(WatchTimerRules, PeriodAndNextTick) {
  const PeriodCase& c = GetParam();
  sys->timer.setPeriod(c.first);
  sys->now += c.wait;  // time passes without ticks being raised
  sys->timer.setPeriod(c.second);
  EXPECT_EQ(sys->timer.period(), c.period);
  EXPECT_EQ(sys->timerRunning, c.nextTick != 0);
  if (c.nextTick != 0) {
    EXPECT_EQ(sys->nextTick, c.nextTick);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, WatchTimerRules,
    ::testing::Values(PeriodCase{"SamePeriodKeepsCountdown", 3000, 1000, 3000, 3000, 3000},
                      PeriodCase{"NewPeriodRestartsFull", 3000, 1000, 500, 500, 1500},
                      PeriodCase{"ZeroStops", 3000, 1000, 0, 0, 0},
                      PeriodCase{"NegativeIsZero", 3000, 1000, -5, 0, 0},
                      PeriodCase{"NegativeWhileStoppedStaysStopped", 0, 1000, -1, 0, 0},
                      PeriodCase{"StartFromStopped", 0, 1000, 3000, 3000, 4000}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace autopause
