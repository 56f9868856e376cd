#pragma once
// The open modes that OPEN compiles into its record and the machine opens by.

#include <cstdint>

namespace open_mode {

inline constexpr int32_t ForInput = 10;
inline constexpr int32_t ForOutput = 11;
inline constexpr int32_t ForAppend = 12;
inline constexpr int32_t NoFor = 13;  // OPEN without FOR: read and write

}  // namespace open_mode
