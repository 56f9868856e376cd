// LOCATE, CONSOLE and WIDTH: the text screen's cursor, scrolling area and size.
// The record's operand tells the machine how many places were read (an empty
// place before a comma is pushed as vcBPushAbbrev).

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"

using namespace compiler_stmt;

namespace {

constexpr int32_t kDosBasicConsolePlaces = 5;

}  // namespace

TToken TCompiler::GenProcLocate(const TToken& keyword)
{
    const TOperandSpec pattern(3, {tkInt, true});
    std::vector<TToken> places;
    const TToken rest = GenProcDealToken(keyword, 1, 3, pattern, &places);
    AddCode(vcLocate, static_cast<int32_t>(places.size()));
    return rest;
}

// CONSOLE with five places is a mark of DOS-BASIC.
TToken TCompiler::GenProcConsole(const TToken& keyword)
{
    const TOperandSpec pattern(kDosBasicConsolePlaces, {tkInt, true});
    std::vector<TToken> places;
    const TToken rest = GenProcDealToken(keyword, 1, kDosBasicConsolePlaces, pattern, &places);
    AddCode(vcConsole, static_cast<int32_t>(places.size()));
    if (places.size() == static_cast<std::size_t>(kDosBasicConsolePlaces)) ++DosBasicSignCount;
    return rest;
}

// WIDTH #n, ... (a file) and WIDTH device$, ... compile to nothing; any other
// first operand starts the screen form.
TToken TCompiler::GenProcWidth(const TToken& /*keyword*/)
{
    const TToken token = Token();
    if (IsExprEndToken(token)) RaiseCompileError(CE_MISSING_OPERAND);
    if (token.kind == tkFileNum) return GenProcWidth3(token);
    if (token.kind == tkString || (token.kind == tkVar && DistinctVarType(token.text) == tkString))
        return GenProcWidth2(token);
    return GenProcWidth1(token);
}

// WIDTH columns [, rows]: the flag tells whether the rows were given.
TToken TCompiler::GenProcWidth1(const TToken& first)
{
    int32_t count;
    const TToken rest = GenCountedValues(*this, first, 1, 2, &count);
    AddCode(vcWidthProc1, count == 2);
    return rest;
}

TToken TCompiler::GenProcWidth2(const TToken& first)
{
    return SkipMultiExpr(first);
}

TToken TCompiler::GenProcWidth3(const TToken& first)
{
    return SkipMultiExpr(first);
}
