// Built-in function calls: the families of generators that most functions
// share, and the one-line generators that call them. A call compiles to the
// codes of its arguments in the written order, then the function's code; no
// conversion is emitted, only the arguments' value types are checked.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"

TToken TCompiler::GenFuncMath(const TToken& /*keyword*/, TVMCodeCmd code, TTokenKind* type)
{
    TToken token = CheckLpar(Token());
    CheckNotRpar(token);
    TTokenKind argType;
    token = GenExpr(token, false, &argType);
    token = CheckRpar(token);
    AddCode(code);
    if (argType == tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
    // The result follows the argument's precision, but never below single.
    *type = argType == tkDouble ? tkDouble : tkSingle;
    return token;
}

TToken TCompiler::GenFuncSpecifyArgAndRet(const TToken& keyword, TVMCodeCmd code, TTokenKind argType,
                                          TTokenKind retType, TTokenKind* type)
{
    TOperandSpec pattern{{argType, false}};
    std::vector<TToken> tokens;
    const TToken token = GenFuncDealToken(keyword, 1, 1, &pattern, &tokens);
    *type = retType;
    AddCode(code);
    return token;
}

TToken TCompiler::GenFuncNoArgSpecifyRet(const TToken& /*keyword*/, TVMCodeCmd code, TTokenKind retType,
                                         TTokenKind* type)
{
    const TToken token = CheckNotLpar(Token());
    *type = retType;
    AddCode(code);
    return token;
}

// INSTR and KINSTR: [start,] searched string, string to find.
TToken TCompiler::GenFuncInstrFamily(const TToken& keyword, TVMCodeCmd code, TTokenKind* type)
{
    TOperandSpec pattern{{tkInt, true}, {tkString, false}, {tkString, false}};
    std::vector<TToken> tokens;
    const TToken token = GenFuncDealToken(keyword, 2, 3, &pattern, &tokens);
    *type = tkInt;
    AddCode(code, tokens.size() == 3);
    return token;
}

// MID$ and KMID$: string, start [, length].
TToken TCompiler::GenFuncMidDlFamily(const TToken& keyword, TVMCodeCmd code, TTokenKind* type)
{
    TOperandSpec pattern{{tkString, false}, {tkInt, false}, {tkInt, true}};
    std::vector<TToken> tokens;
    const TToken token = GenFuncDealToken(keyword, 2, 3, &pattern, &tokens);
    *type = tkString;
    AddCode(code, tokens.size() == 3);
    return token;
}

// clang-format off
// One row a function: keyword's generator -> family, code emitted, argument and result types.
TToken TCompiler::GenFuncAbs(const TToken& k, TTokenKind* t) { return GenFuncMath(k, vcAbs, t); }
TToken TCompiler::GenFuncAkcnvDl(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcAkcnvDl, tkString, tkString, t); }
TToken TCompiler::GenFuncAsc(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcAsc, tkString, tkInt, t); }
TToken TCompiler::GenFuncAtn(const TToken& k, TTokenKind* t) { return GenFuncMath(k, vcAtn, t); }
TToken TCompiler::GenFuncCdbl(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcCdbl, tkInt, tkDouble, t); }
TToken TCompiler::GenFuncChrDl(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcChrDl, tkInt, tkString, t); }
TToken TCompiler::GenFuncCint(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcCint, tkInt, tkInt, t); }
TToken TCompiler::GenFuncCos(const TToken& k, TTokenKind* t) { return GenFuncMath(k, vcCos, t); }
TToken TCompiler::GenFuncCsng(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcCsng, tkInt, tkSingle, t); }
TToken TCompiler::GenFuncCsrlin(const TToken& k, TTokenKind* t) { return GenFuncNoArgSpecifyRet(k, vcCsrlin, tkInt, t); }
TToken TCompiler::GenFuncDateDl(const TToken& k, TTokenKind* t) { return GenFuncNoArgSpecifyRet(k, vcDateDl, tkString, t); }
TToken TCompiler::GenFuncEof(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcEof, tkInt, tkInt, t); }
TToken TCompiler::GenFuncExp(const TToken& k, TTokenKind* t) { return GenFuncMath(k, vcExp, t); }
TToken TCompiler::GenFuncFix(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcFix, tkInt, tkInt, t); }
TToken TCompiler::GenFuncHexDl(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcHexDl, tkInt, tkString, t); }
TToken TCompiler::GenFuncInkeyDl(const TToken& k, TTokenKind* t) { return GenFuncNoArgSpecifyRet(k, vcInkeyDl, tkString, t); }
TToken TCompiler::GenFuncInp(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcInp, tkInt, tkInt, t); }
TToken TCompiler::GenFuncInstr(const TToken& k, TTokenKind* t) { return GenFuncInstrFamily(k, vcInstr, t); }
TToken TCompiler::GenFuncInt(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcInt, tkInt, tkInt, t); }
TToken TCompiler::GenFuncJisDl(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcJisDl, tkString, tkString, t); }
TToken TCompiler::GenFuncKacnvDl(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcKacnvDl, tkString, tkString, t); }
TToken TCompiler::GenFuncKinstr(const TToken& k, TTokenKind* t) { return GenFuncInstrFamily(k, vcKinstr, t); }
TToken TCompiler::GenFuncXKivoversionDl(const TToken& k, TTokenKind* t) { return GenFuncNoArgSpecifyRet(k, vcXKivoversionDl, tkString, t); }
TToken TCompiler::GenFuncKmidDl(const TToken& k, TTokenKind* t) { return GenFuncMidDlFamily(k, vcKmidDl, t); }
TToken TCompiler::GenFuncKnjDl(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcKnjDl, tkString, tkString, t); }
TToken TCompiler::GenFuncLen(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcLen, tkString, tkInt, t); }
TToken TCompiler::GenFuncLog(const TToken& k, TTokenKind* t) { return GenFuncMath(k, vcLog, t); }
TToken TCompiler::GenFuncMidDl(const TToken& k, TTokenKind* t) { return GenFuncMidDlFamily(k, vcMidDlFunc, t); }
TToken TCompiler::GenFuncOctDl(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcOctDl, tkInt, tkString, t); }
TToken TCompiler::GenFuncPeek(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcPeek, tkInt, tkInt, t); }
TToken TCompiler::GenFuncPos(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcPos, tkInt, tkInt, t); }
TToken TCompiler::GenFuncSgn(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcSgn, tkInt, tkInt, t); }
TToken TCompiler::GenFuncSin(const TToken& k, TTokenKind* t) { return GenFuncMath(k, vcSin, t); }
TToken TCompiler::GenFuncSpaceDl(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcSpaceDl, tkInt, tkString, t); }
TToken TCompiler::GenFuncSpc(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcSpc, tkInt, tkString, t); }
TToken TCompiler::GenFuncSqr(const TToken& k, TTokenKind* t) { return GenFuncMath(k, vcSqr, t); }
TToken TCompiler::GenFuncStrDl(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcStrDl, tkInt, tkString, t); }
TToken TCompiler::GenFuncXSystemtime(const TToken& k, TTokenKind* t) { return GenFuncNoArgSpecifyRet(k, vcXSystemtime, tkInt, t); }
TToken TCompiler::GenFuncTab(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcTab, tkInt, tkString, t); }
TToken TCompiler::GenFuncTan(const TToken& k, TTokenKind* t) { return GenFuncMath(k, vcTan, t); }
TToken TCompiler::GenFuncTimeDl(const TToken& k, TTokenKind* t) { return GenFuncNoArgSpecifyRet(k, vcTimeDl, tkString, t); }
TToken TCompiler::GenFuncVal(const TToken& k, TTokenKind* t) { return GenFuncSpecifyArgAndRet(k, vcVal, tkString, tkDouble, t); }
// clang-format on
