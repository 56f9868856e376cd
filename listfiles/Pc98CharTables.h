#pragma once
// Replacements for the PC-98's peculiar characters in NEC JIS program lists:
// one table for bytes read in one-byte mode, one for byte pairs read in
// two-byte (kanji) mode. A two-byte replacement is either another two-byte
// code or one-byte text framed by ESC ( J ... ESC $ B, so that the text is
// back in two-byte mode behind it.

#include <array>
#include <cstdint>
#include <map>
#include <string>

using Pc98OneByteTable = std::array<std::string, 256>;
using Pc98TwoByteTable = std::map<uint16_t, std::string>;  // key: first byte * 256 + second

// Sets every entry to its own byte and then, when `convertPc98` (the
// preference "Cv98") is on, the 56 replacements of the graphic bytes.
void ConvertJisToJisInit98CharTable1(Pc98OneByteTable* table, bool convertPc98);

// Inserts the 217 two-byte replacements into the empty `table` when
// `convertPc98` is on, and leaves it empty otherwise.
void ConvertJisToJisInit98CharTable2(Pc98TwoByteTable* table, bool convertPc98);
