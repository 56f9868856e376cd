// The tokenizer: reads the compile text one token at a time, on demand, with
// no token buffer and no backtracking. Character classes are plain ASCII and
// never depend on the C locale.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/MidCode.h"

#include <string>

namespace {

bool IsBlank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r';
}

bool IsLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(unsigned char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int HexValue(unsigned char c)
{
    if (IsDigit(c)) return c - '0';
    if (c >= 'a') return c - 'a' + 10;
    return c - 'A' + 10;
}

bool IsIdentChar(unsigned char c)
{
    return IsLetter(c) || IsDigit(c) || c == '_' || c == '.' || c == '@' || c == '%' || c == '!' || c == '#' ||
           c == '$';
}

bool IsNumberChar(unsigned char c)
{
    return IsDigit(c) || c == '.' || c == '%' || c == '!' || c == '#';
}

char ToUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

}  // namespace

unsigned char TCompiler::SrcByte(int64_t offset) const
{
    return static_cast<unsigned char>(SrcText[SrcPos + offset]);
}

void TCompiler::SkipSpace()
{
    while (IsBlank(SrcByte(0))) ++SrcPos;
}

TToken TCompiler::Token()
{
    SkipSpace();
    const unsigned char c = SrcByte(0);
    if (IsLetter(c) || c == '_') return TokenIdent();
    if (IsDigit(c) || c == '.') return TokenNum();
    switch (c) {
    case '\'': return TokenComment();
    case '"': return TokenString();
    case '&': return TokenHexOct();
    case '#': return TokenSharpInt();
    default: return TokenMisc();
    }
}

int TCompiler::TokenIdentKernel(std::string& buffer, int offset)
{
    // The first `offset` characters of the buffer are the caller's; the scan goes
    // on at the same offset in the text.
    buffer.resize(static_cast<std::size_t>(offset));
    int i = offset;
    while (IsIdentChar(SrcByte(i))) {
        buffer.push_back(ToUpper(static_cast<char>(SrcByte(i))));
        ++i;
    }
    return i;
}

TToken TCompiler::TokenIdent()
{
    std::string buffer;
    int n = TokenIdentKernel(buffer, 0);

    // "GO TO" is one keyword when exactly one space stands between the words.
    if (buffer == "GO" && SrcByte(2) == ' ' && ToUpper(static_cast<char>(SrcByte(3))) == 'T' &&
        ToUpper(static_cast<char>(SrcByte(4))) == 'O') {
        buffer = "GO TO";
        n = 5;
    }
    // "FN name" with one space is one user-function name.
    else if (buffer == "FN" && SrcByte(2) == ' ') {
        buffer = "FN ";
        n = TokenIdentKernel(buffer, 3);
    }

    TTokenKind& entry = MidCode->TokenKindMap[buffer];
    if (entry == tkNone) entry = StartsWith(buffer, "FN") ? tkUserFunc : tkVar;
    const TTokenKind kind = entry;

    if (kind == tkVar && buffer.back() == '@' && !DataMode) RaiseCompileError(CE_SYNTAX_ERR);

    SrcPos += n;
    return TToken(kind, buffer);
}

TToken TCompiler::TokenNum()
{
    int64_t len = 0;
    while (IsNumberChar(SrcByte(len))) ++len;
    std::string run(SrcText + SrcPos, static_cast<std::size_t>(len));

    TTokenKind kind;
    if (DataMode) {
        kind = tkInt;
    } else {
        const char last = run.back();
        if (last == '.') RaiseCompileError(CE_SYNTAX_ERR);
        if (last == '%' || last == '!' || last == '#')
            kind = SufVarTypeTable[static_cast<unsigned char>(last)];
        else
            kind = run.find('.') != std::string::npos ? tkSingle : tkInt;
    }

    SrcPos += len;
    // No exponent notation: a keyword or name may not touch a number.
    if (!DataMode && IsLetter(SrcByte(0))) RaiseCompileError(CE_SYNTAX_ERR);
    return TToken(kind, std::move(run));
}

TToken TCompiler::TokenHexOct()
{
    ++SrcPos;  // the "&"
    if (DataMode) return TToken(tkSymbol, "&");

    // A 32-bit accumulator that wraps: no overflow error, leading digits shift out.
    uint32_t value = 0;
    const unsigned char c = SrcByte(0);
    auto readOctal = [&] {
        while (IsDigit(SrcByte(0))) {
            const unsigned char d = SrcByte(0);
            if (d == '8' || d == '9') RaiseCompileError(CE_SYNTAX_ERR);
            value = value * 8u + static_cast<uint32_t>(d - '0');
            ++SrcPos;
        }
    };
    if (c == 'H' || c == 'h') {
        ++SrcPos;
        while (IsHexDigit(SrcByte(0))) {
            value = value * 16u + static_cast<uint32_t>(HexValue(SrcByte(0)));
            ++SrcPos;
        }
    } else if (c == 'O' || c == 'o') {
        ++SrcPos;
        readOctal();
    } else if (IsDigit(c)) {
        readOctal();
    } else {
        RaiseCompileError(CE_SYNTAX_ERR);
    }
    return TToken(tkInt, std::to_string(static_cast<int32_t>(value)));
}

TToken TCompiler::TokenSharpInt()
{
    ++SrcPos;  // the "#"
    int64_t len = 0;
    while (IsDigit(SrcByte(len)) || SrcByte(len) == '.') ++len;
    if (len == 0) return TToken(tkSymbol, "#");
    std::string run(SrcText + SrcPos, static_cast<std::size_t>(len));
    SrcPos += len;
    return TToken(tkFileNum, std::move(run));
}

TToken TCompiler::TokenString()
{
    ++SrcPos;  // the opening quote
    int64_t len = 0;
    while (SrcByte(len) != '"' && SrcByte(len) != '\n' && SrcByte(len) != '\0') ++len;
    std::string text(SrcText + SrcPos, static_cast<std::size_t>(len));
    SrcPos += len;
    // An unterminated literal ends at the line end, which is left unread.
    if (SrcByte(0) == '"') ++SrcPos;
    return TToken(tkString, std::move(text));
}

TToken TCompiler::TokenComment()
{
    return SkipComment();
}

TToken TCompiler::TokenMisc()
{
    const unsigned char c = SrcByte(0);
    const unsigned char next = c == '\0' ? '\0' : SrcByte(1);
    auto single = [&](TTokenKind kind) {
        ++SrcPos;
        return TToken(kind, std::string(1, static_cast<char>(c)));
    };
    auto pair = [&](TTokenKind kind) {
        std::string text{static_cast<char>(c), static_cast<char>(next)};
        SrcPos += 2;
        return TToken(kind, std::move(text));
    };

    switch (c) {
    case '(': return single(tkLpar);
    case ')': return single(tkRpar);
    case '[': return single(tkLbracket);
    case ']': return single(tkRbracket);
    case ',': return single(tkComma);
    case ';': return single(tkSemiColon);
    case ':': return single(tkColon);
    case '^': return single(tkHat);
    case '*': return single(tkMul);
    case '/': return single(tkDiv);
    case '+': return single(tkPlus);
    case '-': return single(tkMinus);
    case 0x5C: return single(tkIdiv);
    case '!':
    case '$':
    case '%':
    case '?':
    case '@':
    case '{':
    case '}':
    case '~':
    case 0x60:
    case 0x7C: return single(tkSymbol);
    case '<':
        if (next == '=') return pair(tkLe);
        if (next == '>') return pair(tkNoteq);
        return single(tkLt);
    case '=':
        if (next == '<') return pair(tkLe);
        if (next == '>') return pair(tkGe);
        return single(tkEqual);
    case '>':
        if (next == '<') return pair(tkNoteq);
        if (next == '=') return pair(tkGe);
        return single(tkGt);
    case '\n': return single(tkEol);
    case '\0':
        // The end of the text: the position stays, so every later call ends here too.
        return TToken(tkEot, std::string());
    default: break;
    }
    if (c >= 0x80) return single(tkMultiByte);
    RaiseUnknownSymbol(static_cast<char>(c));
}

bool TCompiler::IsMultiExprEndToken(const TToken& token)
{
    switch (token.kind) {
    case tkColon:
    case tkThen:
    case tkElse:
    case tkAs:
    case tkEol:
    case tkEot: return true;
    default: return false;
    }
}

bool TCompiler::IsExprEndToken(const TToken& token)
{
    return IsMultiExprEndToken(token) || token.kind == tkComma;
}
