#pragma once
// Installing the program-list document type in the user's own data folder
// ($XDG_DATA_HOME, else ~/.local/share): the files are written all or none, and
// the desktop's type database is then rebuilt from them. Nothing is written to a
// system folder.

#include <string>
#include <vector>

#include "platform/Status.h"

// One file, its path relative to the data folder.
struct TTypeFile {
    std::string RelativePath;
    std::string Contents;
};

enum class TTypeInstall {
    OnlyMissing,  // at start-up: a file that exists is kept as it is
    Everything,   // the Register MIME command: every file is written anew
};

struct TTypeInstallResult {
    platform::status_t Status = platform::kOk;  // kIoError: a file or folder could not be written
    std::string FailedPath;                     // the file or folder that failed
    bool Written = false;                       // at least one file was written
    bool DatabaseUpdated = false;               // the type database was rebuilt
};

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share; kError when
// neither gives one. The folder is not created here.
platform::status_t user_data_directory(std::string* path);

// Writes `files` under `dataHome`, making the folders they need. When one cannot be
// written, those written before it get back what they held (or go, when they are
// new), so the files are all new or all as they were.
TTypeInstallResult write_type_files(const std::string& dataHome, const std::vector<TTypeFile>& files, TTypeInstall how);

// Runs `command` (update-mime-database) on `dataHome`/mime and waits for it. kOk when
// it ran and succeeded; kError when it could not be started or failed.
platform::status_t update_mime_database(const std::string& dataHome, const std::string& command);

// What the application gives for its document type.
struct TBasicListApp {
    std::string Executable;  // absolute path of the program that opens the lists
    std::string AppName;
    std::string LargeIconPng;  // 32 by 32; empty: no icon of this size
    std::string MiniIconPng;   // 16 by 16
};

// The files of the document type: with OnlyMissing the type's package alone (its
// globs and description; the preferred application and the icons are the command's),
// with Everything also the desktop entry, the preferred-application line of
// applications/mimeapps.list (its other lines kept) and the icons.
std::vector<TTypeFile> basic_list_type_files(const std::string& dataHome, TTypeInstall how, const TBasicListApp& app);

// Writes the files and, when any was written, rebuilds the type database with
// `command`.
TTypeInstallResult install_basic_list_type(const std::string& dataHome, TTypeInstall how, const TBasicListApp& app,
                                           const std::string& command = "update-mime-database");
