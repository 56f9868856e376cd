#pragma once
// Positions and lengths of texts as the emulated machine stored them, for the
// string and kanji functions.
//
// Texts are UTF-8; a BASIC program counts one unit for an ASCII character or a
// half-width katakana and, in the byte measure (unit 2), two for a full-width
// character, in the character measure (unit 1) one. In DISK-BASIC mode each entry
// into and exit from a run of full-width characters counts one shift code of one
// unit more. Shift codes exist only in the counts, never in the texts.
//
// The walks never read past the given length, whatever bytes the text holds: a byte
// that does not begin a complete, valid UTF-8 sequence is a character of its own
// that counts 1, as the screen shows it in a cell of its own.

#include <cstddef>
#include <string>
#include <string_view>

namespace text_measure {

enum class TCharClass { OneByte, HalfKana, FullWidth };

struct TCharStep {
    std::size_t bytes;
    TCharClass cls;
};

// The length of the valid UTF-8 sequence that starts at text[i] (2 to 4), or 1 for
// a byte below 0x80 and for any byte that starts no complete, valid sequence.
std::size_t utf8_sequence_length(std::string_view text, std::size_t i);

// The character at text[i] (i below text's size) and its class.
TCharStep char_step(std::string_view text, std::size_t i);

inline bool is_full_width_at(std::string_view text, std::size_t i)
{
    return i < text.size() && char_step(text, i).cls == TCharClass::FullWidth;
}

// The number of bytes below 0x80 that start text, at most limit. Such bytes are
// characters of one unit each in every measure, so positions within them need no walk.
std::size_t ascii_prefix_length(std::string_view text, std::size_t limit);
// Whether the last n bytes of text (all of it when shorter) are below 0x80.
bool ends_in_ascii(std::string_view text, std::size_t n);
// Whether every byte of text is below 0x80.
inline bool is_ascii(std::string_view text)
{
    return ascii_prefix_length(text, text.size()) == text.size();
}

// The measure, in `unit`, of the first u bytes of text.
std::size_t utf8_pos_to_jis_pos(std::string_view text, std::size_t u, std::size_t unit, bool diskMode);
// The number of text bytes that the first j units span (never more than the text).
std::size_t jis_pos_to_utf8_pos(std::string_view text, std::size_t j, std::size_t unit, bool diskMode);
// The number of text bytes that the last j units (byte measure) span.
std::size_t jis_pos_to_utf8_pos_r(std::string_view text, std::size_t j, bool diskMode);
// The number of text bytes that n units span when they start at unit j: byte
// measure, and the character measure (one unit more for the opening shift code when
// the span begins with a full-width character in DISK-BASIC mode).
std::size_t jis_len_to_utf8_len(std::string_view text, std::size_t j, std::size_t n, bool diskMode);
std::size_t jis_len_to_utf8_len_k(std::string_view text, std::size_t j, std::size_t n, bool diskMode);

// The characters of text in reverse order, each keeping its own bytes.
std::string reverse_chars(std::string_view text);

}  // namespace text_measure
