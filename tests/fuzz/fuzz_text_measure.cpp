// Any bytes as a BASIC text: the text measures of the string functions and the
// decimal number reader never read past the text, and their results stay inside it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "machine/text/BasicNumberParse.h"
#include "machine/text/TextMeasure.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Copied so that the sanitizer sees the exact end of the text.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string_view view(text);
    const TBasicNumber number = parse_basic_number(view);
    if (number.length > size) std::abort();
    for (const bool disk : {false, true}) {
        for (std::size_t k = 0; k <= 300; k += 7) {
            if (text_measure::jis_pos_to_utf8_pos(view, k, 2, disk) > size) std::abort();
            if (text_measure::jis_pos_to_utf8_pos(view, k, 1, disk) > size) std::abort();
            if (text_measure::jis_pos_to_utf8_pos_r(view, k, disk) > size) std::abort();
            if (text_measure::jis_len_to_utf8_len(view, k, 255 - k % 256, disk) > size) std::abort();
            if (text_measure::jis_len_to_utf8_len_k(view, k, 255 - k % 256, disk) > size) std::abort();
            (void)text_measure::utf8_pos_to_jis_pos(view, k, 2, disk);
        }
        if (text_measure::utf8_pos_to_jis_pos(view, size, 2, disk) > 6 * size + 2) std::abort();
    }
    if (text_measure::reverse_chars(view).size() != size) std::abort();
    return 0;
}
