#include "timing/PacingClock.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <thread>

namespace vormex::pacing {

double timeScale()
{
    static const double scale = [] {
        const char* text = std::getenv("VORMEX_TIME_SCALE");
        if (!text || !*text)
            return 1.0;
        char* end = nullptr;
        const double value = std::strtod(text, &end);
        if (end == text || !std::isfinite(value) || value <= 0.0)
            return 1.0;
        return value;
    }();
    return scale;
}

Clock::duration scaled(int milliseconds)
{
    if (milliseconds <= 0)
        return Clock::duration::zero();
    const double micros = static_cast<double>(milliseconds) * 1000.0 * timeScale();
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double, std::micro>(micros));
}

void pause(int milliseconds)
{
    const auto duration = scaled(milliseconds);
    if (duration > Clock::duration::zero())
        std::this_thread::sleep_for(duration);
}

bool pause(int milliseconds, const std::atomic<bool>& cancel)
{
    const auto end = Clock::now() + scaled(milliseconds);
    constexpr auto slice = std::chrono::milliseconds(10);
    while (!cancel.load()) {
        const auto now = Clock::now();
        if (now >= end)
            return true;
        std::this_thread::sleep_for(std::min<Clock::duration>(slice, end - now));
    }
    return false;
}

Deadline::Deadline(int milliseconds) : end_(Clock::now() + scaled(milliseconds)) {}

bool Deadline::expired() const { return Clock::now() >= end_; }

int Deadline::remainingMs() const
{
    const auto left = end_ - Clock::now();
    if (left <= Clock::duration::zero())
        return 0;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

}  // namespace vormex::pacing
