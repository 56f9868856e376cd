#include "document/ListFileReader.h"

#include <cstdint>

#include "platform/Locale.h"
#include "platform/SettingsFolder.h"

namespace {

const platform::CatalogueText kListTexts[] = {
    {"@Err_Cannot_Load_List %FullPathName%@", "The list %FullPathName% cannot be loaded."},
};

}  // namespace

TListFileRead read_list_file(const std::string& path, int32_t encoding, bool convertPc98)
{
    static const bool registered = (platform::add_catalogue_texts(kListTexts), true);
    (void)registered;

    TListFileRead result;
    std::string bytes;
    // The platform's reader opens without blocking and takes only a regular file, so
    // a name that turns into a FIFO cannot hang the load.
    if (platform::read_file(path, SIZE_MAX, &bytes) != platform::kOk) {
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
