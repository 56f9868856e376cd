// ON: the computed jump ON e GOTO/GOSUB, the event traps ON event GOSUB, and
// ON ERROR, ON COM and ON PEN, which are read and dropped.

#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/EventMasks.h"
#include "language/MidCode.h"

TToken TCompiler::GenProcOn(const TToken& /*keyword*/)
{
    const TToken token = Token();
    // A string literal names no event, whatever its text.
    const TVMCodeCmd code = token.kind == tkString ? VM_CODE_PLACEHOLDER : KeywordCode(token.text);
    switch (code) {
    case vcStop: return GenProcOnIrGeneral(token, event_mask::Stop);
    case vcHelp: return GenProcOnIrGeneral(token, event_mask::Help);
    case vcTimeDl: return GenProcOnIrGeneral(token, event_mask::Time);
    case vcKey: return GenProcOnIrGeneral(token, event_mask::Key);
    case vcPlay: return GenProcOnIrGeneral(token, event_mask::Play);
    case vcMouse: {
        const TToken rest = GenProcOnIrGeneral(token, event_mask::Mouse);
        ++DosBasicSignCount;  // ON MOUSE is a mark of DOS-BASIC
        return rest;
    }
    case vcError:
    case vcCom:
    case vcPen: return SkipMultiExpr(token);
    default: return GenProcOnGosubGoto(token);
    }
}

// The selector, then one value per slot (vcBPushAbbrev for an empty one), then
// vcOnGoto or vcOnGosub with the number of slots.
TToken TCompiler::GenProcOnGosubGoto(const TToken& first)
{
    const int32_t start = NextCodeIndex();
    TTokenKind type;
    TToken token = GenExpr(first, false, &type);
    if (NextCodeIndex() == start) RaiseCompileError(CE_SYNTAX_ERR);

    TVMCodeCmd record;
    switch (token.kind == tkString ? VM_CODE_PLACEHOLDER : KeywordCode(token.text)) {
    case vcGoto: record = vcOnGoto; break;
    case vcGosub: record = vcOnGosub; break;
    default: RaiseCompileError(CE_SYNTAX_ERR);
    }

    token = Token();
    int32_t slots = 0;
    while (!IsMultiExprEndToken(token)) {
        if (token.kind == tkComma)
            AddCode(vcBPushAbbrev);
        else
            token = GenJumpTarget(token);
        if (token.kind == tkComma) token = Token();
        ++slots;
    }
    if (slots == 0) RaiseCompileError(CE_SYNTAX_ERR);
    AddCode(record, slots);
    return token;
}
