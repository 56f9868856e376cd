#pragma once
// Bounded byte reads from the bytes of a binary-saved program list.
//
// A position is a signed 64-bit offset from the list's first byte (the 0xFE
// header). Every read checks the position against the end of the bytes it is
// given and fails the decode, by throwing the int -1, instead of reading past
// them; callers bound a read by a record by handing in the bytes up to that
// record's terminator only.

#include <cstdint>
#include <string_view>

// The byte at *pos as 0 to 255; *pos moves on by one.
int BinSaveGetChar(std::string_view bytes, int64_t* pos);

// The two bytes at *pos, low byte first, as 0 to 65535; *pos moves on by two.
int BinSaveGetInt16(std::string_view bytes, int64_t* pos);

// Updates the kanji-mode flag from the two bytes just before `pos`: ESC K sets
// it, ESC H clears it, any other pair (or fewer than two bytes) leaves it.
void BinSaveJpnCheck(std::string_view bytes, int64_t pos, bool* kanjiMode);
