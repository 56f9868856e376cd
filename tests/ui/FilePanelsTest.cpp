#include "ui/guibase/FilePanels.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <optional>
#include <string>

namespace {

struct SaveReplies : ::testing::Test {
    SaveReplies()
    {
        QFile file(folder.filePath(QStringLiteral("plain.txt")));
        if (file.open(QIODevice::WriteOnly)) file.write("x");
        QFile::link(QStringLiteral("/nowhere/target.bas"), folder.filePath(QStringLiteral("link.bas")));
    }
    std::string Path(const char* name = "") const { return folder.filePath(QString::fromUtf8(name)).toStdString(); }
    QTemporaryDir folder;
};

platform::Message save_reply(const std::optional<std::string>& directory, const std::optional<std::string>& name)
{
    platform::Message reply(platform::fourcc("SAVE"));
    if (directory) reply.AddRef("directory", platform::EntryRef{*directory});
    if (name) reply.AddString("name", *name);
    return reply;
}

TEST_F(SaveReplies, NameInsideTheFolderGivesItsPath)
{
    struct Case {
        std::string directory;
        std::string name;
        std::string path;
    };
    const Case cases[] = {
        {Path(), "new.bas", Path("new.bas")},
        {Path() + "/", "new.bas", Path("new.bas")},
        {Path(), "plain.txt", Path("plain.txt")},
        // A link at the name's place is not followed.
        {Path(), "link.bas", Path("link.bas")},
    };
    for (const Case& c : cases) {
        platform::Message reply = save_reply(c.directory, c.name);
        platform::EntryRef ref;
        EXPECT_EQ(get_save_ref(&reply, &ref), platform::kOk) << c.name;
        EXPECT_EQ(ref.path, c.path) << c.name;
    }
}

TEST_F(SaveReplies, BadReplyLeavesTheRefAlone)
{
    struct Case {
        const char* what;
        std::optional<std::string> directory;
        std::optional<std::string> name;
        platform::status_t status;
    };
    const Case cases[] = {
        {"no folder", std::nullopt, "a.bas", platform::kNameNotFound},
        {"no name", Path(), std::nullopt, platform::kNameNotFound},
        {"empty name", Path(), "", platform::kBadValue},
        {"parent", Path(), "..", platform::kBadValue},
        {"dot", Path(), ".", platform::kBadValue},
        {"leaves the folder", Path(), "../a.bas", platform::kBadValue},
        {"into a subfolder", Path(), "sub/a.bas", platform::kBadValue},
        {"missing folder", Path("missing"), "a.bas", platform::kIoError},
        {"folder is a file", Path("plain.txt"), "a.bas", platform::kIoError},
        {"empty folder path", "", "a.bas", platform::kIoError},
    };
    for (const Case& c : cases) {
        platform::Message reply = save_reply(c.directory, c.name);
        platform::EntryRef ref{"kept"};
        EXPECT_EQ(get_save_ref(&reply, &ref), c.status) << c.what;
        EXPECT_EQ(ref.path, "kept") << c.what;
    }
    platform::EntryRef ref{"kept"};
    EXPECT_EQ(get_save_ref(nullptr, &ref), platform::kBadValue);
    EXPECT_EQ(ref.path, "kept");
}

TEST(FilePanelPriority, NullPanelIsAnErrorAndAPanelIsLeftAsItIs)
{
    EXPECT_EQ(set_file_panel_priority(nullptr, 10), -1);
    QFileDialog panel;
    EXPECT_EQ(set_file_panel_priority(&panel, 10), 0);
}

}  // namespace
