#pragma once
// The text forms of values that PRINT and WRITE give them (also used by PRINT # and
// WRITE #).

#include <cstddef>
#include <string>

#include "machine/vm/StackData.h"

// A number as PRINT shows it: a blank (or the minus sign), the value with 6
// significant digits in the general form of C's %g, and a blank.
std::string GetPrintStrFromNum(double value);
// A number without the blanks: the general form with 6 significant digits.
std::string GetNumberText(double value);
// The same written into `out`, room enough for any number; gives its length.
std::size_t NumberChars(char (&out)[64], double value);
// The PRINT text of a value; a comma marker gives `spaces` blanks.
std::string GetPrintStr(const TStackData& value, int spaces);
// The WRITE text of a value: integers as digits, numbers in the general form, texts
// in double quotes, a separator marker as a comma.
std::string GetWriteStr(const TStackData& value);
