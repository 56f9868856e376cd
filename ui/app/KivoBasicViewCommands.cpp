// The editor view's messages, one row a code, and their handlers that belong to runs
// and editing. The list-file, go-to-line and renumbering handlers live with those
// commands.

#include <QTimer>

#include "foundation/PrefsMessages.h"
#include "session/RunLineText.h"
#include "ui/app/AppMessages.h"
#include "ui/app/KivoBasicView.h"

namespace {

using V = TKivoBasicView;

const TCommandRow<V> kEditorCommands[] = {
    {kNewListMessage, &V::MItemNewClicked},
    {kSimpleDataMessage, &V::SimpleData},
    {kRunMessage, &V::MItemRunClicked},
    {kClearMessage, &V::EditCommand},
    {kCutMessage, &V::EditCommand},
    {kCopyMessage, &V::EditCommand},
    {kPasteMessage, &V::EditCommand},
    {kSelectAllMessage, &V::EditCommand},
    {kSaveRequestedMessage, &V::SaveRequested},
    {kRefsReceivedMessage, &V::RefsReceived},
    {kPrefsAutoSaveChanged, &V::PrefAutoSaveRegularChanged},
    {kAutoSaveTimerMessage, &V::AutoSaveTimerFired},
    {kStartUpOfferMessage, &V::StartUpOffer},
    {kSaveMessage, &V::MItemSaveClicked},
    {kGoToLineRequest, &V::GoToLineRqtd},
    {kKillMessage, &V::MItemKillClicked},
    {kRunLineRequest, &V::RunLineRqtd},
    {kPrefsMainFontChanged, &V::PrefMainWinFontChanged},
    {kPrefsWordWrapChanged, &V::PrefWordWrapChanged},
    {kRenumberRequest, &V::RenumberRqtd},
    {kVMachineRunRequest, &V::VMachineRunRqtdMessage},
    {kVMachineRunDue, &V::VMachineRunDue},
    {kRunEndingOver, &V::RunEndingOver},
};

}  // namespace

void TKivoBasicView::MessageReceived(platform::Message* message)
{
    if (auto handler = find_command(kEditorCommands, message->what)) {
        (this->*handler)(message);
        return;
    }
    TBasicView::MessageReceived(message);
}

bool TKivoBasicView::HandlesCommand(uint32_t what) const
{
    return find_command(kEditorCommands, what) != nullptr;
}

void TKivoBasicView::MItemRunClicked(platform::Message* message)
{
    mHandOff.RunBasic(run_request_of(*message));
}

void TKivoBasicView::MItemKillClicked(platform::Message*)
{
    mHandOff.KillBasic();
}

void TKivoBasicView::RunLineRqtd(platform::Message* message)
{
    std::string typed;
    if (message->FindString("SISmplIptTxt", &typed) != platform::kOk) return;
    mHandOff.RunLineRqtd(typed);
}

void TKivoBasicView::VMachineRunRqtdMessage(platform::Message* message)
{
    // The wait is a timer, never a sleep of the GUI thread; when it is over the
    // request goes through the window's queue once more.
    platform::Message due = *message;
    due.what = kVMachineRunDue;
    QTimer::singleShot(kVMachineRunDelayMillis, this, [this, due] {
        if (TBasicWindow* window = Window()) window->PostMessage(due, this);
    });
}

void TKivoBasicView::VMachineRunDue(platform::Message* message)
{
    mHandOff.FollowRunRequest(run_request_of(*message), run_serial_of(*message));
}

void TKivoBasicView::RunEndingOver(platform::Message*)
{
    mHandOff.EndingOver();
}

void TKivoBasicView::EditCommand(platform::Message* message)
{
    mTextView->EditCommand(*message);
}

void TKivoBasicView::PrefMainWinFontChanged(platform::Message*)
{
    mTextView->SetFontFamilyAndSize();
}

void TKivoBasicView::PrefWordWrapChanged(platform::Message*)
{
    mTextView->SetWordWrap();
}
