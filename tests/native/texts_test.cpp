#include <gtest/gtest.h>

#include <string>

#include "monitor/texts.h"

namespace autopause {
namespace {

// The texts must reach the window as GBK bytes, not as the sources' UTF-8.
TEST(Texts, AreStoredInGbk) {
  EXPECT_EQ(std::string(kStatusWaiting), "\xB5\xC8\xB4\xFD\xB4\xF2\xBF\xAA\xD3\xCE\xCF\xB7");
  EXPECT_EQ(std::string(kNoticeCaption), "\xD3\xD1\xC7\xE9\xCC\xE1\xD0\xD1");
  EXPECT_EQ(std::string(kClientMainTitle), "Zorvath\xBC\xD3\xCB\xD9\xC6\xF7");
}

}  // namespace
}  // namespace autopause
