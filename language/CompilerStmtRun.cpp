// RUN and CHAIN. Neither starts anything itself: the machine ends the run and
// asks the editor for the next one, and these records carry what that request
// needs.
//
//   RUN                     vcRunCur false
//   RUN line | RUN *label   target, vcRunCur true
//   RUN file$ [, R]         file name, vcRunSpecify (R given)
//   CHAIN [MERGE] file$ [, target [, [ALL] [, ...]]]
//                           merge flag, file name [, target [, ALL flag]],
//                           vcChain with the number of values pushed

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"

using namespace compiler_stmt;

TToken TCompiler::GenProcRun(const TToken& /*keyword*/)
{
    TToken token = Token();
    if (IsMultiExprEndToken(token)) {
        AddCode(vcRunCur, false);
        return token;
    }
    if (token.kind == tkMul) {
        token = CheckNoFurtherValue(*this, GenLabel(token));
        AddCode(vcRunCur, true);
        return token;
    }

    const int32_t start = NextCodeIndex();
    TTokenKind type;
    token = GenExpr(token, false, &type);
    RequireCodeSince(*this, start, CE_SYNTAX_ERR);
    if (type != tkString) {
        token = CheckNoFurtherValue(*this, token);
        AddCode(vcRunCur, true);
        return token;
    }

    // A file name, perhaps with the R option.
    if (IsMultiExprEndToken(token)) {
        AddCode(vcRunSpecify, false);
        return token;
    }
    token = CheckComma(token);
    if (token.kind != tkVar || token.text != "R") RaiseCompileError(CE_SYNTAX_ERR);
    AddCode(vcRunSpecify, true);
    return Token();
}

TToken TCompiler::GenProcChain(const TToken& /*keyword*/)
{
    TToken token = Token();
    if (IsMultiExprEndToken(token)) RaiseCompileError(CE_ILL_FUNC_CALL);
    const bool merge = IsWord(token, "MERGE");
    AddCode(vcBPushBool, merge);
    if (merge) token = Token();
    if (IsMultiExprEndToken(token)) RaiseCompileError(CE_ILL_FUNC_CALL);

    int32_t count = 1;
    // Reads the optional parts; returns at the first statement end.
    auto readParts = [&] {
        TTokenKind type;
        token = GenExpr(token, false, &type);
        if (type != tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
        count = 2;
        if (IsMultiExprEndToken(token)) return;

        // The start position: once its comma is written it is due, since the
        // count tells the machine that a value lies there.
        token = CheckComma(token);
        if (token.kind == tkMul) {
            token = GenLabel(token);
        } else {
            const int32_t start = NextCodeIndex();
            token = GenExpr(token, false, &type);
            RequireCodeSince(*this, start, CE_MISSING_OPERAND);
        }
        token = CheckNoFurtherValue(*this, token);
        count = 3;
        if (IsMultiExprEndToken(token)) return;

        token = CheckComma(token);
        const bool all = IsWord(token, "ALL");
        AddCode(vcBPushBool, all);
        if (all) token = Token();
        count = 4;
        if (IsMultiExprEndToken(token)) return;

        // A DELETE clause, or whatever stands here, is read and dropped.
        token = SkipMultiExpr(CheckComma(token));
    };
    readParts();
    AddCode(vcChain, count);
    return token;
}
