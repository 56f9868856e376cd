// DEF FN: a user function's body is compiled in place, between a jump around
// it and the label that jump goes to. The function's record, filed under its
// name, holds the body's entry label, the parameters' canonical names and the
// result type; a later definition of the same name replaces the record.
//
//   vcBPushString <skip label>
//   vcBJmp
// <entry label>:
//   body, with vcBLoadUserFuncParam for each parameter
//   vcCint | vcCsng | vcCdbl   (none for a string function)
//   vcBRetFromUserFunc
// <skip label>:

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"
#include "language/MidCode.h"
#include "language/UserFuncInfo.h"
#include "language/VarInfo.h"

using namespace compiler_stmt;

namespace {

// The conversion that gives a body's value the function's type.
TVMCodeCmd ConversionFor(TTokenKind type)
{
    switch (type) {
    case tkInt: return vcCint;
    case tkSingle: return vcCsng;
    case tkDouble: return vcCdbl;
    default: return VM_CODE_PLACEHOLDER;
    }
}

}  // namespace

TToken TCompiler::GenProcUserFuncDef(const TToken& fnName)
{
    const std::string& name = fnName.text;
    MidCode->UserFuncInfoMap.erase(name);
    TUserFuncInfo* info = &MidCode->UserFuncInfoMap[name];

    const std::string skipLabel = NextInternalLabel();
    AddCode(vcBPushString, skipLabel);
    AddCode(vcBJmp);
    info->EntryLabel = NextInternalLabel();
    RegistInternalLabel(info->EntryLabel);
    // The call side takes the same type from the name (GenFuncUserFuncCall).
    info->RetType = DistinctVarType(name);

    TToken token = Token();
    if (token.kind == tkLpar) {
        token = Token();
        for (;;) {
            if (token.kind != tkVar) RaiseCompileError(CE_SYNTAX_ERR);
            info->Params.push_back(FindVarInfo(token.text)->VarName);
            token = Token();
            if (token.kind == tkRpar) {
                token = Token();
                break;
            }
            token = CheckComma(token);
        }
    }
    token = CheckEqual(token);

    EnterUserFuncBody(info);
    const int32_t bodyStart = NextCodeIndex();
    TTokenKind bodyType;
    token = GenExpr(token, false, &bodyType);
    LeaveUserFuncBody();
    // The return takes the body's value from the stack: an empty body has none.
    RequireCodeSince(*this, bodyStart, CE_MISSING_OPERAND);
    CheckNoFurtherValue(*this, token);
    if (SelectVarType(info->RetType, bodyType, false) == tkTypeMismatch) RaiseCompileError(CE_TYPE_MISMATCH_ASSIGN);

    const TVMCodeCmd conversion = ConversionFor(info->RetType);
    if (conversion != VM_CODE_PLACEHOLDER) AddCode(conversion);
    AddCode(vcBRetFromUserFunc);
    RegistInternalLabel(skipLabel);
    return token;
}
