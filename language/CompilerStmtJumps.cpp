// GOTO (GO TO), GOSUB and RETURN, and the jump target that every statement
// taking a line or a label compiles the same way: "*" and a name push the name,
// anything else is an expression whose value the machine looks up when the
// jump runs (a number as a line, a text as a label).

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"

using namespace compiler_stmt;

TToken TCompiler::GenJumpTarget(const TToken& first)
{
    TToken token;
    if (first.kind == tkMul) {
        token = GenLabel(first);
    } else {
        const int32_t start = NextCodeIndex();
        TTokenKind type;
        token = GenExpr(first, false, &type);
        RequireCodeSince(*this, start, CE_SYNTAX_ERR);
    }
    return CheckNoFurtherValue(*this, token);
}

TToken TCompiler::GenProcGoto(const TToken& /*keyword*/)
{
    const TToken token = GenJumpTarget(CheckNotMultiExprEnd(Token()));
    AddCode(vcBJmp);
    return token;
}

TToken TCompiler::GenProcGosub(const TToken& /*keyword*/)
{
    const TToken token = GenJumpTarget(CheckNotMultiExprEnd(Token()));
    AddCode(vcBCall);
    return token;
}

// The flag is true when RETURN goes back behind its GOSUB, false when a target
// lies on the stack.
TToken TCompiler::GenProcReturn(const TToken& /*keyword*/)
{
    bool given;
    const TToken token = GenOptionalJumpTarget(*this, &given);
    AddCode(vcBRet, !given);
    return token;
}
