// ROLL [vertical] [, [horizontal] [, Y | N]]: scrolls the graphics screen.
// The amounts (vcBPushAbbrev when empty) and the letter's code go on the
// stack as far as written; vcRoll counts them.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"

namespace {

constexpr int32_t kLetterN = 'N';
constexpr int32_t kLetterY = 'Y';

}  // namespace

TToken TCompiler::GenProcRoll(const TToken& /*keyword*/)
{
    TToken token = Token();
    if (IsMultiExprEndToken(token)) RaiseCompileError(CE_ILL_FUNC_CALL);

    // An amount, or vcBPushAbbrev where a comma or the statement's end stands.
    auto genAmount = [&] {
        if (IsExprEndToken(token)) {
            AddCode(vcBPushAbbrev);
            return;
        }
        TTokenKind type;
        token = GenExpr(token, false, &type);
        if (type == tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
    };

    int32_t count = 0;
    // Each step returns at the statement's end.
    auto readOperands = [&] {
        genAmount();
        count = 1;
        if (IsMultiExprEndToken(token)) return;
        token = CheckComma(token);
        genAmount();
        count = 2;
        if (IsMultiExprEndToken(token)) return;
        token = CheckComma(token);
        if (token.kind != tkVar || (token.text != "N" && token.text != "Y")) RaiseCompileError(CE_ILL_FUNC_CALL);
        AddCode(vcBPushInt, token.text == "Y" ? kLetterY : kLetterN);
        count = 3;
        token = Token();
        if (!IsMultiExprEndToken(token)) RaiseCompileError(CE_ILL_FUNC_CALL);
    };
    readOperands();
    AddCode(vcRoll, count);
    return token;
}
