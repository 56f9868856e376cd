#include "ui/widgets/MRUFMenu.h"

#include <gtest/gtest.h>

#include <QAction>

#include "WidgetTestSupport.h"
#include "tests/ui/MenuText.h"

namespace {

QStringList Texts(const QMenu& menu)
{
    QStringList texts;
    for (QAction* action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("--") : QString::fromStdString(shown_menu_text(action)));
    return texts;
}

}  // namespace

TEST(MRUFMenuTest, NoMenuGivesNull)
{
    TMRUF list;
    EXPECT_EQ(GenerateMenu(list, nullptr, platform::Messenger()), nullptr);
}

TEST(MRUFMenuTest, TheBlockEndsAtTheFirstSeparatorAndItemsBeforeThePositionStay)
{
    QMenu menu;
    for (const char* fixed : {"Drive", "Other...", "Eject"}) menu.addAction(QString::fromLatin1(fixed));
    menu.addSeparator();
    menu.addAction(QStringLiteral("After"));
    TMRUF list;
    list.SetTgtBase(3);
    list.SetAccFormat("\x02(a)");
    list.AddMRUF("/f/one");
    list.AddMRUF("/f/two");
    ASSERT_EQ(GenerateMenu(list, &menu, platform::Messenger()), &menu);
    list.AddMRUF("/f/three");
    GenerateMenu(list, &menu, platform::Messenger());
    EXPECT_EQ(Texts(menu), (QStringList{"Drive", "Other...", "Eject", "three(0)", "two(1)", "one(2)", "--", "After"}));

    list.ClearMRUF();
    GenerateMenu(list, &menu, platform::Messenger());
    EXPECT_EQ(Texts(menu), (QStringList{"Drive", "Other...", "Eject", "--", "After"}));
}

TEST(MRUFMenuTest, LabelsShowAmpersandsAsWrittenInTheGivenFormat)
{
    struct Case {
        std::string format;
        QString shown;
    };
    for (const Case& c : {Case{"\x02(a)", "a&b.bas(0)"},
                          Case{"\x01"
                               "a) ",
                               "0) a&b.bas"},
                          Case{"", "a&b.bas"}}) {
        QMenu menu;
        TMRUF list;
        list.SetAccFormat(c.format);
        list.AddMRUF("/x/a&b.bas");
        GenerateMenu(list, &menu, platform::Messenger());
        ASSERT_EQ(menu.actions().size(), 1);
        EXPECT_EQ(menu.actions().at(0)->iconText(), c.shown) << c.format;
    }
}

TEST(MRUFMenuTest, ShortcutsAreCtrlShiftDigitsForTheFirstTen)
{
    QMenu menu;
    TMRUF list;
    list.SetMaxMRUF(20);
    list.SetShowSC(true);
    for (int i = 11; i >= 0; --i) list.AddMRUF("/p/" + std::to_string(i));
    GenerateMenu(list, &menu, platform::Messenger());
    const auto actions = menu.actions();
    ASSERT_EQ(actions.size(), 12);
    EXPECT_EQ(actions.at(0)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_0));
    EXPECT_EQ(actions.at(9)->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_9));
    EXPECT_TRUE(actions.at(10)->shortcut().isEmpty());

    list.SetShowSC(false);
    GenerateMenu(list, &menu, platform::Messenger());
    for (QAction* action : menu.actions()) EXPECT_TRUE(action->shortcut().isEmpty());
}

TEST(MRUFMenuTest, ChoosingAnItemSendsTheModelMessageWithItsPathEvenWhenGone)
{
    RecordingTarget target;
    QMenu menu;
    TMRUF list;
    platform::Message model(platform::fourcc("_RRC"));
    model.AddInt32("DrvFolderIdx", 1);
    list.SetMessage(model);
    list.AddMRUF("/no/longer/there");
    list.AddMRUF("/tmp");
    GenerateMenu(list, &menu, platform::Messenger(&target.handler));
    menu.actions().at(1)->trigger();
    const auto& received = target.Drain();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].what, platform::fourcc("_RRC"));
    platform::EntryRef ref;
    ASSERT_EQ(received[0].FindRef("refs", &ref), platform::kOk);
    EXPECT_EQ(ref.path, "/no/longer/there");
    int32_t drive = 0;
    EXPECT_EQ(received[0].FindInt32("DrvFolderIdx", &drive), platform::kOk);
    EXPECT_EQ(drive, 1);
}
