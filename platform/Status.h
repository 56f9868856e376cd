#pragma once
// Status codes of the platform layer: 0 is success, every error is negative.

#include <cstdint>

namespace platform {

using status_t = int32_t;

inline constexpr status_t kOk = 0;
inline constexpr status_t kError = -1;                  // generic failure
inline constexpr status_t kBadValue = -2147483647;      // an argument out of range or malformed
inline constexpr status_t kNameNotFound = -2147483646;  // no field of that name
inline constexpr status_t kBadType = -2147483645;       // a field of that name holds another type
inline constexpr status_t kBadIndex = -2147483644;      // fewer entries than the index asks for
inline constexpr status_t kBadThreadId = -2147483643;   // no such thread, or spawning failed
inline constexpr status_t kNotAllowed = -2147483642;    // the call is not allowed from this thread
inline constexpr status_t kTimedOut = -2147483641;
inline constexpr status_t kBadHandler = -2147483640;  // the target handler or looper is gone
inline constexpr status_t kNoMemory = -2147483639;
inline constexpr status_t kBadData = -2147483638;  // flattened data that is not a message
inline constexpr status_t kIoError = -2147483637;

}  // namespace platform
