#pragma once
// How a compile error names a line that has no accepted line number: by the line's
// own text, so that "Line: %Num%" never stands empty. A long line is named by its
// first bytes and an ellipsis, cut before a character, never inside one.

#include <string>
#include <string_view>

std::string error_line_text(std::string_view line);
