// The dispatch loop: it runs the plan made before the run (machine/runplan/RunPlan.h),
// which gives every code a run kind (RunKinds.h). The codes that make up most of a
// loop's work (pushes, plain variables, arithmetic, jumps) are done inside the loop,
// with PC kept in a local; every other code goes through its handler, with PC written
// back before and read again after. The choice is made for speed: a call through a
// member pointer, and PC in memory, cost more than most of these codes do. The loop
// jumps from one kind's body straight to the next one's through a table of label
// addresses where the compiler allows it (GCC and Clang), else through a switch.
//
// A kind that stands for a pair or a block of codes does what its codes do, errors
// included, and steps over them (RunKinds.h says which codes each takes). The jump of
// an IF or of a FOR test finds its label's code index, looked up in the plan, when the
// label it meets on the stack is the one pushed for it. The work of the kinds that lies
// outside the loop's bodies is in VMachineFusedWork.cpp.
//
// The interrupt word is read where an event must be seen: before each line, after each
// jump and after each code run through its handler (which is where a program switches
// traps, returns from them or waits). The codes done inside the loop between two such
// places are few and never wait. While speed control is on (its bit stays set), the
// word is read before every code, as the control waits at every statement beginning.
//
// The shared table never changes, so the tests that run single codes through it see
// the plain handlers, and every kind here does what that handler does.
//
// What the loop inlines is fixed by attributes, not left to the compiler's budget for
// the whole file: the helpers it must not take in (dropping a text, growing the stack,
// a FOR's start values, a roomy copy) are marked out of line where they are declared.
// Left to the budget, the loop's code, and its speed, would change with whatever else
// this file holds.

#include <algorithm>

#include "language/MidCode.h"
#include "language/TokenKind.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/runplan/RunKinds.h"
#include "machine/text/TextMeasure.h"
#include "machine/vm/KeptText.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"
#include "machine/vm/VMachineElements.h"
#include "machine/vm/WrappingInt.h"

namespace {

// The element of the one-dimensional array for the subscript J (op rkGeneric), J + n or
// J - n, where J is a whole-number or single-precision plain variable and n a whole
// number, computed as the codes compute it. 0 for any other case, and for a subscript
// off the array: the codes then run one by one.
inline int32_t quick_element(const TVarInfo* array, const TVarInfo* j, uint8_t op, int32_t n, int32_t optionBase)
{
    if (j->ElemCount < 1 || array->Dims[0] != 1) return 0;
    using K = TVarInfo::TBlockKind;
    int32_t subscript;
    if (j->BlockKind() == K::Int) {
        const int32_t x = j->IntValues()[0];
        if (op == rkGeneric)
            subscript = x;
        else if (op == rkAddInt)
            subscript = wrap_add(x, n);
        else if (op == rkSubInt)
            subscript = wrap_sub(x, n);
        else
            return 0;
    } else if (j->BlockKind() == K::Single) {
        float x = j->SingleValues()[0];
        if (op == rkAddSingle)
            x = x + static_cast<float>(n);
        else if (op == rkSubSingle)
            x = x - static_cast<float>(n);
        else if (op != rkGeneric)
            return 0;
        // Only a whole number, whose rounding is itself.
        if (!(x >= -65536.0f && x <= 65536.0f) || static_cast<float>(static_cast<int32_t>(x)) != x) return 0;
        subscript = static_cast<int32_t>(x);
    } else {
        return 0;
    }
    if (subscript < optionBase || subscript >= array->Strides[1]) return 0;
    return subscript + 1;
}

}  // namespace

// GCC and Clang take the address of a label; the loop then jumps from kind to kind
// through a table of them.
#if defined(__GNUC__)
#define KIVO_THREADED_DISPATCH 1
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#else
#define KIVO_THREADED_DISPATCH 0
#endif

void TVMachine::RunLoop()
{
    const TVMCode* const base = MidCode->Codes.data();
    const TVMCode* const end = base + MidCode->Codes.size();
    const uint8_t* const kinds = Plan.kinds.data();
    const int32_t* const targets = Plan.targets.data();
    const char* const* const jumpLabels = Plan.jumpLabels.data();
    const TForLoop* const loops = Plan.forLoops.data();
    const THandler* const handlers = RunHandlers.data();
    // The code being run; null while a handler or the interrupt service owns PC, so
    // that a failure leaves PC where they left it. kp is its entry in the run kinds,
    // moved along with it.
    const TVMCode* pc = PC;
    const uint8_t* kp = kinds + (pc - base);
    // A string variable whose text rkStringFunc reads in place, and the stack depth at
    // which its read would have pushed it.
    const TVarInfo* textReadLater = nullptr;
    size_t textDepth = 0;
    // The variable of an append whose reference and value rkAppendLater left off the
    // stack, and the depth at which they would lie.
    TVarInfo* appendLater = nullptr;
    size_t appendDepth = 0;
    // The array and element of an assignment whose reference rkStoreElementRef left
    // off the stack, and the depth at which it would lie.
    TVarInfo* storeArray = nullptr;
    int32_t storeElement = 0;
    size_t storeDepth = 0;
    // Pushes what was left off, the text read first: it lies above the append's.
#define KIVO_PUSH_LEFT_OFF()                                                                                           \
    {                                                                                                                  \
        if (textReadLater != nullptr) {                                                                                \
            PushTextReadLater(textReadLater, textDepth);                                                               \
            textReadLater = nullptr;                                                                                   \
        }                                                                                                              \
        if (appendLater != nullptr) {                                                                                  \
            PushAppendLater(appendLater, appendDepth);                                                                 \
            appendLater = nullptr;                                                                                     \
        }                                                                                                              \
        if (storeArray != nullptr) {                                                                                   \
            PushElementRefLater(storeArray, storeElement, storeDepth);                                                 \
            storeArray = nullptr;                                                                                      \
        }                                                                                                              \
    }

#if KIVO_THREADED_DISPATCH
    // Each kind's body; the entries a code reaches from the one before it (a line
    // beginning reads the interrupt word first); and the entries while speed control
    // is on, all of which read it.
#define KIVO_BODY(kind, shape, effect) &&body_##kind,
#define KIVO_ENTRY(kind, shape, effect) (kind == rkLineBegin ? &&poll : &&body_##kind),
#define KIVO_POLL_ENTRY(kind, shape, effect) &&poll,
    static const void* const bodies[] = {KIVO_RUN_KINDS(KIVO_BODY)};
    static const void* const entries[] = {KIVO_RUN_KINDS(KIVO_ENTRY)};
    static const void* const pollingEntries[] = {KIVO_RUN_KINDS(KIVO_POLL_ENTRY)};
#undef KIVO_BODY
#undef KIVO_ENTRY
#undef KIVO_POLL_ENTRY
    const void* const* dispatch = entries;
#define KIVO_DISPATCH() goto* dispatch[*kp]
#define KIVO_RUN_BODY() goto* bodies[*kp]
#define KIVO_SET_POLLING(on) dispatch = (on) ? pollingEntries : entries
#else
    bool pollingAll = false;
#define KIVO_DISPATCH()                                                                                                \
    {                                                                                                                  \
        if (pollingAll || *kp == rkLineBegin) goto poll;                                                               \
        goto run_body;                                                                                                 \
    }
#define KIVO_RUN_BODY() goto run_body
#define KIVO_SET_POLLING(on) pollingAll = (on)
#endif
    // On to the next code, or to code `index` after a jump.
#define KIVO_NEXT()                                                                                                    \
    {                                                                                                                  \
        ++pc;                                                                                                          \
        ++kp;                                                                                                          \
        KIVO_DISPATCH();                                                                                               \
    }
#define KIVO_JUMP_TO(index)                                                                                            \
    {                                                                                                                  \
        pc = base + (index);                                                                                           \
        kp = kinds + (index);                                                                                          \
        goto poll;                                                                                                     \
    }

    // Binary operators: the result takes the left operand's place.
#define KIVO_INT_OP(expr)                                                                                              \
    {                                                                                                                  \
        TStackData& l = LeftOperand();                                                                                 \
        const int32_t a = StackInt(l);                                                                                 \
        const int32_t b = StackInt(ValueStack.back());                                                                 \
        ValueStack.pop_back();                                                                                         \
        l.SetLong(expr);                                                                                               \
        KIVO_NEXT();                                                                                                   \
    }
#define KIVO_FLOAT_OP(Type, Stack, Set, expr, zeroCheck)                                                               \
    {                                                                                                                  \
        TStackData& l = LeftOperand();                                                                                 \
        const Type a = Stack(l);                                                                                       \
        const Type b = Stack(ValueStack.back());                                                                       \
        zeroCheck;                                                                                                     \
        ValueStack.pop_back();                                                                                         \
        l.Set(expr);                                                                                                   \
        KIVO_NEXT();                                                                                                   \
    }
#define KIVO_DIV_CHECK                                                                                                 \
    if (b == 0) throw RuntimeException2(RTE_DIV_BY_ZERO)
    // \ and MOD: a zero divisor fails with both operands popped, as in their handler.
#define KIVO_INT_DIV_OP(expr)                                                                                          \
    {                                                                                                                  \
        TStackData& l = LeftOperand();                                                                                 \
        const int32_t a = StackInt(l);                                                                                 \
        const int32_t b = StackInt(ValueStack.back());                                                                 \
        ValueStack.pop_back();                                                                                         \
        if (b == 0) [[unlikely]] {                                                                                     \
            ValueStack.pop_back();                                                                                     \
            throw RuntimeException2(RTE_DIV_BY_ZERO);                                                                  \
        }                                                                                                              \
        l.SetLong(expr);                                                                                               \
        KIVO_NEXT();                                                                                                   \
    }
    // A handler (or the interrupt service) runs with PC in the member; the loop then
    // goes on from wherever it left PC, and ends when that is past the last code.
#define KIVO_HAND_OVER(call)                                                                                           \
    {                                                                                                                  \
        PC = pc;                                                                                                       \
        pc = nullptr;                                                                                                  \
        call;                                                                                                          \
        pc = PC;                                                                                                       \
        if (pc >= end) goto finished;                                                                                  \
        kp = kinds + (pc - base);                                                                                      \
    }
    // After a handler: on to the code after the one PC is at, reading the interrupt
    // word first.
#define KIVO_HAND_OVER_AND_GO_ON(call)                                                                                 \
    {                                                                                                                  \
        KIVO_HAND_OVER(call);                                                                                          \
        ++pc;                                                                                                          \
        ++kp;                                                                                                          \
        goto poll;                                                                                                     \
    }
    // A conditional jump whose label is on top of the stack: the label's code index
    // when it is the one expected, else ChangePC's lookup.
#define KIVO_FALSE_JUMP()                                                                                              \
    {                                                                                                                  \
        const TStackData& target = Top();                                                                              \
        const size_t at = static_cast<size_t>(kp - kinds);                                                             \
        if (target.type == sdString && !target.owned && target.value.text == jumpLabels[at]) {                         \
            const int32_t index = targets[at];                                                                         \
            ValueStack.pop_back();                                                                                     \
            KIVO_JUMP_TO(index);                                                                                       \
        }                                                                                                              \
        KIVO_HAND_OVER(ChangePC(target));                                                                              \
        ValueStack.pop_back();                                                                                         \
        ++pc;                                                                                                          \
        ++kp;                                                                                                          \
        goto poll;                                                                                                     \
    }

    try {
        if (pc >= end) goto finished;
        goto poll;

    poll:
        // Before the code at pc: events, a stop request, speed control.
        if (IrRequest.load(std::memory_order_acquire) != 0) [[unlikely]] {
            // Past the last code the run is over: no event is let in there.
            if (pc >= end) goto finished;
            KIVO_PUSH_LEFT_OFF();
            KIVO_HAND_OVER(Interrupt());
            KIVO_SET_POLLING((IrRequest.load(std::memory_order_acquire) & IR_SPEED_CONTROL) != 0);
        } else {
            KIVO_SET_POLLING(false);
        }
        KIVO_RUN_BODY();

#if !KIVO_THREADED_DISPATCH
    run_body:
        switch (*kp) {
#define KIVO_CASE(kind)                                                                                                \
    case kind: goto body_##kind;
            KIVO_RUN_KINDS(KIVO_CASE)
#undef KIVO_CASE
        }
        goto finished;
#endif

    body_rkLineBegin:
        CurLineNum = pc->Operand.Long;
        KIVO_NEXT();
    body_rkPushInt:
        PushInt(pc->Operand.Long);
        KIVO_NEXT();
    body_rkPushSingle:
        PushFloat(pc->Operand.Single);
        KIVO_NEXT();
    body_rkPushDouble:
        PushDouble(pc->Operand.Double);
        KIVO_NEXT();
    body_rkPushString:
        PushBorrowedString(pc->Operand.Text);
        KIVO_NEXT();
    body_rkPushVar:
        PushSlot(sdVar).value.var = pc->Operand.Var;
        KIVO_NEXT();
    body_rkPushSpecial:
        PushSlot(sdMarker).value.marker = static_cast<uint32_t>(pc->Operand.Long);
        KIVO_NEXT();
    body_rkLoadPlainVar:
        // The marker would be pushed and popped again: a plain variable is element 0.
        ++pc;
        ++kp;
        PushElementInline(pc->Operand.Var, 0);
        KIVO_NEXT();
    body_rkPushVarRef:
        PushSlot(sdMarker).value.marker = static_cast<uint32_t>(pc->Operand.Long);
        ++pc;
        ++kp;
        PushSlot(sdVar).value.var = pc->Operand.Var;
        KIVO_NEXT();
    body_rkAssignArray : {
        // A plain variable: the value, the variable and its start marker on top.
        if (ValueStack.size() >= 3) {
            const TStackData& ref = ValueStack.FromTop(1);
            if (ref.type == sdVar && ref.value.var != nullptr && IsVarRefStart(ValueStack.FromTop(2))) {
                TVarInfo* v = ref.value.var;
                NoteVarAccess(0, v, 0);
                StoreElementInline(v, 0, ValueStack.back());
                ValueStack.pop_back();
                ValueStack.DropPlain(2);
                KIVO_NEXT();
            }
        }
        // An element of a one-dimensional array: the value, the variable, one
        // subscript and the start marker.
        if (ValueStack.size() >= 4) {
            const TStackData& ref = ValueStack.FromTop(1);
            if (ref.type == sdVar && ref.value.var != nullptr && IsVarRefStart(ValueStack.FromTop(3))) {
                TVarInfo* v = ref.value.var;
                const int32_t element = OneSubscriptElement(v, ValueStack.FromTop(2));
                if (element != 0) {
                    NoteVarAccess(0, v, element);
                    StoreElementInline(v, element, ValueStack.back());
                    ValueStack.pop_back();
                    ValueStack.DropPlain(1);
                    ValueStack.pop_back();
                    ValueStack.DropPlain(1);
                    KIVO_NEXT();
                }
            }
        }
        KIVO_HAND_OVER_AND_GO_ON(ExeBasicBAssignArray(PC));
    }
    body_rkLoadArray : {
        // An element of a one-dimensional array: one subscript and the start marker.
        const TVarInfo* v = pc->Operand.Var;
        if (v != nullptr && ValueStack.size() >= 2 && IsVarRefStart(ValueStack.FromTop(1))) {
            const int32_t element = OneSubscriptElement(v, ValueStack.back());
            if (element != 0) {
                ValueStack.pop_back();
                ValueStack.DropPlain(1);
                PushElementInline(v, element);
                KIVO_NEXT();
            }
        }
        KIVO_HAND_OVER_AND_GO_ON(ExeBasicBLoadArray(PC));
    }
    body_rkJump:
        // The target is never pushed, but a full stack fails here as its push would.
        if (ValueStack.Full()) [[unlikely]]
            GrowValueStack();
        KIVO_JUMP_TO(targets[kp - kinds]);
    body_rkCall:
        // The return position is the code after vcBCall, the second of the pair.
        PushSlot(sdReturn).value.ret = static_cast<int32_t>(kp - kinds + 2);
        KIVO_JUMP_TO(targets[kp - kinds]);
    body_rkFJmp : {
        const int32_t condition = PopInt();
        if (condition == 0) KIVO_FALSE_JUMP();
        Top();
        ValueStack.pop_back();
        KIVO_NEXT();
    }
    body_rkCmpForFJmp : {
        const double step = PopDouble();
        const double limit = PopDouble();
        const double value = PopDouble();
        const bool goesOn = step >= 0 ? value <= limit : value >= limit;
        ++pc;
        ++kp;
        if (!goesOn) KIVO_FALSE_JUMP();
        Top();
        ValueStack.pop_back();
        KIVO_NEXT();
    }
    // A comparison and the jump that takes its result.
#define KIVO_COMPARE_FJMP(Pop, op)                                                                                     \
    {                                                                                                                  \
        const auto r = Pop();                                                                                          \
        const auto l = Pop();                                                                                          \
        const bool holds = l op r;                                                                                     \
        ++pc;                                                                                                          \
        ++kp;                                                                                                          \
        if (!holds) KIVO_FALSE_JUMP();                                                                                 \
        Top();                                                                                                         \
        ValueStack.pop_back();                                                                                         \
        KIVO_NEXT();                                                                                                   \
    }
    body_rkEqualIntFJmp:
        KIVO_COMPARE_FJMP(PopInt, ==)
    body_rkNoteqIntFJmp:
        KIVO_COMPARE_FJMP(PopInt, !=)
    body_rkLtIntFJmp:
        KIVO_COMPARE_FJMP(PopInt, <)
    body_rkLeIntFJmp:
        KIVO_COMPARE_FJMP(PopInt, <=)
    body_rkGtIntFJmp:
        KIVO_COMPARE_FJMP(PopInt, >)
    body_rkGeIntFJmp:
        KIVO_COMPARE_FJMP(PopInt, >=)
    body_rkEqualSingleFJmp:
        KIVO_COMPARE_FJMP(PopFloat, ==)
    body_rkNoteqSingleFJmp:
        KIVO_COMPARE_FJMP(PopFloat, !=)
    body_rkLtSingleFJmp:
        KIVO_COMPARE_FJMP(PopFloat, <)
    body_rkLeSingleFJmp:
        KIVO_COMPARE_FJMP(PopFloat, <=)
    body_rkGtSingleFJmp:
        KIVO_COMPARE_FJMP(PopFloat, >)
    body_rkGeSingleFJmp:
        KIVO_COMPARE_FJMP(PopFloat, >=)
    body_rkEqualDoubleFJmp:
        KIVO_COMPARE_FJMP(PopDouble, ==)
    body_rkNoteqDoubleFJmp:
        KIVO_COMPARE_FJMP(PopDouble, !=)
    body_rkLtDoubleFJmp:
        KIVO_COMPARE_FJMP(PopDouble, <)
    body_rkLeDoubleFJmp:
        KIVO_COMPARE_FJMP(PopDouble, <=)
    body_rkGtDoubleFJmp:
        KIVO_COMPARE_FJMP(PopDouble, >)
    body_rkGeDoubleFJmp:
        KIVO_COMPARE_FJMP(PopDouble, >=)
#undef KIVO_COMPARE_FJMP
    body_rkAddInt:
        KIVO_INT_OP(wrap_add(a, b))
    body_rkSubInt:
        KIVO_INT_OP(wrap_sub(a, b))
    body_rkMulInt:
        KIVO_INT_OP(wrap_mul(a, b))
    body_rkAddSingle:
        KIVO_FLOAT_OP(float, StackFloat, SetSingle, a + b, )
    body_rkSubSingle:
        KIVO_FLOAT_OP(float, StackFloat, SetSingle, a - b, )
    body_rkMulSingle:
        KIVO_FLOAT_OP(float, StackFloat, SetSingle, a* b, )
    body_rkDivSingle:
        KIVO_FLOAT_OP(float, StackFloat, SetSingle, a / b, KIVO_DIV_CHECK)
    body_rkAddDouble:
        KIVO_FLOAT_OP(double, StackDouble, SetDouble, a + b, )
    body_rkSubDouble:
        KIVO_FLOAT_OP(double, StackDouble, SetDouble, a - b, )
    body_rkMulDouble:
        KIVO_FLOAT_OP(double, StackDouble, SetDouble, a* b, )
    body_rkDivDouble:
        KIVO_FLOAT_OP(double, StackDouble, SetDouble, a / b, KIVO_DIV_CHECK)
    body_rkIdivInt:
        KIVO_INT_DIV_OP(b == -1 ? wrap_sub(0, a) : a / b)
    body_rkModInt:
        KIVO_INT_DIV_OP(b == -1 ? 0 : a % b)
    body_rkForStep : {
        // v = v + step as vcBAddDouble and vcBAssignArray do it, then the test.
        const TForLoop& loop = loops[targets[kp - kinds]];
        double value;
        double step;
        // The codes would push up to six entries: near the stack's limit they run
        // one by one, and fail as they fail.
        if (ValueStack.size() + 6 > VALUE_STACK_LIMIT || !ForNumber(loop.var, value) ||
            !ForOperandValue(loop.step, step)) [[unlikely]]
            goto body_rkPushVarRef;
        NoteVarAccess(0, loop.var, 0);
        value = StoreForNumber(loop.var, value + step);
        // The test, with the step just read: nothing between could change it.
        double limit;
        if (!ForOperandValue(loop.limit, limit)) [[unlikely]] {
            pc = base + loop.test;
            kp = kinds + loop.test;
            goto body_rkForTest;
        }
        const int32_t next = (step >= 0 ? value <= limit : value >= limit) ? loop.last + 1 : loop.exit;
        pc = base + next;
        kp = kinds + next;
        if (pc >= end) goto finished;
        KIVO_DISPATCH();
    }
    body_rkForTest : {
        const TForLoop& loop = loops[targets[kp - kinds]];
        double value;
        double limit;
        double step;
        if (ValueStack.size() + 6 > VALUE_STACK_LIMIT || !ForNumber(loop.var, value) ||
            !ForOperandValue(loop.limit, limit) || !ForOperandValue(loop.step, step)) [[unlikely]]
            goto body_rkPushString;
        const bool goesOn = step >= 0 ? value <= limit : value >= limit;
        const int32_t next = goesOn ? loop.last + 1 : loop.exit;
        pc = base + next;
        kp = kinds + next;
        // Past the last code only when the loop ends the program.
        if (pc >= end) goto finished;
        KIVO_DISPATCH();
    }
    body_rkSkipVarRef:
        if (ValueStack.size() + 2 > VALUE_STACK_LIMIT) [[unlikely]]
            goto body_rkPushVarRef;
        pc += 2;
        kp += 2;
        KIVO_DISPATCH();
    body_rkStorePlain : {
        // The reference's vcBPushVar names the variable.
        TVarInfo* v = base[targets[kp - kinds]].Operand.Var;
        if (ValueStack.size() >= 3 && ValueStack.FromTop(1).type == sdVar) [[unlikely]]
            goto body_rkAssignArray;  // the reference was pushed
        TStackData& value = Top();
        NoteVarAccess(0, v, 0);
        StoreElementInline(v, 0, value);
        ValueStack.pop_back();
        KIVO_NEXT();
    }
    body_rkReturn : {
        // Back to the position on top, when nothing lies above it and no trap
        // subroutine is open; everything else is the handler's.
        if (OperandFlag(pc) && !ValueStack.empty() && ValueStack.back().type == sdReturn && IrInfoStack.empty()) {
            const int32_t index = ValueStack.back().value.ret;
            if (index >= 1 && static_cast<size_t>(index) <= MidCode->Codes.size()) {
                ValueStack.DropPlain(1);
                KIVO_JUMP_TO(index);
            }
        }
        goto body_rkGeneric;
    }
    body_rkUpdatePlain : {
        // The codes: the reference (two), the variable's value (two), the constant,
        // the operator and the store. The values live in a scope of their own, which
        // the indirect jump at the end does not leave.
        TVarInfo* v = pc[1].Operand.Var;
        // The usual counters, X = X + n or X = X - n with a whole number n: the sum
        // computed as the operator computes it, straight into the variable.
        if (kp[4] == rkPushInt && v->ElemCount >= 1 && ValueStack.size() + 3 <= VALUE_STACK_LIMIT) {
            const int32_t n = pc[4].Operand.Long;
            using K = TVarInfo::TBlockKind;
            if ((kp[5] == rkAddSingle || kp[5] == rkSubSingle) && v->BlockKind() == K::Single) {
                float& x = v->SingleValues()[0];
                const float sum = kp[5] == rkAddSingle ? x + static_cast<float>(n) : x - static_cast<float>(n);
                NoteVarAccess(0, v, 0);
                x = sum;
                pc += 7;
                kp += 7;
                KIVO_DISPATCH();
            }
            if ((kp[5] == rkAddInt || kp[5] == rkSubInt) && v->BlockKind() == K::Int) {
                int32_t& x = v->IntValues()[0];
                const int32_t sum = kp[5] == rkAddInt ? wrap_add(x, n) : wrap_sub(x, n);
                NoteVarAccess(0, v, 0);
                x = sum;
                pc += 7;
                kp += 7;
                KIVO_DISPATCH();
            }
        }
        {
            TStackData left;
            if (ValueStack.size() + 3 > VALUE_STACK_LIMIT || !ForValue(TForValue{v}, left)) [[unlikely]]
                goto body_rkSkipVarRef;
            TStackData result;
            ApplyConstantOperator(left, kp[4], pc[4], kp[5], result);
            NoteVarAccess(0, v, 0);
            StoreElementInline(v, 0, result);
        }
        pc += 7;
        kp += 7;
        KIVO_DISPATCH();
    }

    body_rkUpdateByVar : {
        // The codes: the reference, X's value and Y's (two each), the operator and
        // the store. Two whole-number or two single-precision variables; any other
        // pair runs code by code.
        TVarInfo* v = pc[1].Operand.Var;
        const TVarInfo* y = pc[5].Operand.Var;
        if (v->ElemCount >= 1 && y->ElemCount >= 1 && ValueStack.size() + 4 <= VALUE_STACK_LIMIT) {
            using K = TVarInfo::TBlockKind;
            const uint8_t op = kp[6];
            if ((op == rkAddInt || op == rkSubInt) && v->BlockKind() == K::Int && y->BlockKind() == K::Int) {
                int32_t& x = v->IntValues()[0];
                const int32_t n = y->IntValues()[0];
                const int32_t sum = op == rkAddInt ? wrap_add(x, n) : wrap_sub(x, n);
                NoteVarAccess(0, v, 0);
                x = sum;
                pc += 8;
                kp += 8;
                KIVO_DISPATCH();
            }
            if ((op == rkAddSingle || op == rkSubSingle) && v->BlockKind() == K::Single &&
                y->BlockKind() == K::Single) {
                float& x = v->SingleValues()[0];
                const float n = y->SingleValues()[0];
                const float sum = op == rkAddSingle ? x + n : x - n;
                NoteVarAccess(0, v, 0);
                x = sum;
                pc += 8;
                kp += 8;
                KIVO_DISPATCH();
            }
        }
        goto body_rkSkipVarRef;
    }
    body_rkLoadElement : {
        // The codes: the marker, J's value (two), then either the read of the element
        // or the constant, its operator and the read.
        const size_t last = static_cast<size_t>(targets[kp - kinds]);
        const TVarInfo* array = base[last].Operand.Var;
        int32_t element;
        // The usual subscripts first: J, J + n or J - n.
        if (ValueStack.size() + 3 <= VALUE_STACK_LIMIT) {
            const bool alone = base + last == pc + 3;
            if (alone || kp[3] == rkPushInt) {
                element = quick_element(array, pc[2].Operand.Var, alone ? static_cast<uint8_t>(rkGeneric) : kp[4],
                                        alone ? 0 : pc[3].Operand.Long, Rsrc->OptionBase);
                if (element != 0) {
                    PushElementInline(array, element);
                    pc = base + last;
                    kp = kinds + last;
                    KIVO_NEXT();
                }
            }
        }
        {
            TStackData subscript;
            if (ValueStack.size() + 3 > VALUE_STACK_LIMIT || !ForValue(TForValue{pc[2].Operand.Var}, subscript))
                [[unlikely]]
                goto body_rkPushSpecial;
            TStackData sum;
            if (base + last != pc + 3) ApplyConstantOperator(subscript, kp[3], pc[3], kp[4], sum);
            // Never copied whole: a copy after a narrower write would stall on the store.
            element = OneSubscriptElement(array, base + last != pc + 3 ? sum : subscript);
        }
        if (element == 0) [[unlikely]]
            goto body_rkPushSpecial;
        PushElementInline(array, element);
        pc = base + last;
        kp = kinds + last;
        KIVO_NEXT();
    }
    body_rkStoreElementRef : {
        // The codes: the marker, J's value (two), maybe a constant and its operator,
        // then the array's reference.
        const size_t ref = static_cast<size_t>(targets[kp - kinds]);
        TVarInfo* array = base[ref].Operand.Var;
        if (storeArray == nullptr && ValueStack.size() + 4 <= VALUE_STACK_LIMIT) {
            const bool alone = base + ref == pc + 3;
            const int32_t element =
                quick_element(array, pc[2].Operand.Var, alone ? static_cast<uint8_t>(rkGeneric) : kp[4],
                              alone ? 0 : pc[3].Operand.Long, Rsrc->OptionBase);
            if (element != 0) {
                storeArray = array;
                storeElement = element;
                storeDepth = ValueStack.size();
                pc = base + ref;
                kp = kinds + ref;
                KIVO_NEXT();
            }
        }
        goto body_rkPushSpecial;
    }
    body_rkStoreElement:
        // The value is the only entry above where the reference would lie.
        if (storeArray != nullptr && ValueStack.size() == storeDepth + 1) {
            TVarInfo* v = storeArray;
            storeArray = nullptr;
            NoteVarAccess(0, v, storeElement);
            StoreElementInline(v, storeElement, ValueStack.back());
            ValueStack.pop_back();
            KIVO_NEXT();
        }
        goto body_rkAssignArray;
    body_rkAppendPlain : {
        // The text is joined to the variable's own: its value is never copied out.
        TVarInfo* v = pc[1].Operand.Var;
        if (v->ElemCount < 1 || v->StringValues() == nullptr || ValueStack.size() + 5 > VALUE_STACK_LIMIT) [[unlikely]]
            goto body_rkPushVarRef;
        std::string& text = v->StringValues()[0];
        const std::string_view tail = pc[4].Operand.Text != nullptr ? pc[4].Operand.Text : "";
        const size_t room = CheckAppendRoom(text, tail.size());
        NoteVarAccess(0, v, 0);
        AppendKept(text, tail, room);
        v->ScalarTextAscii = v->ScalarTextAscii && targets[kp - kinds] != 0;
        pc += 7;
        kp += 7;
        KIVO_DISPATCH();
    }
    body_rkJoinPlain : {
        // The codes: the reference, A$'s value and B$'s (two each), + and the store.
        TVarInfo* v = pc[1].Operand.Var;
        const TVarInfo* a = pc[3].Operand.Var;
        const TVarInfo* b = pc[5].Operand.Var;
        if (v->ElemCount < 1 || v->StringValues() == nullptr || a->ElemCount < 1 || a->StringValues() == nullptr ||
            b->ElemCount < 1 || b->StringValues() == nullptr || ValueStack.size() + 4 > VALUE_STACK_LIMIT) [[unlikely]]
            goto body_rkPushVarRef;
        JoinPlainTexts(v, a, b);
        pc += 8;
        kp += 8;
        KIVO_DISPATCH();
    }
    body_rkAppendLater : {
        TVarInfo* v = pc[1].Operand.Var;
        if (v->ElemCount < 1 || v->StringValues() == nullptr || appendLater != nullptr ||
            ValueStack.size() + 3 > VALUE_STACK_LIMIT) [[unlikely]]
            goto body_rkPushVarRef;
        appendLater = v;
        appendDepth = ValueStack.size();
        pc += 4;
        kp += 4;
        KIVO_DISPATCH();
    }
    body_rkAppendStore:
        // The text made is the only value above where the append's would lie.
        if (appendLater != nullptr && ValueStack.size() == appendDepth + 1 && ValueStack.back().type == sdString) {
            TVarInfo* v = appendLater;
            appendLater = nullptr;
            PC = pc;
            AppendToText(v, ValueStack.back().View(), ValueStack.back().ascii);
            ValueStack.pop_back();
            pc += 2;
            kp += 2;
            KIVO_DISPATCH();
        }
        KIVO_PUSH_LEFT_OFF();
        goto body_rkGeneric;
    body_rkAppendChr:
        // CHR$'s character goes straight onto the text, never pushed as a text of its
        // own. Anything else (a code out of range, an operand not a number) takes the
        // plain way, which raises CHR$'s error as ever.
        if (appendLater != nullptr && ValueStack.size() == appendDepth + 1) {
            PC = pc;
            if (AppendChrToText(appendLater)) {
                appendLater = nullptr;
                pc += 3;
                kp += 3;
                KIVO_DISPATCH();
            }
        }
        goto body_rkGeneric;
    body_rkLenOfText : {
        const TVarInfo* v = pc[1].Operand.Var;
        if (v->ElemCount < 1 || v->StringValues() == nullptr) [[unlikely]]
            goto body_rkLoadPlainVar;
        PushInt(TextLengthUnits(v->StringValues()[0], v->ScalarTextAscii));
        pc += 3;
        kp += 3;
        KIVO_DISPATCH();
    }
    body_rkInstrOfTexts : {
        // The codes: X$'s value and Y$'s (two each) and INSTR.
        const TVarInfo* x = pc[1].Operand.Var;
        const TVarInfo* y = pc[3].Operand.Var;
        if (x->ElemCount < 1 || x->StringValues() == nullptr || y->ElemCount < 1 || y->StringValues() == nullptr ||
            ValueStack.size() + 3 > VALUE_STACK_LIMIT) [[unlikely]]
            goto body_rkLoadPlainVar;
        PushInstrOfTexts(x, y, pc[4].Cmd == vcKinstr);
        pc += 5;
        kp += 5;
        KIVO_DISPATCH();
    }
    body_rkReadTextLater : {
        const TVarInfo* v = pc[1].Operand.Var;
        if (v->ElemCount < 1 || v->StringValues() == nullptr || ValueStack.size() + 4 > VALUE_STACK_LIMIT) [[unlikely]]
            goto body_rkLoadPlainVar;
        textReadLater = v;
        textDepth = ValueStack.size();
        pc += 2;
        kp += 2;
        KIVO_DISPATCH();
    }
    body_rkStringFunc:
        if (textReadLater != nullptr) {
            const TVarInfo* v = textReadLater;
            textReadLater = nullptr;
            PC = pc;
            ExeStringFuncOfText(pc, v);
            KIVO_NEXT();
        }
        goto body_rkGeneric;
    body_rkStringFuncJoin:
        if (textReadLater != nullptr) {
            const TVarInfo* v = textReadLater;
            textReadLater = nullptr;
            PC = pc;
            if (JoinStringFuncOfText(pc, v)) {
                pc += 2;
                kp += 2;
                KIVO_DISPATCH();
            }
            ExeStringFuncOfText(pc, v);
            KIVO_NEXT();
        }
        goto body_rkGeneric;
    body_rkNumberFunction:
        // Takes numbers, gives one, and leaves PC and the interrupt word alone: the
        // loop goes on without reading PC back or polling.
        PC = pc;
        (this->*handlers[kp - kinds])(pc);
        KIVO_NEXT();
    body_rkGeneric:
        KIVO_HAND_OVER_AND_GO_ON((this->*handlers[kp - kinds])(PC));
    body_rkEnd:
        goto finished;

    finished:;
    } catch (...) {
        if (pc != nullptr) PC = pc;
        throw;
    }
    PC = pc;
#undef KIVO_DISPATCH
#undef KIVO_RUN_BODY
#undef KIVO_SET_POLLING
#undef KIVO_NEXT
#undef KIVO_JUMP_TO
#undef KIVO_INT_OP
#undef KIVO_FLOAT_OP
#undef KIVO_DIV_CHECK
#undef KIVO_INT_DIV_OP
#undef KIVO_HAND_OVER
#undef KIVO_HAND_OVER_AND_GO_ON
#undef KIVO_PUSH_LEFT_OFF
#undef KIVO_FALSE_JUMP
}

#if KIVO_THREADED_DISPATCH
#pragma GCC diagnostic pop
#endif
#undef KIVO_THREADED_DISPATCH
