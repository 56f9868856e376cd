#pragma once
// What the editor view does with the requests of the Go to Line and Renumber dialogs,
// on its text: 'gtlr' moves the caret to the start of the line with the typed number;
// 'rnmr' renumbers the list as one edit that Undo takes back.

#include <QPlainTextEdit>
#include <functional>
#include <string>

#include "platform/Message.h"

// Shows an error alert with `text`.
using TEditorAlert = std::function<void(const std::string& text)>;

// A request without "SISmplIptTxt" is ignored. An empty text or a number without
// its line gives the alert, and nothing moves.
void go_to_line_requested(QPlainTextEdit* editor, const platform::Message& request, const TEditorAlert& alert);

// A request without one of "NewLine", "OldLine" and "Step" is ignored. A renumbering
// that cannot be done safely gives the alert and leaves the text as it was. Returns
// the status-bar note naming lines whose jumps are computed, or empty.
std::string renumber_requested(QPlainTextEdit* editor, const platform::Message& request, const TEditorAlert& alert);
