// Line numbers and labels: where jumps can land. Nothing is resolved here; the
// machine looks targets up in LineNumMap and LabelMap when a jump runs.

#include "language/Compiler.h"
#include "language/MidCode.h"

#include <algorithm>
#include <atomic>
#include <limits>

namespace {

// The internal-label counter, one for the whole process: labels of a later
// compile go on counting.
std::atomic<int32_t> si3LabelIdx{1};

bool IsBlankOrLineFeed(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n'; }

// The decimal number at the start of a text, as strtol reads it: leading
// blanks and a sign allowed, 0 without a digit, saturated at the 32-bit limits.
int32_t LeadingDecimal(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlankOrLineFeed(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const int64_t limit = negative ? int64_t{1} << 31 : std::numeric_limits<int32_t>::max();
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), limit);
    return static_cast<int32_t>(negative ? -value : value);
}

}  // namespace

TToken TCompiler::ParseLineNum(const TToken& first)
{
    int32_t number = 0;
    // The end of a line or of the text stands for line 0 (an empty text).
    if (first.kind != tkEol && first.kind != tkEot) {
        number = LeadingDecimal(first.text);
        const char next = static_cast<char>(SrcByte(0));
        if (number == 0 || !IsBlankOrLineFeed(next))
            RaiseCompileError("@Compile_Err_Direct_Statement@");
        CurLineNumText = first.text;
    } else {
        CurLineNumText.clear();
    }
    MidCode->LineNumMap[number] = NextCodeIndex();
    AddCode(vcBLineBegin, number);
    return Token();
}

// The name after the asterisk; a label needs one.
static void RequireLabelName(const TCompiler& compiler, const TToken& name)
{
    if (name.kind == tkEol || name.kind == tkEot)
        compiler.RaiseCompileError("@Compile_Err_Syntax_Err@");
}

TToken TCompiler::ParseLabel(const TToken& /*asterisk*/)
{
    const TToken name = Token();
    RequireLabelName(*this, name);
    MidCode->LabelMap[name.text] = NextCodeIndex();
    return Token();
}

TToken TCompiler::GenLabel(const TToken& /*asterisk*/)
{
    const TToken name = Token();
    RequireLabelName(*this, name);
    AddCode(vcBPushString, name.text);
    return Token();
}

std::string TCompiler::NextInternalLabel() { return "@L" + std::to_string(si3LabelIdx.fetch_add(1)); }

void TCompiler::RegistInternalLabel(const std::string& label) { MidCode->LabelMap[label] = NextCodeIndex(); }
