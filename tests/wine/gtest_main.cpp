#include <mbctype.h>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  _setmbcp(_MB_CP_ANSI);  // as the program itself does at start
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
