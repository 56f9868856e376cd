#include "session/ListFileReader.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/Locale.h"

namespace {

namespace fs = std::filesystem;

const platform::CatalogueText kListTexts[] = {
    {"@Err_Cannot_Load_List %FullPathName%@", "The list %FullPathName% cannot be loaded."},
};

bool read_whole_file(const fs::path& path, std::string& bytes)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return false;
    bytes = buffer.str();
    return true;
}

}  // namespace

TListFileRead read_list_file(const std::string& path, int32_t encoding, bool convertPc98)
{
    static const bool registered = (platform::add_catalogue_texts(kListTexts), true);
    (void)registered;

    TListFileRead result;
    std::string bytes;
    if (!read_whole_file(path, bytes)) {
        result.Alert = platform::replace_placeholder(platform::get_string("@Err_Cannot_Load_List %FullPathName%@"),
                                                     "%FullPathName%", path);
        return result;
    }
    result.List = LoadListText(std::move(bytes), encoding, convertPc98);
    if (result.List.BadBinSave) {
        result.Alert = platform::get_string("@Err_Bad_Bin_Save@");
        return result;
    }
    result.Loaded = true;
    return result;
}
