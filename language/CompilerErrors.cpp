// Compile errors: the error text with its line, the raising helpers and the
// one-token checks that generators use to require or forbid a token.

#include "language/Compiler.h"

#include "platform/Locale.h"

TException TCompiler::CompileException(const std::string& message) const
{
    std::string text = platform::get_string("Compile Error");
    text += "\n\n";
    text += message;
    text += "\n\n";
    text += platform::replace_placeholder(platform::get_string("Line: %Num%"), "%Num%", CurLineNumText);
    text += "\n";
    return TException(text);
}

void TCompiler::RaiseCompileError(const char* key) const
{
    throw CompileException(platform::get_string(key));
}

void TCompiler::RaiseUnknownSymbol(char symbol) const
{
    const std::string message = platform::replace_placeholder(
        platform::get_string("@Compile_Err_Unknown_Symbol %Symbol%@"), "%Symbol%", std::string(1, symbol));
    throw CompileException(message);
}

TToken TCompiler::RequireToken(const TToken& token, TTokenKind kind, const char* key)
{
    if (token.kind != kind)
        RaiseCompileError(key);
    return Token();
}

TToken TCompiler::CheckComma(const TToken& token) { return RequireToken(token, tkComma, "@Compile_Err_No_Comma@"); }
TToken TCompiler::CheckEqual(const TToken& token) { return RequireToken(token, tkEqual, "@Compile_Err_No_Equal@"); }
TToken TCompiler::CheckLpar(const TToken& token) { return RequireToken(token, tkLpar, "@Compile_Err_No_LPar@"); }
TToken TCompiler::CheckMinus(const TToken& token) { return RequireToken(token, tkMinus, "@Compile_Err_No_Minus@"); }
TToken TCompiler::CheckRpar(const TToken& token) { return RequireToken(token, tkRpar, "@Compile_Err_No_RPar@"); }

TToken TCompiler::CheckSemiColon(const TToken& token)
{
    return RequireToken(token, tkSemiColon, "@Compile_Err_No_Semi_Colon@");
}

TToken TCompiler::CheckNotMultiExprEnd(const TToken& token)
{
    if (IsMultiExprEndToken(token))
        RaiseCompileError("@Compile_Err_Syntax_Err@");
    return token;
}

TToken TCompiler::CheckNotLpar(const TToken& token)
{
    if (token.kind == tkLpar)
        RaiseCompileError("@Compile_Err_Ill_Func_Call@");
    return token;
}

TToken TCompiler::CheckNotRpar(const TToken& token)
{
    if (token.kind == tkRpar)
        RaiseCompileError("@Compile_Err_Ill_Func_Call@");
    return token;
}
