// Built-in functions with generators of their own: the ignored functions, the
// functions with an operand list of their own shape, RND and SEARCH.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/MidCode.h"

// ---- Ignored functions ------------------------------------------------------
// Their effect is not provided: the arguments are skipped uncompiled and one
// constant stands for the value, 0 or the empty string.

TToken TCompiler::GenFuncIgnored(const TToken& keyword, TTokenKind valueType, TTokenKind* type)
{
    const TToken token = SkipFuncOption(keyword);
    if (valueType == tkString)
        AddCode(vcBPushString, std::string());
    else
        AddCode(vcBPushInt, int32_t{0});
    *type = valueType;
    return token;
}

// clang-format off
TToken TCompiler::GenFuncAttrDl(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkString, t); }
TToken TCompiler::GenFuncCvi(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncCvs(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncCvd(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncDskf(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncDskiDl(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkString, t); }
TToken TCompiler::GenFuncFpos(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncFre(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncKtype(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncLoc(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncLof(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncLpos(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncMap(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncMkiDl(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkString, t); }
TToken TCompiler::GenFuncMksDl(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkString, t); }
TToken TCompiler::GenFuncMkdDl(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkString, t); }
TToken TCompiler::GenFuncPen(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncStatus(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncUsr(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncVarptr(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncView(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
TToken TCompiler::GenFuncWindow(const TToken& k, TTokenKind* t) { return GenFuncIgnored(k, tkInt, t); }
// clang-format on

// ERL and ERR take no argument list at all: a "(" after them is left to the
// expression.
TToken TCompiler::GenFuncErl(const TToken& /*keyword*/, TTokenKind* type)
{
    const TToken token = Token();
    AddCode(vcBPushInt, int32_t{0});
    *type = tkInt;
    return token;
}

TToken TCompiler::GenFuncErr(const TToken& keyword, TTokenKind* type)
{
    return GenFuncErl(keyword, type);
}

// ---- Functions with an operand list -------------------------------------------

TToken TCompiler::GenFuncOptionalSecond(const TToken& keyword, TTokenKind firstKind, TVMCodeCmd code,
                                        TTokenKind retType, TTokenKind* type)
{
    TOperandSpec pattern{{firstKind, false}, {tkInt, true}};
    std::vector<TToken> tokens;
    const TToken token = GenFuncDealToken(keyword, 1, 2, &pattern, &tokens);
    *type = retType;
    AddCode(code, tokens.size() == 2);
    return token;
}

TToken TCompiler::GenFuncTwoOperands(const TToken& keyword, TTokenKind firstKind, TTokenKind secondKind,
                                     TVMCodeCmd code, TTokenKind retType, TTokenKind* type)
{
    TOperandSpec pattern{{firstKind, false}, {secondKind, false}};
    std::vector<TToken> tokens;
    const TToken token = GenFuncDealToken(keyword, 2, 2, &pattern, &tokens);
    *type = retType;
    AddCode(code);
    return token;
}

// clang-format off
TToken TCompiler::GenFuncInputDl(const TToken& k, TTokenKind* t) { return GenFuncOptionalSecond(k, tkInt, vcInputDl, tkString, t); }
TToken TCompiler::GenFuncKextDl(const TToken& k, TTokenKind* t) { return GenFuncTwoOperands(k, tkString, tkInt, vcKextDl, tkString, t); }
TToken TCompiler::GenFuncKlen(const TToken& k, TTokenKind* t) { return GenFuncOptionalSecond(k, tkString, vcKlen, tkInt, t); }
TToken TCompiler::GenFuncLeftDl(const TToken& k, TTokenKind* t) { return GenFuncTwoOperands(k, tkString, tkInt, vcLeftDl, tkString, t); }
TToken TCompiler::GenFuncRightDl(const TToken& k, TTokenKind* t) { return GenFuncTwoOperands(k, tkString, tkInt, vcRightDl, tkString, t); }
TToken TCompiler::GenFuncStringDl(const TToken& k, TTokenKind* t) { return GenFuncTwoOperands(k, tkInt, tkAnyType, vcStringDl, tkString, t); }
// clang-format on

// The MOUSE function is a sign of a DOS-BASIC program.
TToken TCompiler::GenFuncMouse(const TToken& keyword, TTokenKind* type)
{
    const TToken token = GenFuncOptionalSecond(keyword, tkInt, vcMouseFunc, tkInt, type);
    ++DosBasicSignCount;
    return token;
}

// POINT(n) and POINT(x, y) have codes of their own.
TToken TCompiler::GenFuncPoint(const TToken& keyword, TTokenKind* type)
{
    TOperandSpec pattern{{tkInt, false}, {tkInt, true}};
    std::vector<TToken> tokens;
    const TToken token = GenFuncDealToken(keyword, 1, 2, &pattern, &tokens);
    *type = tkInt;
    AddCode(tokens.size() == 2 ? vcPointFunc2 : vcPointFunc1);
    return token;
}

// ---- Functions with a parser of their own -------------------------------------

// RND needs no parentheses: RND alone is RND(1). An empty "()" would leave the
// machine without an argument value, so it is refused like "()" of SIN.
TToken TCompiler::GenFuncRnd(const TToken& /*keyword*/, TTokenKind* type)
{
    TToken token = Token();
    if (token.kind == tkLpar) {
        TTokenKind argType;
        token = GenExpr(CheckNotRpar(Token()), false, &argType);
        token = CheckRpar(token);
        if (argType == tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
    } else {
        AddCode(vcBPushInt, int32_t{1});
    }
    *type = tkSingle;
    AddCode(vcRnd);
    return token;
}

// SEARCH(array, value [, start [, step]]): a reference to the array, then
// always three values; the ones left out at the end are pushed as omitted.
TToken TCompiler::GenFuncSearch(const TToken& /*keyword*/, TTokenKind* type)
{
    TToken token = CheckLpar(Token());
    bool lvalue = true;
    bool keepType = false;
    TTokenKind arrayType = tkUntyped;
    // GenVar refuses a token that is not a variable.
    GenVar(&token, &lvalue, &keepType, true, true, &arrayType);
    // A DEF FN parameter is a value, not an array reference.
    if (MidCode->Codes.back().Cmd != vcBPushVar) RaiseCompileError(CE_ILL_FUNC_CALL);
    if (arrayType == tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
    token = CheckComma(token);

    int32_t count;
    token = GenMultiExpr(token, &count, nullptr);
    if (count < 1 || count > 3) RaiseCompileError(CE_ILL_FUNC_CALL);
    for (int32_t i = count; i < 3; ++i) AddCode(vcBPushAbbrev);
    token = CheckRpar(token);
    *type = tkInt;
    AddCode(vcSearch);
    return token;
}
