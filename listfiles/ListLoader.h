#pragma once
// Turning the bytes of a program-list file into the editor's UTF-8 text: a
// binary-saved list (first byte 0xFE) is decoded first; a text list loses its
// CR and Control-Z bytes; then the list is converted from the encoding that
// was asked for, or that detection chooses, to UTF-8.

#include <cstdint>
#include <string>

// The encoding request: the index of the open panel's Encoding item, the
// value of the preference "DEnc".
enum TListEncoding : int32_t {
    LIST_ENCODING_AUTO_DETECT = 0,
    LIST_ENCODING_UTF8 = 2,
    LIST_ENCODING_SHIFT_JIS = 3,
    LIST_ENCODING_JIS = 4,
};

// The conversion a list was read with, as the editor keeps it.
enum TListConversion : int32_t {
    LIST_CONVERSION_NONE = 0,
    LIST_CONVERSION_SHIFT_JIS = 11,
    LIST_CONVERSION_JIS = 13,
    // Read as UTF-8 with bytes that were not UTF-8, or NUL bytes, replaced: like a
    // converted list, it is not saved over its file without the user choosing the name.
    LIST_CONVERSION_REPAIRED_UTF8 = 1,
};

// Stands for every character that has no UTF-8 form (U+3013 GETA MARK): a visible
// character that survives the compiler's copy and a save, unlike Control-Z.
inline constexpr char kUnconvertibleMark[] = "\xE3\x80\x93";

struct TLoadedList {
    bool BadBinSave = false;  // a binary-saved list the decoder rejected: nothing else is set
    std::string Text;         // well-formed UTF-8, lines ended by line feeds; holds no NUL byte
    int32_t LoadedConversion = LIST_CONVERSION_NONE;
    std::string Note;  // the status-bar notes of the conversion, or empty
};

// The text of the list file whose whole content is `bytes`, read with the
// encoding request `encoding` (an unknown value reads as UTF-8). `convertPc98`
// is the preference "Cv98", read once by the caller.
TLoadedList LoadListText(std::string bytes, int32_t encoding, bool convertPc98);
