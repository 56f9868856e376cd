// Event traps: ON event GOSUB stores a trap's target (and the event's
// parameters) in the machine; the switches STOP/HELP/TIME$/PLAY ON|OFF|STOP,
// KEY(n) and KEY ON|OFF|STOP, MOUSE(b) ON|OFF|STOP set a trap's state. Also the
// STOP statement and KEY n, s$, which share their keywords with the switches.
//
// A switch pushes the event id and the state (ON 2, STOP 1, OFF 0) and appends
// vcSetIrState, whose operand is the base of KEY(n) and MOUSE(b) (0 for the others),
// so that the machine refuses a number that would reach another event's id;
// ON event GOSUB pushes the parameters, then the targets, and
// appends vcSetIrTgt with the event mask.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/CompilerStmtSupport.h"
#include "language/EventMasks.h"

using namespace compiler_stmt;

namespace {

constexpr int32_t kFuncKeyCount = 10;

// The number of parameters that ON event GOSUB takes for each mask.
int32_t ParameterCountOf(int32_t mask)
{
    switch (mask) {
    case event_mask::Play: return 2;
    case event_mask::Time:
    case event_mask::Mouse: return 1;
    default: return 0;
    }
}

// The state that a switch word sets.
int32_t TrapStateOf(const TCompiler& compiler, const TToken& word)
{
    if (IsWord(word, "ON")) return 2;
    if (IsWord(word, "STOP")) return 1;
    if (IsWord(word, "OFF")) return 0;
    compiler.RaiseCompileError(CE_SYNTAX_ERR);
}

bool IsTrapStateWord(const TToken& token)
{
    return IsWord(token, "ON") || IsWord(token, "OFF") || IsWord(token, "STOP");
}

// "(" n ")" of KEY(n) and MOUSE(b), given the token after "(": pushes n plus
// `base`, the switch's event id, and returns the state word after ")".
TToken GenTrapNumber(TCompiler& compiler, const TToken& first, int32_t base)
{
    const int32_t start = compiler.NextCodeIndex();
    TTokenKind type;
    const TToken rest = compiler.GenExpr(first, false, &type);
    RequireCodeSince(compiler, start, CE_MISSING_OPERAND);
    const TToken word = compiler.CheckRpar(rest);
    compiler.AddCode(vcBPushInt, base);
    compiler.AddCode(vcBAddInt);
    return word;
}

}  // namespace

TToken TCompiler::GenProcOnIrGeneral(const TToken& /*event*/, int32_t mask)
{
    TToken token = Token();
    int32_t parameters = 0;
    if (token.kind == tkLpar) {
        token = CheckRpar(GenMultiExpr(Token(), &parameters, nullptr));
    } else if (token.kind == tkEqual) {
        TTokenKind type;
        token = GenExpr(Token(), false, &type);
        if (type != tkString) RaiseCompileError(CE_TYPE_MISMATCH_ARG);
        parameters = 1;
    }
    if (!IsWord(token, "GOSUB")) RaiseCompileError(CE_SYNTAX_ERR);

    token = Token();
    int32_t targets = 0;
    int32_t omitted = 0;
    auto addOmitted = [&] {
        ++targets;
        ++omitted;
        AddCode(vcBPushAbbrev);
    };
    while (token.kind == tkComma) {
        addOmitted();
        token = Token();
    }
    while (!IsMultiExprEndToken(token)) {
        token = GenJumpTarget(token);
        ++targets;
        if (token.kind == tkComma) {
            token = Token();
            while (token.kind == tkComma) {
                addOmitted();
                token = Token();
            }
        }
    }

    if (parameters != ParameterCountOf(mask)) RaiseCompileError(CE_ILL_FUNC_CALL);
    if (mask == event_mask::Key) {
        if (targets > kFuncKeyCount) RaiseCompileError(CE_ILL_FUNC_CALL);
        for (; targets < kFuncKeyCount; ++targets) AddCode(vcBPushAbbrev);
    } else {
        if (targets != 1) RaiseCompileError(CE_ILL_FUNC_CALL);
        // The machine keeps the old target of an omitted one and takes no
        // parameters off the stack for it: with parameters the target is due.
        if (parameters > 0 && omitted > 0) RaiseCompileError(CE_MISSING_OPERAND);
    }
    AddCode(vcSetIrTgt, mask);
    return token;
}

TToken TCompiler::GenProcSetIrState(const TToken& state, int32_t eventId)
{
    AddCode(vcBPushInt, eventId);
    AddCode(vcBPushInt, TrapStateOf(*this, state));
    AddCode(vcSetIrState, 0);
    return Token();
}

TToken TCompiler::GenProcSetIrStateKey(const TToken& first)
{
    if (first.kind == tkLpar) {
        const TToken word = GenTrapNumber(*this, Token(), event_mask::Key);
        AddCode(vcBPushInt, TrapStateOf(*this, word));
        AddCode(vcSetIrState, event_mask::Key);
        return Token();
    }
    const int32_t state = TrapStateOf(*this, first);
    for (int32_t key = 1; key <= kFuncKeyCount; ++key) {
        AddCode(vcBPushInt, event_mask::Key + key);
        AddCode(vcBPushInt, state);
        AddCode(vcSetIrState, 0);
    }
    return Token();
}

TToken TCompiler::GenProcSetIrStateMouse(const TToken& /*lpar*/)
{
    const TToken word = GenTrapNumber(*this, Token(), event_mask::Mouse);
    AddCode(vcBPushInt, TrapStateOf(*this, word));
    AddCode(vcSetIrState, event_mask::Mouse);
    return Token();
}

// STOP alone stops the program; STOP ON|OFF|STOP switches the STOP-key trap.
TToken TCompiler::GenProcStop(const TToken& /*keyword*/)
{
    const TToken token = Token();
    if (IsExprEndToken(token)) {
        AddCode(vcStop);
        return token;
    }
    return GenProcSetIrState(token, event_mask::Stop);
}

TToken TCompiler::GenProcHelp(const TToken& /*keyword*/)
{
    return GenProcSetIrState(Token(), event_mask::Help);
}

TToken TCompiler::GenProcTimeDl(const TToken& /*keyword*/)
{
    return GenProcSetIrState(Token(), event_mask::Time);
}

// KEY(n) and KEY ON|OFF|STOP switch traps; KEY n, s$ gives key n a new text.
TToken TCompiler::GenProcKey(const TToken& /*keyword*/)
{
    const TToken token = Token();
    if (token.kind == tkLpar || IsTrapStateWord(token)) return GenProcSetIrStateKey(token);
    int32_t count;
    const TToken rest = GenCountedValues(*this, token, 2, 2, &count);
    AddCode(vcKey);
    return rest;
}
