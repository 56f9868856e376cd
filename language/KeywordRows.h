#pragma once
// The keyword rows of the dialect, group by group, as the container's fillers
// enter them into FuncProcMap (keyword -> instruction code) and TokenKindMap
// (keyword -> token kind). The five code groups serve both maps: each of their
// rows enters its key with its code into FuncProcMap and with the group's kind
// (FuncProc tkFuncProc, Func and ExFunc tkFunc, Proc and ExProc tkProc) into
// TokenKindMap. The control words and word operators (Ctrl) are only token
// kinds. Keys are upper case with their suffix; "GO TO" is the one key with a
// blank. Both maps are sorted maps and no key stands in two rows, so the order
// of entry does not change their content; the statement rows stand in byte
// order of their keys.

#include <span>

#include "language/TokenKind.h"
#include "language/VMCodeCmd.h"

struct TKeywordCodeRow {
    const char* Key;
    TVMCodeCmd Code;
};

struct TKeywordKindRow {
    const char* Key;
    TTokenKind Kind;
};

std::span<const TKeywordKindRow> CtrlKeywordRows();      // 17 control words and word operators
std::span<const TKeywordCodeRow> FuncProcKeywordRows();  // 7, both function and statement
std::span<const TKeywordCodeRow> FuncKeywordRows();      // 67 functions
std::span<const TKeywordCodeRow> ExFuncKeywordRows();    // 2 extension functions
std::span<const TKeywordCodeRow> ProcKeywordRows();      // 95 statements
std::span<const TKeywordCodeRow> ExProcKeywordRows();    // 1 extension statement
