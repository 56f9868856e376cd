#include "machine/text/TextMeasure.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

constexpr std::uint64_t HIGH_BITS = 0x8080808080808080u;

std::uint64_t load_word(const char* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}

// The index, 0 to 7, of the first byte of a loaded word whose bit in `high` is set.
std::size_t first_marked_byte(std::uint64_t high)
{
    if constexpr (std::endian::native == std::endian::little)
        return static_cast<std::size_t>(std::countr_zero(high)) / 8;
    else
        return static_cast<std::size_t>(std::countl_zero(high)) / 8;
}

// The offset of the first byte of 0x80 or more among the n bytes at p, or n.
std::size_t first_non_ascii(const char* p, std::size_t n)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    // Four blocks at a time while they are all ASCII, then block by block.
    for (; i + 64 <= n; i += 64) {
        const auto* q = reinterpret_cast<const __m128i*>(p + i);
        const __m128i any = _mm_or_si128(_mm_or_si128(_mm_loadu_si128(q), _mm_loadu_si128(q + 1)),
                                         _mm_or_si128(_mm_loadu_si128(q + 2), _mm_loadu_si128(q + 3)));
        if (_mm_movemask_epi8(any) != 0) break;
    }
    for (; i + 16 <= n; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const int mask = _mm_movemask_epi8(block);
        if (mask != 0) return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask)));
    }
#endif
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t high = load_word(p + i) & HIGH_BITS;
        if (high != 0) return i + first_marked_byte(high);
    }
    if (i == n) return n;
    if (n >= 8) {
        // The last eight bytes, overlapping bytes already known to be ASCII.
        const std::uint64_t high = load_word(p + n - 8) & HIGH_BITS;
        return high != 0 ? n - 8 + first_marked_byte(high) : n;
    }
    for (; i < n; ++i) {
        if (static_cast<unsigned char>(p[i]) >= 0x80) return i;
    }
    return n;
}

}  // namespace

std::size_t ascii_prefix_length(std::string_view text, std::size_t limit)
{
    return first_non_ascii(text.data(), std::min(limit, text.size()));
}

bool ends_in_ascii(std::string_view text, std::size_t n)
{
    const std::size_t count = std::min(n, text.size());
    return first_non_ascii(text.data() + text.size() - count, count) == count;
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
