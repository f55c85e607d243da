#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/monitor.h"
#include "monitor/workers.h"
#include "tests/native/fake_system.h"

namespace autopause {
namespace {

using Log = std::vector<std::string>;

class Workers : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    sys = &fake::install();
    onWindowCreated();
    if (clientRuns()) {
      sys->clientMain = &mainWindow;
      sys->clientPrompt = &promptWindow;
    }
  }
  bool clientRuns() const { return GetParam(); }
  std::string main() const { return clientRuns() ? "main" : "null"; }
  std::string prompt() const { return clientRuns() ? "prompt" : "null"; }

  fake::System* sys = nullptr;
  int mainWindow = 0, promptWindow = 0;
};

TEST_P(Workers, DisconnectClicksTheMainWindowAndStartsPromptRunTwoInBetween) {
  sys->onInterfaceThread = false;
  disconnectWorker(nullptr);
  EXPECT_EQ(sys->log, (Log{"click-down:" + main() + "@1004,461", "worker:dismiss",
                           "click-up:" + main() + "@1004,461"}));
  EXPECT_EQ(sys->pendingWorkers.size(), 1u);
}

TEST_P(Workers, PromptRunWaitsClicksThenArmsOnTheInterfaceThread) {
  sys->onInterfaceThread = false;
  dismissPromptWorker(nullptr);
  EXPECT_EQ(sys->log, (Log{"sleep:500", "click-down:" + prompt() + "@299,259",
                           "click-up:" + prompt() + "@299,259"}));
  sys->onInterfaceThread = true;
  sys->pumpInterface();
  EXPECT_EQ(sys->timer.period(), kWatchPeriodMs);
  EXPECT_EQ(fake::statusName(sys->status.c_str()), "waiting");
}

TEST_P(Workers, OneGameExitGivesOneMainClickTwoPromptClicksTwoReArms) {
  sys->processes["bf1.exe"] = 10;
  onStartClicked();
  sys->advance(3000);
  sys->processes.clear();
  sys->advance(3000);
  sys->runWorkers();
  sys->pumpInterface();
  EXPECT_EQ(sys->count("click-down:" + main() + "@1004,461"), 1u);
  EXPECT_EQ(sys->count("click-up:" + main() + "@1004,461"), 1u);
  EXPECT_EQ(sys->count("click-down:" + prompt() + "@299,259"), 2u);
  EXPECT_EQ(sys->count("click-up:" + prompt() + "@299,259"), 2u);
  EXPECT_EQ(sys->count("status:waiting"), 1u + 2u);  // start, then one per prompt run
  EXPECT_EQ(sys->timer.period(), kWatchPeriodMs);
}

INSTANTIATE_TEST_SUITE_P(ClientRunning, Workers, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Running" : "Absent"; });

}  // namespace
}  // namespace autopause
