#pragma once
// The keywords of binary-saved program lists, by token number.
//
// A one-byte token 0x80..0xFE is keyed by the byte's value widened without
// sign; a two-byte token 0xFF b by 0xFF00 plus b. The two key ranges do not
// meet, so one map holds both tables.

#include <cstdint>
#include <map>
#include <string>

using BinSaveKeywordTable = std::map<int32_t, std::string>;

// Stores the 125 one-byte keyword and operator tokens into `table`, replacing
// entries under the same keys and leaving every other entry as it is.
void BinSaveInitRWMap1(BinSaveKeywordTable* table);

// Stores the 71 two-byte function tokens into `table`, in the same way.
void BinSaveInitRWMap2(BinSaveKeywordTable* table);
