#pragma once
// Writing the editor's text into a program-list file: exactly its bytes (UTF-8,
// line feeds, no byte-order mark, no line feed added), so that the file is either
// the old one or the new one, whole.

#include <string>
#include <string_view>

// The file type a saved list is given when it has none.
inline constexpr char kListFileType[] = "text/x-BASIC-source-code";

struct TListSaveResult {
    bool Saved = false;
    std::string WrittenPath;  // the file written: the target of a symbolic link at `path`
};

// Writes `text` to the file at `path`. A symbolic link is followed and its target
// replaced (the link stays); an existing file keeps its mode. The bytes go to a
// temporary file in the target's folder that is flushed and renamed over the old
// file, so a failure (no room, no permission) leaves the old file byte for byte.
// A file without a type gets kListFileType, best effort.
TListSaveResult save_list_file(const std::string& path, std::string_view text);
