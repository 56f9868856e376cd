#pragma once
// The call-stack list: one row per open GOSUB (the text of the calling line), then
// the current entry ("[Current] ..." while the program runs, "[Done]" or "[Killed]"
// after it). Selecting a row with a line asks the source list to show that line.

#include <QListWidget>
#include <functional>
#include <string>

class TCallStackView : public QListWidget {
public:
    // `showLine` receives the line number of a selected row.
    TCallStackView(std::function<void(int32_t)> showLine, QWidget* parent);

    void ClearCallStack();
    void AddCallStack(int32_t lineNum, const std::string& text);
    // Removes the innermost call's row; nothing when none is open.
    void RemoveCallStack();
    // The current entry; line −1 for an entry without a line.
    void SetCurLine(int32_t lineNum, const std::string& text);
    // The open calls' rows (the current entry not counted).
    int CallCount() const { return count() - (mHasCurrent ? 1 : 0); }

private:
    std::function<void(int32_t)> mShowLine;
    bool mHasCurrent = false;
};
