#pragma once
// Time as the feeder thread waits on it: real in the product, driven by the
// test in host tests (so an 8,888 ms time-out costs no real time).
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace audio {

class Clock {
public:
    virtual ~Clock() = default;
    // Waits on `cv` until `ready` holds or `timeout` has passed; returns ready().
    virtual bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock,
                         std::chrono::milliseconds timeout, const std::function<bool()>& ready) = 0;
};

class SteadyClock final : public Clock {
public:
    bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, std::chrono::milliseconds timeout,
                 const std::function<bool()>& ready) override {
        return cv.wait_for(lock, timeout, ready);
    }
};

}  // namespace audio
