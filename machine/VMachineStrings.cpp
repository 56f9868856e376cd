// The string functions LEN, LEFT$, RIGHT$, MID$, INSTR, ASC, CHR$, STR$, VAL, HEX$,
// OCT$, SPACE$, STRING$, the MID$ statement, and the machine's conversions between
// text offsets and the positions BASIC programs count (TextMeasure.h).

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/StringUtils.h"
#include "language/MidCode.h"
#include "language/VarInfo.h"
#include "machine/BasicNumberParse.h"
#include "machine/PrintText.h"
#include "machine/RuntimeErrorKeys.h"
#include "machine/TextMeasure.h"
#include "machine/VMachine.h"

using namespace text_measure;

namespace {

// A position or count of 0 to 255, as the string functions take them.
bool in_byte_range(int32_t n)
{
    return n >= 0 && n <= 255;
}

std::string digits_of(uint32_t value, uint32_t base)
{
    if (value == 0) return "0";
    static const char DIGITS[] = "0123456789ABCDEF";
    std::string text;
    while (value != 0) {
        text.insert(text.begin(), DIGITS[value % base]);
        value /= base;
    }
    return text;
}

int hex_digit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

void TVMachine::InitFuncTableStrings(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcLen, &M::ExeBasicLen},
        {vcLeftDl, &M::ExeBasicLeftDl},
        {vcRightDl, &M::ExeBasicRightDl},
        {vcMidDlFunc, &M::ExeBasicMidDlFunc},
        {vcMidDlProc, &M::ExeBasicMidDlProc},
        {vcMidDl, &M::ExeBasicNothing},
        {vcInstr, &M::ExeBasicInstr},
        {vcAsc, &M::ExeBasicAsc},
        {vcChrDl, &M::ExeBasicChrDl},
        {vcStrDl, &M::ExeBasicStrDl},
        {vcVal, &M::ExeBasicVal},
        {vcHexDl, &M::ExeBasicHexDl},
        {vcOctDl, &M::ExeBasicOctDl},
        {vcSpaceDl, &M::ExeBasicSpaceDl},
        {vcStringDl, &M::ExeBasicStringDl},
    });
}

// --- the conversion service ---

bool TVMachine::DiskBasicMode() const
{
    return RuntimeCompatiMode == 2;
}

unsigned long TVMachine::Utf8PosToJisPosKernel(std::string_view text, unsigned long u, unsigned long unit) const
{
    return utf8_pos_to_jis_pos(text, u, unit, DiskBasicMode());
}
unsigned long TVMachine::Utf8PosToJisPos(std::string_view text, unsigned long u) const
{
    return Utf8PosToJisPosKernel(text, u, 2);
}
unsigned long TVMachine::Utf8PosToJisPosK(std::string_view text, unsigned long u) const
{
    return Utf8PosToJisPosKernel(text, u, 1);
}
unsigned long TVMachine::JisPosToUtf8PosKernel(std::string_view text, unsigned long j, unsigned long unit) const
{
    return jis_pos_to_utf8_pos(text, j, unit, DiskBasicMode());
}
unsigned long TVMachine::JisPosToUtf8Pos(std::string_view text, unsigned long j) const
{
    return JisPosToUtf8PosKernel(text, j, 2);
}
unsigned long TVMachine::JisPosToUtf8PosK(std::string_view text, unsigned long j) const
{
    return JisPosToUtf8PosKernel(text, j, 1);
}
unsigned long TVMachine::JisPosToUtf8PosR(std::string_view text, unsigned long j) const
{
    return jis_pos_to_utf8_pos_r(text, j, DiskBasicMode());
}
unsigned long TVMachine::JisLenToUtf8Len(std::string_view text, unsigned long j, unsigned long n) const
{
    return jis_len_to_utf8_len(text, j, n, DiskBasicMode());
}
unsigned long TVMachine::JisLenToUtf8LenK(std::string_view text, unsigned long j, unsigned long n) const
{
    return jis_len_to_utf8_len_k(text, j, n, DiskBasicMode());
}

std::string TVMachine::LeftDl(std::string_view text, long n) const
{
    const std::size_t u = JisPosToUtf8PosKernel(text, static_cast<unsigned long>(n < 0 ? 0 : n), 2);
    return std::string(text.substr(0, u));
}

std::string TVMachine::PopStringArg()
{
    TStackData s = Pop();
    if (s.type != sdString) throw RuntimeException2(RTE_TYPE_MISMATCH);
    return s.TakeText();
}

// --- handlers ---

void TVMachine::ExeBasicLen(const TVMCode*)
{
    const std::string x = PopStringArg();
    PushInt(static_cast<int32_t>(Utf8PosToJisPos(x, x.size())));
}

void TVMachine::ExeBasicLeftDl(const TVMCode*)
{
    const int32_t n = PopInt();
    const std::string x = PopStringArg();
    if (!in_byte_range(n)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    PushOwnedString(LeftDl(x, n));
}

void TVMachine::ExeBasicRightDl(const TVMCode*)
{
    const int32_t n = PopInt();
    const std::string x = PopStringArg();
    if (!in_byte_range(n)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    std::size_t u = JisPosToUtf8PosR(x, static_cast<unsigned long>(n));
    if (u > x.size()) u = x.size();
    PushOwnedString(x.substr(x.size() - u));
}

// MID$(x$, m[, n]) and KMID$ share their operands: n when the flag is set, m, x$.
void TVMachine::PopMidArgs(const TVMCode* code, std::string& x, int32_t& m, int32_t& n)
{
    n = OperandFlag(code) ? PopInt() : 255;
    m = PopInt();
    x = PopStringArg();
    if (m < 1 || m > 255 || !in_byte_range(n)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
}

void TVMachine::PushMid(const TVMCode* code, bool characters)
{
    std::string x;
    int32_t m, n;
    PopMidArgs(code, x, m, n);
    const auto from = static_cast<unsigned long>(m - 1);
    const auto count = static_cast<unsigned long>(n);
    const std::size_t a = JisPosToUtf8PosKernel(x, from, characters ? 1 : 2);
    const std::size_t length = characters ? JisLenToUtf8LenK(x, from, count) : JisLenToUtf8Len(x, from, count);
    PushOwnedString(a < x.size() ? x.substr(a, length) : std::string());
}

void TVMachine::ExeBasicMidDlFunc(const TVMCode* code)
{
    PushMid(code, false);
}

// The MID$ statement: from the start position, min(L1, L2) bytes of the variable's
// text (L1 the bytes of the new text's first n units, L2 the bytes of the text's span
// of n units) are replaced by the L1 bytes of the new text. Two choices keep the text
// sound: the replaced bytes are widened to whole characters, so no character is left
// broken, and a new text that would reach past the end of the variable's text is cut
// there on a whole character, so the text keeps its length. A start beyond the end
// changes nothing.
void TVMachine::ExeBasicMidDlProc(const TVMCode* code)
{
    const std::string r = PopStringArg();
    const int32_t n = OperandFlag(code) ? PopInt() : 255;
    const int32_t m = PopInt();
    std::vector<int32_t> popped;
    TVarInfo* v = PopVarRef(&popped);
    if (v == nullptr || v->VarType != tkString) throw RuntimeException2(RTE_TYPE_MISMATCH);
    const int32_t element = ElementNumber(v, popped);
    if (m < 1 || m > 255 || !in_byte_range(n)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    std::string* values = v->StringValues();
    if (values == nullptr) throw RuntimeException2(RTE_INTERNAL_ERROR);
    std::string& t = values[element];

    const std::size_t l1 = JisLenToUtf8Len(r, 0, static_cast<unsigned long>(n));
    const std::size_t a = JisPosToUtf8Pos(t, static_cast<unsigned long>(m - 1));
    const std::size_t l2 = JisLenToUtf8Len(t, static_cast<unsigned long>(m - 1), static_cast<unsigned long>(n));
    if (a >= t.size()) return;
    const std::size_t rest = t.size() - a;
    std::size_t insert = 0;
    while (insert < l1) {
        const std::size_t step = char_step(r, insert).bytes;
        if (insert + step > rest) break;
        insert += step;
    }
    const std::size_t wanted = std::min(std::min(l1, l2), rest);
    std::size_t replaced = 0;
    while (replaced < wanted) replaced += char_step(t, a + replaced).bytes;
    t.replace(a, replaced, r, 0, insert);
}

void TVMachine::PushInstr(const TVMCode* code, bool characters)
{
    const std::string y = PopStringArg();
    const std::string x = PopStringArg();
    // INSTR(,x$,y$) leaves the start out: it is 1 then too.
    const TStackData given = OperandFlag(code) ? Pop() : TStackData::Omitted();
    const int32_t n = given.type == sdOmitted ? 1 : StackInt(given);
    if (n < 1) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    if (y.empty()) {
        PushInt(n);
        return;
    }
    const unsigned long unit = characters ? 1 : 2;
    const std::size_t start = JisPosToUtf8PosKernel(x, static_cast<unsigned long>(n - 1), unit);
    const std::size_t p = x.find(y, start);
    PushInt(p == std::string::npos ? 0 : static_cast<int32_t>(Utf8PosToJisPosKernel(x, p, unit) + 1));
}

void TVMachine::ExeBasicInstr(const TVMCode* code)
{
    PushInstr(code, false);
}

void TVMachine::ExeBasicAsc(const TVMCode*)
{
    const std::string x = PopStringArg();
    PushInt(x.empty() ? 0 : static_cast<unsigned char>(x[0]));
}

std::string TVMachine::ChrDl(int32_t n) const
{
    if (n >= 0xA1 && n <= 0xDF) {
        const std::size_t index = static_cast<std::size_t>(n - 0xA1);
        if (index < MidCode->HalfKanaTable.size()) return MidCode->HalfKanaTable[index];
        return " ";
    }
    if (n == 0) return std::string();
    if (n > 0 && n <= 126) return std::string(1, static_cast<char>(n));
    return " ";
}

void TVMachine::ExeBasicChrDl(const TVMCode*)
{
    const int32_t n = PopInt();
    if (!in_byte_range(n)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    PushOwnedString(ChrDl(n));
}

void TVMachine::ExeBasicStrDl(const TVMCode*)
{
    std::string text = GetPrintStrFromNum(PopDouble());
    text.pop_back();  // PRINT's trailing blank
    PushOwnedString(std::move(text));
}

void TVMachine::ExeBasicVal(const TVMCode*)
{
    const std::string x = trim(PopStringArg());
    if (!x.empty() && x[0] == '&') {
        uint32_t value = 0;
        if (x.size() > 1 && (x[1] == 'H' || x[1] == 'h')) {
            for (std::size_t i = 2; i < x.size() && hex_digit(x[i]) >= 0; ++i)
                value = value * 16 + static_cast<uint32_t>(hex_digit(x[i]));
        } else if (x.size() > 1) {
            // "&17", "&O17" and any other one character before the digits.
            std::size_t i = x[1] >= '0' && x[1] <= '9' ? 1 : 2;
            for (; i < x.size() && x[i] >= '0' && x[i] <= '9'; ++i) {
                if (x[i] >= '8') throw RuntimeException2(RTE_ILL_FUNC_CALL);
                value = value * 8 + static_cast<uint32_t>(x[i] - '0');
            }
        }
        PushInt(static_cast<int32_t>(value));
        return;
    }
    const TBasicNumber number = parse_basic_number(x);
    if (number.status == TBasicNumberStatus::Overflow) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    PushDouble(number.value);
}

// HEX$ and OCT$: -32768 to 65535, negative numbers as their 16-bit form.
void TVMachine::PushRadixText(uint32_t base)
{
    int32_t n = PopInt();
    if (n < -32768 || n > 65535) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    if (n < 0) n += 65536;
    PushOwnedString(digits_of(static_cast<uint32_t>(n), base));
}

void TVMachine::ExeBasicHexDl(const TVMCode*)
{
    PushRadixText(16);
}

void TVMachine::ExeBasicOctDl(const TVMCode*)
{
    PushRadixText(8);
}

void TVMachine::ExeBasicSpaceDl(const TVMCode*)
{
    const int32_t n = PopInt();
    if (!in_byte_range(n)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    PushOwnedString(std::string(static_cast<std::size_t>(n), ' '));
}

// The fill of STRING$ is one character: a number as CHR$ gives it (so that codes
// 0x80 and above give the same half-width katakana or blank and never a broken
// UTF-8 byte), a text its first character (a multi-byte character whole).
void TVMachine::ExeBasicStringDl(const TVMCode*)
{
    const TStackData c = Pop();
    const int32_t n = PopInt();
    if (!in_byte_range(n)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    std::string fill;
    if (c.type == sdString) {
        const std::string_view text(c.CString());
        if (!text.empty()) fill = std::string(text.substr(0, char_step(text, 0).bytes));
    } else if (c.type == sdLong || c.type == sdSingle || c.type == sdDouble) {
        const int32_t code = StackInt(c);
        if (!in_byte_range(code)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        fill = ChrDl(code);
    }
    std::string text;
    text.reserve(fill.size() * static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) text += fill;
    PushOwnedString(std::move(text));
}
