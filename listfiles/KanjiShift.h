#pragma once
// The byte pairs that shift program text into and out of two-byte (kanji)
// characters: NEC's own pairs, as lists of the old machine hold them, and the
// pairs that our JIS conversion to UTF-8 reads.

#include <string_view>

inline constexpr std::string_view BAS_KI_CODE = "\x1B"
                                                "K";  // NEC kanji in
inline constexpr std::string_view BAS_KO_CODE = "\x1B"
                                                "H";  // NEC kanji out
inline constexpr std::string_view ZARO_KI_CODE = "\x1B"
                                                 "$"
                                                 "B";  // kanji in, written for ESC K
inline constexpr std::string_view ZARO_KO_CODE = "\x1B"
                                                 "("
                                                 "J";  // kanji out, written for ESC H
