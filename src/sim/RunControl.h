#pragma once

#include <atomic>
#include <chrono>

namespace vormex::sim {

// What the printers' threads and the main thread share: the request to end, which also wakes
// every poll through a pipe, and the time of the last traffic on any printer.
class RunControl {
public:
    using Clock = std::chrono::steady_clock;

    RunControl();
    ~RunControl();
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    bool ok() const { return wakeRead_ >= 0; }
    // Readable once stop() was called: poll it beside the other descriptors.
    int wakeFd() const { return wakeRead_; }
    void stop();
    bool stopping() const { return stopping_.load(); }

    void noteTraffic() { lastTraffic_.store(Clock::now().time_since_epoch().count()); }
    Clock::duration sinceTraffic() const { return Clock::now() - Clock::time_point(Clock::duration(lastTraffic_.load())); }

private:
    std::atomic<bool> stopping_{false};
    std::atomic<Clock::rep> lastTraffic_{Clock::now().time_since_epoch().count()};
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
};

}  // namespace vormex::sim
