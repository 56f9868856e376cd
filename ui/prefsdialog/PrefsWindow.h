#pragma once
// The preferences dialog window, "PrefWin": made by the application on the first use
// of its Preferences command and kept until the application quits. OK, Cancel and the
// close box only hide it; the close box acts as Cancel.

#include "ui/guibase/DialogBase.h"
#include "ui/prefsdialog/PrefsView.h"

class TPrefsWindow : public TDialogWindow {
public:
    // Only the frame's top-left corner counts: the window takes the size of its view.
    TPrefsWindow(platform::Rect frame, const TPrefsServices& services);

    // 'ummr' and 'rmmc' go on to the view; the rest as for every dialog.
    void MessageReceived(platform::Message* message) override;
    // The close box cancels the edits first; a call without a message lets the window quit.
    bool QuitRequested() override;
    void LanguageChanged() override;

    void SetWinTitle();
    TPrefsView* View() const { return mView; }

private:
    TPrefsView* mView;
};
