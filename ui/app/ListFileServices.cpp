#include "ui/app/ListFileServices.h"

#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTextCursor>
#include <QUrl>

#include "foundation/Common.h"
#include "platform/Locale.h"
#include "platform/Modifiers.h"
#include "ui/app/AppIdentity.h"
#include "ui/app/EditTxtView.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/Alert.h"
#include "ui/guibase/ErrorAlertSink.h"
#include "ui/guibase/ExactText.h"

std::string TEditorListText::Text() const
{
    return mView->Text();
}

void TEditorListText::ReplaceAll(const std::string& text)
{
    mView->SetText(text);
}

void TEditorListText::InsertAtCaret(const std::string& text)
{
    QTextCursor selection = mView->textCursor();
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    const QString inserted = exact_from_utf8(text);
    QTextCursor at(mView->document());
    at.setPosition(start);
    insert_exact_text(at, inserted);
    // The selection stays selected, moved behind the inserted text.
    if (end > start) {
        selection.setPosition(start + static_cast<int>(inserted.size()));
        selection.setPosition(end + static_cast<int>(inserted.size()), QTextCursor::KeepAnchor);
        mView->setTextCursor(selection);
    }
    mView->SetModified(true);
}

void TEditorListText::Append(const std::string& text)
{
    QTextCursor end(mView->document());
    end.movePosition(QTextCursor::End);
    insert_exact_text(end, exact_from_utf8(text));
    mView->SetModified(true);
}

bool TEditorListText::IsModified() const
{
    return mView->IsModified();
}

void TEditorListText::SetModified(bool modified)
{
    mView->SetModified(modified);
}

int32_t TAlertListAsker::Ask(const TListQuestion& question)
{
    if (mOverride) return mOverride->Ask(question);
    const std::string title =
        platform::replace_placeholder(platform::get_string("* %AppName% *"), "%AppName%", gAppNameE);
    const std::string format = current_accelerator_format();
    std::string labels[3];
    for (size_t i = 0; i < question.Buttons.size() && i < 3; ++i) {
        const TQuestionButton& button = question.Buttons[i];
        labels[i] = button.Accelerator != 0
                        ? merge_accelerator_key(format, std::string(1, button.Accelerator), button.Label)
                        : button.Label;
    }
    return show_alert2(title, question.Text, labels[0], labels[1], labels[2], question.EscapeIndex,
                       question.Warning ? AlertType::Warning : AlertType::Info);
}

void TAlertListAsker::ShowError(const std::string& text)
{
    if (mOverride) {
        mOverride->ShowError(text);
        return;
    }
    TErrorAlertSink(gAppNameE).ShowAlert(text);
}

TOpenKeys held_keys_for_open()
{
    const uint32_t held = platform::modifiers();
    TOpenKeys keys;
    keys.Control = (held & platform::kCommandKey) != 0 && (held & platform::kShiftKey) == 0;
    keys.Option = (held & platform::kControlKey) != 0;
    return keys;
}

namespace {

// The first local file of a drag from another application, or empty.
std::string dropped_file(const QDropEvent* event)
{
    if (event->source() != nullptr || !event->mimeData()->hasUrls()) return {};
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile()) return url.toLocalFile().toStdString();
    return {};
}

}  // namespace

bool TListDropFilter::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (dropped_file(drag).empty()) break;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const std::string path = dropped_file(drop);
        if (path.empty()) break;
        platform::Message message(platform::fourcc("DATA"));
        message.AddRef("refs", platform::EntryRef{path});
        message.AddBool("FromOutside", true);
        mPost(message);
        drop->acceptProposedAction();
        return true;
    }
    default: break;
    }
    return QObject::eventFilter(watched, event);
}
