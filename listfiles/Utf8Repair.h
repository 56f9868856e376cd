#pragma once
// Making text that should be UTF-8 hold only well-formed UTF-8, so that the editor
// can keep it and a save writes back what the editor shows.

#include <cstdint>
#include <string>

// Replaces every byte that does not begin or continue a well-formed UTF-8 sequence
// (overlong forms, surrogates and code points beyond U+10FFFF included) by U+FFFD,
// one replacement per byte. Returns how many bytes were replaced.
int64_t repair_utf8(std::string& text);
