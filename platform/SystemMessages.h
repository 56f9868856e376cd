#pragma once
// The what codes and fields of the messages the windowing layer makes from the
// desktop's events, and the key values they carry.

#include <cstdint>

#include "platform/Message.h"

namespace platform {

inline constexpr uint32_t kKeyDownMessage = fourcc("_KYD");          // "raw_char", "key", "modifiers"
inline constexpr uint32_t kQuitRequestedMessage = fourcc("_QRQ");    // a window's close box
inline constexpr uint32_t kLanguageChangedMessage = fourcc("_BLC");  // the interface language changed
inline constexpr uint32_t kRefsReceivedMessage = fourcc("_RRC");     // files or folders chosen or dropped: "refs"
inline constexpr uint32_t kPanelCancelMessage = fourcc("_CNC");      // a file panel closed

// "raw_char" of a key-down: the key's character without modifiers (a letter key gives
// its lower-case letter), or one of these for keys without a character.
inline constexpr int32_t kBackspaceChar = 0x08;
inline constexpr int32_t kTabChar = 0x09;
inline constexpr int32_t kEnterChar = 0x0A;
inline constexpr int32_t kFunctionKeyChar = 0x10;  // "key" tells which
inline constexpr int32_t kEscapeChar = 0x1B;

// "key" of a key-down for the keys with kFunctionKeyChar; other keys give 0.
inline constexpr int32_t kF1Key = 2;  // F2 to F12 follow: 3 to 13
inline constexpr int32_t kPrintKey = 14;
inline constexpr int32_t kScrollKey = 15;
inline constexpr int32_t kPauseKey = 16;

}  // namespace platform
