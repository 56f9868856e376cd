// MOUSE and CALL MOUSE. MOUSE n [, operands] calls mouse function n of the
// machine (and marks the program as written for DOS-BASIC); MOUSE(b) ON|OFF|
// STOP switches a mouse event trap; MOUSE = ... is dropped. CALL MOUSE takes
// five variables that the machine reads and writes; any other CALL is dropped.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"

using namespace compiler_stmt;

namespace {

constexpr int32_t kCallMouseVariables = 5;

}  // namespace

TToken TCompiler::GenProcMouse(const TToken& keyword)
{
    TToken token = Token();
    if (token.kind == tkEqual) return SkipMultiExpr(token);
    if (token.kind == tkLpar) return GenProcSetIrStateMouse(token);

    TTokenKind type;
    token = GenExpr(token, false, &type);
    if (type != tkInt && type != tkSingle && type != tkDouble) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
    int32_t values = 1;
    if (!IsMultiExprEndToken(token)) {
        if (token.kind != tkComma) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
        std::vector<TToken> operands;
        token = GenProcDealToken(keyword, 0, 4, {{tkInt, true}, {tkInt, true}, {tkAnyType, true}, {tkAnyType, true}},
                                 &operands);
        values += static_cast<int32_t>(operands.size());
    }
    AddCode(vcMouseProc, values);
    ++DosBasicSignCount;  // the function form is a mark of DOS-BASIC
    return token;
}

TToken TCompiler::GenProcCall(const TToken& /*keyword*/)
{
    const TToken token = Token();
    if (IsWord(token, "MOUSE")) return GenProcCallMouse(token);
    return SkipMultiExpr(token);
}

TToken TCompiler::GenProcCallMouse(const TToken& /*mouse*/)
{
    TToken token = CheckLpar(Token());
    int32_t count;
    GenMultiVar(&token, &count);
    if (count != kCallMouseVariables) RaiseCompileError(CE_SYNTAX_ERR);
    token = CheckRpar(token);
    AddCode(vcCallMouse);
    return token;
}
