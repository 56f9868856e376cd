#pragma once
// Reading a program-list file into the editor's UTF-8 text, as every load does it
// (open, insert, merge, the backup, RUN "file" and CHAIN).

#include <cstdint>
#include <string>

#include "listfiles/ListLoader.h"

struct TListFileRead {
    bool Loaded = false;
    TLoadedList List;   // when loaded
    std::string Alert;  // why not: the file cannot be read, or is a corrupt binary-saved list
};

// `encoding` is the encoding request, `convertPc98` the preference "Cv98".
TListFileRead read_list_file(const std::string& path, int32_t encoding, bool convertPc98);
