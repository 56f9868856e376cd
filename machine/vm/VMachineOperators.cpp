// The typed operator codes: each converts its operands to its own type and pushes a
// result of a fixed type. Integers are 32-bit and wrap; the logical operators work on
// 16 bits; comparisons push -1 or 0.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "machine/text/TextMeasure.h"
#include "machine/vm/KeptText.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"
#include "machine/vm/WrappingInt.h"

namespace {

// Appends r to `to`, which already has room for it. A long join goes a few megabytes
// at a time and asks `stopped` between two parts: a join of texts of hundreds of
// megabytes would otherwise hold up Kill and the time-out. Once `stopped` answers
// true, `to` is left as it was and the run ends at the next code.
template <class Stopped>
void append_asking(std::string& to, std::string_view r, Stopped stopped)
{
    constexpr std::size_t CHUNK = std::size_t{4} << 20;
    if (r.size() <= CHUNK) {
        to.append(r);
        return;
    }
    const std::size_t kept = to.size();
    for (std::size_t done = 0; done < r.size(); done += CHUNK) {
        if (stopped()) {
            to.resize(kept);
            return;
        }
        to.append(r.substr(done, CHUNK));
    }
}

// Comparison operator numbers of the code list.
enum { OP_EQUAL = 8, OP_NOTEQ, OP_LT, OP_LE, OP_GT, OP_GE };
// Logical operator numbers.
enum { OP_AND = 15, OP_OR, OP_XOR, OP_IMP, OP_EQV };

template <int Op, typename T>
bool compare(const T& a, const T& b)
{
    if constexpr (Op == OP_EQUAL) return a == b;
    if constexpr (Op == OP_NOTEQ) return a != b;
    if constexpr (Op == OP_LT) return a < b;
    if constexpr (Op == OP_LE) return a <= b;
    if constexpr (Op == OP_GT) return a > b;
    if constexpr (Op == OP_GE) return a >= b;
}

int16_t low16(int32_t v)
{
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(v) & 0xFFFFu));
}

}  // namespace

// --- arithmetic ---

void TVMachine::ExeBasicBAddInt(const TVMCode*)
{
    const int32_t r = PopInt();
    const int32_t l = PopInt();
    PushInt(wrap_add(l, r));
}

void TVMachine::ExeBasicBAddFloat(const TVMCode*)
{
    const float r = PopFloat();
    const float l = PopFloat();
    PushFloat(l + r);
}

void TVMachine::ExeBasicBAddDouble(const TVMCode*)
{
    const double r = PopDouble();
    const double l = PopDouble();
    PushDouble(l + r);
}

void TVMachine::JoinText(TStackData& l, std::string_view r, bool rAscii, size_t rHeld)
{
    const std::string_view left = l.View();
    const size_t length = left.size() + r.size();
    // The joined text is known to be ASCII when both parts are; a part whose bytes are
    // copied here anyway is read to find out.
    const bool ascii = (l.ascii || (!l.owned && text_measure::is_ascii(left))) && (rAscii || text_measure::is_ascii(r));
    const auto stopped = [this] { return StopRequested(); };
    if (l.owned && length <= l.value.ownedText->capacity()) {
        append_asking(*l.value.ownedText, r, stopped);
    } else {
        // A new string, checked before it is made: it must fit beside the texts of
        // both operands, which are held until it is done. It gets the room a kept
        // text may have, when the budget allows that: the joins that follow in the
        // expression use it, and the store takes the string as it is.
        const size_t held = (l.owned ? kept_text::Held(*l.value.ownedText) : 0) + rHeld;
        CheckNewBlock(kept_text::HeldFor(length), held);
        size_t room = length + kept_text::Slack(length);
        if (kept_text::HeldFor(room) + held > Memory.Room()) room = length;
        std::string joined;
        joined.reserve(room);
        append_asking(joined, left, stopped);
        append_asking(joined, r, stopped);
        // A stopped join leaves the left text as it was.
        if (!StopRequested()) l.SetOwnedText(std::move(joined));
    }
    l.ascii = ascii;
}

void TVMachine::ExeBasicBAddString(const TVMCode*)
{
    // The left text is extended where it lies on the stack: no new value and no new
    // string for the result, which S$ = S$ + ... in a loop would pay for each time.
    if (ValueStack.size() >= 2) {
        TStackData& l = ValueStack.FromTop(1);
        const TStackData& r = ValueStack.back();
        if (l.type == sdString && r.type == sdString) [[likely]] {
            JoinText(l, r.View(), r.ascii, r.owned ? kept_text::Held(*r.value.ownedText) : 0);
            ValueStack.pop_back();
            return;
        }
    }
    TStackData r = Pop();
    TStackData l = Pop();
    CheckNewText(l.TextLength() + r.TextLength());
    std::string joined = l.TakeText();  // an owned left text lends its storage
    const char* rt = r.CString();
    if (rt != nullptr) joined += rt;
    PushOwnedString(std::move(joined));
}

void TVMachine::ExeBasicBSubInt(const TVMCode*)
{
    const int32_t r = PopInt();
    const int32_t l = PopInt();
    PushInt(wrap_sub(l, r));
}

void TVMachine::ExeBasicBSubFloat(const TVMCode*)
{
    const float r = PopFloat();
    const float l = PopFloat();
    PushFloat(l - r);
}

void TVMachine::ExeBasicBSubDouble(const TVMCode*)
{
    const double r = PopDouble();
    const double l = PopDouble();
    PushDouble(l - r);
}

void TVMachine::ExeBasicBMulInt(const TVMCode*)
{
    const int32_t r = PopInt();
    const int32_t l = PopInt();
    PushInt(wrap_mul(l, r));
}

void TVMachine::ExeBasicBMulFloat(const TVMCode*)
{
    const float r = PopFloat();
    const float l = PopFloat();
    PushFloat(l * r);
}

void TVMachine::ExeBasicBMulDouble(const TVMCode*)
{
    const double r = PopDouble();
    const double l = PopDouble();
    PushDouble(l * r);
}

void TVMachine::ExeBasicBDivFloat(const TVMCode*)
{
    const float r = PopFloat();
    const float l = PopFloat();
    if (r == 0) throw RuntimeException2(RTE_DIV_BY_ZERO);
    PushFloat(l / r);
}

void TVMachine::ExeBasicBDivDouble(const TVMCode*)
{
    const double r = PopDouble();
    const double l = PopDouble();
    if (r == 0) throw RuntimeException2(RTE_DIV_BY_ZERO);
    PushDouble(l / r);
}

// Integer division truncates toward zero. The one quotient that does not fit,
// -2147483648 \ -1, wraps to -2147483648 (its remainder is 0).
void TVMachine::ExeBasicBIdivInt(const TVMCode*)
{
    const int32_t r = PopInt();
    const int32_t l = PopInt();
    if (r == 0) throw RuntimeException2(RTE_DIV_BY_ZERO);
    PushInt(r == -1 ? wrap_sub(0, l) : l / r);
}

void TVMachine::ExeBasicBModInt(const TVMCode*)
{
    const int32_t r = PopInt();
    const int32_t l = PopInt();
    if (r == 0) throw RuntimeException2(RTE_DIV_BY_ZERO);
    PushInt(r == -1 ? 0 : l % r);
}

void TVMachine::ExeBasicBPowFloat(const TVMCode*)
{
    const float r = PopFloat();
    const float l = PopFloat();
    const auto x = static_cast<double>(l);
    // The square of a single-precision number is exact in double precision, so pow,
    // which is off by less than a unit in the last place, gives just that product.
    PushFloat(static_cast<float>(r == 2.0f ? x * x : std::pow(x, static_cast<double>(r))));
}

void TVMachine::ExeBasicBPowDouble(const TVMCode*)
{
    const double r = PopDouble();
    const double l = PopDouble();
    PushDouble(std::pow(l, r));
}

void TVMachine::ExeBasicBNegaInt(const TVMCode*)
{
    PushInt(wrap_sub(0, PopInt()));
}

void TVMachine::ExeBasicBNegaFloat(const TVMCode*)
{
    PushFloat(-PopFloat());
}

void TVMachine::ExeBasicBNegaDouble(const TVMCode*)
{
    PushDouble(-PopDouble());
}

// --- comparisons ---

template <int Op>
void TVMachine::ExeBasicBCompareInt(const TVMCode*)
{
    const int32_t r = PopInt();
    const int32_t l = PopInt();
    PushInt(compare<Op>(l, r) ? -1 : 0);
}

template <int Op>
void TVMachine::ExeBasicBCompareFloat(const TVMCode*)
{
    const float r = PopFloat();
    const float l = PopFloat();
    PushInt(compare<Op>(l, r) ? -1 : 0);
}

template <int Op>
void TVMachine::ExeBasicBCompareDouble(const TVMCode*)
{
    const double r = PopDouble();
    const double l = PopDouble();
    PushInt(compare<Op>(l, r) ? -1 : 0);
}

// Texts compare byte by byte as unsigned bytes; a prefix is the lesser.
template <int Op>
void TVMachine::ExeBasicBCompareString(const TVMCode*)
{
    const TStackData r = Pop();
    const TStackData l = Pop();
    const char* lt = l.CString();
    const char* rt = r.CString();
    const int order = std::strcmp(lt ? lt : "", rt ? rt : "");
    PushInt(compare<Op>(order, 0) ? -1 : 0);
}

// --- logical operators on 16 bits ---

void TVMachine::ExeBasicBNotInt(const TVMCode*)
{
    const int16_t a = low16(PopInt());
    PushInt(static_cast<int16_t>(~a));
}

template <int Op>
void TVMachine::ExeBasicBLogicInt(const TVMCode*)
{
    const int16_t b = low16(PopInt());
    const int16_t a = low16(PopInt());
    int16_t r = 0;
    if constexpr (Op == OP_AND) r = static_cast<int16_t>(a & b);
    if constexpr (Op == OP_OR) r = static_cast<int16_t>(a | b);
    if constexpr (Op == OP_XOR) r = static_cast<int16_t>(a ^ b);
    if constexpr (Op == OP_IMP) r = static_cast<int16_t>(~a | b);
    if constexpr (Op == OP_EQV) r = static_cast<int16_t>(~(a ^ b));
    PushInt(r);
}

// The operator rows of the dispatch table: 0x1000 + 4 × operator + type.
void TVMachine::InitFuncTableOperators(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcBAddInt, &M::ExeBasicBAddInt},
        {vcBAddFloat, &M::ExeBasicBAddFloat},
        {vcBAddDouble, &M::ExeBasicBAddDouble},
        {vcBAddString, &M::ExeBasicBAddString},
        {vcBSubInt, &M::ExeBasicBSubInt},
        {vcBSubFloat, &M::ExeBasicBSubFloat},
        {vcBSubDouble, &M::ExeBasicBSubDouble},
        {vcBSubString, &M::ExeBasicNothing},
        {vcBMulInt, &M::ExeBasicBMulInt},
        {vcBMulFloat, &M::ExeBasicBMulFloat},
        {vcBMulDouble, &M::ExeBasicBMulDouble},
        {vcBMulString, &M::ExeBasicNothing},
        {vcBDivInt, &M::ExeBasicNothing},
        {vcBDivFloat, &M::ExeBasicBDivFloat},
        {vcBDivDouble, &M::ExeBasicBDivDouble},
        {vcBDivString, &M::ExeBasicNothing},
        {vcBIdivInt, &M::ExeBasicBIdivInt},
        {vcBIdivFloat, &M::ExeBasicBIdivInt},
        {vcBIdivDouble, &M::ExeBasicBIdivInt},
        {vcBIdivString, &M::ExeBasicNothing},
        {vcBModInt, &M::ExeBasicBModInt},
        {vcBModFloat, &M::ExeBasicBModInt},
        {vcBModDouble, &M::ExeBasicBModInt},
        {vcBModString, &M::ExeBasicNothing},
        {vcBPowInt, &M::ExeBasicNothing},
        {vcBPowFloat, &M::ExeBasicBPowFloat},
        {vcBPowDouble, &M::ExeBasicBPowDouble},
        {vcBPowString, &M::ExeBasicNothing},
        {vcBNegaInt, &M::ExeBasicBNegaInt},
        {vcBNegaFloat, &M::ExeBasicBNegaFloat},
        {vcBNegaDouble, &M::ExeBasicBNegaDouble},
        {vcBNegaString, &M::ExeBasicNothing},
        {vcBEqualInt, &M::ExeBasicBCompareInt<OP_EQUAL>},
        {vcBEqualFloat, &M::ExeBasicBCompareFloat<OP_EQUAL>},
        {vcBEqualDouble, &M::ExeBasicBCompareDouble<OP_EQUAL>},
        {vcBEqualString, &M::ExeBasicBCompareString<OP_EQUAL>},
        {vcBNoteqInt, &M::ExeBasicBCompareInt<OP_NOTEQ>},
        {vcBNoteqFloat, &M::ExeBasicBCompareFloat<OP_NOTEQ>},
        {vcBNoteqDouble, &M::ExeBasicBCompareDouble<OP_NOTEQ>},
        {vcBNoteqString, &M::ExeBasicBCompareString<OP_NOTEQ>},
        {vcBLtInt, &M::ExeBasicBCompareInt<OP_LT>},
        {vcBLtFloat, &M::ExeBasicBCompareFloat<OP_LT>},
        {vcBLtDouble, &M::ExeBasicBCompareDouble<OP_LT>},
        {vcBLtString, &M::ExeBasicBCompareString<OP_LT>},
        {vcBLeInt, &M::ExeBasicBCompareInt<OP_LE>},
        {vcBLeFloat, &M::ExeBasicBCompareFloat<OP_LE>},
        {vcBLeDouble, &M::ExeBasicBCompareDouble<OP_LE>},
        {vcBLeString, &M::ExeBasicBCompareString<OP_LE>},
        {vcBGtInt, &M::ExeBasicBCompareInt<OP_GT>},
        {vcBGtFloat, &M::ExeBasicBCompareFloat<OP_GT>},
        {vcBGtDouble, &M::ExeBasicBCompareDouble<OP_GT>},
        {vcBGtString, &M::ExeBasicBCompareString<OP_GT>},
        {vcBGeInt, &M::ExeBasicBCompareInt<OP_GE>},
        {vcBGeFloat, &M::ExeBasicBCompareFloat<OP_GE>},
        {vcBGeDouble, &M::ExeBasicBCompareDouble<OP_GE>},
        {vcBGeString, &M::ExeBasicBCompareString<OP_GE>},
        {vcBNotInt, &M::ExeBasicBNotInt},
        {vcBNotFloat, &M::ExeBasicBNotInt},
        {vcBNotDouble, &M::ExeBasicBNotInt},
        {vcBNotString, &M::ExeBasicNothing},
        {vcBAndInt, &M::ExeBasicBLogicInt<OP_AND>},
        {vcBAndFloat, &M::ExeBasicBLogicInt<OP_AND>},
        {vcBAndDouble, &M::ExeBasicBLogicInt<OP_AND>},
        {vcBAndString, &M::ExeBasicNothing},
        {vcBOrInt, &M::ExeBasicBLogicInt<OP_OR>},
        {vcBOrFloat, &M::ExeBasicBLogicInt<OP_OR>},
        {vcBOrDouble, &M::ExeBasicBLogicInt<OP_OR>},
        {vcBOrString, &M::ExeBasicNothing},
        {vcBXorInt, &M::ExeBasicBLogicInt<OP_XOR>},
        {vcBXorFloat, &M::ExeBasicBLogicInt<OP_XOR>},
        {vcBXorDouble, &M::ExeBasicBLogicInt<OP_XOR>},
        {vcBXorString, &M::ExeBasicNothing},
        {vcBImpInt, &M::ExeBasicBLogicInt<OP_IMP>},
        {vcBImpFloat, &M::ExeBasicBLogicInt<OP_IMP>},
        {vcBImpDouble, &M::ExeBasicBLogicInt<OP_IMP>},
        {vcBImpString, &M::ExeBasicNothing},
        {vcBEqvInt, &M::ExeBasicBLogicInt<OP_EQV>},
        {vcBEqvFloat, &M::ExeBasicBLogicInt<OP_EQV>},
        {vcBEqvDouble, &M::ExeBasicBLogicInt<OP_EQV>},
        {vcBEqvString, &M::ExeBasicNothing},
    });
}
