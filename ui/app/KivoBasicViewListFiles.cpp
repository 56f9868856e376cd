// The editor view's list files: open, insert and merge requests, drops, New, Save and
// Save As, the save question with its continuation, and the automatic backup with
// the restore offer at start.

#include <QString>
#include <filesystem>
#include <memory>
#include <vector>

#include "foundation/Common.h"
#include "foundation/HeaderConstants.h"
#include "foundation/StringUtils.h"
#include "platform/Locale.h"
#include "platform/SettingsFolder.h"
#include "ui/app/AppIdentity.h"
#include "ui/app/AppMessages.h"
#include "ui/app/KivoBasicView.h"
#include "ui/app/KivoBasicWindow.h"
#include "ui/guibase/ExactText.h"
#include "ui/guibase/FilePanels.h"

namespace {

const platform::CatalogueText kListFileTexts[] = {
    {"@Ask_Del_One_MRUL %FileName%@", "Delete %FileName% from the recent lists?"},
    {"@Backup_Set_Aside %FileName%@", "The automatically saved list was kept as %FileName%."},
    {"@Backup_First_Line %Line%@", "It begins with: %Line%"},
    {"@Backup_Empty@", "It is empty."},
};

// As much of a backup's first line as an alert shows on one line.
constexpr qsizetype kFirstLineShown = 60;

// Which list a backup holds, for the offer: its first line.
std::string backup_first_line_note(const std::string& path)
{
    std::string bytes;
    platform::read_file(path, SIZE_MAX, &bytes);
    const std::string line = bytes.substr(0, bytes.find('\n'));
    if (line.empty()) return platform::get_string("@Backup_Empty@");
    // Separators in it are shown as the editor shows them, not as breaks.
    QString shown = shown_text(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    if (shown.size() > kFirstLineShown) shown = shown.left(kFirstLineShown) + QString::fromStdString(FUC_ELLIPSIS);
    return platform::replace_placeholder(platform::get_string("@Backup_First_Line %Line%@"), "%Line%",
                                         shown.toStdString());
}

void add_note(std::string* notes, const std::string& note)
{
    if (note.empty()) return;
    if (!notes->empty()) *notes += " ";
    *notes += note;
}

void register_texts()
{
    static const bool registered = (platform::add_catalogue_texts(kListFileTexts), true);
    (void)registered;
}

std::string file_name_of(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

// The request came from outside the application: the desktop or a drop.
constexpr const char* kFromOutside = "FromOutside";

}  // namespace

// --- open, insert, merge ---

void TKivoBasicView::RefsReceived(platform::Message* message)
{
    register_texts();
    const std::string path = open_request_path(*message);
    const int32_t encoding = open_request_encoding(*message, gPrefs.DefaultEncoding.load());
    std::string note;
    bool loaded = false;
    switch (choose_open_action(*message, held_keys_for_open())) {
    case TOpenAction::Ignore: return;
    case TOpenAction::AskRemoveRecent: {
        TListQuestion question;
        question.Text = platform::replace_placeholder(platform::get_string("@Ask_Del_One_MRUL %FileName%@"),
                                                      "%FileName%", file_name_of(path));
        question.Buttons = {{platform::get_string("Cancel"), 0}, {platform::get_string("Yes"), 'Y'}};
        question.EscapeIndex = 0;
        if (mAsker.Ask(question) == 1 && Window()) {
            platform::Message remove(kRemoveHistoryRequest);
            remove.AddRef("MRUF", platform::EntryRef{path});
            Window()->PostMessage(remove);
        }
        return;
    }
    case TOpenAction::Insert:
        SetStatBarStr(platform::get_string("Inserting") + FUC_ELLIPSIS);
        loaded = mDocument.AddList(path, encoding, &note);
        break;
    case TOpenAction::Merge:
        SetStatBarStr(platform::get_string("Merging") + FUC_ELLIPSIS);
        loaded = mDocument.MergeList(path, encoding, &note);
        break;
    case TOpenAction::Open:
        if (!AskSave(*message, Window())) return;
        SetStatBarStr(platform::get_string("Opening") + FUC_ELLIPSIS);
        loaded = mDocument.OpenList(path, encoding, &note);
        if (loaded) {
            SetCurERef(path);
            SendSetDrvFolderRqtd();
        }
        break;
    }
    SetStatBarStr(note);
    if (!loaded) return;
    send_next_msg(*message);
    if (message->IsSourceWaiting()) message->SendReply(platform::fourcc("RPLY"));
}

void TKivoBasicView::SimpleData(platform::Message* message)
{
    bool fromOutside = false;
    message->FindBool(kFromOutside, &fromOutside);
    if (!fromOutside || open_request_path(*message).empty()) {
        TBasicView::MessageReceived(message);
        return;
    }
    platform::Message request = *message;
    request.what = kRefsReceivedMessage;
    if (Window()) Window()->PostMessage(request, this);
}

void TKivoBasicView::LoadRequestedList(const std::string& path, bool merge, const TRunRequest& continuation,
                                       TRunSerial from)
{
    platform::Message load(kRefsReceivedMessage);
    load.AddRef("refs", platform::EntryRef{path});
    if (merge) load.AddBool("Merge", true);
    // After the load (and a save question) the rest goes the way of the machine's own
    // requests, so a Kill in between ends it.
    add_next_msg(&load, followed_request_message(kVMachineRunDue, continuation, from), this);
    if (Window()) Window()->PostMessage(load, this);
}

void TKivoBasicView::SetCurERef(const std::string& path)
{
    mDocument.SetFile(path);
    if (!path.empty() && Window()) {
        platform::Message add(kAddHistoryRequest);
        add.AddRef("MRUF", platform::EntryRef{path});
        Window()->PostMessage(add);
    }
    SetWinTitle();
}

void TKivoBasicView::SendSetDrvFolderRqtd()
{
    auto* window = dynamic_cast<TKivoBasicWindow*>(Window());
    if (!window || !window->Application() || mDocument.FilePath().empty()) return;
    platform::Message request(kSetDriveFolderRequest);
    request.AddInt32("DrvFolderIdx", 0);
    request.AddRef("refs", platform::EntryRef{extract_file_folder_path_kernel(mDocument.FilePath(), 1)});
    platform::Messenger(window->Application()).SendMessage(request);
}

// --- New, Save, Save As and the save question ---

bool TKivoBasicView::AskSave(const platform::Message& pending, platform::Handler* target)
{
    switch (mDocument.AskSave()) {
    case TAskSaveAnswer::GoOn: return true;
    case TAskSaveAnswer::SaveFirst:
        if (Window()) Window()->PostMessage(make_save_request(pending, target), this);
        return false;
    case TAskSaveAnswer::Cancel: break;
    }
    return false;
}

void TKivoBasicView::MItemNewClicked(platform::Message*)
{
    if (!AskSave(platform::Message(kNewListMessage), this)) return;
    mDocument.MakeNew();
    SetWinTitle();
}

void TKivoBasicView::MItemSaveClicked(platform::Message* message)
{
    if (mDocument.SaveNeedsPanel()) {
        platform::Message saveAs = *message;
        saveAs.what = kSaveAsMessage;
        if (Window()) Window()->PostMessage(saveAs);
        return;
    }
    if (mDocument.Save()) send_next_msg(*message);
}

void TKivoBasicView::SaveRequested(platform::Message* message)
{
    platform::EntryRef ref;
    if (get_save_ref(message, &ref) != platform::kOk) return;
    // The extension first, then the question whether to replace what has that name.
    const std::string path = add_ext(ref.path, "bas");
    if (!mDocument.SaveAs(path)) return;
    const size_t slash = path.rfind('/');
    mLastSavedFolder = slash == 0 ? "/" : path.substr(0, slash);
    SetCurERef(path);
    SendSetDrvFolderRqtd();
    send_next_msg(*message);
}

// --- the automatic backup ---

void TKivoBasicView::WriteAutoBackup()
{
    if (mBackupSlot) mDocument.WriteBackup(mBackupSlot->BackupPath());
}

void TKivoBasicView::AutoSaveTimerFired(platform::Message*)
{
    WriteAutoBackup();
}

void TKivoBasicView::PrefAutoSaveRegularChanged(platform::Message*)
{
    SetAutoSaveRegular();
}

void TKivoBasicView::SetAutoSaveRegular()
{
    delete mAutoSaveTimer;
    mAutoSaveTimer = nullptr;
    if (!gPrefs.AutoSaveRegularly.load()) return;
    mAutoSaveTimer = new QTimer(this);
    mAutoSaveTimer->setInterval(auto_save_period_ms(gPrefs.AutoSaveInterval.load()));
    // Through the window's queue, so a backup due during a modal alert waits for it.
    QObject::connect(mAutoSaveTimer, &QTimer::timeout, this, [this] {
        if (Window()) Window()->PostMessage(kAutoSaveTimerMessage, this);
    });
    mAutoSaveTimer->start();
}

void TKivoBasicView::CheckAndLoadAutoSave()
{
    register_texts();
    const std::string folder = backup_folder();
    if (!mBackupSlot) mBackupSlot = TBackupSlot::Claim(folder);
    if (!mBackupSlot) return;
    // The own slot's backup first, then those of other slots that no running
    // instance holds, until one is restored; the rest wait for a later start.
    const std::vector<std::unique_ptr<TBackupSlot>> leftOvers = TBackupSlot::ClaimLeftOvers(folder);
    // The notes of every offer stay together: a restore does not hide where a
    // declined backup went.
    std::string notes;
    if (mBackupSlot->HasBackup() && OfferBackup(*mBackupSlot, &notes)) return;
    for (const std::unique_ptr<TBackupSlot>& slot : leftOvers)
        if (OfferBackup(*slot, &notes)) return;
}

bool TKivoBasicView::OfferBackup(const TBackupSlot& slot, std::string* notes)
{
    TListQuestion question;
    question.Text =
        platform::replace_placeholder(platform::get_string("@Ask_Auto_Open %AppName%@"), "%AppName%", gAppNameE) +
        "\n\n" + backup_first_line_note(slot.BackupPath()) + "\n\n" +
        platform::replace_placeholder(platform::get_string("@Warning_Invalid_Auto_Save@"), "%FolderName%",
                                      std::filesystem::path(slot.BackupPath()).parent_path().string());
    question.Buttons = {{platform::get_string("No"), 'N'}, {platform::get_string("Yes"), 'Y'}};
    question.Warning = true;
    if (mAsker.Ask(question) == 1) {
        // Another slot's backup becomes this instance's own: the next backup replaces
        // it and the normal end removes it.
        const bool own = &slot == mBackupSlot.get() || slot.MoveBackupTo(*mBackupSlot);
        std::string note;
        mDocument.RestoreBackup(own ? mBackupSlot->BackupPath() : slot.BackupPath(), &note);
        add_note(notes, note);
        SetStatBarStr(*notes);
        return true;
    }
    // Declined: kept aside under another name rather than overwritten by the next backup.
    const std::string aside = slot.SetAside();
    if (!aside.empty()) {
        add_note(notes, platform::replace_placeholder(platform::get_string("@Backup_Set_Aside %FileName%@"),
                                                      "%FileName%", file_name_of(aside)));
        SetStatBarStr(*notes);
    }
    return false;
}
