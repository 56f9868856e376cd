#pragma once
// Guessing the line ends and the encoding of a text.

// The line ends of a NUL-terminated text, from the counts of CR and LF bytes alone:
// 1 (CR LF) for equal counts that are not zero, 2 (CR) for more CRs than LFs,
// 0 (LF) otherwise, a text without line ends included.
int detect_cr_type(const char* text);

// The encoding of a NUL-terminated text, as the conversion number the list loader
// hands to the conversion to UTF-8: 13 (JIS) when the text holds an ESC byte outside
// a multi-byte sequence, else 11 (Shift-JIS) when a byte sequence is not shaped like
// UTF-8, else 0 (UTF-8 or plain ASCII, no conversion).
int detect_char_set(const char* text);
