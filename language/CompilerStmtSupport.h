#pragma once
// Small checks shared by the statement generators.

#include "language/Compiler.h"
#include "language/Token.h"

#include <cstdint>
#include <limits>
#include <string>

namespace compiler_stmt {

// Whether the token is the word `word` (USING, WAIT ...). A string literal is
// never a word, so PRINT "USING" prints the text.
inline bool IsWord(const TToken& token, const char* word) { return token.kind != tkString && token.text == word; }

// Whether a value can begin with this token: a function, a name, an FN name, a
// constant, "(", a sign or NOT.
inline bool IsValueStartToken(const TToken& token)
{
    switch (token.kind) {
    case tkFunc:
    case tkFuncProc:
    case tkVar:
    case tkUserFunc:
    case tkInt:
    case tkSingle:
    case tkDouble:
    case tkString:
    case tkLpar:
    case tkPlus:
    case tkMinus:
    case tkNot:
        return true;
    default:
        return false;
    }
}

// The number of a file-number token (# and digits): its leading digits; a
// fractional part is ignored and too large a number saturates.
inline int32_t FileNumberOf(const TToken& token)
{
    int64_t value = 0;
    for (const char c : token.text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<int32_t>::max())
            return std::numeric_limits<int32_t>::max();
    }
    return static_cast<int32_t>(value);
}

// A statement record takes its operand from the value stack: the operand's
// compilation must have appended code since `start`, else the record would
// take a value that was never pushed.
inline void RequireCodeSince(const TCompiler& compiler, int32_t start, const char* key)
{
    if (compiler.NextCodeIndex() == start)
        compiler.RaiseCompileError(key);
}

// After an operand that stands for exactly one value, another value may not
// follow without a separator (GOTO 100 200): it would push a second value.
inline TToken CheckNoFurtherValue(const TCompiler& compiler, const TToken& token)
{
    if (IsValueStartToken(token) || token.kind == tkFileNum)
        compiler.RaiseCompileError("@Compile_Err_Syntax_Err@");
    return token;
}

}  // namespace compiler_stmt
