// LET, DIM, SWAP and the MID$ statement: the statements that store into
// variables. A variable to be written travels as a reference: the reference
// marker, its subscripts, then vcBPushVar.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"
#include "language/MidCode.h"

using namespace compiler_stmt;

// LET leads into the assignment of the expression compiler. Tokens that form
// no assignment are refused as they are without LET: their value would stay
// on the machine's stack for good.
TToken TCompiler::GenProcLet(const TToken& /*keyword*/)
{
    const TToken first = CheckNotMultiExprEnd(Token());
    const int32_t start = NextCodeIndex();
    TTokenKind type;
    const TToken token = GenExpr(first, true, &type);
    if (NextCodeIndex() == start || MidCode->Codes.back().Cmd != vcBAssignArray) RaiseCompileError(CE_SYNTAX_ERR);
    return token;
}

// DIM v(bounds) [, ...]: the references with their bounds, then the count.
TToken TCompiler::GenProcDim(const TToken& /*keyword*/)
{
    return GenVariableListStatement(*this, vcDim);
}

// SWAP a, b: two references; the machine compares their types.
TToken TCompiler::GenProcSwap(const TToken& /*keyword*/)
{
    TToken token = CheckNotMultiExprEnd(Token());
    int32_t count;
    GenMultiVar(&token, &count);
    if (count != 2) RaiseCompileError(CE_SYNTAX_ERR);
    AddCode(vcSwap);
    return token;
}

// MID$(v$, start [, length]) = text. On the stack, from the bottom: the
// reference of v$, start, length when the flag is set, the new text.
TToken TCompiler::GenProcMidDl(const TToken& /*keyword*/)
{
    TToken token = CheckLpar(Token());
    bool lvalue = true;
    bool keepType = false;
    TTokenKind targetType = tkUntyped;
    GenVar(&token, &lvalue, &keepType, true, true, &targetType);
    if (targetType != tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
    token = CheckComma(token);

    int32_t count;
    token = GenCountedValues(*this, token, 1, 2, &count);
    token = CheckEqual(CheckRpar(token));

    TTokenKind valueType;
    token = GenExpr(token, false, &valueType);
    if (valueType != tkString) RaiseCompileError(CE_TYPE_MISMATCH_ASSIGN);
    AddCode(vcMidDlProc, count == 2);
    return CheckNoFurtherValue(*this, token);
}
