#pragma once
// Where the save panel starts and the name it offers: a list with a file starts in
// that file's folder with the file's name, or with the name given the extension
// "bas" when the list was converted on reading (GAME.BAS read from Shift-JIS offers
// GAME.bas, which the save writes as UTF-8). A list without a file starts in the
// folder last saved to, else the home folder, with no name.

#include <cstdint>
#include <string>

struct TSaveAsStart {
    std::string Folder;
    std::string Name;
};

// `listPath`: the list's file, empty for a new or restored list; `conversion`: the
// conversion it was read with (0 for none); `lastFolder`: the folder last saved to,
// or empty; a folder that is no longer there is passed over.
TSaveAsStart save_as_start(const std::string& listPath, int32_t conversion, const std::string& lastFolder,
                           const std::string& home);

// The folder a file panel shows for `folder`: `home` when it is empty or gone.
std::string panel_folder_or_home(const std::string& folder, const std::string& home);
