#include "session/RequestedList.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "listfiles/ListLoader.h"
#include "platform/Locale.h"

namespace {

namespace fs = std::filesystem;

const platform::CatalogueText kListTexts[] = {
    {"@Err_Cannot_Load_List %FullPathName%@", "The list %FullPathName% cannot be loaded."},
};

bool read_whole_file(const fs::path& path, std::string& bytes) {
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

TRequestedList load_requested_list(const std::string& path, bool merge, const std::string& list, int32_t encoding,
                                   bool convertPc98) {
    static const bool registered = (platform::add_catalogue_texts(kListTexts), true);
    (void)registered;

    TRequestedList result;
    std::string bytes;
    if (!read_whole_file(path, bytes)) {
        result.Alert = platform::replace_placeholder(platform::get_string("@Err_Cannot_Load_List %FullPathName%@"),
                                                     "%FullPathName%", path);
        return result;
    }
    TLoadedList loaded = LoadListText(std::move(bytes), encoding, convertPc98);
    if (loaded.BadBinSave) {
        result.Alert = platform::get_string("@Err_Bad_Bin_Save@");
        return result;
    }
    result.Loaded = true;
    result.Note = std::move(loaded.Note);
    if (merge) {
        result.Text = list + loaded.Text;
    } else {
        result.Text = std::move(loaded.Text);
        result.Drive1Folder = fs::path(path).parent_path().string();
    }
    return result;
}
