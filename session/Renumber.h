#pragma once
// Line numbers in the list text: where a line stands, and renumbering.
//
// Renumber gives every non-empty line from the lowest old number on a new number,
// counting from the first new number by the step; a line numbered below the lowest
// old number keeps its number, an empty line stays empty and uncounted, and a
// Control-Z ends the part that is renumbered. The new number replaces the digits
// at the head of the line and is followed by one blank unless the rest begins with
// one. Jumps to renumbered lines (GOTO, GOSUB, THEN, ELSE, ON lists, RETURN,
// RESTORE, RESUME, RUN) are rewritten with them; a renumbering that would put the
// lines out of order, give a kept line's number to another line or pass the largest
// line number is refused and the text is left exactly as it was.
//
// With the only-if-unnumbered flag (the compiler's copy of a list that has no line
// numbers) a text that begins with a digit is left alone, and only the heads of the
// lines are numbered: such a list has no line numbers for its jumps to refer to.
//
// A byte-order mark at the start of the text stays there; the first line's number
// is read, and written, after it.

#include <cstdint>
#include <string>
#include <string_view>

struct TRenumbered {
    bool Done = false;    // false: left alone because of the flag, or refused
    std::string Refusal;  // the alert of a refused renumbering
    std::string Note;     // the status-bar note naming lines whose jumps are computed
};

TRenumbered Renumber(std::string& text, int32_t newLine, int32_t oldLine, int32_t step, bool onlyIfUnnumbered);

// The byte offset of the line whose head is exactly `lineNum` (no blank before it,
// no leading zero, no further digit after it; the first line's head follows a
// byte-order mark), or -1. The text counts up to its first NUL.
int64_t OffsetFromLineNum(std::string_view text, int64_t lineNum);
