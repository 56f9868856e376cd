// Calls of DEF FN functions. Nothing is bound here: the machine finds the
// definition by the name when the call runs, so a call may come before its DEF FN.

#include "language/Compiler.h"

TToken TCompiler::GenFuncUserFuncCall(const TToken& name, TTokenKind* type)
{
    AddCode(vcBPushSpecial, static_cast<int32_t>(tkComma));  // the argument-list marker
    TToken token = Token();
    if (token.kind == tkLpar) {
        int32_t count;
        token = GenMultiExpr(Token(), &count, nullptr);
        token = CheckRpar(token);
    }
    AddCode(vcBCallUserFunc, name.text);
    *type = DistinctVarType(name.text);
    return token;
}
