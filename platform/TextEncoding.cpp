#include "platform/TextEncoding.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

namespace platform {
namespace {

constexpr unsigned char kEsc = 0x1B;

// Half-width katakana: 8-bit bytes 0xA1 to 0xDF, 7-bit bytes 0x21 to 0x5F after
// ESC ( I, and U+FF61 to U+FF9F in Unicode, all in the same order.
constexpr unsigned char kKanaByteFirst = 0xA1;
constexpr unsigned char kKanaByteLast = 0xDF;
constexpr char32_t kKanaCodeFirst = 0xFF61;
constexpr char32_t kKanaCodeLast = 0xFF9F;

bool is_kana_byte(unsigned char byte)
{
    return byte >= kKanaByteFirst && byte <= kKanaByteLast;
}

void append_utf8(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

void append_kana(std::string& out, unsigned char kanaByte)
{
    append_utf8(out, kKanaCodeFirst + (kanaByte - kKanaByteFirst));
}

// One character of a UTF-8 text: its code point and length, or, for bytes that are
// not well-formed UTF-8 (overlong forms, surrogates and codes above U+10FFFF
// included), valid false and the number of bytes that make up the broken sequence.
struct Utf8Char {
    bool valid;
    char32_t code;
    std::size_t length;
};

Utf8Char next_utf8_char(std::string_view text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return {true, lead, 1};

    std::size_t length;
    char32_t code;
    char32_t smallest;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, smallest = 0x10000;
    } else {
        return {false, 0, 1};  // a stray continuation byte or a lead byte never used
    }

    std::size_t taken = 1;
    for (; taken < length && at + taken < text.size(); ++taken) {
        const unsigned char next = byte(at + taken);
        if ((next & 0xC0) != 0x80) return {false, 0, taken};
        code = (code << 6) | (next & 0x3F);
    }
    if (taken < length) return {false, 0, taken};
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {false, 0, length};
    return {true, code, length};
}

// An iconv descriptor for one direction, opened on first use and kept per thread
// (a descriptor holds shift state and must not be shared between threads).
class Converter {
public:
    Converter(const char* to, const char* from) : mHandle(iconv_open(to, from)) {}
    ~Converter()
    {
        if (usable()) iconv_close(mHandle);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts one whole character; appends its output and returns true only when
    // every input byte was taken and the converter reported no error.
    bool ConvertCharacter(const char* bytes, std::size_t length, std::string& out)
    {
        if (!usable()) return false;
        iconv(mHandle, nullptr, nullptr, nullptr, nullptr);  // back to the initial state

        char buffer[16];
        char* in = const_cast<char*>(bytes);
        std::size_t inLeft = length;
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(mHandle, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return false;
        if (inLeft != 0) return false;
        // Flush any shift sequence that closes the character.
        if (iconv(mHandle, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return false;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        return true;
    }

private:
    bool usable() const { return mHandle != reinterpret_cast<iconv_t>(-1); }

    iconv_t mHandle;
};

// Code page 932 keeps 0x5C a backslash and 0x7E a tilde, unlike glibc's SHIFT_JIS.
// EUC-JP-MS holds NEC's row 13 and Microsoft's forms (the full-width tilde), which
// ISO-2022-JP lacks.
Converter& cp932_to_utf8()
{
    thread_local Converter converter("UTF-8", "CP932");
    return converter;
}

Converter& utf8_to_cp932()
{
    thread_local Converter converter("CP932", "UTF-8");
    return converter;
}

Converter& eucjp_to_utf8()
{
    thread_local Converter converter("UTF-8", "EUC-JP-MS");
    return converter;
}

Converter& utf8_to_eucjp()
{
    thread_local Converter converter("EUC-JP-MS", "UTF-8");
    return converter;
}

// Collects the output and counts the substitutes.
class Output {
public:
    explicit Output(char substitute) : mSubstitute(substitute) {}

    std::string text;

    void Substitute()
    {
        text.push_back(mSubstitute);
        ++mSubstitutions;
    }
    std::size_t Substitutions() const { return mSubstitutions; }

private:
    char mSubstitute;
    std::size_t mSubstitutions = 0;
};

// ---- Shift-JIS ----

bool is_sjis_lead(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool is_sjis_trail(unsigned char byte)
{
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

void shift_jis_to_utf8(std::string_view source, Output& out)
{
    std::size_t i = 0;
    while (i < source.size()) {
        const auto byte = static_cast<unsigned char>(source[i]);
        if (byte < 0x80) {
            out.text.push_back(static_cast<char>(byte));
            ++i;
        } else if (is_kana_byte(byte)) {
            append_kana(out.text, byte);
            ++i;
        } else if (is_sjis_lead(byte) && i + 1 < source.size() &&
                   is_sjis_trail(static_cast<unsigned char>(source[i + 1]))) {
            // A well-formed pair is one character, even when it has no mapping.
            if (!cp932_to_utf8().ConvertCharacter(source.data() + i, 2, out.text)) out.Substitute();
            i += 2;
        } else {
            out.Substitute();
            ++i;
        }
    }
}

void utf8_to_shift_jis(std::string_view source, Output& out)
{
    std::size_t i = 0;
    while (i < source.size()) {
        const Utf8Char c = next_utf8_char(source, i);
        if (!c.valid) {
            out.Substitute();
        } else if (c.code < 0x80) {
            out.text.push_back(static_cast<char>(c.code));
        } else if (c.code >= kKanaCodeFirst && c.code <= kKanaCodeLast) {
            out.text.push_back(static_cast<char>(kKanaByteFirst + (c.code - kKanaCodeFirst)));
        } else {
            std::string bytes;
            const bool converted = utf8_to_cp932().ConvertCharacter(source.data() + i, c.length, bytes);
            // A look-alike fallback to an ASCII byte (the yen sign to a backslash)
            // would change the text's meaning, so it counts as no mapping.
            if (converted && !bytes.empty() && static_cast<unsigned char>(bytes[0]) >= 0x80)
                out.text += bytes;
            else
                out.Substitute();
        }
        i += c.length;
    }
}

// ---- JIS ----

enum class JisMode { Ascii, Kanji, Kana };

// Whether the three bytes at `at` are an escape sequence the reader knows; sets its mode.
bool read_escape(std::string_view source, std::size_t at, JisMode* mode)
{
    if (at + 2 >= source.size()) return false;
    const char first = source[at + 1];
    const char second = source[at + 2];
    if (first == '$' && (second == 'B' || second == '@')) {
        *mode = JisMode::Kanji;
        return true;
    }
    if (first == '(' && (second == 'B' || second == 'J')) {
        *mode = JisMode::Ascii;
        return true;
    }
    if (first == '(' && second == 'I') {
        *mode = JisMode::Kana;
        return true;
    }
    return false;
}

bool is_jis_graphic(unsigned char byte)
{
    return byte >= 0x21 && byte <= 0x7E;
}

void jis_to_utf8(std::string_view source, Output& out)
{
    constexpr std::size_t kEscapeLength = 3;
    JisMode mode = JisMode::Ascii;
    std::size_t i = 0;
    while (i < source.size()) {
        const auto byte = static_cast<unsigned char>(source[i]);
        if (byte == kEsc && read_escape(source, i, &mode)) {
            i += kEscapeLength;
        } else if (!is_jis_graphic(byte) && byte < 0x80) {
            out.text.push_back(static_cast<char>(byte));  // controls, space, DEL, a lone ESC
            ++i;
        } else if (byte >= 0x80) {
            if (is_kana_byte(byte))
                append_kana(out.text, byte);
            else
                out.Substitute();
            ++i;
        } else if (mode == JisMode::Ascii) {
            out.text.push_back(static_cast<char>(byte));
            ++i;
        } else if (mode == JisMode::Kana) {
            if (byte <= 0x5F)
                append_kana(out.text, static_cast<unsigned char>(byte | 0x80));
            else
                out.Substitute();
            ++i;
        } else if (i + 1 < source.size() && is_jis_graphic(static_cast<unsigned char>(source[i + 1]))) {
            // A JIS X 0208 pair is the EUC-JP pair with the high bits cleared.
            const char euc[2] = {static_cast<char>(byte | 0x80), static_cast<char>(source[i + 1] | 0x80)};
            if (!eucjp_to_utf8().ConvertCharacter(euc, 2, out.text)) out.Substitute();
            i += 2;
        } else {
            out.Substitute();  // half a pair
            ++i;
        }
    }
}

void utf8_to_jis(std::string_view source, Output& out)
{
    static constexpr char kToKanji[] = "\x1B$B";
    static constexpr char kToAscii[] = "\x1B(B";
    bool inKanji = false;
    const auto leaveKanji = [&] {
        if (inKanji) out.text += kToAscii;
        inKanji = false;
    };

    std::size_t i = 0;
    while (i < source.size()) {
        const Utf8Char c = next_utf8_char(source, i);
        if (!c.valid) {
            out.Substitute();  // a control byte, read the same in every mode
        } else if (c.code < 0x80) {
            leaveKanji();
            out.text.push_back(static_cast<char>(c.code));
        } else if (c.code >= kKanaCodeFirst && c.code <= kKanaCodeLast) {
            leaveKanji();
            out.text.push_back(static_cast<char>(kKanaByteFirst + (c.code - kKanaCodeFirst)));
        } else {
            std::string euc;
            const bool converted = utf8_to_eucjp().ConvertCharacter(source.data() + i, c.length, euc);
            // Only a JIS X 0208 pair fits between ESC $ B and ESC ( B; the
            // supplementary set (0x8F) and look-alike ASCII fallbacks do not.
            const bool pair = converted && euc.size() == 2 && static_cast<unsigned char>(euc[0]) >= 0xA1 &&
                              static_cast<unsigned char>(euc[1]) >= 0xA1;
            if (pair) {
                if (!inKanji) out.text += kToKanji;
                inKanji = true;
                out.text.push_back(static_cast<char>(euc[0] & 0x7F));
                out.text.push_back(static_cast<char>(euc[1] & 0x7F));
            } else {
                out.Substitute();
            }
        }
        i += c.length;
    }
    leaveKanji();
}

}  // namespace

std::string convert_to_utf8(TextEncoding from, std::string_view source, char substitute, std::size_t* substitutions)
{
    Output out(substitute);
    out.text.reserve(source.size() * 3 / 2);
    if (from == TextEncoding::ShiftJIS)
        shift_jis_to_utf8(source, out);
    else
        jis_to_utf8(source, out);
    if (substitutions != nullptr) *substitutions = out.Substitutions();
    return std::move(out.text);
}

std::string convert_from_utf8(TextEncoding to, std::string_view source, char substitute, std::size_t* substitutions)
{
    Output out(substitute);
    out.text.reserve(source.size());
    if (to == TextEncoding::ShiftJIS)
        utf8_to_shift_jis(source, out);
    else
        utf8_to_jis(source, out);
    if (substitutions != nullptr) *substitutions = out.Substitutions();
    return std::move(out.text);
}

}  // namespace platform
