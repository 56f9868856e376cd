// LINE [[STEP] (x1, y1)] - [STEP] (x2, y2) [, [colour] [, [B | BF] [, style]]]
// and LINE INPUT, which is handed to the INPUT generator.
//
// Stack at the record, from the bottom: vcBPushAbbrev for an omitted first
// point or its STEP flag, x1, y1; the second STEP flag, x2, y2; the colour
// (vcBPushAbbrev when empty) and the style as far as written. The record,
// vcLine, vcStrokeRect (B) or vcFillRect (BF), counts those last values.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtPoint.h"
#include "language/CompilerStmtSupport.h"

using namespace compiler_stmt;

TToken TCompiler::GenProcLine(const TToken& /*keyword*/)
{
    TToken token = Token();
    if (IsWord(token, "INPUT")) return GenProcLineInput(token);

    bool step = false;
    if (token.kind == tkMinus) {
        AddCode(vcBPushAbbrev);  // the line starts at the last point
    } else {
        token = OpenPoint(*this, token, &step);
        token = GenFlaggedPoint(*this, token, step);
    }
    token = CheckMinus(token);
    token = OpenPoint(*this, token, &step);
    token = GenFlaggedPoint(*this, token, step);

    TVMCodeCmd record = vcLine;
    int32_t count = 0;
    // Each step returns at the statement's end; a comma there is refused.
    auto readOptions = [&] {
        if (IsMultiExprEndToken(token)) return;
        bool given;
        token = GenNumericOption(*this, CheckOptionComma(*this, token), &given);
        count = 1;
        if (IsMultiExprEndToken(token)) return;

        token = CheckOptionComma(*this, token);
        if (token.kind != tkComma) {
            if (token.kind != tkVar || token.text.empty() || token.text[0] != 'B') RaiseCompileError(CE_SYNTAX_ERR);
            record = token.text.size() > 1 && token.text[1] == 'F' ? vcFillRect : vcStrokeRect;
            token = Token();
        }
        if (IsMultiExprEndToken(token)) return;

        token = GenSingleValueOption(*this, token);
        count = 2;
    };
    readOptions();
    AddCode(record, count);
    return token;
}
