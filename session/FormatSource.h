#pragma once
// The compiler's copy of a program list, made as the editor makes it before a run:
// carriage returns and Control-Z become line feeds; a list whose first byte is not a
// digit has its non-empty lines numbered 1, 2, 3...; every line is cut at 500 bytes,
// the excess bytes becoming line feeds.

#include <string>

std::string format_source_for_compiler(const std::string& text);
