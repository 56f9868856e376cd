// Where the save panel starts and the name it offers, for lists with and without a
// file, read with and without a conversion.

#include "listfiles/SaveAsStart.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "listfiles/ListLoader.h"
#include "tests/TempFolder.h"

namespace {

namespace fs = std::filesystem;

TEST(SaveAsStart, StartsWhereTheListIsWithItsName)
{
    TTempFolder temp("kivo-save-start");
    const std::string lists = (temp.Path() / "lists").string();
    const std::string last = (temp.Path() / "last").string();
    const std::string home = (temp.Path() / "home").string();
    fs::create_directories(lists);
    fs::create_directories(last);
    struct Case {
        const char* what;
        std::string list;
        int32_t conversion;
        std::string lastFolder;
        TSaveAsStart start;
    };
    const Case cases[] = {
        {"a UTF-8 list", lists + "/prog.bas", LIST_CONVERSION_NONE, last, {lists, "prog.bas"}},
        {"a Shift-JIS list gets .bas", lists + "/GAME.BAS", LIST_CONVERSION_SHIFT_JIS, last, {lists, "GAME.bas"}},
        {"a JIS list without an extension", lists + "/GAME", LIST_CONVERSION_JIS, last, {lists, "GAME.bas"}},
        {"a repaired list", lists + "/odd.txt", LIST_CONVERSION_REPAIRED_UTF8, last, {lists, "odd.bas"}},
        {"a new list: the folder last saved to", "", LIST_CONVERSION_NONE, last, {last, ""}},
        {"a new list, nothing saved yet: home", "", LIST_CONVERSION_NONE, "", {home, ""}},
        {"a new list, the last folder gone: home", "", LIST_CONVERSION_NONE, last + "/gone", {home, ""}},
        {"a list whose folder is gone: home", lists + "/gone/prog.bas", LIST_CONVERSION_NONE, last, {home, "prog.bas"}},
    };
    for (const Case& c : cases) {
        const TSaveAsStart start = save_as_start(c.list, c.conversion, c.lastFolder, home);
        EXPECT_EQ(start.Folder, c.start.Folder) << c.what;
        EXPECT_EQ(start.Name, c.start.Name) << c.what;
    }
}

}  // namespace
