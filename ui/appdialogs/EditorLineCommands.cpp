#include "ui/appdialogs/EditorLineCommands.h"

#include <QTextBlock>
#include <QTextCursor>

#include "platform/Locale.h"
#include "session/GoToLineText.h"
#include "session/Renumber.h"
#include "ui/guibase/ExactText.h"
#include "ui/widgets/SimpleInput.h"

void go_to_line_requested(QPlainTextEdit* editor, const platform::Message& request, const TEditorAlert& alert)
{
    std::string typed;
    if (request.FindString(kSimpleInputTextField, &typed) != platform::kOk) return;
    const std::string text = exact_to_utf8(exact_text(editor->document()));
    const TGoToLine found = find_line_from_text(text, typed);
    if (!found.AlertKey.empty()) {
        alert(platform::get_string(found.AlertKey));
        return;
    }
    // The offset counts UTF-8 bytes; the editor counts UTF-16 units.
    const int position = static_cast<int>(exact_from_utf8(text.substr(0, static_cast<size_t>(found.Offset))).size());
    QTextCursor cursor(editor->document()->findBlock(position));
    editor->setTextCursor(cursor);
    editor->ensureCursorVisible();
}

std::string renumber_requested(QPlainTextEdit* editor, const platform::Message& request, const TEditorAlert& alert)
{
    int32_t newLine = 0;
    int32_t oldLine = 0;
    int32_t step = 0;
    if (request.FindInt32("NewLine", &newLine) != platform::kOk ||
        request.FindInt32("OldLine", &oldLine) != platform::kOk || request.FindInt32("Step", &step) != platform::kOk)
        return std::string();
    std::string text = exact_to_utf8(exact_text(editor->document()));
    const TRenumbered result = Renumber(text, newLine, oldLine, step, false);
    if (!result.Done) {
        alert(result.Refusal);
        return std::string();
    }
    // One edit of the whole text, so that it marks the list modified and can be undone.
    QTextCursor cursor(editor->document());
    cursor.select(QTextCursor::Document);
    insert_exact_text(cursor, exact_from_utf8(text));
    return result.Note;
}
