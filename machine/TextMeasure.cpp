#include "machine/TextMeasure.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace text_measure {

namespace {

unsigned char byte_at(std::string_view text, std::size_t i)
{
    return static_cast<unsigned char>(text[i]);
}

bool is_continuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// U+FF61 to U+FF9F: EF BD A1..BF and EF BE 80..9F.
bool is_half_kana(std::string_view text, std::size_t i)
{
    if (byte_at(text, i) != 0xEF) return false;
    const unsigned char b1 = byte_at(text, i + 1);
    const unsigned char b2 = byte_at(text, i + 2);
    return (b1 == 0xBD && b2 >= 0xA1 && b2 <= 0xBF) || (b1 == 0xBE && b2 >= 0x80 && b2 <= 0x9F);
}

// Whether none of the n bytes at p has its high bit set, eight bytes at a time.
bool all_ascii(const char* p, std::size_t n)
{
    constexpr std::uint64_t HIGH_BITS = 0x8080808080808080u;
    std::uint64_t seen = 0;
    for (; n >= 8; p += 8, n -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        seen |= word;
    }
    for (; n > 0; ++p, --n) seen |= static_cast<unsigned char>(*p);
    return (seen & HIGH_BITS) == 0;
}

}  // namespace

std::size_t ascii_prefix_length(std::string_view text, std::size_t limit)
{
    const std::size_t end = std::min(limit, text.size());
    std::size_t i = 0;
    // Whole blocks first: most texts a program handles are plain ASCII.
    constexpr std::size_t BLOCK = 32;
    while (i + BLOCK <= end && all_ascii(text.data() + i, BLOCK)) i += BLOCK;
    while (i < end && byte_at(text, i) < 0x80) ++i;
    return i;
}

bool ends_in_ascii(std::string_view text, std::size_t n)
{
    const std::size_t count = std::min(n, text.size());
    return all_ascii(text.data() + text.size() - count, count);
}

std::size_t utf8_sequence_length(std::string_view text, std::size_t i)
{
    const unsigned char lead = byte_at(text, i);
    std::size_t n;
    if (lead >= 0xC2 && lead <= 0xDF)
        n = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        n = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        n = 4;
    else
        return 1;
    if (n > text.size() - i) return 1;
    for (std::size_t k = 1; k < n; ++k) {
        if (!is_continuation(byte_at(text, i + k))) return 1;
    }
    // Overlong forms and surrogates are not characters either.
    const unsigned char second = byte_at(text, i + 1);
    if (lead == 0xE0 && second < 0xA0) return 1;
    if (lead == 0xED && second > 0x9F) return 1;
    if (lead == 0xF0 && second < 0x90) return 1;
    if (lead == 0xF4 && second > 0x8F) return 1;
    return n;
}

TCharStep char_step(std::string_view text, std::size_t i)
{
    const std::size_t n = utf8_sequence_length(text, i);
    if (n == 1) return {1, TCharClass::OneByte};
    if (n == 3 && is_half_kana(text, i)) return {3, TCharClass::HalfKana};
    return {n, TCharClass::FullWidth};
}

namespace {

// The walk shared by both directions of the conversion: counts the units of the
// characters while `go(i, count)` holds. Returns the count and leaves in i the text
// offset reached and in run whether the walk is inside a run of full-width
// characters. It begins after the `plain` ASCII bytes that start the text: each of
// them counts one unit, in either measure and mode, so the walk need not visit them.
template <typename Go>
std::size_t walk(std::string_view text, std::size_t plain, std::size_t unit, bool diskMode, std::size_t& i, bool& run,
                 Go go)
{
    std::size_t count = plain;
    i = plain;
    run = false;
    while (i < text.size() && go(i, count)) {
        const TCharStep step = char_step(text, i);
        const bool full = step.cls == TCharClass::FullWidth;
        if (full != run) {
            if (diskMode) count += unit;  // a shift code
            run = full;
            continue;
        }
        count += full ? unit : 1;
        i += step.bytes;
    }
    return count;
}

}  // namespace

std::size_t utf8_pos_to_jis_pos(std::string_view text, std::size_t u, std::size_t unit, bool diskMode)
{
    if (u == 0) return 0;
    const std::size_t plain = ascii_prefix_length(text, u);
    if (plain == std::min(u, text.size())) return plain;
    std::size_t i;
    bool run;
    std::size_t count = walk(text, plain, unit, diskMode, i, run, [u](std::size_t at, std::size_t) { return at < u; });
    // The run's closing shift code, when the run ends where the walk stopped.
    if (diskMode && run && !is_full_width_at(text, i)) count += unit;
    return count;
}

std::size_t jis_pos_to_utf8_pos(std::string_view text, std::size_t j, std::size_t unit, bool diskMode)
{
    if (j == 0) return 0;
    const std::size_t plain = ascii_prefix_length(text, j);
    if (plain == std::min(j, text.size())) return plain;
    std::size_t i;
    bool run;
    walk(text, plain, unit, diskMode, i, run, [j](std::size_t, std::size_t count) { return count < j; });
    return i < text.size() ? i : text.size();
}

std::string reverse_chars(std::string_view text)
{
    std::string reversed(text.size(), '\0');
    std::size_t end = text.size();
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = char_step(text, i).bytes;
        end -= n;
        reversed.replace(end, n, text.substr(i, n));
        i += n;
    }
    return reversed;
}

std::size_t jis_pos_to_utf8_pos_r(std::string_view text, std::size_t j, bool diskMode)
{
    // An ASCII byte is a character of its own wherever it stands, so ASCII at the end
    // counts one unit a byte from the end too.
    if (ends_in_ascii(text, j)) return std::min(j, text.size());
    const std::string reversed = reverse_chars(text);
    return jis_pos_to_utf8_pos(reversed, j, 2, diskMode);
}

std::size_t jis_len_to_utf8_len(std::string_view text, std::size_t j, std::size_t n, bool diskMode)
{
    const std::size_t a = jis_pos_to_utf8_pos(text, j, 2, diskMode);
    const std::size_t length = jis_pos_to_utf8_pos(text.substr(a), n, 2, diskMode);
    return length < text.size() ? length : text.size();
}

std::size_t jis_len_to_utf8_len_k(std::string_view text, std::size_t j, std::size_t n, bool diskMode)
{
    const std::size_t a = jis_pos_to_utf8_pos(text, j, 1, diskMode);
    const std::size_t units = diskMode && is_full_width_at(text, a) ? n + 1 : n;
    const std::size_t length = jis_pos_to_utf8_pos(text.substr(a), units, 1, diskMode);
    return length < text.size() ? length : text.size();
}

}  // namespace text_measure
