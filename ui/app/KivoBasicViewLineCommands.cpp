// The editor's handlers of the Go to Line and Renumber dialogs' requests.

#include "ui/app/KivoBasicView.h"
#include "ui/appdialogs/EditorLineCommands.h"

void TKivoBasicView::GoToLineRqtd(platform::Message* message)
{
    go_to_line_requested(mTextView, *message, [this](const std::string& text) { ShowAlert(text); });
}

void TKivoBasicView::RenumberRqtd(platform::Message* message)
{
    const std::string note =
        renumber_requested(mTextView, *message, [this](const std::string& text) { ShowAlert(text); });
    if (!note.empty()) SetStatBarStr(note);
}
