// Compile errors: the error text with its line, the raising helpers and the
// one-token checks that generators use to require or forbid a token.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/ErrorLineText.h"

#include "platform/Locale.h"

#include <algorithm>
#include <string_view>

namespace {

// The line of the last byte read before `position`: the line of the token just
// read, also when that token was the line feed that ends it.
std::string_view line_read_last(std::string_view text, std::size_t position)
{
    std::size_t start = std::min(position, text.size());
    if (start > 0) --start;
    while (start > 0 && text[start - 1] != '\n') --start;
    return text.substr(start, text.find('\n', start) - start);
}

}  // namespace

TException TCompiler::CompileException(const std::string& message) const
{
    std::string text = platform::get_string("Compile Error");
    text += "\n\n";
    text += message;
    text += "\n\n";
    // Before a line's number is accepted there is none to name: the line's text
    // names it instead.
    const std::string line = CurLineNumText.empty()
                                 ? error_line_text(line_read_last(SrcText, static_cast<std::size_t>(SrcPos)))
                                 : CurLineNumText;
    text += platform::replace_placeholder(platform::get_string("Line: %Num%"), "%Num%", line);
    text += "\n";
    return TException(text);
}

void TCompiler::RaiseCompileError(const char* key) const
{
    throw CompileException(platform::get_string(key));
}

// The character is a control byte (no other begins no token): it is named by its
// code, such as &H01, since the byte itself would not show in the message.
void TCompiler::RaiseUnknownSymbol(char symbol) const
{
    static const char HEX[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(symbol);
    const std::string code = {'&', 'H', HEX[byte >> 4], HEX[byte & 0xF]};
    const std::string message =
        platform::replace_placeholder(platform::get_string(CE_UNKNOWN_SYMBOL), "%Symbol%", code);
    throw CompileException(message);
}

TToken TCompiler::RequireToken(const TToken& token, TTokenKind kind, const char* key)
{
    if (token.kind != kind) RaiseCompileError(key);
    return Token();
}

TToken TCompiler::CheckComma(const TToken& token)
{
    return RequireToken(token, tkComma, CE_NO_COMMA);
}
TToken TCompiler::CheckEqual(const TToken& token)
{
    return RequireToken(token, tkEqual, CE_NO_EQUAL);
}
TToken TCompiler::CheckLpar(const TToken& token)
{
    return RequireToken(token, tkLpar, CE_NO_LPAR);
}
TToken TCompiler::CheckMinus(const TToken& token)
{
    return RequireToken(token, tkMinus, CE_NO_MINUS);
}
TToken TCompiler::CheckRpar(const TToken& token)
{
    return RequireToken(token, tkRpar, CE_NO_RPAR);
}

TToken TCompiler::CheckSemiColon(const TToken& token)
{
    return RequireToken(token, tkSemiColon, CE_NO_SEMI_COLON);
}

TToken TCompiler::CheckNotMultiExprEnd(const TToken& token)
{
    if (IsMultiExprEndToken(token)) RaiseCompileError(CE_SYNTAX_ERR);
    return token;
}

TToken TCompiler::CheckNotLpar(const TToken& token)
{
    if (token.kind == tkLpar) RaiseCompileError(CE_ILL_FUNC_CALL);
    return token;
}

TToken TCompiler::CheckNotRpar(const TToken& token)
{
    if (token.kind == tkRpar) RaiseCompileError(CE_ILL_FUNC_CALL);
    return token;
}
