#include "ui/appdialogs/RenumWindow.h"

#include "platform/Locale.h"

TRenumWindow::TRenumWindow(platform::Rect frame) : TDialogWindow(frame, "RenumWin")
{
    mView = new TRenumView(platform::Rect{0, 0, frame.right - frame.left, frame.bottom - frame.top});
    setFixedSize(mView->size());
    AddChild(mView);
    SetWinTitle();
}

TRenumWindow::~TRenumWindow() = default;

void TRenumWindow::LanguageChanged()
{
    TDialogWindow::LanguageChanged();
    SetWinTitle();
}

void TRenumWindow::SetWinTitle()
{
    setWindowTitle(QString::fromStdString(platform::get_string("Renumber")));
}
