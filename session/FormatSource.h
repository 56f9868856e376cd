#pragma once
// The compiler's copy of a program list, made as the editor makes it before a run:
// carriage returns and Control-Z become line feeds; empty or blank lines before the
// first line with text are left out; a list without line numbers has
// its non-empty lines numbered 1, 2, 3... A list counts as numbered when its first
// line that is not blank begins with a digit, or when any line begins (after blanks)
// with a line number of 1 or more: numbering such a list would break its jumps. A
// line longer than 500 bytes is a compile error naming the line (its number, or
// its text when it has none), and nothing is compiled. A byte-order mark at the
// start of the list is left out of the copy: it opens no line.

#include <string>

struct TFormattedSource {
    std::string Text;
    std::string Error;  // the compile error alert, or empty
};

TFormattedSource format_source_for_compiler(const std::string& text);
