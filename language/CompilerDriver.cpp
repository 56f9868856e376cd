// The compile driver: the whole text, the line loop and one line's statements.

#include <cstring>

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/MidCode.h"

#include "foundation/AlertSink.h"

void TCompiler::SetSource(const char* text)
{
    SrcText = text ? text : "";
    mSourceBytes = std::strlen(SrcText) + 1;
    SrcPos = 0;
    CurLineNumText.clear();
}

namespace {

// Thrown between lines when the stop check answers true.
struct TCompileStopped {};

// Lines compiled between two questions to the stop check.
constexpr uint32_t STOP_CHECK_LINES = 256;

}  // namespace

bool TCompiler::Compile(const char* text, int32_t* compatMode)
{
    SetSource(text);
    mLastErrorText.clear();
    mStopped = false;
    mLinesCompiled = 0;
    bool result = false;
    try {
        AddCode(VM_CODE_PLACEHOLDER);
        const TToken stop = CompileBlock(ParseLineNum(Token()));
        if (stop.kind == tkNext) RaiseCompileError(CE_NEXT_WITHOUT_FOR);
        if (stop.kind == tkWend) RaiseCompileError(CE_WEND_WITHOUT_WHILE);
        AddCode(vcBExit);
        result = MidCode->Codes.size() >= 4;
    } catch (const TException& error) {
        ShowCompileError(error);
        result = false;
    } catch (const TCompileStopped&) {
        mStopped = true;
        result = false;
    }
    if (compatMode) {
        if (mCompatModePreference != 0)
            *compatMode = mCompatModePreference;
        else
            *compatMode = DosBasicSignCount != 0 ? COMPAT_DOS_BASIC : COMPAT_DISK_BASIC;
    }
    return result;
}

void TCompiler::ShowCompileError(const TException& error)
{
    mLastErrorText = error.String();
    if (mAlertSink) mAlertSink->ShowAlert(mLastErrorText);
}

TToken TCompiler::CompileBlock(const TToken& first)
{
    TToken token = first;
    for (;;) {
        // Asked at the first line, then every STOP_CHECK_LINES.
        if (mStopCheck && mLinesCompiled++ % STOP_CHECK_LINES == 0 && mStopCheck()) throw TCompileStopped{};
        // A list too large for the memory limit ends in an error, line by line, before
        // the host runs short. The text being compiled counts, and so do the run's
        // tables of the code, which the run takes from the same budget.
        const size_t held = MidCode->HeldBytes() + mSourceBytes;
        const size_t codes = MidCode->Codes.size();
        if (held > mMemoryLimit || (mRunBytesPerCode != 0 && codes > (mMemoryLimit - held) / mRunBytesPerCode))
            RaiseCompileError(CE_LIST_TOO_LARGE);
        token = CompileLine(token, false);
        if (token.kind == tkEol) continue;  // an empty line follows
        if (token.kind == tkNext || token.kind == tkWend || token.kind == tkEot) return token;
        token = ParseLineNum(token);
    }
}

TToken TCompiler::CompileLine(const TToken& first, bool afterThenElse)
{
    TNestGuard guard(this);
    TToken token = first;
    bool flag = afterThenElse;
    for (;; flag = false) {
        switch (token.kind) {
        case tkProc:
        case tkFuncProc: token = GenProc(token); break;
        case tkInt:
        case tkSingle:
        case tkDouble:
            // Right after THEN or ELSE a number is a jump to that line.
            if (!flag) RaiseCompileError(CE_SYNTAX_ERR);
            [[fallthrough]];
        case tkVar: {
            AddStatementBegin();
            TTokenKind type;
            token = GenExpr(token, true, &type);
            const bool assigned = MidCode->Codes.back().Cmd == vcBAssignArray;
            if (flag) {
                if (!assigned) AddCode(vcBJmp);
            } else if (!assigned) {
                // A statement that only computes a value would leave it on the
                // machine's stack for good.
                RaiseCompileError(CE_SYNTAX_ERR);
            }
            break;
        }
        case tkNot: {
            // NOT A = 1 reads as an assignment to NOT A, which the expression
            // refuses; without "=" it only computes a value.
            AddStatementBegin();
            TTokenKind type;
            GenExpr(token, true, &type);
            RaiseCompileError("@Compile_Err_Syntax_Err@");
        }
        case tkColon: token = Token(); break;
        case tkIf: return GenIf(token);
        case tkElse:
        case tkNext:
        case tkWend:
        case tkEot: return token;
        case tkFor: token = GenFor(token); break;
        case tkWhile: token = GenWhile(token); break;
        case tkMul:
            if (flag) {
                token = GenLabel(token);
                AddCode(vcBJmp);
            } else {
                token = ParseLabel(token);
            }
            break;
        case tkEol: return Token();
        default: RaiseCompileError(CE_SYNTAX_ERR);
        }
    }
}
