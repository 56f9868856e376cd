#pragma once
// Numeric constants of binary-saved program lists.

#include <cstdint>
#include <string>
#include <string_view>

// Decodes the constant whose kind byte `marker` the caller has read, with its
// payload at *pos (two-byte payloads low byte first), and returns its program
// text; *pos moves on past the payload.
//
//   0x0B  2 bytes, unsigned    "&O" and octal digits
//   0x0C  2 bytes, unsigned    "&H" and upper-case hexadecimal digits
//   0x0E  2 bytes, signed      decimal
//   0x0F  1 byte, unsigned     decimal
//   0x10..0x19  none           the digit marker - 0x10
//   0x1C  2 bytes, signed      decimal
//   0x1D  4 bytes, MBF single  fixed-point; "!" when whole and in -32768..32767
//   0x1F  8 bytes, MBF double  fixed-point, then "#"
//
// Any other marker, and a payload that runs past `bytes`, throw the int -1.
std::string BinSaveDecodeNum(std::string_view bytes, int64_t* pos, unsigned char marker);
