// Harness canary: passes. Proves the self-check is not failing everything.
#include <gtest/gtest.h>

TEST(Canary, Passes) { EXPECT_EQ(2 + 2, 4); }
