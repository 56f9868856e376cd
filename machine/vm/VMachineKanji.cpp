// The kanji, JIS and kana functions: AKCNV$, KACNV$, JIS$, KNJ$, KEXT$, KLEN, KMID$
// and KINSTR. JIS codes go to and from UTF-8 through the platform's JIS converter.

#include <cstring>
#include <string>
#include <string_view>

#include "language/MidCode.h"
#include "machine/text/TextMeasure.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"
#include "platform/TextEncoding.h"

using namespace text_measure;

namespace {

// Switches a JIS byte stream into two-byte JIS X 0208 mode.
constexpr char ZARO_KI_CODE[] = "\x1B$B";
constexpr std::size_t ZARO_KI_LENGTH = 3;
constexpr char JIS_SUBSTITUTE = 0x1A;

// ASCII characters whose full-width partner lies outside the U+FF01.. rule.
struct TFullWidthPair {
    char ascii;
    const char* full;
};
constexpr TFullWidthPair SPECIAL_PAIRS[] = {
    {' ', "\xE3\x80\x80"},   // 　 U+3000
    {'"', "\xE2\x80\x9D"},   // ” U+201D
    {'\'', "\xE2\x80\x99"},  // ’ U+2019
    {'\\', "\xEF\xBF\xA5"},  // ￥ U+FFE5
};

bool in_jis_byte_range(int b)
{
    return b >= 0x21 && b <= 0x7E;
}

int hex_digit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string upper_hex(uint32_t value)
{
    static const char DIGITS[] = "0123456789ABCDEF";
    if (value == 0) return "0";
    std::string text;
    for (; value != 0; value /= 16) text.insert(text.begin(), DIGITS[value % 16]);
    return text;
}

}  // namespace

void TVMachine::InitFuncTableKanji(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcJisDl, &M::ExeBasicJisDl},
        {vcKnjDl, &M::ExeBasicKnjDl},
        {vcKlen, &M::ExeBasicKlen},
        {vcKmidDl, &M::ExeBasicKmidDl},
        {vcKextDl, &M::ExeBasicKextDl},
        {vcKinstr, &M::ExeBasicKinstr},
        {vcAkcnvDl, &M::ExeBasicAkcnvDl},
        {vcKacnvDl, &M::ExeBasicKacnvDl},
    });
}

// --- shared operations ---

std::string TVMachine::AkcnvDl(const std::string& s) const
{
    std::string result;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            const std::size_t n = char_step(s, i).bytes;
            const std::string ch = s.substr(i, n);
            const auto found = MidCode->AkcnvMap.find(ch);
            result += found != MidCode->AkcnvMap.end() ? found->second : ch;
            i += n;
            continue;
        }
        const TFullWidthPair* special = nullptr;
        for (const TFullWidthPair& pair : SPECIAL_PAIRS) {
            if (pair.ascii == static_cast<char>(c)) special = &pair;
        }
        if (special != nullptr) {
            result += special->full;
        } else if (c >= 0x21 && c <= 0x5F) {
            result += "\xEF\xBC";
            result += static_cast<char>(c + 0x60);
        } else if (c >= 0x60 && c <= 0x7E) {
            result += "\xEF\xBD";
            result += static_cast<char>(c + 0x20);
        } else {
            result += static_cast<char>(c);
        }
        ++i;
    }
    return result;
}

long TVMachine::Klen(const char* text, long f) const
{
    const std::string_view s(text);
    if (f == 0) return static_cast<long>(Utf8PosToJisPosK(text, s.size()));
    if (f < 1 || f > 3) return 0;
    long count = 0;
    for (std::size_t i = 0; i < s.size();) {
        const TCharStep step = char_step(s, i);
        const bool twoColumns = step.cls == TCharClass::FullWidth;
        if (twoColumns == (f != 1)) ++count;
        i += step.bytes;
    }
    return count;
}

void TVMachine::JisCodeToUtf8Char(long code, char* out)
{
    const int high = static_cast<int>((code >> 8) & 0xFF);
    const int low = static_cast<int>(code & 0xFF);
    // Only a JIS X 0208 pair means a character; anything else would pass through the
    // converter as control or ASCII bytes.
    if (!in_jis_byte_range(high) || !in_jis_byte_range(low)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    std::string source(ZARO_KI_CODE, ZARO_KI_LENGTH);
    source += static_cast<char>(high);
    source += static_cast<char>(low);
    std::size_t substitutions = 0;
    const std::string converted =
        platform::convert_to_utf8(platform::TextEncoding::JIS, source, JIS_SUBSTITUTE, &substitutions);
    if (substitutions != 0 || converted.empty() || converted.size() > 4) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    std::memcpy(out, converted.data(), converted.size());
    out[converted.size()] = '\0';
}

// --- handlers ---

void TVMachine::ExeBasicAkcnvDl(const TVMCode*)
{
    PushOwnedString(AkcnvDl(PopStringArg()));
}

void TVMachine::ExeBasicKacnvDl(const TVMCode*)
{
    const std::string x = PopStringArg();
    std::string result;
    for (std::size_t i = 0; i < x.size();) {
        if (static_cast<unsigned char>(x[i]) < 0x80) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        const std::size_t n = char_step(x, i).bytes;
        const std::string ch = x.substr(i, n);
        i += n;
        const TFullWidthPair* special = nullptr;
        for (const TFullWidthPair& pair : SPECIAL_PAIRS) {
            if (ch == pair.full) special = &pair;
        }
        if (special != nullptr) {
            result += special->ascii;
            continue;
        }
        if (n == 3 && ch[0] == '\xEF') {
            const unsigned char b1 = static_cast<unsigned char>(ch[1]);
            const unsigned char b2 = static_cast<unsigned char>(ch[2]);
            if (b1 == 0xBC && b2 >= 0x81 && b2 <= 0xBF) {  // ！ to ＿
                result += static_cast<char>(b2 - 0x60);
                continue;
            }
            if (b1 == 0xBD && b2 >= 0x80 && b2 <= 0x9E) {  // ｀ to ～
                result += static_cast<char>(b2 - 0x20);
                continue;
            }
        }
        const std::vector<std::string>& full = MidCode->FullKanaTable;
        std::size_t k = 0;
        while (k < full.size() && full[k] != ch) ++k;
        if (k == full.size() || k >= MidCode->HalfKanaTable.size()) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        result += MidCode->HalfKanaTable[k];
    }
    PushOwnedString(std::move(result));
}

void TVMachine::ExeBasicJisDl(const TVMCode*)
{
    const std::string x = PopStringArg();
    if (x.size() < 2) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    uint32_t code;
    const TCharStep first = char_step(x, 0);
    if (first.cls == TCharClass::FullWidth) {
        std::size_t substitutions = 0;
        const std::string jis = platform::convert_from_utf8(
            platform::TextEncoding::JIS, std::string_view(x).substr(0, first.bytes), JIS_SUBSTITUTE, &substitutions);
        // A character outside JIS X 0208 has no code.
        if (substitutions != 0 || jis.size() < ZARO_KI_LENGTH + 2 || jis.compare(0, ZARO_KI_LENGTH, ZARO_KI_CODE) != 0)
            throw RuntimeException2(RTE_ILL_FUNC_CALL);
        const int high = static_cast<unsigned char>(jis[ZARO_KI_LENGTH]);
        const int low = static_cast<unsigned char>(jis[ZARO_KI_LENGTH + 1]);
        if (!in_jis_byte_range(high) || !in_jis_byte_range(low)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        code = static_cast<uint32_t>(high * 256 + low);
    } else {
        code = static_cast<uint32_t>(static_cast<unsigned char>(x[0]) * 256 + static_cast<unsigned char>(x[1]));
    }
    PushOwnedString(upper_hex(code));
}

void TVMachine::ExeBasicKnjDl(const TVMCode*)
{
    const std::string x = PopStringArg();
    if (x.size() < 4) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    long code = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hex_digit(x[static_cast<std::size_t>(i)]);
        if (digit < 0) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        code = code * 16 + digit;
    }
    // The kanji-in and kanji-out codes of DISK-BASIC texts.
    if (code == 0x1B4B || code == 0x1B48) {
        PushOwnedString(std::string());
        return;
    }
    char out[5];
    JisCodeToUtf8Char(code, out);
    PushOwnedString(out);
}

void TVMachine::ExeBasicKextDl(const TVMCode*)
{
    const int32_t f = PopInt();
    const std::string x = PopStringArg();
    if (f != 0 && f != 1) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    std::string result;
    for (std::size_t i = 0; i < x.size();) {
        const TCharStep step = char_step(x, i);
        if ((step.cls == TCharClass::FullWidth) == (f == 1)) result.append(x, i, step.bytes);
        i += step.bytes;
    }
    PushOwnedString(std::move(result));
}

void TVMachine::ExeBasicKlen(const TVMCode* code)
{
    const int32_t f = OperandFlag(code) ? PopInt() : 0;
    const std::string x = PopStringArg();
    if (f < 0 || f > 5) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    PushInt(static_cast<int32_t>(Klen(x.c_str(), f)));
}

void TVMachine::ExeBasicKmidDl(const TVMCode* code)
{
    PushMid(code, true);
}

void TVMachine::ExeBasicKinstr(const TVMCode* code)
{
    PushInstr(code, true);
}
