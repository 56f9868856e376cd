// WHILE condition, a body over any number of lines, WEND: a test at the top
// that jumps to the exit label, and a jump back to the top label at WEND.
// Loops nest by recursion through CompileBlock; a WEND closes the innermost
// open WHILE.

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
    if (NextCodeIndex() == conditionStart)
        RaiseCompileError("@Compile_Err_Missing_Operand@");
    if (conditionType == tkString)
        RaiseCompileError("@Compile_Err_Type_Mismatch_Calc@");
    AddCode(vcBFJmp);

    token = CompileBlock(token);
    if (token.kind != tkWend)
        RaiseCompileError("@Compile_Err_While_Without_Wend@");

    AddStatementBegin();
    AddCode(vcBPushString, topLabel);
    AddCode(vcBJmp);
    RegistInternalLabel(exitLabel);
    return Token();
}
