// Expressions: sixteen precedence levels that compile postfix code and gather
// one value type per type group, from which every operator picks its typed code.
//
// Every operand position must compile something: an operator whose operand is
// missing would make the machine take a value that was never pushed, so it is a
// compile error here.

#include "foundation/DecimalText.h"
#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/MidCode.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <string>

namespace {

// A decimal number text (digits and periods, then perhaps a suffix) as a
// double, as strtod reads it in the "C" locale: a second period or the suffix
// ends the number. Too many digits for a double give infinity.
double ParseDecimalText(const std::string& text)
{
    std::size_t end = 0;
    bool seenPeriod = false;
    while (end < text.size()) {
        const char c = text[end];
        if (c == '.' && !seenPeriod)
            seenPeriod = true;
        else if (c < '0' || c > '9')
            break;
        ++end;
    }
    if (end == 0 || (end == 1 && text[0] == '.')) return 0.0;
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + end, value, std::chars_format::fixed);
    if (result.ec == std::errc::result_out_of_range) {
        // Only digits without an exponent: out of range means too large, or too small.
        const bool nonZeroBeforePeriod = text.find_first_of("123456789") < text.find('.');
        return nonZeroBeforePeriod ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

// A double rounded to single precision; beyond the single range it becomes an
// infinity rather than an undefined conversion.
float ToSingle(double value)
{
    if (value > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

}  // namespace

TTokenKind TCompiler::SelectVarType(TTokenKind gathered, TTokenKind operand, bool keep) const
{
    if (keep) return operand;
    if (gathered < tkUntyped || gathered > tkString || operand < tkUntyped || operand > tkString) return tkTypeMismatch;
    return SelVarTypeTable[gathered][operand];
}

void TCompiler::InitSelVarTypeTable()
{
    for (int a = tkUntyped; a <= tkString; ++a) {
        for (int b = tkUntyped; b <= tkString; ++b) {
            TTokenKind result;
            if (a == b)
                result = static_cast<TTokenKind>(a);
            else if (a == tkUntyped)
                result = static_cast<TTokenKind>(b);
            else if (b == tkUntyped)
                result = static_cast<TTokenKind>(a);
            else if (a == tkString || b == tkString)
                result = tkTypeMismatch;
            else
                result = static_cast<TTokenKind>(a > b ? a : b);  // the wider numeric type
            SelVarTypeTable[a][b] = result;
        }
    }
}

TToken TCompiler::GenExpr(const TToken& first, bool statementMode, TTokenKind* type)
{
    TNestGuard guard(this);
    TToken token = first;
    *type = tkUntyped;
    bool lvalue = true;
    GenExpr16(&token, &lvalue, statementMode, type);
    return token;
}

TToken TCompiler::GenMultiExpr(const TToken& first, int32_t* count, TTokenKind* separator)
{
    TToken token = first;
    *count = 0;
    TTokenKind last = tkComma;  // as if a separator stood before the first entry
    for (;;) {
        if (IsMultiExprEndToken(token) || token.kind == tkRpar || token.kind == tkRbracket) break;
        if (token.kind == tkComma || token.kind == tkSemiColon) {
            if (last != tkNone) {
                AddCode(vcBPushAbbrev);
                ++*count;
            }
            last = token.kind;
            token = Token();
            continue;
        }
        last = tkNone;
        TTokenKind type;
        const int32_t before = NextCodeIndex();
        token = GenExpr(token, false, &type);
        // A token that can neither begin an entry nor end the list.
        if (NextCodeIndex() == before) RaiseCompileError(CE_SYNTAX_ERR);
        ++*count;
    }
    if (separator) *separator = last;
    return token;
}

void TCompiler::GenExpr16(TToken* token, bool* lvalue, bool statement, TTokenKind* gathered)
{
    const int32_t start = NextCodeIndex();
    GenExpr15(token, lvalue, statement, gathered);
    if (token->kind != tkEqual || !statement) return;
    if (NextCodeIndex() == start)  // "=" with nothing to assign to
        RaiseCompileError(CE_SYNTAX_ERR);
    if (!*lvalue) RaiseCompileError(CE_ASSIGN_UNLVALUE);

    TTokenKind valueType;
    const int32_t valueStart = NextCodeIndex();
    *token = GenExpr(Token(), false, &valueType);
    if (NextCodeIndex() == valueStart) RaiseCompileError(CE_MISSING_OPERAND);
    *gathered = SelectVarType(*gathered, valueType, false);
    if (*gathered == tkTypeMismatch) RaiseCompileError(CE_TYPE_MISMATCH_ASSIGN);
    AddCode(vcBAssignArray);
    *lvalue = false;
}

void TCompiler::GenBinaryLevel(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered,
                               TLevelKind kind, const TOperatorRow* rows, std::size_t rowCount, TExprLevel operand)
{
    const int32_t start = NextCodeIndex();
    (this->*operand)(token, lvalue, keepType, statement, gathered);
    for (;;) {
        const TOperatorRow* row = nullptr;
        for (std::size_t i = 0; i < rowCount; ++i)
            if (rows[i].token == token->kind) row = &rows[i];
        if (!row) return;
        // In statement mode "=" after a lone variable is left to the assignment level.
        if (kind == TLevelKind::Relational && row->token == tkEqual && *lvalue && statement) return;
        // An operator with nothing before it.
        if (NextCodeIndex() == start) RaiseCompileError(CE_SYNTAX_ERR);
        // A string on the left of a logical operator is refused as on its right.
        if (kind == TLevelKind::Logical && *gathered == tkString) RaiseCompileError(row->stringErrorKey);

        *token = Token();
        if (kind == TLevelKind::Logical) *keepType = true;  // the right side starts a type group of its own
        const int32_t rightStart = NextCodeIndex();
        (this->*operand)(token, lvalue, keepType, statement, gathered);
        if (NextCodeIndex() == rightStart) RaiseCompileError(CE_MISSING_OPERAND);
        if (row->stringErrorKey && *gathered == tkString) RaiseCompileError(row->stringErrorKey);
        if (row->atLeastSingle) *gathered = SelectVarType(*gathered, tkSingle, false);
        AddCode(AddOffsetToCode(row->group, *gathered));
        if (kind == TLevelKind::Relational) *gathered = tkInt;
        *lvalue = false;
    }
}

void TCompiler::GenExpr15(TToken* token, bool* lvalue, bool statement, TTokenKind* gathered)
{
    bool keepType = false;
    static const TOperatorRow rows[] = {{tkEqv, vcBEqvInt, CE_CANNOT_LOGIC_STRING, false}};
    GenBinaryLevel(token, lvalue, &keepType, statement, gathered, TLevelKind::Logical, rows, &TCompiler::GenExpr14);
}

void TCompiler::GenExpr14(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    static const TOperatorRow rows[] = {{tkImp, vcBImpInt, CE_CANNOT_LOGIC_STRING, false}};
    GenBinaryLevel(token, lvalue, keepType, statement, gathered, TLevelKind::Logical, rows, &TCompiler::GenExpr13);
}

void TCompiler::GenExpr13(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    static const TOperatorRow rows[] = {{tkXor, vcBXorInt, CE_CANNOT_LOGIC_STRING, false}};
    GenBinaryLevel(token, lvalue, keepType, statement, gathered, TLevelKind::Logical, rows, &TCompiler::GenExpr12);
}

void TCompiler::GenExpr12(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    static const TOperatorRow rows[] = {{tkOr, vcBOrInt, CE_CANNOT_LOGIC_STRING, false}};
    GenBinaryLevel(token, lvalue, keepType, statement, gathered, TLevelKind::Logical, rows, &TCompiler::GenExpr11);
}

void TCompiler::GenExpr11(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    static const TOperatorRow rows[] = {{tkAnd, vcBAndInt, CE_CANNOT_LOGIC_STRING, false}};
    GenBinaryLevel(token, lvalue, keepType, statement, gathered, TLevelKind::Logical, rows, &TCompiler::GenExpr10);
}

void TCompiler::GenExpr10(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    GenExprNot(token, lvalue, keepType, statement, gathered, &TCompiler::GenExpr10, &TCompiler::GenExpr9);
}

void TCompiler::GenExpr9(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    static const TOperatorRow rows[] = {
        {tkEqual, vcBEqualInt, nullptr, false}, {tkNoteq, vcBNoteqInt, nullptr, false},
        {tkLt, vcBLtInt, nullptr, false},       {tkLe, vcBLeInt, nullptr, false},
        {tkGt, vcBGtInt, nullptr, false},       {tkGe, vcBGeInt, nullptr, false},
    };
    GenBinaryLevel(token, lvalue, keepType, statement, gathered, TLevelKind::Relational, rows, &TCompiler::GenExpr8);
}

void TCompiler::GenExpr8(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    static const TOperatorRow rows[] = {
        {tkPlus, vcBAddInt, nullptr, false},
        {tkMinus, vcBSubInt, CE_CANNOT_SUB_STRING, false},
    };
    GenBinaryLevel(token, lvalue, keepType, statement, gathered, TLevelKind::Arithmetic, rows, &TCompiler::GenExpr7);
}

void TCompiler::GenExpr7(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    static const TOperatorRow rows[] = {{tkMod, vcBModInt, CE_CANNOT_MUL_DIV_STRING, false}};
    GenBinaryLevel(token, lvalue, keepType, statement, gathered, TLevelKind::Arithmetic, rows, &TCompiler::GenExpr6);
}

void TCompiler::GenExpr6(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    static const TOperatorRow rows[] = {{tkIdiv, vcBIdivInt, CE_CANNOT_MUL_DIV_STRING, false}};
    GenBinaryLevel(token, lvalue, keepType, statement, gathered, TLevelKind::Arithmetic, rows, &TCompiler::GenExpr5);
}

void TCompiler::GenExpr5(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    static const TOperatorRow rows[] = {
        {tkMul, vcBMulInt, CE_CANNOT_MUL_DIV_STRING, false},
        {tkDiv, vcBDivInt, CE_CANNOT_MUL_DIV_STRING, true},
    };
    GenBinaryLevel(token, lvalue, keepType, statement, gathered, TLevelKind::Arithmetic, rows, &TCompiler::GenExpr4);
}

// Unary + and -: a sign binds looser than "^" and tighter than "*" and "/".
void TCompiler::GenExpr4(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    if (token->kind == tkPlus || token->kind == tkMinus)
        GenExprSign(token, lvalue, keepType, statement, gathered, &TCompiler::GenExpr4);
    else
        GenExpr3(token, lvalue, keepType, statement, gathered);
}

void TCompiler::GenExpr3(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    static const TOperatorRow rows[] = {{tkHat, vcBPowInt, CE_CANNOT_HAT_STRING, true}};
    GenBinaryLevel(token, lvalue, keepType, statement, gathered, TLevelKind::Arithmetic, rows,
                   &TCompiler::GenExprPowOperand);
}

// An operand of "^": a primary or a NOT expression, which may carry a sign, so
// that 2 ^ -1 is two to the power minus one.
void TCompiler::GenExprPowOperand(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    if (token->kind == tkPlus || token->kind == tkMinus)
        GenExprSign(token, lvalue, keepType, statement, gathered, &TCompiler::GenExprPowOperand);
    else
        GenExprNot(token, lvalue, keepType, statement, gathered, &TCompiler::GenExpr10, &TCompiler::GenExpr2);
}

// A sign and its operand, compiled by `operand`; "+" emits nothing.
void TCompiler::GenExprSign(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered,
                            TExprLevel operand)
{
    TNestGuard guard(this);
    const bool negate = token->kind == tkMinus;
    *token = Token();
    const int32_t start = NextCodeIndex();
    (this->*operand)(token, lvalue, keepType, statement, gathered);
    if (NextCodeIndex() == start) RaiseCompileError(CE_MISSING_OPERAND);
    if (negate) {
        if (*gathered == tkString) RaiseCompileError(CE_CANNOT_NEGA_STRING);
        AddCode(AddOffsetToCode(vcBNegaInt, *gathered));
    }
    *lvalue = false;
}

void TCompiler::GenExprNot(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered,
                           TExprLevel operand, TExprLevel fallback)
{
    if (token->kind != tkNot) {
        (this->*fallback)(token, lvalue, keepType, statement, gathered);
        return;
    }
    TNestGuard guard(this);
    *token = Token();
    const int32_t start = NextCodeIndex();
    (this->*operand)(token, lvalue, keepType, statement, gathered);
    if (NextCodeIndex() == start) RaiseCompileError(CE_MISSING_OPERAND);
    if (*gathered == tkString) RaiseCompileError(CE_CANNOT_LOGIC_STRING);
    AddCode(AddOffsetToCode(vcBNotInt, *gathered));
    *lvalue = false;
}

void TCompiler::GenExpr2(TToken* token, bool* lvalue, bool* keepType, bool statement, TTokenKind* gathered)
{
    bool wasVariable = false;
    switch (token->kind) {
    case tkLpar:
        if (*keepType) *gathered = tkUntyped;
        GenExpr1(token, lvalue, statement, gathered);
        break;
    case tkFunc:
    case tkFuncProc: {
        TTokenKind type = tkUntyped;
        *token = GenFunc(*token, &type);
        *gathered = SelectVarType(*gathered, type, *keepType);
        break;
    }
    case tkUserFunc: {
        TTokenKind type = tkUntyped;
        *token = GenFuncUserFuncCall(*token, &type);
        *gathered = SelectVarType(*gathered, type, *keepType);
        break;
    }
    case tkVar:
        GenVar(token, lvalue, keepType, statement, false, gathered);
        wasVariable = true;
        break;
    case tkInt:
    case tkFileNum: {
        const int32_t value = leading_decimal_integer(token->text);
        *token = Token();
        *gathered = SelectVarType(*gathered, tkInt, *keepType);
        AddCode(vcBPushInt, value);
        break;
    }
    case tkSingle: {
        const float value = ToSingle(ParseDecimalText(token->text));
        *token = Token();
        *gathered = SelectVarType(*gathered, tkSingle, *keepType);
        AddCode(vcBPushFloat, value);
        break;
    }
    case tkDouble: {
        const double value = ParseDecimalText(token->text);
        *token = Token();
        *gathered = SelectVarType(*gathered, tkDouble, *keepType);
        AddCode(vcBPushDouble, value);
        break;
    }
    case tkString: {
        const std::string text = token->text;
        *token = Token();
        *gathered = SelectVarType(*gathered, tkString, *keepType);
        AddCode(vcBPushString, text);
        break;
    }
    case tkProc:
        // GOTO and GOSUB end an expression (IF A GOTO 100, ON N GOSUB 100).
        if (IsGotoOrGosub(*token)) return;
        RaiseCompileError(CE_SYNTAX_ERR);
    default:
        // Not an operand: nothing is compiled and the caller decides.
        return;
    }

    if (*gathered == tkTypeMismatch) RaiseCompileError(CE_TYPE_MISMATCH_CALC);
    *keepType = false;
    if (!wasVariable) *lvalue = false;
    if (token->kind == tkProc && !IsGotoOrGosub(*token) && !StatementEndsValue) RaiseCompileError(CE_SYNTAX_ERR);
}

void TCompiler::GenExpr1(TToken* token, bool* /*lvalue*/, bool /*statement*/, TTokenKind* gathered)
{
    if (token->kind != tkLpar) return;
    TTokenKind inner;
    const int32_t innerStart = NextCodeIndex();
    *token = GenExpr(Token(), false, &inner);
    if (token->kind != tkRpar) RaiseCompileError(CE_NO_RPAR);
    if (NextCodeIndex() == innerStart)  // "()" holds no value
        RaiseCompileError(CE_MISSING_OPERAND);
    *gathered = SelectVarType(*gathered, inner, false);
    *token = Token();
}

bool TCompiler::IsGotoOrGosub(const TToken& token) const
{
    const TVMCodeCmd code = KeywordCode(token.text);
    return code == vcGoto || code == vcGosub;
}
