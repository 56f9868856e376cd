// OPEN, CLOSE and FILES.
//
//   OPEN name$ [FOR INPUT|OUTPUT|APPEND] AS n   name, number, vcOpen mode
//   CLOSE [n [, n] ...]                          numbers, vcClose count
//   FILES [drive]                                drive, vcFiles given

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"
#include "language/OpenModes.h"

using namespace compiler_stmt;

namespace {

constexpr int32_t kMaxFileNumbers = 15;

}  // namespace

TToken TCompiler::GenProcOpen(const TToken& /*keyword*/)
{
    TTokenKind type;
    TToken token = GenExpr(Token(), false, &type);
    if (type != tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);

    int32_t mode = open_mode::NoFor;
    if (IsWord(token, "FOR")) {
        token = Token();
        if (IsWord(token, "INPUT"))
            mode = open_mode::ForInput;
        else if (IsWord(token, "OUTPUT"))
            mode = open_mode::ForOutput;
        else if (IsWord(token, "APPEND"))
            mode = open_mode::ForAppend;
        else
            RaiseCompileError(CE_SYNTAX_ERR);
        token = Token();
    }
    if (!IsWord(token, "AS")) RaiseCompileError(CE_SYNTAX_ERR);

    const int32_t start = NextCodeIndex();
    token = GenExpr(Token(), false, &type);
    RequireCodeSince(*this, start, CE_MISSING_OPERAND);
    if (type == tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
    if (!IsMultiExprEndToken(token)) RaiseCompileError(CE_SYNTAX_ERR);
    AddCode(vcOpen, mode);
    return token;
}

TToken TCompiler::GenProcClose(const TToken& keyword)
{
    const TOperandSpec pattern(kMaxFileNumbers, {tkInt, true});
    std::vector<TToken> numbers;
    // The maximum never bites: a sixteenth number finds no entry left.
    const TToken rest = GenProcDealToken(keyword, 0, 500, pattern, &numbers);
    AddCode(vcClose, static_cast<int32_t>(numbers.size()));
    return rest;
}

TToken TCompiler::GenProcFiles(const TToken& keyword)
{
    std::vector<TToken> drive;
    const TToken rest = GenProcDealToken(keyword, 0, 1, {{tkInt, true}}, &drive);
    AddCode(vcFiles, !drive.empty());
    return rest;
}
