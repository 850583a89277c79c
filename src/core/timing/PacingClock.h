#pragma once

#include <atomic>
#include <chrono>

// Every fixed pause and time-out of the program goes through here. The environment variable
// VORMEX_TIME_SCALE (a factor, default 1) scales them all, so tests and the simulator can run a
// download in seconds; with the default the printer's own timing is kept exactly.
namespace vormex::pacing {

using Clock = std::chrono::steady_clock;

// The factor read once from VORMEX_TIME_SCALE; values that are not a positive number give 1.
double timeScale();

// A duration of the given nominal milliseconds after scaling.
Clock::duration scaled(int milliseconds);

// Pauses for the scaled time.
void pause(int milliseconds);

// Pauses for the scaled time but returns early, within 10 ms, once `cancel` is set.
// Returns false when it was cancelled.
bool pause(int milliseconds, const std::atomic<bool>& cancel);

// A point in time a scaled number of milliseconds from its creation.
class Deadline {
public:
    explicit Deadline(int milliseconds);
    bool expired() const;
    // Real (scaled) milliseconds left, at least 0.
    int remainingMs() const;

private:
    Clock::time_point end_;
};

}  // namespace vormex::pacing
