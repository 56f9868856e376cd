#include "ui/app/EditTxtView.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <algorithm>
#include <cmath>

#include "foundation/Common.h"
#include "ui/app/AppMessages.h"
#include "ui/guibase/ExactText.h"

namespace {

// The family used when "MWFF" names one that is not installed.
constexpr const char* kEditorFontFallback = "IPAGothic";

// Keys that move about or do nothing to the text: they leave the list unmodified.
constexpr int kNavigationKeys[] = {
    Qt::Key_Home,   Qt::Key_End,  Qt::Key_Insert, Qt::Key_PageUp, Qt::Key_PageDown,
    Qt::Key_Escape, Qt::Key_Left, Qt::Key_Right,  Qt::Key_Up,     Qt::Key_Down,
};

bool is_navigation_key(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35) return true;
    return std::find(std::begin(kNavigationKeys), std::end(kNavigationKeys), key) != std::end(kNavigationKeys);
}

bool is_modifier_key(int key)
{
    return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_Meta ||
           key == Qt::Key_AltGr || key == Qt::Key_CapsLock || key == Qt::Key_NumLock;
}

// UTF-8 bytes of the UTF-16 unit at `i` (a surrogate pair counts whole at its first unit).
int utf8_bytes_at(const QString& text, int i)
{
    const char16_t unit = text.at(i).unicode();
    if (unit < 0x80) return 1;
    if (unit < 0x800) return 2;
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && QChar::isLowSurrogate(text.at(i + 1).unicode()))
        return 4;
    if (QChar::isLowSurrogate(unit) && i > 0 && QChar::isHighSurrogate(text.at(i - 1).unicode())) return 0;
    return 3;
}

}  // namespace

int32_t utf8_offset_of(const QString& text, int utf16Position)
{
    const int end = std::clamp(utf16Position, 0, static_cast<int>(text.size()));
    int32_t bytes = 0;
    for (int i = 0; i < end; ++i) bytes += utf8_bytes_at(text, i);
    return bytes;
}

int utf16_position_of(const QString& text, int32_t utf8Offset)
{
    int32_t bytes = 0;
    int i = 0;
    while (i < text.size()) {
        const int size = utf8_bytes_at(text, i);
        if (bytes + size > utf8Offset) break;
        bytes += size;
        i += size == 4 ? 2 : 1;
    }
    return i;
}

TEditTxtView::TEditTxtView(QWidget* parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("EditTxtView"));
    setTabChangesFocus(false);
    QObject::connect(document(), &QTextDocument::contentsChange, this, [this](int, int removed, int added) {
        if (!mSettingText && (removed > 0 || added > 0)) mModified = true;
    });
    // What is typed after a stand-in of ExactText must not take its mark. With a
    // selection the format would be put on the selected text itself, taking the mark
    // off a selected stand-in: the caret gets its format once the selection is gone,
    // also when it goes without the caret moving.
    const auto dropTypedMark = [this] {
        if (textCursor().hasSelection()) return;
        QTextCharFormat typed = currentCharFormat();
        if (drop_stand_in_mark(&typed)) setCurrentCharFormat(typed);
    };
    QObject::connect(this, &QPlainTextEdit::cursorPositionChanged, this, dropTypedMark);
    QObject::connect(this, &QPlainTextEdit::selectionChanged, this, dropTypedMark);
    SetFontFamilyAndSize();
    SetWordWrap();
}

std::string TEditTxtView::Text() const
{
    return exact_to_utf8(exact_text(document()));
}

void TEditTxtView::SetText(const std::string& text)
{
    mSettingText = true;
    // A new text is not an edit that Undo could take back.
    document()->setUndoRedoEnabled(false);
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    insert_exact_text(all, exact_from_utf8(text));
    document()->setUndoRedoEnabled(true);
    moveCursor(QTextCursor::Start);
    mSettingText = false;
}

int32_t TEditTxtView::TextLength() const
{
    return static_cast<int32_t>(Text().size());
}

int32_t TEditTxtView::CaretOffset() const
{
    return utf8_offset_of(exact_text(document()), textCursor().position());
}

void TEditTxtView::GetSelection(int32_t* start, int32_t* end) const
{
    const QString text = exact_text(document());
    const QTextCursor cursor = textCursor();
    if (start) *start = utf8_offset_of(text, cursor.selectionStart());
    if (end) *end = utf8_offset_of(text, cursor.selectionEnd());
}

void TEditTxtView::Select(int32_t start, int32_t end)
{
    const QString text = exact_text(document());
    QTextCursor cursor(document());
    cursor.setPosition(utf16_position_of(text, start));
    cursor.setPosition(utf16_position_of(text, std::max(start, end)), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

int32_t TEditTxtView::LineAt(int32_t offset) const
{
    const std::string text = Text();
    const size_t end = std::min(static_cast<size_t>(std::max(offset, 0)), text.size());
    return static_cast<int32_t>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n'));
}

int32_t TEditTxtView::OffsetAtLine(int32_t line) const
{
    const std::string text = Text();
    size_t at = 0;
    for (int32_t n = 0; n < line; ++n) {
        const size_t feed = text.find('\n', at);
        if (feed == std::string::npos) return static_cast<int32_t>(text.size());
        at = feed + 1;
    }
    return static_cast<int32_t>(at);
}

void TEditTxtView::GoToLine(int32_t line)
{
    const int32_t offset = OffsetAtLine(std::max(line, 0));
    Select(offset, offset);
    ensureCursorVisible();
}

void TEditTxtView::SetFontFamilyAndSize()
{
    QString family = QString::fromStdString(gPrefs.MainFontFamily());
    if (!QFontDatabase::hasFamily(family)) family = QString::fromLatin1(kEditorFontFallback);
    QFont font(family);
    font.setPointSizeF(std::max(1.0, static_cast<double>(gPrefs.MainFontSize.load())));
    // A new font lays the text out again; that is no change of the list.
    mSettingText = true;
    setFont(font);
    mSettingText = false;
}

void TEditTxtView::SetWordWrap()
{
    mSettingText = true;
    setLineWrapMode(gPrefs.WordWrap.load() ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    mSettingText = false;
}

bool TEditTxtView::EditCommand(const platform::Message& message)
{
    switch (message.what) {
    case kClearMessage: textCursor().removeSelectedText(); return true;
    case kCutMessage: cut(); return true;
    case kCopyMessage: copy(); return true;
    case kPasteMessage: paste(); return true;
    case kSelectAllMessage: selectAll(); return true;
    default: return false;
    }
}

QMimeData* TEditTxtView::createMimeDataFromSelection() const
{
    auto* mime = new QMimeData;
    mime->setText(exact_selected_text(textCursor()));
    return mime;
}

void TEditTxtView::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QTextCursor cursor = textCursor();
    insert_exact_text(cursor, source->text());
    setTextCursor(cursor);
    ensureCursorVisible();
}

void TEditTxtView::keyPressEvent(QKeyEvent* event)
{
    // A letter typed with Alt belongs to the menus and never lands in the list, also
    // when no menu has it.
    const Qt::KeyboardModifiers held = event->modifiers();
    if ((held & Qt::AltModifier) && !(held & Qt::ControlModifier) && !event->text().isEmpty() &&
        event->text().front().isPrint()) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
    const int key = event->key();
    if (is_modifier_key(key) || is_navigation_key(key)) return;
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return;
    mModified = true;
}
