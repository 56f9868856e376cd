#pragma once
// A token of a music string and the kinds a token can be.

#include <cstdint>
#include <string>

// The kinds in the order of the compile handler table, which they index.
enum TMmlTokenKind : int32_t {
    mtkNumber = 0,  // a run of digits
    mtkPitch = 1,   // "A" to "G", with an optional "+", "#" or "-"
    mtkM = 2,
    mtkS = 3,
    mtkV = 4,
    mtkL = 5,
    mtkQ = 6,
    mtkO = 7,
    mtkLt = 8,  // "<"
    mtkGt = 9,  // ">"
    mtkK = 10,
    mtkT = 11,
    mtkRest = 12,    // "R" or "P"
    mtkPlus = 13,    // "+" or "#"
    mtkMinus = 14,   // "-"
    mtkPeriod = 15,  // "."
    mtkComma = 16,   // ","
    mtkHat = 17,     // "^"
    mtkLseq = 18,    // "{"
    mtkRseq = 19,    // "}"
    mtkAt = 20,      // "@"
    mtkY = 21,
    mtkAtV = 22,    // "@V"
    mtkAtW = 23,    // "@W"
    mtkTrans = 24,  // "_"
    mtkLfo = 25,    // "!"
    mtkBeep = 26,   // a double quote
    mtkStar = 27,   // "*"
    mtkZ = 28,
    mtkMf = 29,   // "MF"
    mtkMb = 30,   // "MB"
    mtkEnd = 31,  // the end of the text
};

inline constexpr int kMmlTokenKinds = 32;

// The key of every rejected music string. It travels as a plain C string exception,
// which the PLAY and BEEP handlers turn into a run-time error.
inline constexpr const char* kBadMmlKey = "@Runtime_Err_Bad_MML@";

struct TMmlToken {
    TMmlTokenKind Kind = mtkEnd;
    // The digits of a number, or the semitone of a note as a decimal number (-1 to 12);
    // empty for every other kind.
    std::string Text;
};
