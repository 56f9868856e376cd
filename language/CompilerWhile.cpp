// WHILE condition, a body over any number of lines, WEND: a test at the top
// that jumps to the exit label, and a jump back to the top label at WEND.
// Loops nest by recursion through CompileBlock; a WEND closes the innermost
// open WHILE.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"

TToken TCompiler::GenWhile(const TToken& /*keyword*/)
{
    AddStatementBegin();
    const std::string topLabel = NextInternalLabel();
    RegistInternalLabel(topLabel);
    const std::string exitLabel = NextInternalLabel();
    AddCode(vcBPushString, exitLabel);

    const int32_t conditionStart = NextCodeIndex();
    TTokenKind conditionType;
    TToken token = GenExpr(Token(), false, &conditionType);
    // vcBFJmp would take the label for the condition.
    if (NextCodeIndex() == conditionStart) RaiseCompileError(CE_MISSING_OPERAND);
    if (conditionType == tkString) RaiseCompileError(CE_TYPE_MISMATCH_CALC);
    AddCode(vcBFJmp);

    token = CompileBlock(token);
    if (token.kind != tkWend) RaiseCompileError(CE_WHILE_WITHOUT_WEND);

    AddStatementBegin();
    AddCode(vcBPushString, topLabel);
    AddCode(vcBJmp);
    RegistInternalLabel(exitLabel);
    return Token();
}
