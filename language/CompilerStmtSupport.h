#pragma once
// Small checks shared by the statement generators.

#include "foundation/DecimalText.h"
#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/Token.h"

#include <cstdint>
#include <string>

namespace compiler_stmt {

// Whether the token is the word `word` (USING, WAIT ...). A string literal is
// never a word, so PRINT "USING" prints the text.
inline bool IsWord(const TToken& token, const char* word)
{
    return token.kind != tkString && token.text == word;
}

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
    case tkNot: return true;
    default: return false;
    }
}

// The number of a file-number token (# and digits): its leading digits; a
// fractional part is ignored and too large a number saturates.
inline int32_t FileNumberOf(const TToken& token)
{
    return leading_decimal_integer(token.text);
}

// A statement record takes its operand from the value stack: the operand's
// compilation must have appended code since `start`, else the record would
// take a value that was never pushed.
inline void RequireCodeSince(const TCompiler& compiler, int32_t start, const char* key)
{
    if (compiler.NextCodeIndex() == start) compiler.RaiseCompileError(key);
}

// After an operand that stands for exactly one value, another value may not
// follow without a separator (GOTO 100 200): it would push a second value.
inline TToken CheckNoFurtherValue(const TCompiler& compiler, const TToken& token)
{
    if (IsValueStartToken(token) || token.kind == tkFileNum) compiler.RaiseCompileError(CE_SYNTAX_ERR);
    return token;
}

// The comma before a further option of LINE, CIRCLE or PUT@: one that ends the
// statement is a syntax error. Returns the token after the comma.
inline TToken CheckOptionComma(TCompiler& compiler, const TToken& token)
{
    const TToken next = compiler.CheckComma(token);
    if (TCompiler::IsMultiExprEndToken(next)) compiler.RaiseCompileError(CE_SYNTAX_ERR);
    return next;
}

// One numeric option place after its comma: a value, or vcBPushAbbrev when the place
// is left empty; `given` tells which. A string is a type mismatch.
inline TToken GenNumericOption(TCompiler& compiler, const TToken& token, bool* given)
{
    *given = !TCompiler::IsExprEndToken(token);
    if (!*given) {
        compiler.AddCode(vcBPushAbbrev);
        return token;
    }
    TTokenKind type;
    const TToken rest = compiler.GenExpr(token, false, &type);
    if (type == tkString) compiler.RaiseCompileError(CE_TYPE_MISMATCH_ARG);
    return rest;
}

// A list of values (GenMultiExpr) whose number must lie from `least` to `most`;
// any other number is an illegal function call. `count` receives the number.
inline TToken GenCountedValues(TCompiler& compiler, const TToken& first, int32_t least, int32_t most, int32_t* count)
{
    const TToken rest = compiler.GenMultiExpr(first, count, nullptr);
    if (*count < least || *count > most) compiler.RaiseCompileError(CE_ILL_FUNC_CALL);
    return rest;
}

// A last option that takes exactly one value, read from its comma on (CIRCLE's
// value after F, LINE's style): nothing after the comma is a syntax error, more
// than one value an illegal function call. Returns the token after the value.
inline TToken GenSingleValueOption(TCompiler& compiler, const TToken& comma)
{
    const TToken token = compiler.CheckComma(comma);
    if (TCompiler::IsExprEndToken(token)) compiler.RaiseCompileError(CE_SYNTAX_ERR);
    int32_t values;
    return GenCountedValues(compiler, token, 1, 1, &values);
}

// A list of one or more variables, pushed as references, then `record` with their
// count (DIM, READ). No variable is a syntax error.
inline TToken GenVariableListStatement(TCompiler& compiler, TVMCodeCmd record)
{
    TToken token = compiler.Token();
    int32_t count;
    compiler.GenMultiVar(&token, &count);
    if (count == 0) compiler.RaiseCompileError(CE_SYNTAX_ERR);
    compiler.AddCode(record, count);
    return token;
}

// The optional jump target of RESTORE and RETURN: pushed when the statement has
// one, which `given` tells. Returns the token after the statement.
inline TToken GenOptionalJumpTarget(TCompiler& compiler, bool* given)
{
    const TToken token = compiler.Token();
    *given = !TCompiler::IsMultiExprEndToken(token);
    return *given ? compiler.GenJumpTarget(token) : token;
}

}  // namespace compiler_stmt
