// The compiler object: construction, type tables and code emission.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/MidCode.h"

TCompiler::TCompiler(TMidCode* midCode, TAlertSink* alertSink, int32_t compatModePreference)
    : MidCode(midCode), mAlertSink(alertSink), mCompatModePreference(compatModePreference)
{
    // Build the shared generator tables now, so that a faulty row shows at once.
    FuncTable();
    ProcTable();
    InitDefVarTypeTable();
    InitSelVarTypeTable();
    InitSufVarTypeTable();
}

TCompiler::~TCompiler() = default;

TCompiler::TNestGuard::TNestGuard(TCompiler* compiler) : mCompiler(compiler)
{
    if (++mCompiler->mNestDepth > MAX_NEST_DEPTH) {
        --mCompiler->mNestDepth;
        mCompiler->RaiseCompileError(CE_SYNTAX_ERR);
    }
}

TCompiler::TNestGuard::~TNestGuard()
{
    --mCompiler->mNestDepth;
}

bool TCompiler::AddCode(TVMCodeCmd code)
{
    MidCode->Codes.push_back(MakeCode(code));
    return true;
}

bool TCompiler::AddCode(TVMCodeCmd code, int32_t value)
{
    MidCode->Codes.push_back(MakeCode(code, value));
    return true;
}

bool TCompiler::AddCode(TVMCodeCmd code, float value)
{
    MidCode->Codes.push_back(MakeCode(code, value));
    return true;
}

bool TCompiler::AddCode(TVMCodeCmd code, double value)
{
    MidCode->Codes.push_back(MakeCode(code, value));
    return true;
}

bool TCompiler::AddCode(TVMCodeCmd code, bool value)
{
    MidCode->Codes.push_back(MakeCode(code, value));
    return true;
}

bool TCompiler::AddCode(TVMCodeCmd code, const std::string& text)
{
    MidCode->Codes.push_back(MakeCode(code, MidCode->KeepText(text)));
    return true;
}

bool TCompiler::AddCode(TVMCodeCmd code, TVarInfo* var)
{
    MidCode->Codes.push_back(MakeCode(code, var));
    return true;
}

void TCompiler::AddStatementBegin()
{
    MidCode->StatementBeginSet.insert(NextCodeIndex());
}

int32_t TCompiler::NextCodeIndex() const
{
    return static_cast<int32_t>(MidCode->Codes.size());
}

TVMCodeCmd TCompiler::AddOffsetToCode(TVMCodeCmd base, TTokenKind type)
{
    const uint32_t offset = type == tkUntyped ? 0u : static_cast<uint32_t>(type - tkInt);
    return static_cast<TVMCodeCmd>(base + offset);
}

void TCompiler::AddVarRefMarker()
{
    AddCode(vcBPushSpecial, static_cast<int32_t>(VAR_REF_MARKER));
}
