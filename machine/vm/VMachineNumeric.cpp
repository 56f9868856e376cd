// Numeric functions and conversions: ABS, ATN, COS, EXP, LOG, SIN, SQR, TAN, FIX,
// INT, SGN, CINT, CSNG, CDBL, RND and RANDOMIZE.

#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "machine/devices/BasicRsrc.h"
#include "machine/text/LeadingNumbers.h"
#include "machine/vm/VMachine.h"

namespace {

// The random numbers of the whole process: every run continues the sequence where
// the previous one left it unless RANDOMIZE seeds it anew, and RND(0) repeats the
// last number drawn (0 before the first draw). Machines of different runs may
// overlap for a moment, so the state is guarded; by a spin lock, since the lock is
// all but never contended and RND is called in tight loops, where a mutex's lock
// and unlock calls cost more than the draw itself.
class TRandomNumbers {
public:
    void Seed(int32_t seed)
    {
        const TGuard guard(mBusy);
        mEngine.seed(static_cast<uint32_t>(seed));
    }
    // A new number in [0, 1): 24 random bits, so that rounding to single precision
    // can never make it 1.
    float Draw()
    {
        const TGuard guard(mBusy);
        mLast = static_cast<float>(mEngine() >> 8) * 0x1p-24f;
        return mLast;
    }
    float Last()
    {
        const TGuard guard(mBusy);
        return mLast;
    }

private:
    class TGuard {
    public:
        explicit TGuard(std::atomic_flag& busy) : mFlag(busy)
        {
            while (mFlag.test_and_set(std::memory_order_acquire)) std::this_thread::yield();
        }
        ~TGuard() { mFlag.clear(std::memory_order_release); }
        TGuard(const TGuard&) = delete;
        TGuard& operator=(const TGuard&) = delete;

    private:
        std::atomic_flag& mFlag;
    };

    std::atomic_flag mBusy;
    std::mt19937 mEngine;
    float mLast = 0;
};

TRandomNumbers& random_numbers()
{
    static TRandomNumbers numbers;
    return numbers;
}

// The value truncated (or rounded down) as a 32-bit integer; NaN gives 0 and values
// beyond the range give its nearest end.
int32_t to_int32(double x)
{
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (x <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(x);
}

}  // namespace

void TVMachine::InitFuncTableNumeric(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcAbs, &M::ExeBasicAbs},
        {vcAtn, &M::ExeBasicAtn},
        {vcCint, &M::ExeBasicCint},
        {vcCsng, &M::ExeBasicCsng},
        {vcCdbl, &M::ExeBasicCdbl},
        {vcCos, &M::ExeBasicCos},
        {vcExp, &M::ExeBasicExp},
        {vcFix, &M::ExeBasicFix},
        {vcInt, &M::ExeBasicInt},
        {vcLog, &M::ExeBasicLog},
        {vcRnd, &M::ExeBasicRnd},
        {vcSgn, &M::ExeBasicSgn},
        {vcSqr, &M::ExeBasicSqr},
        {vcSin, &M::ExeBasicSin},
        {vcTan, &M::ExeBasicTan},
        {vcRandomize, &M::ExeBasicRandomize},
    });
}

// The argument's own type chooses the precision: an integer or a single gives a
// single, a double a double. Any other entry is left alone and nothing is pushed.
// The result takes the argument's place on the stack.
void TVMachine::MathByTypeTag(double (*fn)(double))
{
    TStackData& x = Top();
    switch (x.type) {
    case sdLong: x.SetSingle(static_cast<float>(fn(static_cast<float>(x.value.l)))); break;
    case sdSingle: x.SetSingle(static_cast<float>(fn(x.value.f))); break;
    case sdDouble: x.SetDouble(fn(x.value.d)); break;
    default: break;
    }
}

void TVMachine::ExeBasicAbs(const TVMCode*)
{
    MathByTypeTag([](double x) { return std::fabs(x); });
}
void TVMachine::ExeBasicAtn(const TVMCode*)
{
    MathByTypeTag([](double x) { return std::atan(x); });
}
void TVMachine::ExeBasicCos(const TVMCode*)
{
    MathByTypeTag([](double x) { return std::cos(x); });
}
void TVMachine::ExeBasicExp(const TVMCode*)
{
    MathByTypeTag([](double x) { return std::exp(x); });
}
void TVMachine::ExeBasicLog(const TVMCode*)
{
    MathByTypeTag([](double x) { return std::log(x); });
}
void TVMachine::ExeBasicSin(const TVMCode*)
{
    MathByTypeTag([](double x) { return std::sin(x); });
}
void TVMachine::ExeBasicSqr(const TVMCode*)
{
    MathByTypeTag([](double x) { return std::sqrt(x); });
}
void TVMachine::ExeBasicTan(const TVMCode*)
{
    MathByTypeTag([](double x) { return std::tan(x); });
}

void TVMachine::ExeBasicFix(const TVMCode*)
{
    const TStackData x = Pop();
    switch (x.type) {
    case sdLong: PushInt(x.value.l); break;
    case sdSingle:
    case sdDouble: PushInt(to_int32(std::trunc(StackDouble(x)))); break;
    default: break;
    }
}

void TVMachine::ExeBasicInt(const TVMCode*)
{
    const TStackData x = Pop();
    switch (x.type) {
    case sdLong: PushInt(x.value.l); break;
    case sdSingle:
    case sdDouble: PushInt(to_int32(std::floor(StackDouble(x)))); break;
    default: break;
    }
}

void TVMachine::ExeBasicSgn(const TVMCode*)
{
    const double x = PopDouble();
    PushInt(x > 0 ? 1 : x == 0 ? 0 : -1);
}

void TVMachine::ExeBasicCint(const TVMCode*)
{
    PushInt(PopInt());
}
void TVMachine::ExeBasicCsng(const TVMCode*)
{
    PushFloat(PopFloat());
}
void TVMachine::ExeBasicCdbl(const TVMCode*)
{
    PushDouble(PopDouble());
}

void TVMachine::ExeBasicRnd(const TVMCode*)
{
    // The number drawn takes the argument's place on the stack.
    TStackData& x = Top();
    x.SetSingle(StackDouble(x) > 0 ? random_numbers().Draw() : random_numbers().Last());
}

void TVMachine::ExeBasicRandomize(const TVMCode* code)
{
    int32_t seed = 0;
    if (OperandFlag(code)) {
        seed = PopInt();
    } else {
        Rsrc->Print("Random number seed (-32768 to 32767)? ");
        Rsrc->UpdateScreen();
        std::vector<std::string> items;
        InputFromUser(&items, true, nullptr);
        // A run being stopped leaves the generator as it was.
        if (StopRequested()) return;
        seed = leading_decimal_integer(items.empty() ? std::string() : items.front());
    }
    random_numbers().Seed(seed);
}
