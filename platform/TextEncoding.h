#pragma once
// Conversion between UTF-8 and the Japanese encodings that program lists and the
// machine's JIS functions use.

#include <string>
#include <string_view>

namespace platform {

enum class TextEncoding {
    ShiftJIS,  // Microsoft's code page 932, where 0x5C stays a backslash
    JIS,       // ISO-2022-JP style escapes, with NEC's row-13 characters and 8-bit kana
};

// Converts `source` to UTF-8. Every character that cannot be converted becomes
// `substitute` (one byte); conversion never stops early.
std::string convert_to_utf8(TextEncoding from, std::string_view source, char substitute);

// Converts UTF-8 text to `to`. Every character that cannot be represented, and every
// byte that is not valid UTF-8, becomes `substitute`. JIS output switches to
// ESC $ B for two-byte characters and back with ESC ( B.
std::string convert_from_utf8(TextEncoding to, std::string_view source, char substitute);

}  // namespace platform
