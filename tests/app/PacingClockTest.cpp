#include "timing/PacingClock.h"

#include <gtest/gtest.h>

#include <thread>

using namespace vormex;

TEST(PacingClock, CancelEndsAPauseEarly)
{
    std::atomic<bool> cancel{false};
    std::thread canceller([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        cancel = true;
    });
    const auto start = pacing::Clock::now();
    EXPECT_FALSE(pacing::pause(600000, cancel));
    canceller.join();
    EXPECT_LT(pacing::Clock::now() - start, std::chrono::seconds(5));
}

TEST(PacingClock, ScalesByTheEnvironmentFactor)
{
    const double scale = pacing::timeScale();
    EXPECT_GT(scale, 0.0);
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::milliseconds>(pacing::scaled(1000)).count(),
              static_cast<long long>(1000 * scale));
    EXPECT_EQ(pacing::scaled(0), pacing::Clock::duration::zero());
}
