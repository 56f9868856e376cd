// FOR v = start TO limit [STEP step], the body, NEXT: a pre-test loop.
//
//   v = start;  jump test
//   increment:  v = v + step            (added in double precision)
//   test:       if not CmpFor(v, limit, step) jump exit
//               body
//               jump increment
//   exit:
//
// The limit and the step have no storage: their codes are cut out where they
// were compiled and emitted again in the increment and test blocks, so they are
// evaluated anew on every pass. A NEXT closes the innermost open FOR, whatever
// names it lists; a NEXT with k names hands a carried NEXT token with k - 1
// still to close outward.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/MidCode.h"

#include <charconv>
#include <string>
#include <vector>

namespace {

// The records from `from` on, taken out of the code vector.
std::vector<TVMCode> CutCodes(TMidCode& mid, int32_t from)
{
    std::vector<TVMCode> cut(mid.Codes.begin() + from, mid.Codes.end());
    mid.Codes.resize(static_cast<std::size_t>(from));
    return cut;
}

// Appends records that were cut out, with the texts they carry.
void AppendCodes(TMidCode& mid, const std::vector<TVMCode>& codes)
{
    mid.Codes.insert(mid.Codes.end(), codes.begin(), codes.end());
}

// Appends deep copies of records that stand elsewhere too: a text operand gets
// a text of its own in the container, so no two records share one text.
void AppendCopies(TMidCode& mid, const std::vector<TVMCode>& codes)
{
    for (TVMCode code : codes) {
        if (VMOperandKind(code.Cmd) == TVMOperandKind::Text && code.Operand.Text)
            code.Operand.Text = mid.KeepText(code.Operand.Text);
        mid.Codes.push_back(code);
    }
}

// The text of a carried NEXT token: loops still to close, and "L" when the
// NEXT statement ended its line.
std::string CarriedNextText(int32_t loops, bool endedLine)
{
    return std::to_string(loops) + (endedLine ? "L" : "");
}

}  // namespace

TToken TCompiler::GenFor(const TToken& /*keyword*/)
{
    const std::string incrementLabel = NextInternalLabel();
    const std::string testLabel = NextInternalLabel();
    const std::string exitLabel = NextInternalLabel();

    // The header's assignment. The loop variable is the reference that the
    // variable parser compiles: its marker and subscripts are repeated
    // wherever the loop reads or writes the variable.
    AddStatementBegin();
    const int32_t referenceStart = NextCodeIndex();
    TToken token = Token();
    if (token.kind != tkVar) RaiseCompileError(CE_SYNTAX_ERR);
    bool lvalue = true;
    bool keepType = false;
    TTokenKind varType = tkUntyped;
    GenVar(&token, &lvalue, &keepType, true, true, &varType);
    if (MidCode->Codes.back().Cmd != vcBPushVar) RaiseCompileError(CE_SYNTAX_ERR);
    TVarInfo* const loopVar = MidCode->Codes.back().Operand.Var;
    const int32_t pushVarIndex = NextCodeIndex() - 1;
    std::vector<TVMCode> reference(MidCode->Codes.begin() + referenceStart, MidCode->Codes.begin() + pushVarIndex);
    if (varType == tkString) RaiseCompileError(CE_TYPE_MISMATCH_CALC);
    if (token.kind != tkEqual) RaiseCompileError(CE_NO_EQUAL);

    const int32_t startIndex = NextCodeIndex();
    TTokenKind startType;
    token = GenExpr(Token(), false, &startType);
    if (NextCodeIndex() == startIndex) RaiseCompileError(CE_MISSING_OPERAND);
    if (SelectVarType(varType, startType, false) == tkTypeMismatch) RaiseCompileError(CE_TYPE_MISMATCH_ASSIGN);
    AddCode(vcBAssignArray);
    if (token.kind != tkTo) RaiseCompileError(CE_FOR_WITHOUT_TO);

    AddStatementBegin();
    AddCode(vcBPushString, testLabel);
    AddCode(vcBJmp);
    RegistInternalLabel(incrementLabel);

    // The limit and the step, cut out where they were compiled. Each must be a
    // number: vcBCmpFor and vcBAddDouble compute in double precision.
    auto cutValue = [this](TToken* current) {
        const int32_t from = NextCodeIndex();
        TTokenKind type;
        StatementEndsValue = true;
        *current = GenExpr(Token(), false, &type);
        StatementEndsValue = false;
        if (NextCodeIndex() == from) RaiseCompileError(CE_MISSING_OPERAND);
        if (type == tkString) RaiseCompileError(CE_TYPE_MISMATCH_CALC);
        return CutCodes(*MidCode, from);
    };
    const std::vector<TVMCode> limit = cutValue(&token);
    std::vector<TVMCode> step;
    if (token.kind == tkStep)
        step = cutValue(&token);
    else
        step.push_back(MakeCode(vcBPushInt, int32_t{1}));

    // The increment block: v = v + step.
    AppendCopies(*MidCode, reference);
    AddCode(vcBPushVar, loopVar);
    AppendCopies(*MidCode, reference);
    AddCode(vcBLoadArray, loopVar);
    AppendCodes(*MidCode, step);
    AddCode(vcBAddDouble);
    AddCode(vcBAssignArray);
    RegistInternalLabel(testLabel);

    // The test block.
    AddCode(vcBPushString, exitLabel);
    AppendCopies(*MidCode, reference);
    AddCode(vcBLoadArray, loopVar);
    AppendCodes(*MidCode, limit);
    AppendCopies(*MidCode, step);
    AddCode(vcBCmpFor);
    AddCode(vcBFJmp);

    token = CompileBlock(token);
    if (token.kind != tkNext) RaiseCompileError(CE_FOR_WITHOUT_NEXT);

    if (token.text == "NEXT") {
        // The NEXT statement: its names are read but leave no code.
        const int32_t listStart = NextCodeIndex();
        int32_t names;
        token = GenMultiExpr(Token(), &names, nullptr);
        MidCode->Codes.resize(static_cast<std::size_t>(listStart));
        if (names > 1) token = TToken(tkNext, CarriedNextText(names - 1, token.kind == tkEol));
    } else {
        // A carried NEXT token from an inner loop closes this one too.
        int32_t loops = 0;
        std::from_chars(token.text.data(), token.text.data() + token.text.size(), loops);
        const bool endedLine = !token.text.empty() && token.text.back() == 'L';
        if (loops > 1)
            token = TToken(tkNext, CarriedNextText(loops - 1, endedLine));
        else
            token = TToken(endedLine ? tkEol : tkColon, token.text);
    }

    AddStatementBegin();
    AddCode(vcBPushString, incrementLabel);
    AddCode(vcBJmp);
    RegistInternalLabel(exitLabel);
    return token;
}
