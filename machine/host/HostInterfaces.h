#pragma once
// The only ways the emulated machine and its devices reach the world outside the
// interpreter core. The application implements them on its windows; the headless
// driver and the tests use the implementations in HeadlessHost.h.
//
// Every call here may come from the machine thread (or the music player's thread for
// MIDI) while the window thread runs, so implementations must not block for long and
// must never wait for the machine.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "machine/host/ScreenRect.h"
#include "platform/MidiOutput.h"

// Redraw requests. The machine thread marks what changed and asks for a redraw; the
// receiver draws later, from its own thread, reading the screen under its lock.
// Requests may be coalesced; a request is never a wait.
class TScreenUpdateSink {
public:
    virtual ~TScreenUpdateSink() = default;
    virtual void ScreenUpdateRqtd(const TScreenRect& area) = 0;
};

// A request to run a program list again or another one ('vmrr'): the fields that
// the request carries, each present only when the sender set it.
struct TRunRequest {
    std::optional<int32_t> LineNum;    // start at this BASIC line
    std::optional<std::string> Label;  // or at this label
    std::optional<std::string> FileName;
    bool Merge = false;
    bool ROpt = false;
    bool NotFore = false;  // do not bring the run window to the front
};

// The receiver of run requests (the editor view in the application).
class TRunRequestSink {
public:
    virtual ~TRunRequestSink() = default;
    virtual void VMachineRunRqtd(const TRunRequest& request) = 0;
};

// The one-shot alarm of ON TIME$. Arm returns 0 when the time text was accepted and
// −1 when it is malformed; when the alarm goes off the receiver raises the machine's
// ON TIME$ interrupt.
class TOnTimeTimer {
public:
    virtual ~TOnTimeTimer() = default;
    virtual long SetOnTimeDl(const char* time) = 0;
};

// The access lamps of the two floppy drives shown in the run window: each access adds
// +1 when it begins and −1 when it ends.
class TDriveLamps {
public:
    virtual ~TDriveLamps() = default;
    virtual void SetFDDAccessLampRqtd(int drvFolderIdx, int delta) = 0;
};

// Glyphs of the screen font for PUT@ KANJI: a 16 by 16 pixel image of one character,
// one 16-bit row each, the leftmost pixel in the highest bit.
class TGlyphSource {
public:
    virtual ~TGlyphSource() = default;
    // False when the font has no glyph for the character (utf8: one character).
    virtual bool GlyphRows(const std::string& utf8, uint16_t rows[16]) const = 0;
};

// The state of the host keyboard that INP reads, as the emulated keyboard matrix:
// row 0 to 15, a bit cleared for each key of that row held down.
class TKeyboardState {
public:
    virtual ~TKeyboardState() = default;
    virtual uint8_t KeyMatrixRow(int row) const = 0;
};

// Time as the machine and the music player see it. Tests replace it so that timing
// code runs without sleeping.
class THostClock {
public:
    virtual ~THostClock() = default;
    // Microseconds of a monotonic clock.
    virtual int64_t NowMicros() const = 0;
    virtual void SleepMicros(int64_t micros) const = 0;
    // The local date and time of day now (DATE$, TIME$); the C library's by default.
    virtual std::tm LocalTime() const
    {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return local;
    }
};

// The time of day of an ON TIME$ text "hh:mm:ss": false when the text is not eight
// characters with ':' third and sixth, or the hours exceed 23, or the minutes or
// seconds lie outside 0 to 59. A field may start with blanks and a sign (" 1", "+5",
// "-0"), as strtol reads it, but needs a digit. Shared by every TOnTimeTimer.
bool parse_on_time_text(const char* text, int& hours, int& minutes, int& seconds);
