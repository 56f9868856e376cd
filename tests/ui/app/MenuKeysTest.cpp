// The menus from the keyboard: Alt with a title's letter opens its menu, the letter of
// an item in an open menu chooses it, F10 opens the first menu, and no Alt+letter is
// typed into the list. Every menu of every window gives each shown letter to one item.

#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <functional>
#include <map>
#include <memory>

#include "ShellTesting.h"
#include "tests/ui/MenuText.h"
#include "ui/app/KivoBasicWindow.h"
#include "ui/runwindow/RunWindow.h"

namespace {

using namespace shell_testing;

constexpr const char* kList = "10 GOTO 10";

class MenuKeys : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        window = std::make_unique<TKivoBasicWindow>(platform::Rect{40, 40, 539, 339});
        window->Show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        text = window->BasicView()->TextView();
        FocusTheList();
        text->SetText(kList);
        text->Select(3, 3);
        text->SetModified(false);
    }
    void TearDown() override
    {
        CloseMenus();
        window.reset();
        ShellFixture::TearDown();
    }
    // The offscreen platform may leave no window active once a menu has closed.
    void FocusTheList()
    {
        window->activateWindow();
        text->setFocus();
        ASSERT_TRUE(wait_until([&] { return window->isActiveWindow() && text->hasFocus(); }));
    }
    // The title whose menu is open, or null.
    QAction* OpenTitle() const
    {
        for (QAction* title : window->MenuBar()->actions())
            if (title->menu()->isVisible()) return title;
        return nullptr;
    }
    void CloseMenus()
    {
        while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    }

    std::unique_ptr<TKivoBasicWindow> window;
    TEditTxtView* text = nullptr;
};

TEST_F(MenuKeys, AltWithALetterOpensItsMenuOrNothingAndNeverTypes)
{
    struct Case {
        Qt::Key key;
        const char* title;  // shown; null: no menu opens
    };
    const Case cases[] = {
        {Qt::Key_F, "File(F)"},   {Qt::Key_E, "Edit(E)"}, {Qt::Key_R, "Run(R)"}, {Qt::Key_T, "Tool(T)"},
        {Qt::Key_W, "Window(W)"}, {Qt::Key_H, "Help(H)"}, {Qt::Key_Z, nullptr},  {Qt::Key_1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | Qt::AltModifier).toString().toStdString());
        QTest::keyClick(text, c.key, Qt::AltModifier);
        QApplication::processEvents();
        // The menu bar opens the menu while it handles the key.
        QAction* open = OpenTitle();
        EXPECT_EQ(open ? shown_menu_text(open) : "no menu", c.title ? c.title : "no menu");
        CloseMenus();
        EXPECT_EQ(text->Text(), kList);
        EXPECT_FALSE(text->IsModified());
    }
}

TEST_F(MenuKeys, F10OpensTheFirstMenu)
{
    QTest::keyClick(text, Qt::Key_F10);
    ASSERT_TRUE(wait_until([&] { return OpenTitle() != nullptr; }));
    EXPECT_EQ(OpenTitle(), window->MenuBar()->actions().front());
    EXPECT_EQ(text->Text(), kList);
}

TEST_F(MenuKeys, AnItemsLetterInTheOpenMenuChoosesIt)
{
    struct Case {
        Qt::Key title;
        Qt::Key item;
        const char* chosen;
        std::function<bool()> done;
    };
    const Case cases[] = {
        {Qt::Key_E, Qt::Key_A, "Select All(A)",
         [&] { return text->textCursor().selectedText() == QLatin1String(kList); }},
        // The Open item unfolds the recent lists too; its letter chooses the item itself.
        {Qt::Key_F, Qt::Key_O, "Open(O)...",
         [&] { return window->OpenPanel() != nullptr && window->OpenPanel()->isVisible(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen);
        FocusTheList();
        QTest::keyClick(text, c.title, Qt::AltModifier);
        ASSERT_TRUE(wait_until([&] { return QApplication::activePopupWidget() != nullptr; }));
        QTest::keyClick(QApplication::activePopupWidget(), c.item);
        ASSERT_TRUE(wait_until(c.done));
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the chosen item closes the menus";
        EXPECT_EQ(text->Text(), kList);
    }
    window->OpenPanel()->reject();
}

// Every title and item shows its letter and has it as its mnemonic, and no two in one
// menu (or on one bar) share it.
void expect_one_item_a_letter(QMenuBar* bar, const std::string& window)
{
    std::function<void(const QList<QAction*>&, const std::string&)> check = [&](const QList<QAction*>& actions,
                                                                                const std::string& where) {
        std::map<QKeySequence, std::string> taken;
        for (QAction* action : actions) {
            if (action->isSeparator()) continue;
            const std::string shown = shown_menu_text(action);
            const QKeySequence mnemonic = mnemonic_of(action);
            EXPECT_FALSE(mnemonic.isEmpty()) << where << ": " << shown;
            if (!mnemonic.isEmpty()) {
                // The mnemonic is the letter shown in brackets ("Open(O)...").
                const std::string letter = mnemonic.toString().toStdString().substr(4);
                EXPECT_NE(shown.find("(" + letter + ")"), std::string::npos) << where << ": " << shown;
                const auto [at, fresh] = taken.emplace(mnemonic, shown);
                EXPECT_TRUE(fresh) << where << ": " << shown << " and " << at->second << " share "
                                   << mnemonic.toString().toStdString();
            }
            if (action->menu()) check(action->menu()->actions(), where + " > " + shown);
        }
    };
    check(bar->actions(), window);
}

TEST_F(MenuKeys, EveryMenuOfEveryWindowGivesEachLetterToOneItem)
{
    for (const char* list : {"/lists/a&b.bas", "/lists/two.bas", "/lists/three.bas"}) window->RecentLists().Add(list);
    window->GenerateMenuMRUF();
    expect_one_item_a_letter(window->MenuBar(), "main window");

    TRunWindow run(platform::Rect{20, 40, 300, 300});
    platform::Message named(kUpdateMenuDrvFolderMessage);
    for (int32_t drive : {0, 1}) {
        named.MakeEmpty();
        named.AddInt32("DrvFolderIdx", drive);
        named.AddRef("DrvFolderERef", platform::EntryRef{"/lists"});
        named.AddString("DrvFolderName", "lists & more");
        run.UpdateMenuDrvFolderRqtd(named);
    }
    expect_one_item_a_letter(run.MenuBar(), "run window");
    run.RunView()->Session().KillBasic();
}

}  // namespace
