// INPUT and LINE INPUT, with their WAIT time limit, prompt and file forms, and
// KINPUT. The prompt is printed by PRINT records before the input record; the
// variables are pushed as references, and the input record says how many.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"

using namespace compiler_stmt;

namespace {

enum class TInputForm { Keyboard, Wait, File };

}  // namespace

TToken TCompiler::GenProcInput(const TToken& keyword)
{
    return GenProcInputFamily(keyword, false);
}

TToken TCompiler::GenProcLineInput(const TToken& keyword)
{
    return GenProcInputFamily(keyword, true);
}

// Stack at the input record, from the bottom: the WAIT time or the file
// number, then the variable references in source order.
TToken TCompiler::GenProcInputFamily(const TToken& /*keyword*/, bool lineInput)
{
    TInputForm form = TInputForm::Keyboard;
    TToken token = Token();

    if (IsWord(token, "WAIT")) {
        form = TInputForm::Wait;
        const int32_t start = NextCodeIndex();
        TTokenKind type;
        token = GenExpr(Token(), false, &type);
        if (type == tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
        token = CheckComma(token);
        // INPUT WAIT ,A: the record would take a time that was never pushed.
        RequireCodeSince(*this, start, CE_MISSING_OPERAND);
    }

    auto pushQuestionMark = [this] {
        AddCode(vcBPushString, std::string("? "));
        AddCode(vcPrint, false);
    };
    switch (token.kind) {
    case tkString: {
        // The prompt: a "," after it prints no question mark, a ";" does.
        TTokenKind type;
        token = GenExpr(token, false, &type);
        AddCode(vcPrint, false);
        if (token.kind == tkSemiColon)
            pushQuestionMark();
        else if (token.kind != tkComma)
            RaiseCompileError(CE_SYNTAX_ERR);
        token = Token();
        break;
    }
    case tkVar: pushQuestionMark(); break;
    case tkFileNum:
        if (form == TInputForm::Wait) RaiseCompileError(CE_SYNTAX_ERR);
        form = TInputForm::File;
        AddCode(vcBPushInt, FileNumberOf(token));
        token = CheckComma(Token());
        break;
    default: RaiseCompileError(CE_SYNTAX_ERR);
    }
    if (form != TInputForm::File) AddCode(vcBUpdateScreen);

    int32_t count;
    GenMultiVar(&token, &count);
    if (count == 0) RaiseCompileError(CE_MISSING_OPERAND);

    if (lineInput) {
        if (count > 1) RaiseCompileError(CE_TOO_MANY_OPERAND);
        switch (form) {
        case TInputForm::Keyboard: AddCode(vcLineInput); break;
        case TInputForm::Wait: AddCode(vcLineInputWait); break;
        case TInputForm::File: AddCode(vcLineInputSh); break;
        }
    } else {
        switch (form) {
        case TInputForm::Keyboard: AddCode(vcInput, count); break;
        case TInputForm::Wait: AddCode(vcInputWait, count); break;
        case TInputForm::File: AddCode(vcInputSh, count); break;
        }
    }
    return token;
}

// KINPUT v$: exactly one variable, no prompt.
TToken TCompiler::GenProcKinput(const TToken& /*keyword*/)
{
    TToken token = Token();
    int32_t count;
    GenMultiVar(&token, &count);
    if (count != 1) RaiseCompileError(CE_SYNTAX_ERR);
    AddCode(vcKinput);
    return token;
}
