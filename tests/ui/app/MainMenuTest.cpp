// The main window's menu bar against the menu table: labels in the accelerator format,
// Ctrl shortcuts, the codes and receivers of the items, the enabled state, the Repeat
// mark, and the rebuild after a change of the accelerator format.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <functional>
#include <map>
#include <set>
#include <vector>

#include "ShellTesting.h"
#include "foundation/HeaderConstants.h"
#include "foundation/PrefsMessages.h"
#include "platform/Locale.h"
#include "platform/qt/LooperPump.h"
#include "tests/ui/MenuText.h"
#include "ui/app/AppMessages.h"
#include "ui/app/KivoBasicWindow.h"
#include "ui/app/MainMenuTable.h"
#include "ui/guibase/AcceleratorLabels.h"

namespace {

using namespace shell_testing;

// Stands in for the application: handles the codes it is given and keeps what arrives.
class FakeApplication : public platform::Looper, public TCommandReceiver {
public:
    explicit FakeApplication(std::set<uint32_t> handled) : mHandled(std::move(handled)), mPump(this) {}
    ~FakeApplication() override { Quit(); }
    bool HandlesCommand(uint32_t what) const override { return mHandled.count(what) > 0; }
    void MessageReceived(platform::Message* message) override { received.push_back(message->what); }

    std::vector<uint32_t> received;

private:
    std::set<uint32_t> mHandled;
    platform::LooperPump mPump;
};

// The menu bar's items in table order: titles, items, separators and the submenu's
// own item, as the table lists them.
std::vector<QAction*> walk(QMenuBar* bar)
{
    std::vector<QAction*> actions;
    std::function<void(QMenu*)> walkMenu = [&](QMenu* menu) {
        for (QAction* action : menu->actions()) {
            actions.push_back(action);
            if (action->menu()) {
                walkMenu(action->menu());
                actions.push_back(nullptr);  // the end of the submenu
            }
        }
    };
    for (QAction* title : bar->actions()) {
        actions.push_back(title);
        walkMenu(title->menu());
    }
    return actions;
}

std::string text_of(QAction* action)
{
    return shown_menu_text(action);
}

class MainMenu : public ShellFixture {};

TEST_F(MainMenu, FollowsTheTableRowByRow)
{
    FakeApplication app({kAboutRequestedMessage, kShowRunWindowMessage});
    TKivoBasicWindow window(platform::Rect{10, 30, 509, 329}, &app);
    const std::vector<QAction*> actions = walk(window.MenuBar());
    const auto rows = main_menu_rows();
    ASSERT_EQ(actions.size(), rows.size());

    for (size_t i = 0; i < rows.size(); ++i) {
        const TMainMenuRow& row = rows[i];
        QAction* action = actions[i];
        const std::string where = "row " + std::to_string(i);
        if (row.kind == TMenuRowKind::SubmenuEnd) {
            EXPECT_EQ(action, nullptr) << where;
            continue;
        }
        ASSERT_NE(action, nullptr) << where;
        if (row.kind == TMenuRowKind::Separator) {
            EXPECT_TRUE(action->isSeparator()) << where;
            continue;
        }
        // "Open(O)...", "Save As(A)...", "Quit(Q)": the default format "\x02(a)".
        std::string label = platform::replace_placeholder(platform::get_string(row.labelKey), "%AppAuthor%", "TAVREN");
        label += std::string("(") + row.letter + ")";
        if (row.dots && row.kind != TMenuRowKind::Title) label += FUC_ELLIPSIS;
        EXPECT_EQ(text_of(action), label) << where;
        if (row.kind == TMenuRowKind::Title) continue;

        EXPECT_EQ(action->data().toUInt(), row.what) << where;
        if (row.kind == TMenuRowKind::Item) {
            const QKeySequence expected =
                row.shortcut ? QKeySequence(QStringLiteral("Ctrl+%1").arg(QChar(row.shortcut))) : QKeySequence();
            EXPECT_EQ(action->shortcut(), expected) << where;
        }
    }
}

TEST_F(MainMenu, SpotChecksOfLabelsAndShortcuts)
{
    TKivoBasicWindow window(platform::Rect{10, 30, 509, 329});
    std::map<uint32_t, QAction*> byCode;
    for (QAction* action : walk(window.MenuBar()))
        if (action && !action->isSeparator() && action->data().isValid()) byCode[action->data().toUInt()] = action;
    struct Case {
        uint32_t what;
        const char* label;
        const char* shortcut;
    };
    const Case cases[] = {
        {kOpenMessage, "Open(O)...", "Ctrl+O"},
        {kSaveAsMessage, "Save As(A)...", "Ctrl+2"},
        {kGoToLineMessage, "Go to Line(G)...", "Ctrl+,"},
        {kRunMessage, "Run(R)", "Ctrl+R"},
        {kKillMessage, "Kill(K)", "Ctrl+K"},
        {kAuthorWebMessage, "Open TAVREN's Web(J)", ""},
        {kQuitMessage, "Quit(Q)", "Ctrl+Q"},
        {kClearMessage, "Clear(L)", ""},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(byCode.count(c.what)) << c.label;
        EXPECT_EQ(text_of(byCode[c.what]), c.label);
        EXPECT_EQ(byCode[c.what]->shortcut().toString().toStdString(), c.shortcut) << c.label;
    }
}

TEST_F(MainMenu, AnItemIsEnabledOnlyWhenItsReceiverHandlesIt)
{
    FakeApplication app({kAboutRequestedMessage});
    TKivoBasicWindow window(platform::Rect{10, 30, 509, 329}, &app);
    std::map<uint32_t, bool> enabled;
    for (QAction* action : walk(window.MenuBar()))
        if (action && action->data().isValid()) enabled[action->data().toUInt()] = action->isEnabled();
    for (uint32_t built :
         {kRunMessage, kKillMessage, kCutMessage, kCopyMessage, kPasteMessage, kClearMessage, kSelectAllMessage,
          kRepeatRunMessage, kQuitMessage, kAboutRequestedMessage, kNewListMessage, kSaveMessage, kSaveAsMessage})
        EXPECT_TRUE(enabled[built]) << std::hex << built;
    for (uint32_t later : {kGoToLineMessage, kPreferencesMessage, kShowRunWindowMessage, kHelpMessage})
        EXPECT_FALSE(enabled[later]) << std::hex << later;
}

TEST_F(MainMenu, ApplicationItemsReachTheApplication)
{
    FakeApplication app({kAboutRequestedMessage, kShowRunWindowMessage});
    TKivoBasicWindow window(platform::Rect{10, 30, 509, 329}, &app);
    for (QAction* action : walk(window.MenuBar()))
        if (action && action->isEnabled() && action->data().toUInt() == kShowRunWindowMessage) action->trigger();
    ASSERT_TRUE(wait_until([&] { return !app.received.empty(); }));
    EXPECT_EQ(app.received, std::vector<uint32_t>{kShowRunWindowMessage});
}

TEST_F(MainMenu, RepeatTogglesTheExitStateAndItsMark)
{
    TKivoBasicWindow window(platform::Rect{10, 30, 509, 329});
    ASSERT_NE(window.RepeatItem(), nullptr);
    EXPECT_FALSE(window.RepeatItem()->isChecked());
    for (bool expected : {true, false}) {
        window.RepeatItem()->trigger();
        ASSERT_TRUE(wait_until([&] { return gExitStates.RepeatRun.load() == expected; }));
        QApplication::processEvents();
        EXPECT_EQ(window.RepeatItem()->isChecked(), expected);
    }
}

TEST_F(MainMenu, ANewAcceleratorFormatRelabelsEveryItem)
{
    TKivoBasicWindow window(platform::Rect{10, 30, 509, 329});
    gExitStates.RepeatRun = true;
    const std::string format = "\x01"
                               "a) ";  // "R) Run"
    gIAPs.SetString("AccKeyFormat2", format);
    platform::Message notice(kIAPChangedMessage);
    notice.AddString("IAP:SrcIAPItem", "FlatToolBar");
    window.IAPChanged(&notice);
    EXPECT_EQ(text_of(window.MenuBar()->actions().front()), "File(F)") << "another item changes nothing";

    platform::Message formatNotice(kIAPChangedMessage);
    formatNotice.AddString("IAP:SrcIAPItem", "AccKeyFormat2");
    window.IAPChanged(&formatNotice);
    const auto rows = main_menu_rows();
    const std::vector<QAction*> actions = walk(window.MenuBar());
    ASSERT_EQ(actions.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!actions[i] || actions[i]->isSeparator()) continue;
        const std::string prefix = std::string(rows[i].letter) + ") ";
        EXPECT_EQ(text_of(actions[i]).rfind(prefix, 0), 0u) << text_of(actions[i]);
    }
    ASSERT_NE(window.RepeatItem(), nullptr);
    EXPECT_TRUE(window.RepeatItem()->isChecked()) << "the rebuilt Repeat item shows the stored mark";
}

}  // namespace
