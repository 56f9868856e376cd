// Points, colours and screen: PSET, PRESET, POINT, PAINT, COLOR, COLOR@,
// SCREEN and CLS. The operand values go on the stack in the order written;
// the record's operand is the STEP flag of the point, or how many values the
// machine finds.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"

using namespace compiler_stmt;

namespace {

// [STEP] (x, y): five entries of an operand pattern.
TCompiler::TOperandSpec PointSpec()
{
    return {{tkStep, true}, {tkLpar, false}, {tkInt, false}, {tkInt, false}, {tkRpar, false}};
}

TCompiler::TOperandSpec PointSpecAnd(std::initializer_list<std::pair<TTokenKind, bool>> more)
{
    TCompiler::TOperandSpec pattern = PointSpec();
    pattern.insert(pattern.end(), more.begin(), more.end());
    return pattern;
}

constexpr std::size_t kPointEntries = 5;

// Whether the point was written with STEP: the first entry read is STEP itself
// rather than its placeholder.
bool HasStep(const std::vector<TToken>& tokens)
{
    return !tokens.empty() && tokens.front().kind == tkStep;
}

}  // namespace

// PSET [STEP] (x, y) [, colour]: an omitted colour is pushed as omitted.
TToken TCompiler::GenProcPset(const TToken& keyword)
{
    std::vector<TToken> tokens;
    const TToken rest = GenProcDealToken(keyword, 5, 6, PointSpecAnd({{tkInt, true}}), &tokens);
    if (tokens.size() == kPointEntries) AddCode(vcBPushAbbrev);
    AddCode(vcPSet, HasStep(tokens));
    return rest;
}

// PRESET with a colour is PSET; without one it draws in the background colour.
TToken TCompiler::GenProcPreset(const TToken& keyword)
{
    std::vector<TToken> tokens;
    const TToken rest = GenProcDealToken(keyword, 5, 6, PointSpecAnd({{tkInt, false}}), &tokens);
    AddCode(tokens.size() == kPointEntries + 1 ? vcPSet : vcPReset, HasStep(tokens));
    return rest;
}

// POINT [STEP] (x, y) as a statement only moves the last graphics point.
TToken TCompiler::GenProcPoint(const TToken& keyword)
{
    std::vector<TToken> tokens;
    const TToken rest = GenProcDealToken(keyword, 5, 5, PointSpec(), &tokens);
    AddCode(vcPointProc, HasStep(tokens));
    return rest;
}

// PAINT [STEP] (x, y) [, [paint colour] [, border colour]]: always two colour
// values on the stack.
TToken TCompiler::GenProcPaint(const TToken& keyword)
{
    std::vector<TToken> tokens;
    const TToken rest = GenProcDealToken(keyword, 5, 7, PointSpecAnd({{tkAnyType, true}, {tkInt, true}}), &tokens);
    for (std::size_t n = tokens.size(); n < kPointEntries + 2; ++n) AddCode(vcBPushAbbrev);
    AddCode(vcPaint, HasStep(tokens));
    return rest;
}

TToken TCompiler::GenProcColor(const TToken& /*keyword*/)
{
    const TToken token = Token();
    if (token.kind == tkEqual || IsMultiExprEndToken(token)) return GenProcColor2(token);
    return GenProcColor1(token);
}

// COLOR [a] [, [b] [, [c] [, [d] [, e]]]]
TToken TCompiler::GenProcColor1(const TToken& first)
{
    int32_t count;
    const TToken rest = GenCountedValues(*this, first, 1, 5, &count);
    AddCode(vcColorProc1, count);
    return rest;
}

// COLOR alone resets the graphics palette; COLOR = (palette, colour) sets one
// entry.
TToken TCompiler::GenProcColor2(const TToken& first)
{
    if (IsMultiExprEndToken(first)) {
        AddCode(vcInitColorPalette);
        return first;
    }
    int32_t count;
    const TToken rest = GenCountedValues(*this, CheckLpar(Token()), 2, 2, &count);
    const TToken after = CheckRpar(rest);
    AddCode(vcColorProc2);
    return after;
}

// COLOR@ (x1, y1) - (x2, y2) [, colour]
TToken TCompiler::GenProcColorAt(const TToken& keyword)
// clang-format off
{
    const TOperandSpec pattern = {{tkLpar, false}, {tkInt, false}, {tkInt, false}, {tkRpar, false},
                               {tkMinus, false}, {tkLpar, false}, {tkInt, false}, {tkInt, false},
                               {tkRpar, false}, {tkInt, true}};
    std::vector<TToken> tokens;
    const TToken rest = GenProcDealToken(keyword, 9, 10, pattern, &tokens);
    AddCode(vcColorAt, tokens.size() == pattern.size());
    return rest;
}
// clang-format on

// SCREEN [a] [, [b] [, [c] [, d]]]: at least one place.
TToken TCompiler::GenProcScreen(const TToken& keyword)
{
    const TOperandSpec pattern(4, {tkInt, true});
    std::vector<TToken> tokens;
    const TToken rest = GenProcDealToken(keyword, 0, 4, pattern, &tokens);
    if (tokens.empty()) RaiseCompileError(CE_MISSING_OPERAND);
    AddCode(vcScreen, static_cast<int32_t>(tokens.size()));
    return rest;
}

// CLS [n]
TToken TCompiler::GenProcCls(const TToken& keyword)
{
    std::vector<TToken> tokens;
    const TToken rest = GenProcDealToken(keyword, 0, 1, {{tkInt, true}}, &tokens);
    AddCode(vcCls, static_cast<int32_t>(tokens.size()));
    return rest;
}
