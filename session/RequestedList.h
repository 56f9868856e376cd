#pragma once
// What the editor does with a run request that names a list file (RUN "file",
// CHAIN, CHAIN MERGE) before it runs again: the file is read with the default
// encoding, as any list is opened, and its text replaces the editor's list, or
// with MERGE goes after the list's end, on a line of its own. After an open,
// drive 1 follows the list's folder; a merge leaves drive 1 alone.

#include <cstdint>
#include <optional>
#include <string>

struct TRequestedList {
    bool Loaded = false;
    std::string Text;                         // the editor's list after the load
    std::optional<std::string> Drive1Folder;  // the folder drive 1 follows, after an open
    std::string Note;                         // the status-bar note of the read, or empty
    std::string Alert;                        // why nothing was loaded
};

// `path` is the host path the machine put in the request; `list` the editor's
// list so far; `encoding` the default encoding request, `convertPc98` the
// preference "Cv98".
TRequestedList load_requested_list(const std::string& path, bool merge, const std::string& list, int32_t encoding,
                                   bool convertPc98);
