// Line numbers and labels: where jumps can land. Nothing is resolved here; the
// machine looks targets up in LineNumMap and LabelMap when a jump runs.

#include "foundation/DecimalText.h"
#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/MidCode.h"

#include <algorithm>
#include <atomic>
#include <limits>

namespace {

// The internal-label counter, one for the whole process: labels of a later
// compile go on counting.
std::atomic<int32_t> si3LabelIdx{1};

bool IsBlankOrLineFeed(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n';
}

}  // namespace

TToken TCompiler::ParseLineNum(const TToken& first)
{
    int32_t number = 0;
    // The end of a line or of the text stands for line 0 (an empty text).
    if (first.kind != tkEol && first.kind != tkEot) {
        number = leading_decimal_integer(first.text);
        const char next = static_cast<char>(SrcByte(0));
        if (number == 0 || !IsBlankOrLineFeed(next)) RaiseCompileError(CE_DIRECT_STATEMENT);
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
    if (name.kind == tkEol || name.kind == tkEot) compiler.RaiseCompileError(CE_SYNTAX_ERR);
}

// A label that opens its line marks the line's beginning, so that a jump to it
// enters the line as a jump to the line's number does: the line becomes the current
// one (errors name it) and the debugger sees it begin. A label after statements of
// its line marks the code that follows it.
TToken TCompiler::ParseLabel(const TToken& /*asterisk*/)
{
    const TToken name = Token();
    RequireLabelName(*this, name);
    int32_t index = NextCodeIndex();
    if (MidCode->Codes.back().Cmd == vcBLineBegin) --index;
    MidCode->LabelMap[name.text] = index;
    return Token();
}

TToken TCompiler::GenLabel(const TToken& /*asterisk*/)
{
    const TToken name = Token();
    RequireLabelName(*this, name);
    AddCode(vcBPushString, name.text);
    return Token();
}

std::string TCompiler::NextInternalLabel()
{
    return "@L" + std::to_string(si3LabelIdx.fetch_add(1));
}

void TCompiler::RegistInternalLabel(const std::string& label)
{
    MidCode->LabelMap[label] = NextCodeIndex();
}
