#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "automation/process_lookup.h"
#include "tests/native/fake_toolhelp.h"

namespace autopause {
namespace {

using fake::Toolhelp;
using Processes = std::vector<Toolhelp::Process>;

const Processes kOrdinary{{4, "System"}, {100, "explorer.exe"}, {200, "bf1.exe"},
                          {300, "bf1.exe"}, {400, "autopause.exe"}};

class ProcessLookup : public ::testing::Test {
 protected:
  void SetUp() override { Toolhelp::reset(); }
  void TearDown() override {
    EXPECT_EQ(Toolhelp::closed, Toolhelp::opened) << "every snapshot taken is closed once";
    EXPECT_LE(Toolhelp::closed, 1);
    EXPECT_TRUE(Toolhelp::sizeSetBeforeWalk);
  }
  ProcessId find(const char* name, bool caseSensitive = false) {
    return findProcessIdByNameWith<Toolhelp>(name, caseSensitive);
  }
};

struct MatchCase {
  const char* name;
  Processes processes;
  const char* wanted;
  bool caseSensitive;
  ProcessId expected;
  friend void PrintTo(const MatchCase& c, std::ostream* os) { *os << c.name; }
};

class ProcessLookupMatch : public ProcessLookup, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(ProcessLookupMatch, FindsTheFirstWholeNameMatch) {
  Toolhelp::processes = GetParam().processes;
  EXPECT_EQ(find(GetParam().wanted, GetParam().caseSensitive), GetParam().expected);
}

const std::string k260(260, 'x');

INSTANTIATE_TEST_SUITE_P(
    Table, ProcessLookupMatch,
    ::testing::Values(
        MatchCase{"ExactName", kOrdinary, "bf1.exe", false, 200},
        MatchCase{"UpperCase", kOrdinary, "BF1.EXE", false, 200},
        MatchCase{"MixedCase", kOrdinary, "Bf1.Exe", false, 200},
        MatchCase{"WithoutExtension", kOrdinary, "bf1", false, 0},
        MatchCase{"LeadingBlank", kOrdinary, " bf1.exe", false, 0},
        MatchCase{"TrailingBlank", kOrdinary, "bf1.exe ", false, 0},
        MatchCase{"WithDirectory", kOrdinary, "C:\\Games\\bf1.exe", false, 0},
        MatchCase{"Wildcard", kOrdinary, "*.exe", false, 0},
        MatchCase{"EmptyNameOrdinaryList", kOrdinary, "", false, 0},
        MatchCase{"EmptyNameMatchesEmptyEntry", {{1, "a.exe"}, {9, ""}}, "", false, 9},
        MatchCase{"OwnExecutable", kOrdinary, "AUTOPAUSE.EXE", false, 400},
        MatchCase{"MatchWithPidZero", {{0, "bf1.exe"}, {5, "bf1.exe"}}, "bf1.exe", false, 0},
        MatchCase{"CaseSensitiveDoesNotFold", kOrdinary, "BF1.EXE", true, 0},
        MatchCase{"CaseSensitiveExact", kOrdinary, "bf1.exe", true, 200},
        MatchCase{"GbkName", {{7, "\xD5\xBD\xB5\xD8" "1.exe"}}, "\xD5\xBD\xB5\xD8" "1.EXE", false, 7},
        MatchCase{"GbkNameDiffers", {{7, "\xD5\xBD\xB5\xD8" "1.exe"}}, "\xD5\xBD" "1.exe", false, 0},
        // 0x81 0x61: a trail byte with the value of 'a' is not an ASCII letter.
        MatchCase{"TrailByteNotFolded", {{7, "\x81\x61.exe"}}, "\x81\x41.exe", false, 0},
        MatchCase{"FullWidthLettersFold", {{7, "\xA3\xE1.exe"}}, "\xA3\xC1.exe", false, 7},
        MatchCase{"FullWidthCaseSensitive", {{7, "\xA3\xE1.exe"}}, "\xA3\xC1.exe", true, 0},
        MatchCase{"NameFillingTheWholeField", {{1, k260 + "tail"}}, k260.c_str(), false, 1},
        MatchCase{"EmptyList", {}, "bf1.exe", false, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProcessLookup, NullNameIsTheEmptyText) {
  Toolhelp::processes = {{1, "a.exe"}, {9, ""}};
  EXPECT_EQ(find(nullptr), 9u);
}

TEST_F(ProcessLookup, SnapshotFailureGivesZeroAndClosesNothing) {
  Toolhelp::processes = kOrdinary;
  Toolhelp::snapshotFails = true;
  EXPECT_EQ(find("bf1.exe"), 0u);
  EXPECT_EQ(Toolhelp::opened, 0);
  EXPECT_EQ(Toolhelp::walkCalls, 0);
}

TEST_F(ProcessLookup, FirstEntryFailureGivesZeroAndClosesTheSnapshot) {
  Toolhelp::processes = kOrdinary;
  Toolhelp::firstFails = true;
  EXPECT_EQ(find("bf1.exe"), 0u);
  EXPECT_EQ(Toolhelp::closed, 1);
}

TEST_F(ProcessLookup, WalkStopsAtTheFirstMatch) {
  Toolhelp::processes = kOrdinary;
  EXPECT_EQ(find("explorer.exe"), 100u);
  EXPECT_EQ(Toolhelp::walkCalls, 2);
}

TEST(Cp936Equality, LoneLeadByteAtTheEndIsOneCharacter) {
  EXPECT_TRUE(fake::equalCp936("ab\x81", "AB\x81", false));
  EXPECT_FALSE(fake::equalCp936("ab\x81", "ab", false));
}

}  // namespace
}  // namespace autopause
