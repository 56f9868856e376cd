#pragma once
// The decoder of binary-saved (tokenised) program lists.
//
// A list is the byte 0xFE, its line records, and one end byte. A record is its
// length (from its first byte to the next record's, low byte first), its line
// number (low byte first), its tokenised body and one terminator byte. Program
// text saved from the machine's memory closes the records with a zero length
// (00 00) before the end byte.

#include <string>

// Turns the binary-saved list in `list` (the whole file, 0xFE first) into
// program text: each line's number, its decoded body and a line feed. Returns
// 0 with the text in `list`, or -1 when the list is malformed, with `list`
// unchanged.
int BinSaveToAsciiSave(std::string& list);
