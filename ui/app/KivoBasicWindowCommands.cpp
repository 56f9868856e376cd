// The main window's messages, one row a code. The file panels and recent lists have
// their handlers with those commands.

#include "foundation/Common.h"
#include "foundation/PrefsMessages.h"
#include "ui/app/AppMessages.h"
#include "ui/app/KivoBasicWindow.h"

namespace {

using W = TKivoBasicWindow;

const TCommandRow<W> kMainWindowCommands[] = {
    {kRefsReceivedMessage, &W::PassToBasicView},
    {kSaveRequestedMessage, &W::PassToBasicView},
    {kPrefsAutoSaveChanged, &W::PassToBasicView},
    {kPrefsMainFontChanged, &W::PassToBasicView},
    {kPrefsWordWrapChanged, &W::PassToBasicView},
    {kPanelCancelMessage, &W::PanelClosed},
    {kAddHistoryRequest, &W::AddHistoryRqtd},
    {kRemoveHistoryRequest, &W::RemoveHistoryRqtd},
    {kDeleteAllMRULsMessage, &W::MItemDelAllMRULsClicked},
    {kOpenMessage, &W::MItemOpenClicked},
    {kSaveAsMessage, &W::MItemSaveAsClicked},
    {kPrefsDefaultEncodingChanged, &W::PrefDefaultEncodingChanged},
    {kRepeatRunMessage, &W::MItemRepeatRunClicked},
    {kUseDebuggerMessage, &W::MItemUseDebuggerClicked},
    {kQuitMessage, &W::MItemQuitClicked},
};

}  // namespace

void TKivoBasicWindow::MessageReceived(platform::Message* message)
{
    if (auto handler = find_command(kMainWindowCommands, message->what)) {
        (this->*handler)(message);
        return;
    }
    TBasicWindow::MessageReceived(message);
}

bool TKivoBasicWindow::HandlesCommand(uint32_t what) const
{
    return find_command(kMainWindowCommands, what) != nullptr;
}

void TKivoBasicWindow::PassToBasicView(platform::Message* message)
{
    PostMessage(*message, mBasicView);
}

void TKivoBasicWindow::MItemQuitClicked(platform::Message* message)
{
    TBasicWindow::MessageReceived(message);
}

void TKivoBasicWindow::MItemRepeatRunClicked(platform::Message*)
{
    gExitStates.RepeatRun.store(!gExitStates.RepeatRun.load());
    UpdateMItemRepeatRun();
}

void TKivoBasicWindow::MItemUseDebuggerClicked(platform::Message*)
{
    gExitStates.UseDebugger.store(!gExitStates.UseDebugger.load());
    UpdateMItemUseDebugger();
}
