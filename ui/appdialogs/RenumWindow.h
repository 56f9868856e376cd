#pragma once
// The Renumber dialog: made once by the application, hidden between uses.

#include "ui/appdialogs/RenumView.h"

class TRenumWindow : public TDialogWindow {
public:
    // Keeps the frame's top-left corner and takes the view's size.
    explicit TRenumWindow(platform::Rect frame);
    ~TRenumWindow() override;

    void LanguageChanged() override;
    void SetWinTitle();

    TRenumView* View() const { return mView; }

private:
    TRenumView* mView;
};
