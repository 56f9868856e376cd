#pragma once
// The text view of the program editor: the list as plain text, one BASIC line a text
// line, and the modified flag that the save question reads.
//
// The text is kept exactly: read and written through ExactText, so that no character
// is converted (U+00A0, U+2028, U+2029 and a byte-order mark stay what they are).
//
// The list's positions are UTF-8 byte offsets, as the rest of the program counts them;
// Qt counts UTF-16 units. The byte-offset members convert at this boundary; an offset
// that falls inside a character counts as the character's first byte.
//
// The modified flag is set by every change of the text (typing, paste, drop, Cut,
// Clear, undo) and by every key except the navigation keys (arrows, Home, End, Page
// Up, Page Down, Insert, Escape, function keys), so Backspace on an empty list sets it
// too. Keys typed with Ctrl set it only when they change the text; a character typed
// with Alt (the menus' letters) is never inserted. The list operations clear it after
// a load, save or new list.

#include <QPlainTextEdit>
#include <cstdint>
#include <string>

#include "platform/Message.h"

class TEditTxtView : public QPlainTextEdit {
public:
    explicit TEditTxtView(QWidget* parent = nullptr);

    bool IsModified() const { return mModified; }
    void SetModified(bool modified) { mModified = modified; }

    // The whole list, UTF-8.
    std::string Text() const;
    // Replaces the list; the modified flag is left to the caller.
    void SetText(const std::string& text);
    // The list's length in bytes.
    int32_t TextLength() const;

    // The caret and the selection in bytes.
    int32_t CaretOffset() const;
    void GetSelection(int32_t* start, int32_t* end) const;
    void Select(int32_t start, int32_t end);
    // The line (0 for the first) that holds the byte at `offset`.
    int32_t LineAt(int32_t offset) const;
    // The byte offset of the first byte of line `line` (0 for the first); the text's
    // end past the last line.
    int32_t OffsetAtLine(int32_t line) const;
    // Puts the caret at the start of line `line` and shows it.
    void GoToLine(int32_t line);

    // "MWFF" and "MWFS"; IPAGothic when the family is missing.
    void SetFontFamilyAndSize();
    // "WdWp": lines wrap at the view's width, or scroll sideways.
    void SetWordWrap();

    // 'clr', 'CCUT', 'COPY', 'PSTE' and 'SALL'; false for any other code.
    bool EditCommand(const platform::Message& message);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Copy, cut, drag and paste carry the text exactly, as the list holds it.
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool mModified = false;
    bool mSettingText = false;
};

// UTF-8 byte offsets and UTF-16 positions in `text`.
int32_t utf8_offset_of(const QString& text, int utf16Position);
int utf16_position_of(const QString& text, int32_t utf8Offset);
