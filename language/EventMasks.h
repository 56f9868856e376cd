#pragma once
// The event masks that the compiled trap statements name (ON event GOSUB, KEY(n) ON,
// PLAY ON ...); each is also the id of its event's one trap, and KEY's ten traps
// are KeyEvent + 1 to KeyEvent + 10. The machine raises its interrupts with the
// same bits.

#include <cstdint>

namespace event_mask {

inline constexpr int32_t Stop = 0x8;
inline constexpr int32_t Help = 0x10;
inline constexpr int32_t Time = 0x20;
inline constexpr int32_t Key = 0x40;
inline constexpr int32_t Play = 0x40000;
inline constexpr int32_t Mouse = 0x200000;

}  // namespace event_mask
