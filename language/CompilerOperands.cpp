// The operand-list parser: a generator describes the pattern of its operands
// (value entries, "(", ")", "-", STEP, each perhaps optional) and DealToken
// compiles the operands in source order against it.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"

namespace {

bool IsValueType(TTokenKind kind)
{
    return IsStorableType(kind);
}

}  // namespace

bool TCompiler::CheckArg(const TOperandSpec& pattern, int32_t* position, TTokenKind kind) const
{
    const auto size = static_cast<int32_t>(pattern.size());
    for (;;) {
        if (*position < 0 || *position >= size) return false;
        const auto& [entryKind, optional] = pattern[static_cast<std::size_t>(*position)];
        bool matches;
        if (IsValueType(entryKind))
            matches = IsValueType(kind) && SelVarTypeTable[entryKind][kind] != tkTypeMismatch;
        else
            matches = entryKind == kind || (entryKind == tkAnyType && IsValueType(kind));
        if (matches) return true;
        if (!optional) return false;
        ++*position;
        if (*position >= size) return false;
    }
}

TToken TCompiler::DealToken(const TToken& first, int32_t min, int32_t max, const TOperandSpec& pattern,
                            std::vector<TToken>* tokens)
{
    if (tokens->capacity() < 32) tokens->reserve(32);
    const auto size = static_cast<int32_t>(pattern.size());
    int32_t position = 0;
    int32_t depth = 0;
    bool afterSeparator = true;
    TToken token = first;
    const TToken omitted(tkOmitted, std::string());

    while (!IsMultiExprEndToken(token)) {
        if (position >= size) {
            // The pattern is used up; what the token is decides the error. A
            // separator after the last operand is consumed (BEEP 1,), one that
            // would leave an empty operand is one too many; ")" and STEP that fit
            // nothing are syntax errors, like everywhere else in the list.
            if ((token.kind == tkComma || token.kind == tkSemiColon) && !afterSeparator) {
                token = Token();
                afterSeparator = true;
                continue;
            }
            if (token.kind == tkRpar || token.kind == tkStep) RaiseCompileError(CE_SYNTAX_ERR);
            RaiseCompileError(CE_TOO_MANY_OPERAND);
        }

        const auto& [entryKind, optional] = pattern[static_cast<std::size_t>(position)];
        if (optional && entryKind == tkLpar && token.kind != tkLpar) {
            // The whole optional group is absent: skip it up to its ")".
            tokens->push_back(omitted);
            while (position < size && pattern[static_cast<std::size_t>(position)].first != tkRpar) ++position;
            if (position < size) ++position;
            AddCode(vcBPushAbbrev);
            continue;
        }
        if (optional && entryKind == tkStep && token.kind != tkStep) {
            tokens->push_back(omitted);
            ++position;
            continue;
        }

        bool take = false;
        switch (token.kind) {
        case tkRpar:
            if (!CheckArg(pattern, &position, tkRpar)) RaiseCompileError(CE_SYNTAX_ERR);
            --depth;
            take = true;
            break;
        case tkComma:
        case tkSemiColon:
            if (afterSeparator) {
                // The operand before this separator is empty.
                if (!optional) RaiseCompileError(CE_MISSING_OPERAND);
                tokens->push_back(omitted);
                AddCode(vcBPushAbbrev);
                ++position;
            }
            token = Token();
            afterSeparator = true;
            break;
        case tkStep:
            if (!CheckArg(pattern, &position, tkStep)) RaiseCompileError(CE_SYNTAX_ERR);
            take = true;
            break;
        default:
            if (token.kind == tkLpar && entryKind == tkLpar) {
                ++depth;
                take = true;
            } else if (token.kind == tkMinus && entryKind == tkMinus) {
                take = true;
            } else {
                // A value operand.
                tokens->push_back(token);
                const int32_t before = NextCodeIndex();
                TTokenKind type;
                token = GenExpr(token, false, &type);
                // A token that neither begins an operand nor ends the list.
                if (NextCodeIndex() == before) RaiseCompileError(CE_SYNTAX_ERR);
                if (!CheckArg(pattern, &position, type)) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
                ++position;
                afterSeparator = false;
            }
            break;
        }
        if (take) {
            afterSeparator = false;
            ++position;
            tokens->push_back(token);
            token = Token();
        }
        if (depth < 0) break;
    }

    if (position < min) RaiseCompileError(CE_MISSING_OPERAND);
    if (position > max) RaiseCompileError(CE_TOO_MANY_OPERAND);
    return token;
}

TToken TCompiler::GenFuncDealToken(const TToken& /*keyword*/, int32_t min, int32_t max, TOperandSpec* pattern,
                                   std::vector<TToken>* tokens)
{
    pattern->emplace_back(tkRpar, false);
    const TToken first = CheckLpar(Token());
    const TToken rest = DealToken(first, min + 1, max + 1, *pattern, tokens);
    if (tokens->empty() || tokens->back().kind != tkRpar) RaiseCompileError(CE_NO_RPAR);
    tokens->pop_back();
    return rest;
}
