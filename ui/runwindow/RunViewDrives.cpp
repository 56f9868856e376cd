// The run view's drives: the folders that the drive menus and the editor map to the
// emulated drives, what the window is told of them, and the access lamps.

#include <unistd.h>

#include <QMetaObject>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/Locale.h"
#include "ui/runwindow/RunView.h"

namespace {

const platform::CatalogueText kDriveTexts[] = {
    {"@Err_Drive_Folder_Unusable %FullPathName% %Num%@",
     "The folder %FullPathName% cannot be used as drive %Num%: it does not exist or cannot be read."},
};

void register_texts()
{
    static const bool registered = (platform::add_catalogue_texts(kDriveTexts), true);
    (void)registered;
}

// The folder as the drive table keeps it: absolute, without "." or ".." parts or a
// trailing separator.
std::string drive_folder_path(const std::string& path)
{
    std::error_code error;
    std::filesystem::path folder = std::filesystem::absolute(path, error).lexically_normal();
    if (error) return std::string();
    std::string text = folder.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

// A folder a program can list and open files in.
bool is_usable_folder(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error) && ::access(path.c_str(), R_OK | X_OK) == 0;
}

}  // namespace

void TRunView::RefsReceived(const platform::Message& message)
{
    platform::EntryRef ref;
    int32_t index = -1;
    if (message.FindRef("refs", &ref) != platform::kOk || message.FindInt32("DrvFolderIdx", &index) != platform::kOk ||
        index < 0 || index >= TDriveFolders::COUNT)
        return;
    const std::string folder = drive_folder_path(ref.path);
    if (!is_usable_folder(folder)) {
        register_texts();
        std::string text = platform::get_string("@Err_Drive_Folder_Unusable %FullPathName% %Num%@");
        text = platform::replace_placeholder(text, "%FullPathName%", ref.path);
        mAlerts->ShowAlert(platform::replace_placeholder(text, "%Num%", std::to_string(index + 1)));
        return;
    }
    mSession->Rsrc().DrvFolders.Set(index, folder);
    SendUpdateMenuDrvFolder(index);
}

void TRunView::MItemEjectClicked(const platform::Message& message)
{
    int32_t index = -1;
    if (message.FindInt32("DrvFolderIdx", &index) != platform::kOk || !mSession->Rsrc().DrvFolders.Eject(index)) return;
    SendUpdateMenuDrvFolder(index);
}

void TRunView::SendUpdateMenuDrvFolder(int drvFolderIdx)
{
    TBasicWindow* window = Window();
    if (window == nullptr) return;
    std::string folder = mSession->Rsrc().DrvFolders.Get(drvFolderIdx);
    // A folder removed since it was chosen shows as no folder, and is not recorded.
    if (!is_usable_folder(folder)) folder.clear();
    std::string name = std::filesystem::path(folder).filename().string();
    if (name.empty() && !folder.empty()) name = folder;
    platform::Message update(kUpdateMenuDrvFolderMessage);
    update.AddInt32("DrvFolderIdx", drvFolderIdx);
    update.AddRef("DrvFolderERef", platform::EntryRef{folder});
    update.AddString("DrvFolderName", folder.empty() ? platform::get_string("(Empty)") : name);
    window->PostMessage(update);
}

void TRunView::SetFDDAccessLampRqtd(int drvFolderIdx, int delta)
{
    // From the machine thread or the lamps' timer: the window is reached on the GUI
    // thread, and a call still queued when the view goes is dropped with it.
    QMetaObject::invokeMethod(
        this,
        [this, drvFolderIdx, delta] {
            TBasicWindow* window = Window();
            if (window == nullptr) return;
            platform::Message lamp(kFDDAccessLampMessage);
            lamp.AddInt32("DrvFolderIdx", drvFolderIdx);
            lamp.AddInt32("FDDALS", delta);
            window->PostMessage(lamp);
        },
        Qt::QueuedConnection);
}
