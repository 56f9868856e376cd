#include "ui/appdialogs/LineInputDialogs.h"

#include "platform/Locale.h"
#include "ui/guibase/AcceleratorLabels.h"

namespace {

struct TLineInputDialog {
    TLineInputKind kind;
    uint32_t model;
    const char* titleKey;
    const char* fieldLabelKey;
    const char* fieldLetter;
    const char* defaultButtonKey;
    const char* defaultLetter;
};

const TLineInputDialog kLineInputDialogs[] = {
    {TLineInputKind::GoToLine, kGoToLineDialogCode, "Go to Line", "Go to Line: ", "L", "Go", "G"},
    {TLineInputKind::RunLine, kRunLineDialogCode, "Run with Line Number", "Line Number or Label: ", "L", "Run", "R"},
};

const TLineInputDialog& row_of(TLineInputKind kind)
{
    for (const TLineInputDialog& row : kLineInputDialogs)
        if (row.kind == kind) return row;
    return kLineInputDialogs[0];
}

}  // namespace

std::unique_ptr<TSimpleInputWindow> make_line_input_dialog(TLineInputKind kind, platform::Rect frame,
                                                           const platform::Messenger& target)
{
    auto dialog = std::make_unique<TSimpleInputWindow>(frame, "", kButtonWidthFixed);
    dialog->SetTarget(target);
    dialog->SetMessage(new platform::Message(row_of(kind).model));
    set_line_input_labels(dialog.get(), kind);
    return dialog;
}

void set_line_input_labels(TSimpleInputWindow* dialog, TLineInputKind kind)
{
    const TLineInputDialog& row = row_of(kind);
    dialog->setWindowTitle(QString::fromStdString(platform::get_string(row.titleKey)));
    const std::string format = current_accelerator_format();
    dialog->SetLabel(merge_accelerator_key(format, row.fieldLetter, platform::get_string(row.fieldLabelKey)));
    dialog->SetButtonLabel(B_CANCEL_BUTTON, platform::get_string("Cancel"));
    dialog->SetButtonLabel(
        B_DEFAULT_BUTTON, merge_accelerator_key(format, row.defaultLetter, platform::get_string(row.defaultButtonKey)));
}
