// DEF and OPTION: DEF FN defines a user function, DEF SEG sets the segment of
// PEEK, DEF USR is ignored; OPTION BASE sets the lowest array subscript.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"

using namespace compiler_stmt;

namespace {

// A numeric value that a statement record takes from the stack: it must
// compile to code (an empty value would leave the record nothing to take) and
// may not be a string.
TToken GenRequiredNumber(TCompiler& compiler, const TToken& first)
{
    const int32_t start = compiler.NextCodeIndex();
    TTokenKind type;
    const TToken rest = compiler.GenExpr(first, false, &type);
    RequireCodeSince(compiler, start, CE_MISSING_OPERAND);
    if (type == tkString) compiler.RaiseCompileError(CE_TYPE_MISMATCH_ARG);
    return CheckNoFurtherValue(compiler, rest);
}

}  // namespace

TToken TCompiler::GenProcDef(const TToken& /*keyword*/)
{
    const TToken token = Token();
    if (token.kind == tkUserFunc) return GenProcUserFuncDef(token);
    if (token.text == "SEG") return GenProcDefSeg(token);
    if (token.text == "USR") return GenProcDefUsr(token);
    RaiseCompileError(CE_SYNTAX_ERR);
}

TToken TCompiler::GenProcDefSeg(const TToken& /*seg*/)
{
    const TToken rest = GenRequiredNumber(*this, CheckEqual(Token()));
    AddCode(vcDefSeg);
    return rest;
}

TToken TCompiler::GenProcOption(const TToken& /*keyword*/)
{
    const TToken token = Token();
    if (token.text == "BASE") return GenProcOptionBase(token);
    RaiseCompileError(CE_SYNTAX_ERR);
}

TToken TCompiler::GenProcOptionBase(const TToken& /*base*/)
{
    const TToken rest = GenRequiredNumber(*this, Token());
    AddCode(vcOptionBase);
    return rest;
}
