#pragma once
// How far a statistics computation has come, and the operator's wish that it stop. The
// computation may run on another thread than the window that shows the bar, so both sides
// only read and write these atomics.
#include <atomic>

class Progress {
public:
    float fraction() const { return fraction_.load(std::memory_order_relaxed); }
    void setFraction(float f) { fraction_.store(f, std::memory_order_relaxed); }
    void stop() { stopped_.store(true, std::memory_order_relaxed); }
    bool stopped() const { return stopped_.load(std::memory_order_relaxed); }

private:
    std::atomic<float> fraction_{0};
    std::atomic<bool> stopped_{false};
};
