// Feeds arbitrary bytes to the JIS reader and writer. The reader must always give
// well-formed UTF-8, and text it produced must come back unchanged through the
// writer and the reader again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/TextEncoding.h"

namespace {

bool is_well_formed_utf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length;
        char32_t code;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

constexpr char kSubstitute = 0x1A;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using platform::TextEncoding;
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    std::size_t substitutions = 0;
    const std::string utf8 = platform::convert_to_utf8(TextEncoding::JIS, input, kSubstitute, &substitutions);
    if (!is_well_formed_utf8(utf8) || substitutions > size) std::abort();

    // An ESC the reader passed through may meet the bytes after it and form a shift
    // on the second reading; every other text must survive the trip.
    if (utf8.find('\x1B') == std::string::npos) {
        const std::string jis = platform::convert_from_utf8(TextEncoding::JIS, utf8, kSubstitute, &substitutions);
        if (substitutions != 0) std::abort();
        if (platform::convert_to_utf8(TextEncoding::JIS, jis, kSubstitute) != utf8) std::abort();
    }

    // The writer takes any bytes too; what it writes reads back as UTF-8.
    const std::string written = platform::convert_from_utf8(TextEncoding::JIS, input, kSubstitute);
    if (!is_well_formed_utf8(platform::convert_to_utf8(TextEncoding::JIS, written, kSubstitute))) std::abort();
    return 0;
}
