// Settings of the motion test, shared between the user-interface thread and
// the motion test's timing threads.
#ifndef PELMIRA_MOTION_OPTIONS_H
#define PELMIRA_MOTION_OPTIONS_H

#include <windows.h>
#include <atomic>

// Each value is a 32-bit integer read and written with relaxed atomic
// operations: plain moves on x86, without a data race in the language.
struct MotionOptionsRecord {
    std::atomic<LONG> circle;            // 0 square, 1 circle
    std::atomic<LONG> shapeSize;         // 48, 96 or 192 pixels
    std::atomic<LONG> hollow;
    std::atomic<LONG> invertColors;
    std::atomic<LONG> preventFlicker;
    std::atomic<LONG> forceScreenUpdate; // repaint inside RedrawWindow
    std::atomic<LONG> stepPeriodMicros;  // microseconds per one-pixel step
};

extern MotionOptionsRecord MotionOptions;

inline LONG LoadRelaxed(const std::atomic<LONG>& value)
{
    return value.load(std::memory_order_relaxed);
}

inline void StoreRelaxed(std::atomic<LONG>& value, LONG newValue)
{
    value.store(newValue, std::memory_order_relaxed);
}

// Puts every option back to the default that each motion test starts from.
void ResetMotionOptions();

#endif
