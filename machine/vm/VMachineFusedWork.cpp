// The work of the run kinds that lies outside the dispatch loop's bodies: pushing what
// a block left off the stack when the loop must leave it for the interrupt service,
// the appends and joins of plain string variables, and the arithmetic on a constant
// that the blocks share.

#include <algorithm>

#include "language/MidCode.h"
#include "language/TokenKind.h"
#include "machine/runplan/RunKinds.h"
#include "machine/text/TextMeasure.h"
#include "machine/vm/KeptText.h"
#include "machine/vm/VMachine.h"
#include "machine/vm/WrappingInt.h"

void TVMachine::PushAppendLater(TVarInfo* v, size_t depth)
{
    PushSlot(sdMarker).value.marker = tkVar;
    PushSlot(sdVar).value.var = v;
    PushCopiedString(v->StringValues()[0], v->ScalarTextAscii);
    std::rotate(ValueStack.begin() + depth, ValueStack.end() - 3, ValueStack.end());
}

size_t TVMachine::CheckAppendRoom(const std::string& text, size_t tailSize)
{
    const size_t length = text.size() + tailSize;
    if (length <= text.capacity()) return 0;
    const size_t room = length + kept_text::Slack(length);
    CheckNewBlock(kept_text::HeldFor(room), 0);
    return room;
}

void TVMachine::AppendKept(std::string& text, std::string_view tail, size_t room)
{
    if (room == 0) {
        text.append(tail);
        return;
    }
    ChargeText(kept_text::Held(text), kept_text::HeldFor(room));
    std::string grown = kept_text::WithRoom(text, room);
    grown.append(tail);
    text.swap(grown);
}

void TVMachine::AppendToText(TVarInfo* x, std::string_view tail, bool tailAscii)
{
    std::string& text = x->StringValues()[0];
    const size_t room = CheckAppendRoom(text, tail.size());
    NoteVarAccess(0, x, 0);
    const bool ascii = x->ScalarTextAscii && (tailAscii || text_measure::is_ascii(tail));
    AppendKept(text, tail, room);
    x->ScalarTextAscii = ascii || text_measure::is_ascii(text);
}

// CHR$ of the number on top, appended to X's text in place of both; false, with
// nothing done, when the number is no character code.
bool TVMachine::AppendChrToText(TVarInfo* x)
{
    const TStackData& top = ValueStack.back();
    if (!top.IsNumber()) return false;
    const int32_t code = StackInt(top);
    if (code < 0 || code > 0xFF) return false;
    ValueStack.DropPlain(1);
    std::string character;  // a byte or a kana: within the string's own room
    AppendChrDl(character, code);
    AppendToText(x, character, code < 0x80);
    return true;
}

void TVMachine::PushInstrOfTexts(const TVarInfo* x, const TVarInfo* y, bool characters)
{
    PushInt(InstrPosition(x->StringValues()[0], y->StringValues()[0], 1, characters, x->ScalarTextAscii));
}

// The joined text is made once, at its full length, and moves into X; X's old text is
// freed, never copied. When X is A the text of B is appended to X's own, which grows
// in place or moves once.
void TVMachine::JoinPlainTexts(TVarInfo* x, const TVarInfo* a, const TVarInfo* b)
{
    std::string& text = x->StringValues()[0];
    const std::string& left = a->StringValues()[0];
    const std::string& right = b->StringValues()[0];
    const bool ascii = a->ScalarTextAscii && b->ScalarTextAscii;
    if (&text == &left) {
        const size_t room = CheckAppendRoom(text, right.size());
        NoteVarAccess(0, x, 0);
        AppendKept(text, right, room);
    } else {
        // The new string is made while X's old one is still held.
        const size_t length = left.size() + right.size();
        CheckNewBlock(kept_text::HeldFor(length), 0);
        NoteVarAccess(0, x, 0);
        ChargeText(kept_text::Held(text), kept_text::HeldFor(length));
        std::string joined = kept_text::WithRoom(left, length);
        joined.append(right);
        text.swap(joined);
    }
    x->ScalarTextAscii = ascii || text_measure::is_ascii(text);
}

void TVMachine::PushElementRefLater(TVarInfo* array, int32_t element, size_t depth)
{
    PushSlot(sdMarker).value.marker = tkVar;
    PushInt(element - 1);
    PushSlot(sdVar).value.var = array;
    std::rotate(ValueStack.begin() + depth, ValueStack.end() - 3, ValueStack.end());
}

void TVMachine::PushTextReadLater(const TVarInfo* v, size_t depth)
{
    PushCopiedString(v->StringValues()[0], v->ScalarTextAscii);
    std::rotate(ValueStack.begin() + depth, ValueStack.end() - 1, ValueStack.end());
}

// left <op> c, where the code `constant` of kind `constantKind` pushes c and op is one
// of the arithmetic kinds but division, computed as the operator's kind computes it.
void TVMachine::ApplyConstantOperator(const TStackData& left, uint8_t constantKind, const TVMCode& constant, uint8_t op,
                                      TStackData& result) const
{
    // Values are written field by field: a whole-value copy after a narrower
    // write would stall on the store.
    TStackData right;
    switch (constantKind) {
    case rkPushInt:
        right.type = sdLong;
        right.value.l = constant.Operand.Long;
        break;
    case rkPushSingle:
        right.type = sdSingle;
        right.value.f = constant.Operand.Single;
        break;
    default:
        right.type = sdDouble;
        right.value.d = constant.Operand.Double;
        break;
    }
    switch (op) {
    case rkAddInt:
    case rkSubInt:
    case rkMulInt: {
        const int32_t a = StackInt(left);
        const int32_t b = StackInt(right);
        result.type = sdLong;
        result.value.l = op == rkAddInt ? wrap_add(a, b) : op == rkSubInt ? wrap_sub(a, b) : wrap_mul(a, b);
        break;
    }
    case rkAddSingle:
    case rkSubSingle:
    case rkMulSingle: {
        const float a = StackFloat(left);
        const float b = StackFloat(right);
        result.type = sdSingle;
        result.value.f = op == rkAddSingle ? a + b : op == rkSubSingle ? a - b : a * b;
        break;
    }
    default: {
        const double a = StackDouble(left);
        const double b = StackDouble(right);
        result.type = sdDouble;
        result.value.d = op == rkAddDouble ? a + b : op == rkSubDouble ? a - b : a * b;
        break;
    }
    }
}
