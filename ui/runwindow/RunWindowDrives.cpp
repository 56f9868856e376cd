// The run window's drive menus, its drive-folder panel, the recent drive folders and
// the access lamps.

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <filesystem>
#include <system_error>

#include "foundation/Common.h"
#include "foundation/TAVRENUtils.h"
#include "platform/Locale.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/FilePanels.h"
#include "ui/runwindow/FDDLampStyle.h"
#include "ui/runwindow/RunWindow.h"
#include "ui/widgets/MRUFMenu.h"

namespace {

// The place of the first recent folder in a drive menu: after the folder item,
// "Eject" and the separator.
constexpr int32_t kRecentFoldersPosition = 3;
constexpr int32_t kRecentFoldersMax = 10;

platform::Message drive_message(uint32_t what, int32_t drive)
{
    platform::Message message(what);
    message.AddInt32("DrvFolderIdx", drive);
    return message;
}

bool is_folder(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

std::string recent_folders_entry()
{
    std::string entry;
    get_settings_entry(kSettingsFolder, kRecentDrvFoldersFile, &entry);
    return entry;
}

}  // namespace

std::string drive_folder_item_text(const std::string& format, const std::string& name)
{
    return menu_label_with_mnemonic(format, "C", "") + menu_escaped(name) + " ...";
}

void TRunWindow::InstallLampStyle()
{
    // The style follows the application's; the window owns it.
    mLampStyle = new TFDDLampStyle();
    mLampStyle->setParent(this);
    mMenuBar->setStyle(mLampStyle);
}

void TRunWindow::SetUpRecentDrvFolders()
{
    mRecentFolders.SetShowSC(false);
    mRecentFolders.SetTgtBase(kRecentFoldersPosition);
    mRecentFolders.SetTriggerBase(0);
    mRecentFolders.SetMaxMRUF(kRecentFoldersMax);
    const std::string entry = recent_folders_entry();
    // A missing or unreadable file leaves the list empty.
    if (entry.empty() || mRecentFolders.Load(entry) != 0) mRecentFolders.ClearMRUF();
}

void TRunWindow::CreateDriveMenus(const std::string& format)
{
    for (int32_t drive = 0; drive < 2; ++drive) {
        const std::string number = std::to_string(drive + 1);
        const std::string title = platform::replace_placeholder(platform::get_string("FDD%Num%"), "%Num%", number);
        QMenu* menu = mMenuBar->addMenu(QString::fromStdString(menu_label_with_mnemonic(format, number, title)));
        mDriveMenus[drive] = menu;
        // The folder item is labelled by the view's 'udfr'; a rebuilt menu keeps the last one.
        QAction* folder = menu->addAction(
            mDriveNamed[drive] ? QString::fromStdString(drive_folder_item_text(format, mDriveNames[drive]))
                               : QString());
        const platform::Message specify = drive_message(kSpecifyDrvFolderMessage, drive);
        QObject::connect(folder, &QAction::triggered, this, [this, specify] { PostMessage(specify); });
        AddItem(menu, menu_label_with_mnemonic(format, "E", platform::get_string("Eject")),
                drive_message(kEjectDrvFolderMessage, drive), false);
        menu->addSeparator();
        ShowLamp(drive);
    }
}

void TRunWindow::GenerateMenuMRUF()
{
    mRecentFolders.SetAccFormat(current_accelerator_format());
    for (int32_t drive = 0; drive < 2; ++drive) {
        mRecentFolders.SetMessage(drive_message(kRefsReceivedMessage, drive));
        GenerateMenu(mRecentFolders, mDriveMenus[drive], platform::Messenger(this));
    }
}

bool TRunWindow::SaveMRUF() const
{
    const std::string entry = recent_folders_entry();
    if (!entry.empty()) mRecentFolders.Save(entry);  // a failed save is not reported
    return true;
}

void TRunWindow::MItemSpecifyDrvFolderClicked(const platform::Message& message)
{
    int32_t drive = 0;
    if (message.FindInt32("DrvFolderIdx", &drive) != platform::kOk) return;
    mPanelDrive = drive;
    if (mPanel == nullptr) {
        mPanel = new QFileDialog(this);
        mPanel->setObjectName(QStringLiteral("DrvFolderPanel"));
        mPanel->setFileMode(QFileDialog::Directory);
        mPanel->setOption(QFileDialog::ShowDirsOnly);
        // Qt's own dialog, so that its title and button carry our texts.
        mPanel->setOption(QFileDialog::DontUseNativeDialog);
        mPanel->setAcceptMode(QFileDialog::AcceptOpen);
        // The run window and the program go on while the panel is open.
        mPanel->setWindowModality(Qt::NonModal);
        QObject::connect(mPanel, &QFileDialog::fileSelected, this, [this](const QString& folder) {
            platform::Message refs = drive_message(kRefsReceivedMessage, mPanelDrive);
            refs.AddRef("refs", platform::EntryRef{folder.toStdString()});
            PostMessage(refs);
        });
        QObject::connect(mPanel, &QDialog::finished, this, [this] { PostMessage(kPanelCancelMessage); });
        give_keys_back_when_panel_closes(mPanel);
        SetOpenPanelFolder();
        SetFilePanelLabel();
    }
    mPanel->show();
    mPanel->raise();
    mPanel->activateWindow();
}

void TRunWindow::SetOpenPanelFolder()
{
    if (mPanel == nullptr) return;
    // A folder that is gone since it was stored opens the panel at home.
    const std::string& stored = gExitStates.RunPanelFolder;
    mPanel->setDirectory(is_folder(stored) ? QString::fromStdString(stored) : QDir::homePath());
}

void TRunWindow::SetFilePanelLabel()
{
    if (mPanel == nullptr) return;
    mPanel->setWindowTitle(QString::fromStdString(platform::replace_placeholder(
        platform::get_string("%AppName%: Specify Drive Folder"), "%AppName%", kRunAppName)));
    mPanel->setLabelText(QFileDialog::Accept, QString::fromStdString(platform::get_string("Specify")));
}

void TRunWindow::Cancel()
{
    RememberPanelFolder();
}

void TRunWindow::RememberPanelFolder()
{
    if (mPanel == nullptr) return;
    const std::string folder = mPanel->directory().absolutePath().toStdString();
    if (is_folder(folder)) mPanelFolder = folder;
}

void TRunWindow::UpdateMenuDrvFolderRqtd(const platform::Message& message)
{
    int32_t drive = -1;
    platform::EntryRef ref;
    std::string name;
    if (message.FindInt32("DrvFolderIdx", &drive) != platform::kOk ||
        message.FindRef("DrvFolderERef", &ref) != platform::kOk ||
        message.FindString("DrvFolderName", &name) != platform::kOk || (drive != 0 && drive != 1))
        return;
    QMenu* menu = mDriveMenus[drive];
    if (menu == nullptr || menu->actions().isEmpty()) return;
    mDriveNames[drive] = name;
    mDriveNamed[drive] = true;
    menu->actions().at(0)->setText(QString::fromStdString(drive_folder_item_text(current_accelerator_format(), name)));
    if (ref.path.empty()) return;
    mRecentFolders.AddMRUF(ref.path);
    GenerateMenuMRUF();
    SaveMRUF();
}

void TRunWindow::SetFDDAccessLampRqtd(const platform::Message& message)
{
    int32_t drive = -1;
    int32_t step = 0;
    // A request without both fields says nothing.
    if (message.FindInt32("DrvFolderIdx", &drive) != platform::kOk ||
        message.FindInt32("FDDALS", &step) != platform::kOk || (drive != 0 && drive != 1))
        return;
    mLampCounts[drive] += step;
    ShowLamp(drive);
}

bool TRunWindow::LampLit(int drive) const
{
    QMenu* menu = DriveMenu(drive);
    return menu != nullptr && menu->menuAction()->property(kFDDLampProperty).toBool();
}

void TRunWindow::ShowLamp(int drive)
{
    QMenu* menu = mDriveMenus[drive];
    if (menu == nullptr) return;
    const bool lit = mLampCounts[drive] > 0;
    QAction* title = menu->menuAction();
    if (title->property(kFDDLampProperty).toBool() == lit) return;
    title->setProperty(kFDDLampProperty, lit);
    // Only the title is drawn again.
    mMenuBar->update(mMenuBar->actionGeometry(title));
}
