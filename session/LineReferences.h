#pragma once
// The line numbers that the statements of one list line refer to: the targets of
// GOTO, GO TO and GOSUB (also in ON ... GOTO/GOSUB lists and the event traps'
// GOSUB lists), of THEN and ELSE, and of RETURN, RESTORE, RESUME and RUN. The line
// is read with the compiler's token rules and keyword tables, so that strings, REM,
// ' comments and DATA are passed over as the compiler passes over them. The start
// line of CHAIN belongs to another list and is left out.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// A target written as a plain decimal number.
struct TLineReference {
    size_t Offset = 0;   // where its digits begin in the statement text
    size_t Length = 0;   // how many digits
    int32_t Number = 0;  // their value; past the 32-bit range the largest value
};

struct TLineReferences {
    std::vector<TLineReference> Literal;
    // A target that is an expression (GOTO A*10): its line is known only when the
    // jump runs.
    bool Computed = false;
};

// `statements`: one list line after its line number, without the line feed.
TLineReferences find_line_references(std::string_view statements);
