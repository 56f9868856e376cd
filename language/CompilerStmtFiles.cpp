// OPEN, CLOSE and FILES.
//
//   OPEN name$ [FOR INPUT|OUTPUT|APPEND] AS n   name, number, vcOpen mode
//   CLOSE [n [, n] ...]                          numbers, vcClose count
//   FILES [drive]                                drive, vcFiles given

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
    if (type != tkString)
        RaiseCompileError("@Compile_Err_Type_Mismatch_Arg@");

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
            RaiseCompileError("@Compile_Err_Syntax_Err@");
        token = Token();
    }
    if (!IsWord(token, "AS"))
        RaiseCompileError("@Compile_Err_Syntax_Err@");

    const int32_t start = NextCodeIndex();
    token = GenExpr(Token(), false, &type);
    RequireCodeSince(*this, start, "@Compile_Err_Missing_Operand@");
    if (type == tkString)
        RaiseCompileError("@Compile_Err_Type_Mismatch_Arg@");
    if (!IsMultiExprEndToken(token))
        RaiseCompileError("@Compile_Err_Syntax_Err@");
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
