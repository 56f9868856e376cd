#include "ui/appdialogs/logic/DocumentTypeFiles.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "platform/SettingsFolder.h"
#include "ui/appdialogs/logic/BasicListType.h"

extern char** environ;

namespace {

using platform::kError;
using platform::kIoError;
using platform::kOk;

// Nothing the document type writes is larger; a bigger file in its place is not one
// of ours to restore.
constexpr size_t kLargestTypeFile = 4 * 1024 * 1024;

std::string folder_of(const std::string& path)
{
    return path.substr(0, path.rfind('/'));
}

bool exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

// What a file held before it was written: nothing when it did not exist.
struct TPrevious {
    std::string Path;
    std::optional<std::string> Contents;
};

void restore(const std::vector<TPrevious>& written)
{
    for (const TPrevious& previous : written) {
        if (previous.Contents)
            platform::write_file_atomically(previous.Path, *previous.Contents);
        else
            ::unlink(previous.Path.c_str());
    }
}

}  // namespace

platform::status_t user_data_directory(std::string* path)
{
    std::string dir;
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') {
        dir = data;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') return kError;
        dir = std::string(home) + "/.local/share";
    }
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    *path = dir;
    return kOk;
}

TTypeInstallResult write_type_files(const std::string& dataHome, const std::vector<TTypeFile>& files, TTypeInstall how)
{
    TTypeInstallResult result;
    // First read what each file holds now, so that a failure can put it back, and
    // fail before anything is written when a file is there but cannot be read.
    std::vector<TPrevious> plan;
    std::vector<const TTypeFile*> toWrite;
    for (const TTypeFile& file : files) {
        TPrevious previous{dataHome + "/" + file.RelativePath, std::nullopt};
        if (exists(previous.Path)) {
            if (how == TTypeInstall::OnlyMissing) continue;
            std::string contents;
            if (platform::read_file(previous.Path, kLargestTypeFile, &contents) != kOk) {
                result.Status = kIoError;
                result.FailedPath = previous.Path;
                return result;
            }
            previous.Contents = std::move(contents);
        }
        plan.push_back(std::move(previous));
        toWrite.push_back(&file);
    }

    std::vector<TPrevious> written;
    for (size_t i = 0; i < plan.size(); ++i) {
        const std::string folder = folder_of(plan[i].Path);
        if (platform::create_directory(folder, 0777) != kOk) {
            result.FailedPath = folder;
        } else if (platform::write_file_atomically(plan[i].Path, toWrite[i]->Contents) != kOk) {
            result.FailedPath = plan[i].Path;
        } else {
            written.push_back(plan[i]);
            continue;
        }
        restore(written);
        result.Status = kIoError;
        return result;
    }
    result.Written = !written.empty();
    return result;
}

platform::status_t update_mime_database(const std::string& dataHome, const std::string& command)
{
    const std::string folder = dataHome + "/mime";
    std::string program = command;
    char* argv[] = {program.data(), const_cast<char*>(folder.c_str()), nullptr};

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return kError;
    // Its report of what it rebuilt is not for the user.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = -1;
    const int spawned = posix_spawnp(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return kError;

    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return kError;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? kOk : kError;
}

std::vector<TTypeFile> basic_list_type_files(const std::string& dataHome, TTypeInstall how, const TBasicListApp& app)
{
    std::vector<TTypeFile> files;
    files.push_back({std::string("mime/packages/") + kMimePackageName, basic_list_mime_package()});
    if (how == TTypeInstall::OnlyMissing) return files;

    files.push_back(
        {std::string("applications/") + kDesktopEntryName, basic_list_desktop_entry(app.Executable, app.AppName)});
    // The list of preferred applications keeps the lines of other types. One that
    // cannot be read is left to write_type_files, which then refuses the whole set.
    const std::string listPath = "applications/mimeapps.list";
    std::string list;
    platform::read_file(dataHome + "/" + listPath, kLargestTypeFile, &list);
    files.push_back({listPath, with_default_application(list, kBasicListType, kDesktopEntryName)});

    const std::string icon = std::string("/mimetypes/") + kBasicListIconName + ".png";
    if (!app.LargeIconPng.empty()) files.push_back({"icons/hicolor/32x32" + icon, app.LargeIconPng});
    if (!app.MiniIconPng.empty()) files.push_back({"icons/hicolor/16x16" + icon, app.MiniIconPng});
    return files;
}

TTypeInstallResult install_basic_list_type(const std::string& dataHome, TTypeInstall how, const TBasicListApp& app,
                                           const std::string& command)
{
    TTypeInstallResult result = write_type_files(dataHome, basic_list_type_files(dataHome, how, app), how);
    if (result.Status == kOk && result.Written) result.DatabaseUpdated = update_mime_database(dataHome, command) == kOk;
    return result;
}
