// Sound, time and system statements: PLAY, PLAY ALLOC and BEEP drive the music player;
// PEEK, INP and DEF SEG answer for the emulated hardware; DATE$, TIME$, SYSTEMTIME and
// SLEEP read the clock; KIVOVERSION$ gives the version text.

#include <algorithm>
#include <cstdio>
#include <vector>

#include "foundation/AppVersion.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/music/MMLPlayer.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

namespace {

constexpr int kPlayStrings = 6;

// The beep commands of the music language that BEEP 0, BEEP n and BEEP compile.
constexpr const char kBeepOff[] = "\"0";
constexpr const char kBeepOn[] = "\"1";
constexpr const char kBeepOnce[] = "\"2";

// PEEK's one meaningful address: 8 there tells a program that a MIDI output is connected.
constexpr uint32_t kMidiPresentAddress = 0xA3FEE;
constexpr int32_t kMidiPresent = 8;

// INP's ports: a 16-bit counter that advances every 833 microseconds, read a byte at a
// time, and the rows of the keyboard matrix.
constexpr int32_t kPortCounterLow = 0x5D;
constexpr int32_t kPortCounterHigh = 0x5F;
constexpr int64_t kCounterTick = 833;
constexpr int32_t kPortFirstKeyRow = 0xE0;
constexpr int32_t kPortLastKeyRow = 0xEC;
constexpr int32_t kPortLast = 0x7FFF;

// Bits of a keyboard row that no key clears, by row from 0xE0.
constexpr uint8_t kKeyRowAlwaysSet[] = {
    0x00, 0x30, 0x00, 0x00, 0x00, 0x00, 0x00,  // 0xE0 to 0xE6
    0x00, 0x00, 0x00, 0x00, 0xFC, 0x00,        // 0xE7 to 0xEC
};

// The longest single nap of SLEEP, so that a stop request ends it soon.
constexpr int64_t kSleepSlice = 20000;

std::string TwoDigits(int a, int b, int c, char separator)
{
    // Room for any int, so that the compiler can prove nothing is cut.
    char text[40];
    std::snprintf(text, sizeof text, "%02d%c%02d%c%02d", a, separator, b, separator, c);
    return text;
}

}  // namespace

void TVMachine::InitFuncTableSound(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcBeep, &M::ExeBasicBeep},
        {vcPlay, &M::ExeBasicPlay},
        {vcPlayAlloc, &M::ExeBasicPlayAlloc},
        {vcPeek, &M::ExeBasicPeek},
        {vcInp, &M::ExeBasicInp},
        {vcDefSeg, &M::ExeBasicDefSeg},
        {vcXSleep, &M::ExeBasicXSleep},
        {vcDateDl, &M::ExeBasicDateDl},
        {vcTimeDl, &M::ExeBasicTimeDl},
        {vcXSystemtime, &M::ExeBasicXSystemtime},
        {vcXKivoversionDl, &M::ExeBasicXKivoversionDl},
    });
}

// PLAY s1$[, ... s6$]: string k goes to channel k; the last is compiled first, and a
// rejected string stops the statement before the lower channels and before any wait.
// PLAY with no strings (PLAY alone, PLAY #n) does nothing.
void TVMachine::ExeBasicPlay(const TVMCode* code)
{
    const long count = code->Operand.Long;
    if (count < 0 || count > kPlayStrings) throw RuntimeException2(RTE_INTERNAL_ERROR);
    if (count == 0) return;
    std::vector<TStackData> strings(static_cast<size_t>(count));
    for (long i = count; i >= 1; --i) strings[static_cast<size_t>(i - 1)] = Pop();

    if (MmlPlayer != nullptr) MmlPlayer->ClearCompileLastTick();
    for (long i = count; i >= 1; --i) {
        const TStackData& text = strings[static_cast<size_t>(i - 1)];
        if (text.type == sdOmitted) continue;
        if (text.type != sdString) throw RuntimeException2(RTE_TYPE_MISMATCH);
        if (MmlPlayer == nullptr) continue;
        try {
            MmlPlayer->SetMml(static_cast<int16_t>(i), StackCString(text));
        } catch (const char*) {
            throw RuntimeException2(RTE_BAD_MML);
        }
    }
    if (MmlPlayer == nullptr) return;
    MmlPlayer->Resume();
    MmlPlayer->MfBlocking(*this);
}

// PLAY ALLOC: the sizes it lists have no effect. A compiler that evaluates them passes
// their count as the operand, and they are dropped so the stack stays as it was.
void TVMachine::ExeBasicPlayAlloc(const TVMCode* code)
{
    const long sizes = code->Operand.Long;
    if (sizes > 0 && sizes <= kPlayStrings) {
        for (long i = 0; i < sizes; ++i) Pop();
    }
    if (MmlPlayer == nullptr) return;
    MmlPlayer->Clear();
    MmlPlayer->BroadcastMidiInit();
}

// BEEP n switches the beep on (n not 0) or off without waiting; BEEP alone sounds it
// for half a second and waits for it.
void TVMachine::ExeBasicBeep(const TVMCode* code)
{
    const bool given = OperandFlag(code);
    const char* text = kBeepOnce;
    if (given) text = PopInt() == 0 ? kBeepOff : kBeepOn;
    if (MmlPlayer == nullptr) return;
    MmlPlayer->ClearCompileLastTick();
    try {
        MmlPlayer->SetMml(0, text);
    } catch (const char*) {
        throw RuntimeException2(RTE_BAD_MML);
    }
    MmlPlayer->Resume();
    if (!given) MmlPlayer->MfBlocking(*this);
}

void TVMachine::ExeBasicPeek(const TVMCode*)
{
    const uint32_t offset = static_cast<uint32_t>(PopInt());
    const uint32_t address = Rsrc->DefSeg * 16u + offset;
    int32_t value = 0;
    if (address == kMidiPresentAddress && MmlPlayer != nullptr && MmlPlayer->ProducerConnections() != 0)
        value = kMidiPresent;
    PushInt(value);
}

void TVMachine::ExeBasicDefSeg(const TVMCode*)
{
    const int32_t segment = PopInt();
    if (segment < 0) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    Rsrc->DefSeg = static_cast<uint32_t>(segment);
}

void TVMachine::ExeBasicInp(const TVMCode*)
{
    const int32_t port = PopInt();
    if (port < 0 || port > kPortLast) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    int32_t value = 0;
    if (port == kPortCounterLow) {
        value = static_cast<int32_t>(Clock->NowMicros() / kCounterTick % 256);
    } else if (port == kPortCounterHigh) {
        value = static_cast<int32_t>(Clock->NowMicros() / (kCounterTick * 256) % 256);
    } else if (port >= kPortFirstKeyRow && port <= kPortLastKeyRow) {
        const int row = port - kPortFirstKeyRow;
        const TKeyboardState* keyboard = Rsrc->Owner().Keyboard;
        const uint8_t keys = keyboard != nullptr ? keyboard->KeyMatrixRow(row) : 0xFF;
        value = keys | kKeyRowAlwaysSet[row];
    }
    PushInt(value);
}

// SLEEP n: n milliseconds, in naps short enough that a stop request ends it at once.
void TVMachine::ExeBasicXSleep(const TVMCode*)
{
    const int32_t milliseconds = PopInt();
    if (milliseconds < 0) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    const int64_t until = Clock->NowMicros() + static_cast<int64_t>(milliseconds) * 1000;
    while (!StopRequested()) {
        const int64_t left = until - Clock->NowMicros();
        if (left <= 0) break;
        Clock->SleepMicros(std::min(left, kSleepSlice));
    }
}

void TVMachine::ExeBasicDateDl(const TVMCode*)
{
    const std::tm now = Clock->LocalTime();
    // Two digits of the year, also from 2100 on (a year less 100 would have three).
    const int year = (now.tm_year % 100 + 100) % 100;
    PushOwnedString(TwoDigits(year, now.tm_mon + 1, now.tm_mday, '/'));
}

void TVMachine::ExeBasicTimeDl(const TVMCode*)
{
    const std::tm now = Clock->LocalTime();
    PushOwnedString(TwoDigits(now.tm_hour, now.tm_min, now.tm_sec, ':'));
}

void TVMachine::ExeBasicXSystemtime(const TVMCode*)
{
    const int64_t milliseconds = Clock->NowMicros() / 1000;
    PushInt(static_cast<int32_t>(static_cast<uint32_t>(milliseconds)));
}

void TVMachine::ExeBasicXKivoversionDl(const TVMCode*)
{
    PushOwnedString(gAppVer);
}
