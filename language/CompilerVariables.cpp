// Variables: the type rule, canonical names and records, references, variable
// lists and the default types of initial letters (DEFINT and its siblings).

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/MidCode.h"

#include <algorithm>

namespace {

bool IsTypeSuffix(char c)
{
    return c == '%' || c == '!' || c == '#' || c == '$';
}

char SuffixOf(TTokenKind type)
{
    switch (type) {
    case tkInt: return '%';
    case tkDouble: return '#';
    case tkString: return '$';
    default: return '!';
    }
}

}  // namespace

void TCompiler::InitDefVarTypeTable()
{
    DefVarTypeTable.fill(tkNone);
    for (char c = 'A'; c <= 'Z'; ++c) DefVarTypeTable[static_cast<unsigned char>(c)] = tkSingle;
}

void TCompiler::InitSufVarTypeTable()
{
    SufVarTypeTable.fill(tkNone);
    SufVarTypeTable['%'] = tkInt;
    SufVarTypeTable['!'] = tkSingle;
    SufVarTypeTable['#'] = tkDouble;
    SufVarTypeTable['$'] = tkString;
}

TTokenKind TCompiler::DistinctVarType(const std::string& text) const
{
    // Texts that reach no entry of the tables (empty, or beginning with "_" or
    // punctuation) are single precision.
    if (text.empty()) return tkSingle;
    const char last = text.back();
    if (IsTypeSuffix(last)) return SufVarTypeTable[static_cast<unsigned char>(last)];
    const char first = text.front();
    if ((first >= '0' && first <= '9') || first == '.') return text.find('.') != std::string::npos ? tkSingle : tkInt;
    if (first >= 'A' && first <= 'Z') return DefVarTypeTable[static_cast<unsigned char>(first)];
    return tkSingle;
}

TVarInfo* TCompiler::FindVarInfo(const std::string& name)
{
    auto found = MidCode->VarInfoMap.find(name);
    if (found != MidCode->VarInfoMap.end()) return &found->second;

    std::string canonical = name;
    if (canonical.empty() || !IsTypeSuffix(canonical.back())) canonical.push_back(SuffixOf(DistinctVarType(name)));

    auto [entry, made] = MidCode->VarInfoMap.try_emplace(canonical);
    if (made) {
        entry->second.VarName = canonical;
        entry->second.CreateDefaultNonArray(DistinctVarType(canonical));
    }
    MidCode->TokenKindMap.try_emplace(canonical, tkVar);
    return &entry->second;
}

void TCompiler::GenVar(TToken* token, bool* lvalue, bool* keepType, bool statement, bool referenceWanted,
                       TTokenKind* gathered)
{
    if (token->kind != tkVar) RaiseCompileError(CE_SYNTAX_ERR);
    TVarInfo* var = FindVarInfo(token->text);
    *token = Token();

    // Inside a DEF FN body a parameter is read from the call's arguments.
    if (InUserFuncDef && CurUserFuncInfo) {
        const auto& params = CurUserFuncInfo->Params;
        const auto param = std::find(params.begin(), params.end(), var->VarName);
        if (param != params.end()) {
            AddCode(vcBLoadUserFuncParam, static_cast<int32_t>(param - params.begin()));
            *gathered = SelectVarType(*gathered, var->VarType, *keepType);
            return;
        }
    }

    AddVarRefMarker();
    if (token->kind == tkLpar || token->kind == tkLbracket) {
        int32_t count;
        *token = GenMultiExpr(Token(), &count, nullptr);
        if (token->kind != tkRpar && token->kind != tkRbracket) RaiseCompileError(CE_NO_RPAR);
        *token = Token();
    }
    if (referenceWanted || (token->kind == tkEqual && *lvalue && statement))
        AddCode(vcBPushVar, var);
    else
        AddCode(vcBLoadArray, var);
    *gathered = SelectVarType(*gathered, var->VarType, *keepType);
}

void TCompiler::GenMultiVar(TToken* token, int32_t* count)
{
    *count = 0;
    bool keepType = false;
    for (;;) {
        if (IsMultiExprEndToken(*token) || token->kind == tkRpar) return;
        if (token->kind != tkVar) RaiseCompileError(CE_SYNTAX_ERR);
        bool lvalue = true;
        TTokenKind type = tkUntyped;
        GenVar(token, &lvalue, &keepType, true, true, &type);
        if (token->kind == tkComma) *token = Token();  // the comma is optional: READ A B reads two
        ++*count;
    }
}

TToken TCompiler::SetDefVarType(TTokenKind type)
{
    // The first character of a letter token, which must be a letter A to Z.
    auto letterOf = [this](const TToken& token) {
        if (token.kind != tkVar || token.text.empty() || token.text[0] < 'A' || token.text[0] > 'Z')
            RaiseCompileError(CE_ILL_DEF_VAR_TYPE);
        return token.text[0];
    };
    for (;;) {
        TToken token = Token();
        const char first = letterOf(token);
        char last = first;
        token = Token();
        if (token.kind == tkMinus) {
            last = letterOf(Token());
            token = Token();
        }
        for (char c = first; c <= last; ++c) DefVarTypeTable[static_cast<unsigned char>(c)] = type;
        if (token.kind != tkComma) return token;
    }
}
