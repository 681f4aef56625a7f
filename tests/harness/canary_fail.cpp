// Harness canary: a failing assertion. The self-check expects the suite to
// report this test as failed.
#include <gtest/gtest.h>

TEST(Canary, FailingAssertion) { EXPECT_EQ(2 + 2, 5) << "this canary must fail"; }
