// Passing over what compiles to nothing: comments, the operands of statements
// that are accepted and ignored, and the arguments of ignored functions.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"

TToken TCompiler::SkipComment()
{
    while (SrcByte(0) != '\n' && SrcByte(0) != '\0') ++SrcPos;
    if (SrcByte(0) == '\n') {
        ++SrcPos;
        return TToken(tkEol, std::string());
    }
    return TToken(tkEot, std::string());
}

TToken TCompiler::SkipMultiExpr(const TToken& first)
{
    TNestGuard guard(this);
    TToken token = first;
    for (;;) {
        if (IsMultiExprEndToken(token) || token.kind == tkRpar) return token;
        if (token.kind == tkLpar) {
            token = CheckRpar(SkipMultiExpr(Token()));
            continue;
        }
        token = Token();
    }
}

TToken TCompiler::SkipFuncOption(const TToken& /*keyword*/)
{
    TToken token = Token();
    if (IsMultiExprEndToken(token)) return token;
    int32_t depth = 0;
    for (;;) {
        if (IsMultiExprEndToken(token)) RaiseCompileError(CE_NO_RPAR);
        if (token.kind == tkLpar)
            ++depth;
        else if (token.kind == tkRpar)
            --depth;
        if (token.kind == tkRpar && depth == 0) return Token();
        token = Token();
    }
}
