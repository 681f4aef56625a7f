// Harness canary: never ends. The self-check expects the suite to stop it
// at its time limit and report it as failed.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(Canary, Hangs)
{
    for (;;)
        std::this_thread::sleep_for(std::chrono::seconds(1));
}
