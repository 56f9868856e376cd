#pragma once
// Decoders of the items of a binary-saved program line that carry text of
// their own: the line header, keywords, string literals, names and labels, DATA
// bodies, remarks and runs of spaces.
//
// Each decoder starts just after the item's marker byte (the caller has read
// it), returns the item's program text and leaves *pos just after the last
// byte it consumed. The end of the line is the position of the line's
// terminator, lineStart + lineLength - 1; a decoder that reads to the end of
// the line stops there and leaves the terminator unread. A read past `bytes`
// fails with the int -1 (see BinSaveReader.h). Kanji shift sequences are
// copied unchanged: character sets are converted after the whole list.

#include <cstdint>
#include <string>
#include <string_view>

#include "listfiles/BinSaveKeywordTables.h"

// Reads the 4-byte header at *pos (line length, line number, both low byte
// first), stores the line length in *lineLength and returns the line number in
// decimal. *pos moves on by 4.
std::string BinSaveGetLineInfo(std::string_view bytes, int64_t* pos, int64_t* lineLength);

// The keyword stored under `token`; throws the int -1 when there is none.
std::string BinSaveDecodeReservedWord(int32_t token, const BinSaveKeywordTable& table);

// A string literal: a quotation mark and the bytes up to and including the next
// 0x22 outside kanji mode, or up to the end of the line.
std::string BinSaveDecodeDQuote(std::string_view bytes, int64_t* pos, int64_t lineStart, int64_t lineLength);

// A name or label: `firstLetter`, then as many bytes as the count byte at *pos says.
std::string BinSaveDecodeLabelAndVar(std::string_view bytes, int64_t* pos, unsigned char firstLetter);

// A DATA statement: "DATA" and its bytes, up to and including a ':' outside
// quotes and kanji mode, up to (not including) a 0x00 outside quotes and kanji
// mode, or up to the end of the line.
std::string BinSaveDecodeData(std::string_view bytes, int64_t* pos, int64_t lineStart, int64_t lineLength);

// A remark: every byte up to the end of the line, unchanged.
std::string BinSaveDecodeRem(std::string_view bytes, int64_t* pos, int64_t lineStart, int64_t lineLength);

// A run of `count` spaces (markers 0x01 to 0x09).
std::string BinSaveDecodeSpace(unsigned char count);
