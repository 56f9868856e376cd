#include "session/RequestedList.h"

#include <filesystem>

#include "document/ListFileReader.h"
#include "listfiles/ListMerge.h"

TRequestedList load_requested_list(const std::string& path, bool merge, const std::string& list, int32_t encoding,
                                   bool convertPc98)
{
    TRequestedList result;
    TListFileRead read = read_list_file(path, encoding, convertPc98);
    if (!read.Loaded) {
        result.Alert = std::move(read.Alert);
        return result;
    }
    result.Loaded = true;
    result.Note = std::move(read.List.Note);
    if (merge) {
        result.Text = list;
        append_merged_list(result.Text, read.List.Text);
    } else {
        result.Text = std::move(read.List.Text);
        result.Drive1Folder = std::filesystem::path(path).parent_path().string();
    }
    return result;
}
