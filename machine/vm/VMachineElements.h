#pragma once
// Reading and writing one element of a variable: the bodies that the dispatch loop
// and the variable handlers share, inline because every variable access runs them.

#include <string>
#include <string_view>
#include <utility>

#include "language/VarInfo.h"
#include "machine/text/TextMeasure.h"
#include "machine/vm/KeptText.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

inline void TVMachine::PushElementInline(const TVarInfo* v, int32_t element)
{
    if (element < 0 || element >= v->ElemCount) [[unlikely]]
        throw RuntimeException2(RTE_INTERNAL_ERROR);
    const auto e = static_cast<size_t>(element);
    using K = TVarInfo::TBlockKind;
    switch (v->BlockKind()) {
    case K::Int: PushInt(v->IntValues()[e]); break;
    case K::Single: PushFloat(v->SingleValues()[e]); break;
    case K::Double: PushDouble(v->DoubleValues()[e]); break;
    case K::String: PushCopiedString(v->StringValues()[e], e == 0 && v->ScalarTextAscii); break;
    case K::Empty: break;  // an untyped variable has no value
    }
}

inline void TVMachine::StoreElementInline(TVarInfo* v, int32_t element, TStackData& value)
{
    if (element < 0 || element >= v->ElemCount) [[unlikely]]
        throw RuntimeException2(RTE_INTERNAL_ERROR);
    const auto e = static_cast<size_t>(element);
    using K = TVarInfo::TBlockKind;
    switch (v->BlockKind()) {
    case K::Int: v->IntValues()[e] = StackInt(value); break;
    case K::Single: v->SingleValues()[e] = StackFloat(value); break;
    case K::Double: v->DoubleValues()[e] = StackDouble(value); break;
    case K::Empty: break;
    case K::String: {
        std::string* texts = v->StringValues();
        std::string& kept = texts[e];
        // An owned text moves into the element instead of being copied; the value
        // keeps the element's old string, emptied, whose room the pool reuses. A text
        // with more room than it may keep is copied instead.
        if (value.type == sdString && value.owned && !kept_text::TooRoomy(*value.value.ownedText)) {
            ChargeText(kept_text::Held(kept), kept_text::Held(*value.value.ownedText));
            kept.swap(*value.value.ownedText);
            value.value.ownedText->clear();
        } else {
            const std::string_view text = value.View();
            // The element's own string is written over when its room suits the text.
            if (kept.capacity() >= text.size() && kept.capacity() <= text.size() + kept_text::Slack(text.size())) {
                kept.assign(text);
            } else {
                const std::size_t room = kept_text::CopyRoom(text.size());
                ChargeText(kept_text::Held(kept), kept_text::HeldFor(room));
                kept = kept_text::WithRoom(text, room);
            }
        }
        // A scalar's text is read again and again by the string functions: what it is
        // made of is settled once here, where the value was just made or copied.
        if (e == 0) v->ScalarTextAscii = value.ascii || text_measure::is_ascii(texts[0]);
        break;
    }
    }
}

inline bool TVMachine::ForNumber(const TVarInfo* v, double& out)
{
    if (v->ElemCount < 1) return false;
    using K = TVarInfo::TBlockKind;
    switch (v->BlockKind()) {
    case K::Int: out = v->IntValues()[0]; return true;
    case K::Single: out = v->SingleValues()[0]; return true;
    case K::Double: out = v->DoubleValues()[0]; return true;
    default: return false;
    }
}

// The element of a one-dimensional array v for the subscript entry s, when the
// subscript is on the array: what ElementNumber gives for it. 0 for every case in
// which ElementNumber makes the array, or fails, so that the caller leaves those
// to it.
inline int32_t TVMachine::OneSubscriptElement(const TVarInfo* v, const TStackData& s) const
{
    if (v->Dims[0] != 1) return 0;
    int32_t subscript;
    if (s.type == sdLong) {
        subscript = s.value.l;
    } else if (s.type == sdSingle && s.value.f >= -65536.0f && s.value.f <= 65536.0f &&
               static_cast<float>(static_cast<int32_t>(s.value.f)) == s.value.f) {
        // A whole number, as a single-precision loop counter holds it: its rounding
        // is itself.
        subscript = static_cast<int32_t>(s.value.f);
    } else {
        subscript = StackInt(s);
    }
    if (subscript < Rsrc->OptionBase || subscript >= v->Strides[1]) return 0;
    return subscript + 1;
}

inline double TVMachine::StoreForNumber(TVarInfo* v, double sum)
{
    // As vcBAssignArray stores the sum that vcBAddDouble leaves.
    using K = TVarInfo::TBlockKind;
    switch (v->BlockKind()) {
    case K::Int: return v->IntValues()[0] = RoundOff(sum);
    case K::Single: return v->SingleValues()[0] = static_cast<float>(sum);
    default: return v->DoubleValues()[0] = sum;
    }
}

[[gnu::noinline]] inline bool TVMachine::ForValue(const TForValue& value, TStackData& out)
{
    const TVarInfo* v = value.var;
    if (v == nullptr) {
        if (value.push == vcBPushInt) {
            out.type = sdLong;
            out.value.l = value.l;
        } else if (value.push == vcBPushFloat) {
            out.type = sdSingle;
            out.value.f = value.f;
        } else {
            out.type = sdDouble;
            out.value.d = value.d;
        }
        return true;
    }
    if (v->ElemCount < 1) return false;
    using K = TVarInfo::TBlockKind;
    switch (v->BlockKind()) {
    case K::Int:
        out.type = sdLong;
        out.value.l = v->IntValues()[0];
        return true;
    case K::Single:
        out.type = sdSingle;
        out.value.f = v->SingleValues()[0];
        return true;
    case K::Double:
        out.type = sdDouble;
        out.value.d = v->DoubleValues()[0];
        return true;
    default: return false;
    }
}

// The operand as its codes compute it, then taken as a double as vcBCmpFor and
// vcBAddDouble take it.
inline bool TVMachine::ForOperandValue(const TForOperand& operand, double& out) const
{
    // The usual operands: one constant or one variable.
    if (operand.op == VM_CODE_PLACEHOLDER) {
        if (operand.left.var != nullptr) return ForNumber(operand.left.var, out);
        out = operand.left.d;
        return true;
    }
    TStackData left;
    if (!ForValue(operand.left, left)) return false;
    TStackData right;
    if (!ForValue(operand.right, right)) return false;
    const auto wrap = [](uint32_t v) { return static_cast<int32_t>(v); };
    switch (operand.op) {
    case vcBAddInt: out = wrap(static_cast<uint32_t>(StackInt(left)) + static_cast<uint32_t>(StackInt(right))); break;
    case vcBSubInt: out = wrap(static_cast<uint32_t>(StackInt(left)) - static_cast<uint32_t>(StackInt(right))); break;
    case vcBMulInt: out = wrap(static_cast<uint32_t>(StackInt(left)) * static_cast<uint32_t>(StackInt(right))); break;
    case vcBAddFloat: out = static_cast<float>(StackFloat(left) + StackFloat(right)); break;
    case vcBSubFloat: out = static_cast<float>(StackFloat(left) - StackFloat(right)); break;
    case vcBMulFloat: out = static_cast<float>(StackFloat(left) * StackFloat(right)); break;
    case vcBAddDouble: out = StackDouble(left) + StackDouble(right); break;
    case vcBSubDouble: out = StackDouble(left) - StackDouble(right); break;
    case vcBMulDouble: out = StackDouble(left) * StackDouble(right); break;
    default: return false;
    }
    return true;
}

// The two operands of a binary operator, left below right; an internal error when
// the stack holds fewer, as the pops of the operator's handler would raise.
inline TStackData& TVMachine::LeftOperand()
{
    if (ValueStack.size() < 2) [[unlikely]]
        ThrowStackEmpty();
    return ValueStack.FromTop(1);
}
