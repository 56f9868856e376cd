// IF condition THEN|GOTO branch [ELSE branch]: a conditional jump over the
// then-part to an internal label and, with an ELSE, a jump over the else-part.
// The branches are compiled by the line compiler, so any statement may stand
// in them and IFs nest; an ELSE belongs to the nearest IF before it that has
// none yet.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"

TToken TCompiler::GenIf(const TToken& /*keyword*/)
{
    AddStatementBegin();
    const std::string elseLabel = NextInternalLabel();
    AddCode(vcBPushString, elseLabel);

    const int32_t conditionStart = NextCodeIndex();
    TTokenKind conditionType;
    TToken token = GenExpr(Token(), false, &conditionType);
    // vcBFJmp would take the label for the condition.
    if (NextCodeIndex() == conditionStart) RaiseCompileError(CE_MISSING_OPERAND);
    // GOTO stands for THEN; a string literal that reads GOTO does not.
    const bool isGoto = token.kind != tkString && token.text == "GOTO";
    if (token.kind != tkThen && !isGoto) RaiseCompileError(CE_IF_WITHOUT_THEN);
    if (conditionType == tkString) RaiseCompileError(CE_TYPE_MISMATCH_CALC);
    AddCode(vcBFJmp);

    token = CompileLine(Token(), true);
    if (token.kind != tkElse) {
        RegistInternalLabel(elseLabel);
        return token;
    }

    AddStatementBegin();
    const std::string endLabel = NextInternalLabel();
    AddCode(vcBPushString, endLabel);
    AddCode(vcBJmp);
    RegistInternalLabel(elseLabel);
    token = CompileLine(Token(), true);
    RegistInternalLabel(endLabel);
    return token;
}
