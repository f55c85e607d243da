// The process lookup against Wine's real process list.
#include <gtest/gtest.h>

#include "automation/process_lookup.h"
#include "tests/wine/support.h"

namespace autopause {
namespace {

using wine::Process;

class RealProcessLookup : public ::testing::Test {
 protected:
  // Starts a copy of the stand-in game under name, in a folder of its own, and
  // waits until it is listed.
  Process startGame(const std::string& name) {
    Process game(wine::copyBeside("standin_game.exe", wine::freshTempDir(), name));
    const DWORD id = game.id();
    EXPECT_TRUE(wine::waitUntil([&] {
      for (DWORD listed : wine::processIdsNamed(name))
        if (listed == id) return true;
      return false;
    })) << name << " never appeared in the process list";
    return game;
  }
};

TEST_F(RealProcessLookup, FindsTheGameWhateverTheCaseOfTheName) {
  Process game = startGame("bf1.exe");
  EXPECT_EQ(findProcessIdByName("bf1.exe"), game.id());
  EXPECT_EQ(findProcessIdByName("BF1.EXE"), game.id());
  EXPECT_EQ(findProcessIdByName("Bf1.Exe"), game.id());
}

TEST_F(RealProcessLookup, ComparesTheWholeName) {
  Process game = startGame("bf1.exe");
  for (const char* name : {"bf1", " bf1.exe", "bf1.exe ", "C:\\bf1.exe", "bf1.ex", "*.exe", ""}) {
    EXPECT_EQ(findProcessIdByName(name), 0u) << '"' << name << '"';
  }
}

TEST_F(RealProcessLookup, CaseSensitiveModeDoesNotFold) {
  Process game = startGame("bf1.exe");
  EXPECT_EQ(findProcessIdByName("BF1.EXE", true), 0u);
  EXPECT_EQ(findProcessIdByName("bf1.exe", true), game.id());
}

TEST_F(RealProcessLookup, TwoCopiesGiveTheFirstListed) {
  Process first = startGame("twice.exe");
  Process second = startGame("twice.exe");
  const std::vector<DWORD> listed = wine::processIdsNamed("twice.exe");
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(findProcessIdByName("TWICE.EXE"), listed.front());
}

TEST_F(RealProcessLookup, FindsAGameWithAChineseName) {
  Process game = startGame("战地1.exe");
  EXPECT_EQ(findProcessIdByName("战地1.EXE"), game.id());
  EXPECT_EQ(findProcessIdByName("战地.exe"), 0u);
}

TEST_F(RealProcessLookup, FindsItsOwnExecutable) {
  EXPECT_EQ(findProcessIdByName("process_lookup_tests.exe"), GetCurrentProcessId());
}

TEST_F(RealProcessLookup, GameThatEndedIsNoLongerFound) {
  DWORD id;
  {
    Process game = startGame("gone.exe");
    id = game.id();
    EXPECT_EQ(findProcessIdByName("gone.exe"), id);
  }
  EXPECT_EQ(findProcessIdByName("gone.exe"), 0u);
}

}  // namespace
}  // namespace autopause
