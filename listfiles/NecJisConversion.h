#pragma once
// Conversion of NEC JIS program lists to the JIS form that our conversion to
// UTF-8 reads: NEC's kanji shifts ESC K / ESC H become ESC $ B / ESC ( J, and
// with the preference "Cv98" the PC-98's peculiar characters are replaced
// through the tables of Pc98CharTables.h.

#include <cstdint>
#include <string>

// Converts `list` in place and returns the number of characters the tables
// replaced. Every byte sequence converts: a lone ESC, other escapes, pairs
// without a replacement, and a lone last byte in two-byte mode pass unchanged.
// `convertPc98` is the value of "Cv98", read once by the caller.
int64_t ConvertJisToJis(std::string& list, bool convertPc98);
