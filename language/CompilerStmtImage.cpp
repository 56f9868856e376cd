// GET@ and PUT@ (and GET and PUT followed by "("): graphics images in numeric
// arrays. GET and PUT in their file forms (GET #n, ...) compile to nothing.
//
//   GET@ (x1, y1) - [STEP] (x2, y2), array
//       x1, y1, x2, y2, the array reference, vcGetAt (STEP flag)
//   PUT@ (x, y), array | KANJI(code) [, [mode] [, [colour1] [, colour2]]]
//       x, y, the array reference or the code, the mode (vcBPushInt) and the
//       colours as far as written, vcPutAtProc1 | vcPutAtProc2 (their count)

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtPoint.h"
#include "language/CompilerStmtSupport.h"

using namespace compiler_stmt;

namespace {

// The drawing modes of PUT@; an empty mode position is XOR.
struct TPutMode {
    const char* word;
    int32_t mode;
};
// clang-format off
constexpr TPutMode kPutModes[] = {
    {"PSET", 0},
    {"PRESET", 1},
    {"OR", 2},
    {"AND", 3},
    {"XOR", 4},
};
// clang-format on
constexpr int32_t kEmptyPutMode = 4;

// The array that GET@ fills or PUT@ draws: a reference to a numeric variable.
TToken GenImageArray(TCompiler& compiler, const TToken& first)
{
    TToken token = first;
    bool lvalue = true;
    bool keepType = false;
    TTokenKind type = tkUntyped;
    compiler.GenVar(&token, &lvalue, &keepType, true, true, &type);
    if (type == tkString) compiler.RaiseCompileError(CE_TYPE_MISMATCH_ARG);
    return token;
}

}  // namespace

TToken TCompiler::GenProcGet(const TToken& /*keyword*/)
{
    const TToken token = Token();
    if (token.kind == tkLpar) return GenProcGetAtKernel(Token());
    return GenProcGetKernel(token);
}

TToken TCompiler::GenProcGetAt(const TToken& /*keyword*/)
{
    return GenProcGetAtKernel(CheckLpar(Token()));
}

TToken TCompiler::GenProcPut(const TToken& /*keyword*/)
{
    const TToken token = Token();
    if (token.kind == tkLpar) return GenProcPutAtKernel(Token());
    return GenProcPutKernel(token);
}

TToken TCompiler::GenProcPutAt(const TToken& /*keyword*/)
{
    return GenProcPutAtKernel(CheckLpar(Token()));
}

TToken TCompiler::GenProcGetKernel(const TToken& first)
{
    return SkipMultiExpr(first);
}

TToken TCompiler::GenProcPutKernel(const TToken& first)
{
    return SkipMultiExpr(first);
}

TToken TCompiler::GenProcGetAtKernel(const TToken& first)
{
    TToken token = GenCoordinatePair(*this, first);
    token = CheckMinus(token);
    bool step = false;
    token = OpenPoint(*this, token, &step);
    token = GenCoordinatePair(*this, token);
    token = GenImageArray(*this, CheckComma(token));
    AddCode(vcGetAt, step);
    return token;
}

TToken TCompiler::GenProcPutAtKernel(const TToken& first)
{
    TToken token = CheckComma(GenCoordinatePair(*this, first));

    TVMCodeCmd record = vcPutAtProc1;
    if (IsWord(token, "KANJI")) {
        record = vcPutAtProc2;
        const int32_t start = NextCodeIndex();
        TTokenKind type;
        token = GenExpr(CheckLpar(Token()), false, &type);
        RequireCodeSince(*this, start, CE_MISSING_OPERAND);
        if (type == tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
        token = CheckRpar(token);
    } else {
        token = GenImageArray(*this, token);
    }

    int32_t count = 0;
    // Each step returns at the statement's end.
    auto readOptions = [&] {
        if (IsMultiExprEndToken(token)) return;
        token = CheckOptionComma(*this, token);
        int32_t mode = kEmptyPutMode;
        if (!IsExprEndToken(token)) {
            const TPutMode* found = nullptr;
            for (const TPutMode& row : kPutModes)
                if (IsWord(token, row.word)) found = &row;
            if (found == nullptr) RaiseCompileError(CE_SYNTAX_ERR);
            mode = found->mode;
            token = Token();
        }
        AddCode(vcBPushInt, mode);
        count = 1;
        if (IsMultiExprEndToken(token)) return;

        // Only a comma leads to the colours: a value right after the mode
        // would otherwise be dropped unseen.
        if (token.kind != tkComma) RaiseCompileError(CE_SYNTAX_ERR);
        int32_t colours;
        token = GenCountedValues(*this, Token(), 0, 2, &colours);
        count = colours + 1;
    };
    readOptions();
    AddCode(record, count);
    return token;
}
