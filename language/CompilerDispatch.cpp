// Dispatch of statement and function keywords to their generators through the
// generator tables. A keyword whose code has no generator is a syntax error;
// no empty entry is ever called.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/MidCode.h"

TVMCodeCmd TCompiler::KeywordCode(const std::string& text) const
{
    const auto found = MidCode->FuncProcMap.find(text);
    return found == MidCode->FuncProcMap.end() ? VM_CODE_PLACEHOLDER : found->second;
}

TToken TCompiler::GenProc(const TToken& keyword)
{
    AddStatementBegin();
    return ProcTable().Call(KeywordCode(keyword.text), this, keyword);
}

TToken TCompiler::GenFunc(const TToken& keyword, TTokenKind* type)
{
    return FuncTable().Call(KeywordCode(keyword.text), this, keyword, type);
}

TToken TCompiler::GenProcUnknown(const TToken& /*keyword*/)
{
    RaiseCompileError(CE_SYNTAX_ERR);
}

TToken TCompiler::GenFuncUnknown(const TToken& /*keyword*/, TTokenKind* /*type*/)
{
    RaiseCompileError(CE_SYNTAX_ERR);
}
