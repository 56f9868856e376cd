// The texts of the document type: the desktop entry's Exec argument and the
// preferred-application line of mimeapps.list.

#include "ui/appdialogs/logic/BasicListType.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DesktopExecArgument, QuotesAndEscapesWhatTheKeyReserves)
{
    struct Case {
        std::string path;
        std::string argument;
    };
    const Case cases[] = {
        {"/usr/local/bin/kivo-basic", "/usr/local/bin/kivo-basic"},
        {"/home/me/my apps/kivo-basic", "\"/home/me/my apps/kivo-basic\""},
        {"/opt/a\"b/k", "\"/opt/a\\\\\"b/k\""},
        {"/opt/$HOME/k", "\"/opt/\\\\$HOME/k\""},
        {"/opt/a\\b/k", "\"/opt/a\\\\\\\\b/k\""},
        {"/opt/100%/k", "/opt/100%%/k"},
        {"/opt/it's/k", "\"/opt/it's/k\""},
    };
    for (const Case& c : cases) EXPECT_EQ(desktop_exec_argument(c.path), c.argument) << c.path;
}

TEST(DesktopEntry, OpensListsWithTheExecutableAndStaysOutOfMenus)
{
    const std::string entry = basic_list_desktop_entry("/opt/my apps/kivo-basic", "Kivo-BASIC");
    EXPECT_NE(entry.find("\nExec=\"/opt/my apps/kivo-basic\" %F\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nMimeType=text/x-BASIC-source-code;\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nNoDisplay=true\n"), std::string::npos) << entry;
}

TEST(DefaultApplication, SetsOneLineAndKeepsTheRest)
{
    const std::string ours = "text/x-BASIC-source-code=kivo-basic.desktop;";
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"no list yet", "", "[Default Applications]\n" + ours + "\n"},
        {"another section only", "[Added Associations]\ntext/plain=a.desktop;\n",
         "[Added Associations]\ntext/plain=a.desktop;\n\n[Default Applications]\n" + ours + "\n"},
        {"other types kept, ours after them",
         "[Default Applications]\ntext/plain=a.desktop;\n\n[Added Associations]\nx/y=b.desktop;\n",
         "[Default Applications]\ntext/plain=a.desktop;\n" + ours + "\n\n[Added Associations]\nx/y=b.desktop;\n"},
        {"an earlier choice replaced", "[Default Applications]\ntext/x-BASIC-source-code = old.desktop;\nz/z=c;\n",
         "[Default Applications]\n" + ours + "\nz/z=c;\n"},
        {"a second entry of the type goes",
         "[Default Applications]\ntext/x-BASIC-source-code=a;\ntext/x-BASIC-source-code=b;\n",
         "[Default Applications]\n" + ours + "\n"},
        {"the type in another section is not ours", "[Removed Associations]\ntext/x-BASIC-source-code=a;\n",
         "[Removed Associations]\ntext/x-BASIC-source-code=a;\n\n[Default Applications]\n" + ours + "\n"},
        {"no last line feed", "[Default Applications]\nx/y=b;", "[Default Applications]\nx/y=b;\n" + ours + "\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(with_default_application(c.before, kBasicListType, kDesktopEntryName), c.after) << c.name;
}

}  // namespace
