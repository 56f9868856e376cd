#pragma once
// The keyboard's modifier keys held right now. The GUI installs the reader that
// knows; without one (headless) no modifier is held.

#include <cstdint>
#include <functional>

namespace platform {

inline constexpr uint32_t kShiftKey = 0x01;
inline constexpr uint32_t kCommandKey = 0x02;
inline constexpr uint32_t kControlKey = 0x04;
inline constexpr uint32_t kCapsLockKey = 0x08;
inline constexpr uint32_t kScrollLockKey = 0x10;
inline constexpr uint32_t kNumLockKey = 0x20;
inline constexpr uint32_t kOptionKey = 0x40;
inline constexpr uint32_t kMenuKey = 0x80;

// The held modifiers as a set of the bits above.
uint32_t modifiers();

// Installs the reader that modifiers() asks; an empty function removes it.
void set_modifier_reader(std::function<uint32_t()> reader);

}  // namespace platform
