// The statement generators' common parts: the operand-list reader for a whole
// statement, and the one-line generators of REM, END and DEFINT/DEFSNG/DEFDBL/
// DEFSTR.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"

TToken TCompiler::GenProcDealToken(const TToken& /*keyword*/, int32_t min, int32_t max, const TOperandSpec& pattern,
                                   std::vector<TToken>* tokens)
{
    const TToken rest = DealToken(Token(), min, max, pattern, tokens);
    if (!IsMultiExprEndToken(rest)) RaiseCompileError(CE_SYNTAX_ERR);
    return rest;
}

// The rest of the line is a comment, colons included.
TToken TCompiler::GenProcRem(const TToken& /*keyword*/)
{
    return SkipComment();
}

// END ends the run like the end of the program.
TToken TCompiler::GenProcEnd(const TToken& /*keyword*/)
{
    AddCode(vcBExit);
    return Token();
}

TToken TCompiler::GenProcDefInt(const TToken& /*keyword*/)
{
    return SetDefVarType(tkInt);
}
TToken TCompiler::GenProcDefSng(const TToken& /*keyword*/)
{
    return SetDefVarType(tkSingle);
}
TToken TCompiler::GenProcDefDbl(const TToken& /*keyword*/)
{
    return SetDefVarType(tkDouble);
}
TToken TCompiler::GenProcDefStr(const TToken& /*keyword*/)
{
    return SetDefVarType(tkString);
}
