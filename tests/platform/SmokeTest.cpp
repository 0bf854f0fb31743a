#include <gtest/gtest.h>
TEST(Build, TestsRun) { SUCCEED(); }
