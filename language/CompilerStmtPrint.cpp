// PRINT, WRITE, their file forms PRINT #n and WRITE #n, and PRINT USING.
//
// Each item is a statement record of its own: a value item pushes its value and
// prints it, a separator pushes its marker (the machine moves to the next zone
// or writes the WRITE separator), and the line end is one more record with its
// flag set. In a file form the file number is pushed before every record.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"

using namespace compiler_stmt;

TToken TCompiler::GenProcPrint(const TToken& keyword)
{
    return GenProcPrintWrite(keyword, vcPrint);
}

TToken TCompiler::GenProcWrite(const TToken& keyword)
{
    return GenProcPrintWrite(keyword, vcWrite);
}

TToken TCompiler::GenProcPrintWrite(const TToken& /*keyword*/, TVMCodeCmd code)
{
    TToken token = Token();
    if (IsWord(token, "USING")) {
        if (code != vcPrint) RaiseCompileError(CE_SYNTAX_ERR);
        return GenProcPrintUsing(token);
    }

    bool lineEnd = true;
    bool firstItem = true;
    bool fileForm = false;
    int32_t fileNumber = 0;
    auto pushFileNumber = [&] {
        if (fileForm) AddCode(vcBPushInt, fileNumber);
    };

    for (; !IsMultiExprEndToken(token); firstItem = false) {
        // USING only opens the statement; there is no file form of PRINT USING,
        // and the word is never taken for a variable.
        if (IsWord(token, "USING")) RaiseCompileError(CE_SYNTAX_ERR);

        if (IsValueStartToken(token)) {
            lineEnd = true;
            pushFileNumber();
            const int32_t start = NextCodeIndex();
            TTokenKind type;
            token = GenExpr(token, false, &type);
            RequireCodeSince(*this, start, CE_SYNTAX_ERR);
            AddCode(code, false);
        } else if (token.kind == tkFileNum) {
            if (!firstItem) RaiseCompileError(CE_SYNTAX_ERR);
            code = code == vcPrint ? vcPrintSh : vcWriteSh;
            fileForm = true;
            fileNumber = FileNumberOf(token);
            token = CheckComma(Token());
        } else if (token.kind == tkComma || token.kind == tkSemiColon) {
            lineEnd = false;
            const bool printSemiColon = token.kind == tkSemiColon && (code == vcPrint || code == vcPrintSh);
            if (!printSemiColon) {
                pushFileNumber();
                AddCode(vcBPushSpecial, static_cast<int32_t>(token.kind));
                AddCode(code, false);
            }
            token = Token();
        } else {
            RaiseCompileError(CE_SYNTAX_ERR);
        }
    }

    if (lineEnd) {
        pushFileNumber();
        AddCode(code, true);
    } else if (code == vcWrite || code == vcWriteSh) {
        RaiseCompileError(CE_SYNTAX_ERR);  // WRITE may not end with a separator
    }
    if (code == vcPrint || code == vcWrite) AddCode(vcBUpdateScreen);
    return token;
}

// PRINT USING format; values. The stack holds, from the bottom, the format,
// the values (an empty place as an omitted value) and whether the line ends.
TToken TCompiler::GenProcPrintUsing(const TToken& /*keyword*/)
{
    TTokenKind formatType;
    TToken token = GenExpr(Token(), false, &formatType);
    if (formatType != tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
    token = CheckSemiColon(token);

    int32_t count;
    TTokenKind lastSeparator;
    token = GenMultiExpr(token, &count, &lastSeparator);
    if (count == 0) RaiseCompileError(CE_ILL_FUNC_CALL);
    AddCode(vcBPushBool, lastSeparator != tkSemiColon);
    AddCode(vcPrintUsing, count);
    return token;
}
