#pragma once
// The call-stack list: one row per open GOSUB (the text of the calling line), then
// the current entry, always the last row: empty after construction and after a
// reset, "[Current] ..." while the program runs, "[Done]" or "[Killed]" after it.
// Choosing a row with a line asks the source list to show that line, and the row is
// let go at once, so that the same row can be chosen again.

#include <QListWidget>
#include <functional>
#include <string>

class TCallStackView : public QListWidget {
public:
    // `showLine` receives the line number of a chosen row.
    TCallStackView(std::function<void(int32_t)> showLine, QWidget* parent);

    // Leaves only an empty current entry.
    void ClearCallStack();
    void AddCallStack(int32_t lineNum, const std::string& text);
    // Removes the innermost call's row; nothing when none is open.
    void RemoveCallStack();
    // The current entry's line and text; line −1 for an entry without a line.
    void SetCurLine(int32_t lineNum, const std::string& text);
    // The open calls' rows (the current entry not counted).
    int CallCount() const { return count() - 1; }

private:
    void RowChosen();

    std::function<void(int32_t)> mShowLine;
};
