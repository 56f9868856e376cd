// CIRCLE [STEP] (x, y), r [, [colour] [, [start] [, [end] [, [ratio]
//        [, [F] [, value]]]]]]
//
// Stack at the record, from the bottom: the STEP flag, x, y, r, then colour,
// start, end and ratio as far as the text reaches (vcBPushAbbrev for an empty
// one), then the value after F. The record counts the values after r and says
// by its code whether the figure is filled (F) and an arc (a start or an end
// angle was given).

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtPoint.h"
#include "language/CompilerStmtSupport.h"

using namespace compiler_stmt;

namespace {

constexpr int32_t kCirclePositions = 4;  // colour, start, end, ratio

}  // namespace

TToken TCompiler::GenProcCircle(const TToken& /*keyword*/)
{
    bool step = false;
    TToken token = OpenPoint(*this, Token(), &step);
    token = GenFlaggedPoint(*this, token, step);
    token = CheckComma(token);

    // The radius is due: the machine always takes one.
    const int32_t radiusStart = NextCodeIndex();
    TTokenKind type;
    token = GenExpr(token, false, &type);
    RequireCodeSince(*this, radiusStart, CE_MISSING_OPERAND);
    if (type == tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);

    int32_t count = 0;
    bool arc = false;
    bool fill = false;
    // Each step returns at the statement's end; a comma there is refused.
    auto readOptions = [&] {
        for (int32_t position = 0; position < kCirclePositions; ++position) {
            if (IsMultiExprEndToken(token)) return;
            bool given;
            token = GenNumericOption(*this, CheckOptionComma(*this, token), &given);
            if (given && (position == 1 || position == 2)) arc = true;
            ++count;
        }
        if (IsMultiExprEndToken(token)) return;

        token = CheckOptionComma(*this, token);
        if (token.kind != tkComma) {
            if (token.kind != tkVar || token.text != "F") RaiseCompileError(CE_SYNTAX_ERR);
            fill = true;
            token = Token();
        }
        if (IsMultiExprEndToken(token)) return;

        token = GenSingleValueOption(*this, token);
        count = kCirclePositions + 1;
    };
    readOptions();

    const TVMCodeCmd record = fill ? (arc ? vcFillArc : vcFillEllipse) : (arc ? vcStrokeArc : vcStrokeEllipse);
    AddCode(record, count);
    return token;
}
