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
#include "machine/text/BasicNumberParse.h"
#include "machine/text/TextMeasure.h"
#include "machine/text/TextSearch.h"
#include "machine/vm/PrintText.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

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

TStackData& TVMachine::TopStringArg()
{
    TStackData& s = Top();
    if (s.type != sdString) [[unlikely]] {
        ValueStack.pop_back();
        throw RuntimeException2(RTE_TYPE_MISMATCH);
    }
    return s;
}

// --- the spans the one-string functions take ---
// Each gives the bytes of x that the result keeps, so that a function can cut its
// operand on the stack in place, or copy the span out of a variable's text. With
// `ascii` (x is known to be all ASCII) a position is a byte offset in every measure.

TVMachine::TTextSpan TVMachine::LeftSpan(std::string_view x, int32_t n, bool ascii) const
{
    const auto units = static_cast<unsigned long>(n);
    if (ascii) return {0, std::min<std::size_t>(units, x.size())};
    return {0, JisPosToUtf8PosKernel(x, units, 2)};
}

TVMachine::TTextSpan TVMachine::RightSpan(std::string_view x, int32_t n, bool ascii) const
{
    const auto units = static_cast<unsigned long>(n);
    const std::size_t u = std::min<std::size_t>(ascii ? units : JisPosToUtf8PosR(x, units), x.size());
    return {x.size() - u, u};
}

TVMachine::TTextSpan TVMachine::MidSpan(std::string_view x, int32_t m, int32_t n, bool characters, bool ascii) const
{
    const auto from = static_cast<unsigned long>(m - 1);
    const auto count = static_cast<unsigned long>(n);
    std::size_t a, length;
    if (ascii || ascii_prefix_length(x, from + count) == std::min<std::size_t>(from + count, x.size())) {
        // Plain ASCII up to the span's end: a unit is a byte in every measure.
        a = from;
        length = count;
    } else {
        a = JisPosToUtf8PosKernel(x, from, characters ? 1 : 2);
        length = characters ? JisLenToUtf8LenK(x, from, count) : JisLenToUtf8Len(x, from, count);
    }
    if (a >= x.size()) return {0, 0};
    return {a, std::min(length, x.size() - a)};
}

int32_t TVMachine::InstrPosition(std::string_view x, std::string_view y, int32_t n, bool characters, bool ascii) const
{
    if (y.empty()) return n;
    const unsigned long unit = characters ? 1 : 2;
    const auto units = static_cast<unsigned long>(n - 1);
    const std::size_t start = ascii ? std::min<std::size_t>(units, x.size()) : JisPosToUtf8PosKernel(x, units, unit);
    // A long search asks for the stop request as it goes; a stopped one finds nothing
    // and the run ends at the next code.
    const std::size_t p = text_search::find_text(x, y, start, [this] { return StopRequested(); });
    if (p == std::string_view::npos) return 0;
    return static_cast<int32_t>((ascii ? p : Utf8PosToJisPosKernel(x, p, unit)) + 1);
}

// LEN: the measure of the whole text.
int32_t TVMachine::TextLengthUnits(std::string_view x, bool ascii) const
{
    return static_cast<int32_t>(ascii ? x.size() : Utf8PosToJisPos(x, x.size()));
}

// The string operand on top becomes the span of its text; a part of an ASCII text
// is ASCII too.
void TVMachine::CutTopString(TStackData& x, TTextSpan span)
{
    const std::size_t size = x.View().size();
    if (span.from == 0 && span.length == size) return;
    const bool ascii = x.ascii;
    std::string& own = x.OwnText();
    if (span.from != 0) std::memmove(own.data(), own.data() + span.from, span.length);
    own.resize(span.length);
    x.ascii = ascii;
}

// --- handlers ---
// The functions of one string change the string operand where it lies on the stack
// into their result: a text the program works on is not copied again for each call.
// An error drops the operands first, as if they had been popped.

void TVMachine::ExeBasicLen(const TVMCode*)
{
    TStackData& x = TopStringArg();
    x.SetLong(TextLengthUnits(x.View(), x.ascii));
}

void TVMachine::ExeBasicLeftDl(const TVMCode*)
{
    const int32_t n = PopInt();
    TStackData& x = TopStringArg();
    if (!in_byte_range(n)) DropAndThrow(1, RTE_ILL_FUNC_CALL);
    CutTopString(x, LeftSpan(x.View(), n, x.ascii));
}

void TVMachine::ExeBasicRightDl(const TVMCode*)
{
    const int32_t n = PopInt();
    TStackData& x = TopStringArg();
    if (!in_byte_range(n)) DropAndThrow(1, RTE_ILL_FUNC_CALL);
    CutTopString(x, RightSpan(x.View(), n, x.ascii));
}

void TVMachine::DropAndThrow(std::size_t count, const char* key)
{
    for (; count != 0 && !ValueStack.empty(); --count) ValueStack.pop_back();
    throw RuntimeException2(key);
}

// MID$(x$, m[, n]) and KMID$ take n when the flag is set, then m, from the top.
void TVMachine::PopMidCounts(const TVMCode* code, int32_t& m, int32_t& n, std::size_t dropOnError)
{
    n = OperandFlag(code) ? PopInt() : 255;
    m = PopInt();
    if (m < 1 || m > 255 || !in_byte_range(n)) DropAndThrow(dropOnError, RTE_ILL_FUNC_CALL);
}

void TVMachine::PushMid(const TVMCode* code, bool characters)
{
    int32_t m, n;
    n = OperandFlag(code) ? PopInt() : 255;
    m = PopInt();
    TStackData& x = TopStringArg();
    if (m < 1 || m > 255 || !in_byte_range(n)) DropAndThrow(1, RTE_ILL_FUNC_CALL);
    CutTopString(x, MidSpan(x.View(), m, n, characters, x.ascii));
}

// A function of one string whose operand is the text of a plain variable, read in
// place: the dispatch loop leaves such a read off the stack when nothing between it
// and the function can change the variable (VMachineRunCodes.cpp). The function's
// other operands are on the stack as its handler finds them; the handler's errors,
// with its operands dropped, are raised alike.
void TVMachine::ExeStringFuncOfText(const TVMCode* code, const TVarInfo* v)
{
    const std::string_view x = v->StringValues()[0];
    const bool ascii = v->ScalarTextAscii;
    switch (code->Cmd) {
    case vcLen: PushInt(TextLengthUnits(x, ascii)); return;
    case vcLeftDl:
    case vcRightDl:
    case vcMidDlFunc: {
        const TTextSpan span = PopSpanOfText(code, x, ascii);
        PushCopiedString(x.substr(span.from, span.length), ascii);
        return;
    }
    case vcInstr:
    case vcKinstr: {
        if (ValueStack.empty()) ThrowStackEmpty();
        if (ValueStack.back().type != sdString) DropAndThrow(1, RTE_TYPE_MISMATCH);
        const std::size_t operands = OperandFlag(code) ? 2 : 1;
        if (ValueStack.size() < operands) ThrowStackEmpty();
        const int32_t n = operands == 2 ? InstrStart(ValueStack.FromTop(1)) : 1;
        if (n < 1) DropAndThrow(operands, RTE_ILL_FUNC_CALL);
        const int32_t found = InstrPosition(x, ValueStack.back().View(), n, code->Cmd == vcKinstr, ascii);
        for (std::size_t k = 0; k < operands; ++k) ValueStack.pop_back();
        PushInt(found);
        return;
    }
    default: throw RuntimeException2(RTE_INTERNAL_ERROR);
    }
}

bool TVMachine::JoinStringFuncOfText(const TVMCode* code, const TVarInfo* v)
{
    const std::size_t operands = code->Cmd == vcMidDlFunc && OperandFlag(code) ? 2 : 1;
    if (ValueStack.size() <= operands || ValueStack.FromTop(operands).type != sdString) return false;
    const std::string_view x = v->StringValues()[0];
    const bool ascii = v->ScalarTextAscii;
    const TTextSpan span = PopSpanOfText(code, x, ascii);
    JoinText(ValueStack.back(), x.substr(span.from, span.length), ascii);
    return true;
}

// The span of x that LEFT$, RIGHT$ or MID$ (the code) keeps, its counts popped; a
// count out of range is an illegal function call.
TVMachine::TTextSpan TVMachine::PopSpanOfText(const TVMCode* code, std::string_view x, bool ascii)
{
    if (code->Cmd == vcMidDlFunc) {
        int32_t m, n;
        PopMidCounts(code, m, n, 0);
        return MidSpan(x, m, n, false, ascii);
    }
    const int32_t n = PopInt();
    if (!in_byte_range(n)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    return code->Cmd == vcLeftDl ? LeftSpan(x, n, ascii) : RightSpan(x, n, ascii);
}

// INSTR(,x$,y$) leaves the start out: it is 1 then too.
int32_t TVMachine::InstrStart(const TStackData& given) const
{
    return given.type == sdOmitted ? 1 : StackInt(given);
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
    if (element == 0) v->ScalarTextAscii = v->ScalarTextAscii && is_ascii(std::string_view(r).substr(0, insert));
}

void TVMachine::PushInstr(const TVMCode* code, bool characters)
{
    // Operands from the top: y$, x$ and, when the flag is set, the start.
    const std::size_t operands = OperandFlag(code) ? 3 : 2;
    for (std::size_t k = 0; k < 2; ++k) {
        if (ValueStack.size() <= k) ThrowStackEmpty();
        if (ValueStack.FromTop(k).type != sdString) DropAndThrow(k + 1, RTE_TYPE_MISMATCH);
    }
    if (ValueStack.size() < operands) ThrowStackEmpty();
    const int32_t n = operands == 3 ? InstrStart(ValueStack.FromTop(2)) : 1;
    if (n < 1) DropAndThrow(operands, RTE_ILL_FUNC_CALL);
    const TStackData& x = ValueStack.FromTop(1);
    const int32_t found = InstrPosition(x.View(), ValueStack.FromTop(0).View(), n, characters, x.ascii);
    for (std::size_t k = 0; k < operands; ++k) ValueStack.pop_back();
    PushInt(found);
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
    std::string text;
    AppendChrDl(text, n);
    return text;
}

void TVMachine::AppendChrDl(std::string& out, int32_t n) const
{
    if (n >= 0xA1 && n <= 0xDF) {
        const std::size_t index = static_cast<std::size_t>(n - 0xA1);
        out += index < MidCode->HalfKanaTable.size() ? std::string_view(MidCode->HalfKanaTable[index]) : " ";
        return;
    }
    if (n == 0) return;
    out += n > 0 && n <= 126 ? static_cast<char>(n) : ' ';
}

void TVMachine::ExeBasicChrDl(const TVMCode*)
{
    const int32_t n = PopInt();
    if (!in_byte_range(n)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    // Written straight into the pushed value's string.
    AppendChrDl(PushNewText(n < 0x80), n);
}

void TVMachine::ExeBasicStrDl(const TVMCode*)
{
    // PRINT's text of the number without its trailing blank, written straight into
    // the pushed value's string.
    char digits[64];
    const std::size_t length = NumberChars(digits, PopDouble());
    std::string& text = PushNewText(true);
    if (length == 0 || digits[0] != '-') text += ' ';
    text.append(digits, length);
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
    PushOwnedString(digits_of(static_cast<uint32_t>(n), base), true);
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
    PushOwnedString(std::string(static_cast<std::size_t>(n), ' '), true);
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
    } else if (c.IsNumber()) {
        const int32_t code = StackInt(c);
        if (!in_byte_range(code)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        fill = ChrDl(code);
    }
    std::string text;
    text.reserve(fill.size() * static_cast<std::size_t>(n));
    for (int32_t i = 0; i < n; ++i) text += fill;
    PushOwnedString(std::move(text));
}
