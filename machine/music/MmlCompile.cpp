// The music-string compiler of TMmlPlayer: turns a string into timed commands in the
// queue of the channel being compiled. Runs on the machine thread only.

#include <algorithm>
#include <charconv>

#include "machine/music/MMLPlayer.h"
#include "machine/music/MmlTables.h"
#include "machine/music/MusicClock.h"

namespace {

[[noreturn]] void BadMml()
{
    throw kBadMmlKey;
}

constexpr int32_t kWholeNoteTicks = TMmlPlayer::kTicksPerQuarter * 4;

// The longest length number: its value is taken as a signed 16-bit number, so larger
// ones (and 0) would have no duration or a negative one.
constexpr int32_t kMaxLengthNumber = 32767;

// Notes are MIDI data bytes.
constexpr int16_t kHighestNote = 127;

// The beep: its note, velocity and the durations of its commands.
constexpr int16_t kBeepNote = 81;
constexpr int16_t kBeepVelocity = 127;
constexpr int64_t kBeepMinInterval = 1000;  // microseconds between accepted beep-ons (or offs)
constexpr int64_t kBeepSwitchTime = 1000;   // microseconds that BEEP 1 and BEEP 0 take
constexpr uint32_t kBeepLength = 500000;    // microseconds of a plain BEEP

int64_t TicksOfLength(int32_t number)
{
    return static_cast<int64_t>(kWholeNoteTicks / 4 / number) * 4;
}

}  // namespace

// Indexed by TMmlTokenKind.
const std::array<TMmlPlayer::CompileFunc, kMmlTokenKinds> TMmlPlayer::kCompileFuncs{
    &TMmlPlayer::CompileFuncNone,     //  0 number
    &TMmlPlayer::CompileFuncPitch,    //  1 note
    &TMmlPlayer::CompileFuncSkipOne,  //  2 M
    &TMmlPlayer::CompileFuncS,        //  3 S
    &TMmlPlayer::CompileFuncV,        //  4 V
    &TMmlPlayer::CompileFuncL,        //  5 L
    &TMmlPlayer::CompileFuncQ,        //  6 Q
    &TMmlPlayer::CompileFuncO,        //  7 O
    &TMmlPlayer::CompileFuncLt,       //  8 <
    &TMmlPlayer::CompileFuncGt,       //  9 >
    &TMmlPlayer::CompileFuncSkipOne,  // 10 K
    &TMmlPlayer::CompileFuncT,        // 11 T
    &TMmlPlayer::CompileFuncR,        // 12 R, P
    &TMmlPlayer::CompileFuncStray,    // 13 + #
    &TMmlPlayer::CompileFuncStray,    // 14 -
    &TMmlPlayer::CompileFuncStray,    // 15 .
    &TMmlPlayer::CompileFuncNone,     // 16 ,
    &TMmlPlayer::CompileFuncStray,    // 17 ^
    &TMmlPlayer::CompileFuncLseq,     // 18 {
    &TMmlPlayer::CompileFuncStray,    // 19 }
    &TMmlPlayer::CompileFuncAt,       // 20 @
    &TMmlPlayer::CompileFuncY,        // 21 Y
    &TMmlPlayer::CompileFuncAtV,      // 22 @V
    &TMmlPlayer::CompileFuncSkipOne,  // 23 @W
    &TMmlPlayer::CompileFuncSkipOne,  // 24 _
    &TMmlPlayer::CompileFuncNone,     // 25 !
    &TMmlPlayer::CompileFuncBeep,     // 26 "
    &TMmlPlayer::CompileFuncNone,     // 27 *
    &TMmlPlayer::CompileFuncZ,        // 28 Z
    &TMmlPlayer::CompileFuncMf,       // 29 MF
    &TMmlPlayer::CompileFuncMb,       // 30 MB
    nullptr,                          // 31 end: Compile stops before it
};

bool TMmlPlayer::SetMml(int16_t channel, const char* text)
{
    if (text == nullptr || *text == '\0' || channel < 0 || channel >= kChannels) return false;
    mTokenizer.SetText(text);
    mCompileChannel = channel;
    Compile();
    return true;
}

void TMmlPlayer::Compile()
{
    TMmlToken token = mTokenizer.Token();
    while (token.Kind != mtkEnd) token = (this->*kCompileFuncs[token.Kind])(token);
}

void TMmlPlayer::AddMidiCmd(TPlayMidiCmd command, int16_t data1, int16_t data2)
{
    Channel& ch = Compiling();
    // A program change goes one tick early, before a note placed at the same position.
    int64_t tick = ch.CompilePos.load();
    if (command == pmcProgramChange) --tick;
    std::lock_guard<std::mutex> guard(ch.Lock);
    ch.Queue.emplace(static_cast<int16_t>(mCompileChannel), command, data1, data2, tick);
}

void TMmlPlayer::AddNote(int16_t pitch, int64_t ticks)
{
    Channel& ch = Compiling();
    const int64_t gate = ch.Gate.load();
    const int16_t velocity = static_cast<int16_t>(ch.Velocity.load());
    AddMidiCmd(pmcNoteOn, pitch, velocity);
    ch.CompilePos.fetch_add(gate * ticks / 8);
    AddMidiCmd(pmcNoteOff, pitch, velocity);
    ch.CompilePos.fetch_add((8 - gate) * ticks / 8);
    AddMidiCmd(pmcMarker, 0, 0);
}

int16_t TMmlPlayer::PitchFromToken(const TMmlToken& token) const
{
    int semitone = 0;
    std::from_chars(token.Text.data(), token.Text.data() + token.Text.size(), semitone);
    const int pitch = 12 * mChannels[mCompileChannel].Octave.load() + 24 + semitone;
    if (pitch > kHighestNote) BadMml();
    return static_cast<int16_t>(pitch);
}

TMmlToken TMmlPlayer::CompileTick(int64_t* ticks)
{
    const int64_t defaultTicks = TicksOfLength(Compiling().Length.load());
    int64_t sum = 0;
    bool dotted = false;
    TMmlToken token = mTokenizer.Token();
    if (token.Kind == mtkNumber) {
        // Numbers one after another, with or without "^" between them, add up;
        // a "." after any of them makes the whole sum dotted.
        for (;;) {
            if (token.Kind == mtkNumber) {
                const int32_t number = TMmlTokenizer::NumberValue(token);
                if (number < 1 || number > kMaxLengthNumber) BadMml();
                sum += TicksOfLength(number);
                token = mTokenizer.Token();
                if (token.Kind == mtkPeriod) {
                    dotted = true;
                    token = mTokenizer.Token();
                }
            } else if (token.Kind == mtkHat) {
                token = mTokenizer.Token();
            } else {
                break;
            }
        }
    } else if (token.Kind == mtkPeriod) {
        sum = defaultTicks;
        dotted = true;
        token = mTokenizer.Token();
    } else {
        sum = defaultTicks;
    }
    if (dotted) sum += sum / 2;
    *ticks = sum;
    return token;
}

int32_t TMmlPlayer::ReadValue(int32_t min, int32_t max)
{
    const TMmlToken token = mTokenizer.Token();
    if (token.Kind != mtkNumber) BadMml();
    const int32_t value = TMmlTokenizer::NumberValue(token);
    if (value < min || value > max) BadMml();
    return value;
}

TMmlToken TMmlPlayer::SkipTokens(int count)
{
    for (int i = 0; i < count; ++i) mTokenizer.Token();
    return mTokenizer.Token();
}

void TMmlPlayer::SetVelocity(int32_t velocity)
{
    // The SSG channels are scaled by the SSG volume; a velocity never leaves 0 to 127.
    if (mCompileChannel >= 4) velocity = velocity * std::max(SsgVolume(), 0) / 100;
    Compiling().Velocity.store(std::clamp(velocity, 0, 127));
}

// ---------------------------------------------------------------------------
// Handlers

TMmlToken TMmlPlayer::CompileFuncNone(const TMmlToken&)
{
    return mTokenizer.Token();
}

TMmlToken TMmlPlayer::CompileFuncStray(const TMmlToken&)
{
    BadMml();
}

TMmlToken TMmlPlayer::CompileFuncSkipOne(const TMmlToken&)
{
    return SkipTokens(1);
}

TMmlToken TMmlPlayer::CompileFuncY(const TMmlToken&)
{
    return SkipTokens(3);
}

TMmlToken TMmlPlayer::CompileFuncZ(const TMmlToken&)
{
    return SkipTokens(3);
}

TMmlToken TMmlPlayer::CompileFuncPitch(const TMmlToken& token)
{
    const int16_t pitch = PitchFromToken(token);
    // The length is read before anything is queued, so a bad length leaves no note
    // sounding without its note-off.
    int64_t ticks = 0;
    TMmlToken next = CompileTick(&ticks);
    AddNote(pitch, ticks);
    return next;
}

TMmlToken TMmlPlayer::CompileFuncR(const TMmlToken&)
{
    int64_t ticks = 0;
    TMmlToken next = CompileTick(&ticks);
    AddMidiCmd(pmcMarker, 0, 0);
    Compiling().CompilePos.fetch_add(ticks);
    AddMidiCmd(pmcMarker, 0, 0);
    return next;
}

TMmlToken TMmlPlayer::CompileFuncLseq(const TMmlToken&)
{
    std::vector<TMmlToken> notes;
    for (TMmlToken token = mTokenizer.Token(); token.Kind != mtkRseq; token = mTokenizer.Token()) {
        if (token.Kind == mtkEnd || token.Kind == mtkLseq) BadMml();
        if (token.Kind == mtkPitch) notes.push_back(token);
    }
    int64_t ticks = 0;
    TMmlToken next = CompileTick(&ticks);
    if (notes.empty()) return next;
    std::vector<int16_t> pitches;
    for (const TMmlToken& note : notes) pitches.push_back(PitchFromToken(note));
    const int64_t each = ticks / static_cast<int64_t>(notes.size());
    for (int16_t pitch : pitches) AddNote(pitch, each);
    return next;
}

TMmlToken TMmlPlayer::CompileFuncS(const TMmlToken&)
{
    const int32_t n = ReadValue(0, static_cast<int32_t>(gMmlSsgTable.size()) - 1);
    AddMidiCmd(pmcProgramChange, gMmlSsgTable[n], 0);
    return mTokenizer.Token();
}

TMmlToken TMmlPlayer::CompileFuncAt(const TMmlToken&)
{
    const int32_t n = ReadValue(0, static_cast<int32_t>(gMmlVoiceTable.size()) - 1);
    AddMidiCmd(pmcProgramChange, gMmlVoiceTable[n], 0);
    return mTokenizer.Token();
}

TMmlToken TMmlPlayer::CompileFuncV(const TMmlToken&)
{
    SetVelocity(ReadValue(0, 15) * 127 / 15);
    return mTokenizer.Token();
}

TMmlToken TMmlPlayer::CompileFuncAtV(const TMmlToken&)
{
    SetVelocity(ReadValue(0, 127));
    return mTokenizer.Token();
}

TMmlToken TMmlPlayer::CompileFuncL(const TMmlToken&)
{
    Compiling().Length.store(ReadValue(1, 64));
    return mTokenizer.Token();
}

TMmlToken TMmlPlayer::CompileFuncQ(const TMmlToken&)
{
    Compiling().Gate.store(ReadValue(1, 8));
    return mTokenizer.Token();
}

TMmlToken TMmlPlayer::CompileFuncO(const TMmlToken&)
{
    Compiling().Octave.store(ReadValue(1, 8));
    return mTokenizer.Token();
}

TMmlToken TMmlPlayer::CompileFuncLt(const TMmlToken&)
{
    Channel& ch = Compiling();
    ch.Octave.store(std::max(ch.Octave.load() - 1, -1));
    return mTokenizer.Token();
}

TMmlToken TMmlPlayer::CompileFuncGt(const TMmlToken&)
{
    Channel& ch = Compiling();
    ch.Octave.store(std::min(ch.Octave.load() + 1, 9));
    return mTokenizer.Token();
}

TMmlToken TMmlPlayer::CompileFuncT(const TMmlToken&)
{
    AddMidiCmd(pmcTempo, static_cast<int16_t>(ReadValue(32, 255)), 0);
    return mTokenizer.Token();
}

TMmlToken TMmlPlayer::CompileFuncMf(const TMmlToken&)
{
    Compiling().Background.store(false);
    return mTokenizer.Token();
}

TMmlToken TMmlPlayer::CompileFuncMb(const TMmlToken&)
{
    Compiling().Background.store(true);
    return mTokenizer.Token();
}

// The beep command moves channel 0's compile position and uses channel 0's program,
// whatever channel is compiled; its commands go to the channel being compiled, which
// is channel 0 when it comes from BEEP.
TMmlToken TMmlPlayer::CompileFuncBeep(const TMmlToken&)
{
    const int32_t mode = ReadValue(0, 2);
    Channel& beep = mChannels[0];
    const uint32_t timePerTick = mTimePerTick.load(std::memory_order_acquire);
    const int64_t now = mClock.NowMicros();

    const auto sendProgramOnce = [&] {
        if (mBeepProgramSent.load()) return;
        AddMidiCmd(pmcProgramChange, static_cast<int16_t>(beep.Program.load()), 0);
        mBeepProgramSent.store(true);
        beep.CompilePos.fetch_add(1);
    };
    const auto accepted = [&](std::optional<int64_t>& last) {
        if (last.has_value() && now - *last < kBeepMinInterval) return false;
        last = now;
        return true;
    };

    switch (mode) {
    case 0:
        if (accepted(mLastBeepOff)) {
            AddMidiCmd(pmcNoteOff, kBeepNote, kBeepVelocity);
            beep.CompilePos.fetch_add(kBeepSwitchTime / timePerTick);
        }
        break;
    case 1:
        if (accepted(mLastBeepOn)) {
            sendProgramOnce();
            AddMidiCmd(pmcNoteOn, kBeepNote, kBeepVelocity);
            beep.CompilePos.fetch_add(kBeepSwitchTime / timePerTick);
        }
        break;
    default:
        sendProgramOnce();
        AddMidiCmd(pmcNoteOn, kBeepNote, kBeepVelocity);
        beep.CompilePos.fetch_add(kBeepLength / timePerTick);
        AddMidiCmd(pmcNoteOff, kBeepNote, kBeepVelocity);
        break;
    }
    return mTokenizer.Token();
}
