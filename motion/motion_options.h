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

template <typename T>
inline T LoadRelaxed(const std::atomic<T>& value)
{
    return value.load(std::memory_order_relaxed);
}

template <typename T>
inline void StoreRelaxed(std::atomic<T>& value, typename std::atomic<T>::value_type newValue)
{
    value.store(newValue, std::memory_order_relaxed);
}

// A load and a store, not a locked read-modify-write: an increment that
// another thread's reset falls between is lost, as the counters allow.
template <typename T>
inline void IncrementUnlocked(std::atomic<T>& value)
{
    StoreRelaxed(value, LoadRelaxed(value) + 1);
}

// Puts every option back to the default that each motion test starts from.
void ResetMotionOptions();

#endif
