#pragma once
// The system clock in microseconds and sleeping.

#include <cstdint>

namespace platform {

using bigtime_t = int64_t;

inline constexpr bigtime_t kInfiniteTimeout = INT64_MAX;

// Microseconds since an arbitrary fixed point; never goes backwards.
bigtime_t system_time();

// Sleeps for `us` microseconds (nothing for zero or less).
void snooze(bigtime_t us);

// Sleeps until system_time() reaches `when`.
void snooze_until(bigtime_t when);

}  // namespace platform
