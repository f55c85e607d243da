// The platform-free algorithms of the desktop automation: click packing,
// the owner window search and the timed notice, over fakes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "automation/messages.h"
#include "automation/timed_notice.h"
#include "automation/window_search.h"
#include "monitor/texts.h"

namespace autopause {
namespace {

// --- Click packing -------------------------------------------------------

struct PackCase {
  std::uint16_t x, y;
  std::uint32_t lParam;
};

TEST(ClickPoint, PacksYHighAndXLow) {
  for (const PackCase& c : {PackCase{1004, 461, 0x01CD03EC}, PackCase{299, 259, 0x0103012B},
                            PackCase{0, 0, 0}, PackCase{0xFFFF, 0, 0x0000FFFF},
                            PackCase{0, 0xFFFF, 0xFFFF0000}}) {
    EXPECT_EQ(packClickPoint(c.x, c.y), c.lParam) << c.x << "," << c.y;
  }
}

// --- Owner window search ---------------------------------------------------

struct FakeWindow {
  bool visible;
  ProcessId process;
  bool owned;
  bool destroyedWhenReached = false;  // the walk cannot continue after it
};

struct Desktop {
  static std::vector<FakeWindow> windows;  // front to back
  static std::uint32_t clock;
  static std::uint32_t msPerLook;  // time each step to a further window takes
  static int looked, pumped;

  static void reset(std::vector<FakeWindow> list, std::uint32_t startClock = 1000) {
    windows = std::move(list);
    clock = startClock;
    msPerLook = 0;
    looked = pumped = 0;
  }
  static WindowHandle handleOf(std::size_t i) { return &windows[i]; }
  static std::uint32_t tickCount() { return clock; }
  static WindowHandle nextTopLevel(WindowHandle after) {
    ++looked;
    clock += msPerLook;
    std::size_t next = 0;
    if (after != nullptr) {
      auto* w = static_cast<FakeWindow*>(after);
      if (w->destroyedWhenReached) return nullptr;
      next = static_cast<std::size_t>(w - windows.data()) + 1;
    }
    return next < windows.size() ? handleOf(next) : nullptr;
  }
  static bool isVisible(WindowHandle w) { return static_cast<FakeWindow*>(w)->visible; }
  static ProcessId processOf(WindowHandle w) { return static_cast<FakeWindow*>(w)->process; }
  static WindowHandle parentOf(WindowHandle w) {
    return static_cast<FakeWindow*>(w)->owned ? handleOf(0) : nullptr;
  }
  static void processPendingEvents() { ++pumped; }
};
std::vector<FakeWindow> Desktop::windows;
std::uint32_t Desktop::clock, Desktop::msPerLook;
int Desktop::looked, Desktop::pumped;

constexpr ProcessId kSelf = 77, kOther = 5;

WindowHandle search(std::int32_t limit = 1000) { return findWindowOfProcessWith<Desktop>(kSelf, limit); }

TEST(WindowSearch, SkipsHiddenWindowsWithoutDispatching) {
  Desktop::reset({{false, kSelf, false}, {false, kOther, false}, {true, kSelf, false}});
  EXPECT_EQ(search(), Desktop::handleOf(2));
  EXPECT_EQ(Desktop::pumped, 0);
}

TEST(WindowSearch, SkipsOwnedPopUpsAndOtherProcessesDispatchingAfterEach) {
  Desktop::reset({{true, kOther, false}, {true, kSelf, true}, {true, kSelf, false}, {true, kSelf, false}});
  EXPECT_EQ(search(), Desktop::handleOf(2)) << "the nearer qualifying window wins";
  EXPECT_EQ(Desktop::pumped, 2);
}

TEST(WindowSearch, EndOfListGivesNull) {
  Desktop::reset({{true, kOther, false}, {false, kSelf, false}});
  EXPECT_EQ(search(), nullptr);
  EXPECT_EQ(Desktop::looked, 3);
}

TEST(WindowSearch, DestroyedCandidateEndsTheWalk) {
  Desktop::reset({{true, kOther, false, true}, {true, kSelf, false}});
  EXPECT_EQ(search(), nullptr);
}

TEST(WindowSearch, ZeroOrNegativeLimitLooksAtNothing) {
  for (std::int32_t limit : {0, -1}) {
    Desktop::reset({{true, kSelf, false}});
    EXPECT_EQ(search(limit), nullptr);
    EXPECT_EQ(Desktop::looked, 0);
    EXPECT_EQ(Desktop::pumped, 0);
  }
}

TEST(WindowSearch, StopsWhenTheLimitIsReachedAcrossATickWrap) {
  std::vector<FakeWindow> many(100, FakeWindow{true, kOther, false});
  many.push_back({true, kSelf, false});
  Desktop::reset(many, 0xFFFFFF00u);  // the counter wraps during the walk
  Desktop::msPerLook = 100;
  EXPECT_EQ(search(1000), nullptr);
  EXPECT_EQ(Desktop::looked, 10) << "a check before every step, the first included";
}

// --- Timed notice -----------------------------------------------------------

struct BoxCall {
  WindowHandle owner;
  std::string text, caption;
  std::uint32_t style;
  std::uint16_t language;
  std::uint32_t ms;
};

struct NoticeSystem {
  static std::vector<BoxCall> calls;
  static int searches, loads, lookups, fatals;
  static int boxResult;
  static bool libraryMissing, exportMissing;
  static WindowHandle foundOwner;
  static MessageBoxTimeoutFn slot;
  static std::string loadedName, exportName;

  static void reset() {
    calls.clear();
    searches = loads = lookups = fatals = 0;
    boxResult = 1;
    libraryMissing = exportMissing = false;
    foundOwner = reinterpret_cast<WindowHandle>(0x1234);
    slot = nullptr;
  }
  static int AUTOPAUSE_STDCALL box(WindowHandle owner, const char* text, const char* caption,
                                   std::uint32_t style, std::uint16_t language, std::uint32_t ms) {
    calls.push_back({owner, text, caption, style, language, ms});
    return boxResult;
  }
  static void* loadLibrary(const char* name) {
    ++loads;
    loadedName = name;
    return libraryMissing ? nullptr : &loads;
  }
  static MessageBoxTimeoutFn findExport(void*, const char* name) {
    ++lookups;
    exportName = name;
    return exportMissing ? nullptr : box;
  }
  static void fatal() { ++fatals; }
  static ProcessId currentProcessId() { return kSelf; }
  static WindowHandle findWindowOfProcess(ProcessId id, std::int32_t ms) {
    ++searches;
    EXPECT_EQ(id, kSelf);
    EXPECT_EQ(ms, 1000);
    return foundOwner;
  }
  static MessageBoxTimeoutFn messageBoxTimeout() { return bindMessageBoxTimeout<NoticeSystem>(slot); }
};
std::vector<BoxCall> NoticeSystem::calls;
int NoticeSystem::searches, NoticeSystem::loads, NoticeSystem::lookups, NoticeSystem::fatals;
int NoticeSystem::boxResult;
bool NoticeSystem::libraryMissing, NoticeSystem::exportMissing;
WindowHandle NoticeSystem::foundOwner;
MessageBoxTimeoutFn NoticeSystem::slot;
std::string NoticeSystem::loadedName, NoticeSystem::exportName;

class TimedNotice : public ::testing::Test {
 protected:
  void SetUp() override { NoticeSystem::reset(); }
  int show(const NoticeOptions& options = {}) {
    return showTimedNoticeWith<NoticeSystem>(kNoticeText, options, kNoticeCaption);
  }
};

TEST_F(TimedNotice, DefaultsGiveTheMonitorsBox) {
  EXPECT_EQ(show(), 0) << "OK (1) gives 0";
  ASSERT_EQ(NoticeSystem::calls.size(), 1u);
  const BoxCall& c = NoticeSystem::calls[0];
  EXPECT_EQ(c.owner, NoticeSystem::foundOwner);
  EXPECT_EQ(c.text, kNoticeText);
  EXPECT_EQ(c.caption, kNoticeCaption);
  EXPECT_EQ(c.style, 0u);
  EXPECT_EQ(c.language, 0u);
  EXPECT_EQ(c.ms, 5000u);
  EXPECT_EQ(NoticeSystem::searches, 1);
}

TEST_F(TimedNotice, GivenArgumentsAreUsedAsTheyAre) {
  NoticeOptions options;
  options.owner = nullptr;
  options.timeoutMs = 0;
  options.style = 0x40;
  options.caption = "x";
  show(options);
  const BoxCall& c = NoticeSystem::calls.at(0);
  EXPECT_EQ(c.owner, nullptr);
  EXPECT_EQ(NoticeSystem::searches, 0) << "an owner given as null means no search";
  EXPECT_EQ(c.ms, 0u);
  EXPECT_EQ(c.style, 0x40u);
  EXPECT_EQ(c.caption, "x");
}

TEST_F(TimedNotice, OwnerSearchFindingNothingShowsAnUnownedBox) {
  NoticeSystem::foundOwner = nullptr;
  show();
  EXPECT_EQ(NoticeSystem::calls.at(0).owner, nullptr);
}

TEST_F(TimedNotice, ResultIsTheBoxResultMinusOne) {
  NoticeSystem::boxResult = 0;  // the box could not be shown
  EXPECT_EQ(show(), -1);
  NoticeSystem::boxResult = 32000;  // closed by its time-out
  EXPECT_EQ(show(), 31999);
}

TEST_F(TimedNotice, BindsOnceByName) {
  show();
  show();
  EXPECT_EQ(NoticeSystem::loads, 1);
  EXPECT_EQ(NoticeSystem::lookups, 1);
  EXPECT_EQ(NoticeSystem::loadedName, "user32.dll");
  EXPECT_EQ(NoticeSystem::exportName, "MessageBoxTimeoutA");
  EXPECT_EQ(NoticeSystem::calls.size(), 2u);
}

TEST_F(TimedNotice, BindingFailureIsFatal) {
  for (bool libraryMissing : {true, false}) {
    NoticeSystem::reset();
    NoticeSystem::libraryMissing = libraryMissing;
    NoticeSystem::exportMissing = !libraryMissing;
    NoticeSystem::messageBoxTimeout();
    EXPECT_EQ(NoticeSystem::fatals, 1);
    EXPECT_EQ(NoticeSystem::lookups, libraryMissing ? 0 : 1);
  }
}

}  // namespace
}  // namespace autopause
