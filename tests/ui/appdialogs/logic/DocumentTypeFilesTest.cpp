// Installing the document type in a temporary data folder: what start-up and the
// Register MIME command write, that the type database then knows "*.bas", and that
// a failure leaves every file as it was.

#include "ui/appdialogs/logic/DocumentTypeFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "tests/TempFolder.h"
#include "ui/appdialogs/logic/BasicListType.h"

namespace {

namespace fs = std::filesystem;

std::string read_text(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_text(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

class DocumentType : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The rebuilt database is looked for where XDG_DATA_HOME says.
        const char* saved = std::getenv("XDG_DATA_HOME");
        if (saved) savedDataHome = saved;
        ::setenv("XDG_DATA_HOME", home.c_str(), 1);
        app.Executable = "/opt/kivo/kivo-basic";
        app.AppName = "Kivo-BASIC";
        app.LargeIconPng = "large png";
        app.MiniIconPng = "mini png";
    }
    void TearDown() override
    {
        if (savedDataHome)
            ::setenv("XDG_DATA_HOME", savedDataHome->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }

    fs::path Package() const { return home / "mime/packages/kivo-basic.xml"; }
    fs::path Entry() const { return home / "applications/kivo-basic.desktop"; }
    fs::path List() const { return home / "applications/mimeapps.list"; }
    fs::path LargeIcon() const { return home / "icons/hicolor/32x32/mimetypes/text-x-BASIC-source-code.png"; }
    fs::path MiniIcon() const { return home / "icons/hicolor/16x16/mimetypes/text-x-BASIC-source-code.png"; }

    TTypeInstallResult Install(TTypeInstall how, const std::string& command = "update-mime-database")
    {
        return install_basic_list_type(home.string(), how, app, command);
    }

    TTempFolder tempFolder{"kivo-doctype"};
    const fs::path home = tempFolder.Path();
    std::optional<std::string> savedDataHome;
    TBasicListApp app;
};

TEST_F(DocumentType, RegisterMimeWritesEverythingAndTheDatabaseKnowsTheGlobs)
{
    const TTypeInstallResult result = Install(TTypeInstall::Everything);
    ASSERT_EQ(result.Status, platform::kOk) << result.FailedPath;
    EXPECT_TRUE(result.Written);
    EXPECT_TRUE(result.DatabaseUpdated);

    const std::string globs = read_text(home / "mime/globs2");
    EXPECT_NE(globs.find("text/x-BASIC-source-code:*.bas\n"), std::string::npos) << globs;
    EXPECT_NE(globs.find("text/x-BASIC-source-code:*.BAS:cs\n"), std::string::npos) << globs;
    EXPECT_NE(read_text(home / "mime/text/x-basic-source-code.xml").find("BASIC Source Code"), std::string::npos);

    EXPECT_NE(read_text(Entry()).find("Exec=/opt/kivo/kivo-basic %F"), std::string::npos);
    EXPECT_NE(read_text(List()).find("text/x-BASIC-source-code=kivo-basic.desktop;"), std::string::npos);
    EXPECT_EQ(read_text(LargeIcon()), "large png");
    EXPECT_EQ(read_text(MiniIcon()), "mini png");
}

TEST_F(DocumentType, RegisterMimeOverwritesOurFilesAndKeepsOtherTypes)
{
    write_text(Package(), "<mime-info/>\n");
    write_text(Entry(), "[Desktop Entry]\nExec=/old/place %F\n");
    write_text(List(), "[Default Applications]\ntext/plain=editor.desktop;\n");
    ASSERT_EQ(Install(TTypeInstall::Everything).Status, platform::kOk);
    EXPECT_EQ(read_text(Package()), basic_list_mime_package());
    EXPECT_EQ(read_text(Entry()), basic_list_desktop_entry(app.Executable, app.AppName));
    EXPECT_EQ(read_text(List()),
              "[Default Applications]\ntext/plain=editor.desktop;\ntext/x-BASIC-source-code=kivo-basic.desktop;\n");
}

TEST_F(DocumentType, StartUpWritesOnlyTheMissingPackage)
{
    const TTypeInstallResult first = Install(TTypeInstall::OnlyMissing);
    ASSERT_EQ(first.Status, platform::kOk);
    EXPECT_TRUE(first.Written);
    EXPECT_EQ(read_text(Package()), basic_list_mime_package());
    EXPECT_NE(read_text(home / "mime/globs2").find("text/x-BASIC-source-code:*.bas"), std::string::npos);
    // The preferred application and the icons are the command's.
    EXPECT_FALSE(fs::exists(Entry()));
    EXPECT_FALSE(fs::exists(List()));
    EXPECT_FALSE(fs::exists(LargeIcon()));

    const std::string own = "<?xml version=\"1.0\"?>\n<mime-info/>\n";
    write_text(Package(), own);
    const TTypeInstallResult again = Install(TTypeInstall::OnlyMissing);
    EXPECT_EQ(again.Status, platform::kOk);
    EXPECT_FALSE(again.Written);
    EXPECT_FALSE(again.DatabaseUpdated) << "nothing written, nothing rebuilt";
    EXPECT_EQ(read_text(Package()), own) << "an existing entry is kept";
}

TEST_F(DocumentType, AFolderThatCannotBeMadeLeavesEveryFileAsItWas)
{
    const std::string list = "[Default Applications]\ntext/plain=editor.desktop;\n";
    write_text(List(), list);
    // A file where the icons' folder has to go: the package, the entry and the list
    // are written before the icons fail.
    write_text(home / "icons", "not a folder");
    const TTypeInstallResult result = Install(TTypeInstall::Everything);
    EXPECT_EQ(result.Status, platform::kIoError);
    EXPECT_NE(result.FailedPath.find("icons"), std::string::npos) << result.FailedPath;
    EXPECT_FALSE(result.DatabaseUpdated);
    EXPECT_FALSE(fs::exists(Package()));
    EXPECT_FALSE(fs::exists(Entry()));
    EXPECT_EQ(read_text(List()), list);
    for (const auto& entry : fs::recursive_directory_iterator(home))
        EXPECT_EQ(entry.path().filename().string().rfind(".", 0), std::string::npos)
            << "temporary file left: " << entry.path();
}

TEST_F(DocumentType, AFileThatCannotBeReadStopsEverythingBeforeAWrite)
{
    fs::create_directories(List());  // a folder in the list's place
    const TTypeInstallResult result = Install(TTypeInstall::Everything);
    EXPECT_EQ(result.Status, platform::kIoError);
    EXPECT_EQ(result.FailedPath, List().string());
    EXPECT_FALSE(fs::exists(Package()));
    EXPECT_FALSE(fs::exists(Entry()));
}

TEST_F(DocumentType, ADatabaseToolThatFailsIsNoSuccess)
{
    const char* commands[] = {"false", "/nonexistent/update-mime-database"};
    for (const char* command : commands) {
        fs::remove_all(home / "mime");
        const TTypeInstallResult result = Install(TTypeInstall::OnlyMissing, command);
        EXPECT_EQ(result.Status, platform::kOk) << command;
        EXPECT_TRUE(result.Written) << command;
        EXPECT_FALSE(result.DatabaseUpdated) << command;
    }
}

TEST(UserDataDirectory, XdgDataHomeOrTheHomesLocalShare)
{
    const char* savedData = std::getenv("XDG_DATA_HOME");
    const std::string keepData = savedData ? savedData : "";
    const char* savedHome = std::getenv("HOME");
    const std::string keepHome = savedHome ? savedHome : "";
    struct Case {
        const char* data;  // null: unset
        const char* home;
        platform::status_t status;
        const char* path;
    };
    const Case cases[] = {
        {"/tmp/data/", "/home/me", platform::kOk, "/tmp/data"},
        {nullptr, "/home/me", platform::kOk, "/home/me/.local/share"},
        {"relative/data", "/home/me", platform::kOk, "/home/me/.local/share"},
        {nullptr, "", platform::kError, ""},
    };
    for (const Case& c : cases) {
        if (c.data)
            ::setenv("XDG_DATA_HOME", c.data, 1);
        else
            ::unsetenv("XDG_DATA_HOME");
        ::setenv("HOME", c.home, 1);
        std::string path;
        EXPECT_EQ(user_data_directory(&path), c.status) << c.path;
        if (c.status == platform::kOk) {
            EXPECT_EQ(path, c.path);
        }
    }
    if (savedData)
        ::setenv("XDG_DATA_HOME", keepData.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    if (savedHome)
        ::setenv("HOME", keepHome.c_str(), 1);
    else
        ::unsetenv("HOME");
}

}  // namespace
