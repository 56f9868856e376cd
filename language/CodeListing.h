#pragma once
// Code listing: a code vector as text, one record a line, the code's name and
// its operand, so that tests can state expected code as text:
//
//   vcBLineBegin 10
//   vcBPushString "@L1"
//   vcBPushInt 3
//   vcBJmp
//   @L1:
//   vcBExit
//
// Operands by kind: Long and Single/Double as decimal numbers (shortest form
// that reads back to the same value), Flag as true/false, Text in double
// quotes (with \" \\ and \xNN for control bytes), Var as the variable's name.
// A number that carries no code is printed as "?" and the number in hex.
// Internal labels ("@L" and decimal digits) are renumbered @L1, @L2, ... in
// order of first appearance, so the listing does not depend on how many
// labels the compiler made before.

#include <cstddef>
#include <string>
#include <vector>

#include "language/VMCode.h"

class TMidCode;

// The records of `codes` from index `from` on, each line ended by "\n".
std::string ListCodes(const std::vector<TVMCode>& codes, size_t from = 0);

// The records of a container from index `from` on (by default past the
// placeholder), with a line "<label>:" before the record that each label of
// LabelMap points at (program labels first in key order, then internal labels
// in the order they were made); labels pointing past the last record come at
// the end, labels of index 0 (missing) are left out.
std::string ListCodes(const TMidCode& mid, size_t from = 1);

// One record, without label renumbering.
std::string ListCode(const TVMCode& code);
