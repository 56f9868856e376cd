#pragma once
// Conversion between UTF-8 and the Japanese encodings that program lists and the
// machine's JIS functions use.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

enum class TextEncoding {
    ShiftJIS,  // Microsoft's code page 932, where 0x5C stays a backslash
    JIS,       // ISO-2022-JP style escapes, with NEC's row-13 characters and 8-bit kana
};

// Converts `source` to UTF-8. Every character that cannot be converted becomes
// `substitute` (one byte); conversion never stops early. NUL bytes pass through.
// When `substitutions` is given it receives how many substitutes were written.
//
// JIS: ESC $ B and ESC $ @ switch to two-byte JIS X 0208 pairs (NEC row 13 and the
// user-defined rows included), ESC ( B and ESC ( J to ASCII (0x5C stays a backslash and
// 0x7E a tilde), ESC ( I to 7-bit half-width kana; bytes 0xA1 to 0xDF are half-width
// kana in every mode. Control bytes and spaces pass through in every mode, and an
// ESC that starts none of these sequences passes through as itself.
std::string convert_to_utf8(TextEncoding from, std::string_view source, char substitute,
                            std::size_t* substitutions = nullptr);

// Converts UTF-8 text to `to`. Every character that cannot be represented, and every
// byte that is not valid UTF-8, becomes `substitute`. JIS output switches to
// ESC $ B for two-byte characters and back with ESC ( B; half-width kana are written
// as 8-bit bytes (0xA1 to 0xDF) in ASCII mode.
std::string convert_from_utf8(TextEncoding to, std::string_view source, char substitute,
                              std::size_t* substitutions = nullptr);

}  // namespace platform
