// The run view in its window: the boot banner, the title, keys typed to it (with and
// without a program that traps them), copies and drawing.

#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "foundation/AppVersion.h"
#include "machine/vm/VMachine.h"
#include "tests/ui/runwindow/RunWindowTesting.h"
#include "ui/runwindow/RunWindow.h"

using namespace run_window_testing;

namespace {

std::vector<std::string> drain_keys(TBasicRsrc& rsrc)
{
    std::vector<std::string> keys;
    for (std::string key; !(key = rsrc.PopFromKeyBufWithTimeout(0)).empty();) keys.push_back(key);
    return keys;
}

std::string row_text(TBasicRsrc& rsrc, int row)
{
    std::string text = rsrc.DisplayedTxt(static_cast<short>(row * 80), static_cast<short>(row * 80 + 79));
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

class RunView : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<TRunWindow>(platform::Rect{20, 40, 300, 300}, &alerts);
        view = window->RunView();
        rsrc = &view->Session().Rsrc();
        for (QAction* menu : window->MenuBar()->actions())
            for (QAction* item : menu->menu()->actions())
                QObject::connect(item, &QAction::triggered, [this] { ++menuItemsFired; });
    }
    void TearDown() override
    {
        view->Session().KillBasic();
        window.reset();
    }
    // A key typed to the view; Ctrl keys go through the window's queue first.
    void Type(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
    {
        if (text.isEmpty()) {
            QTest::keyClick(view, static_cast<Qt::Key>(key), modifiers);
        } else {
            QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
            QApplication::sendEvent(view, &press);
        }
        QApplication::processEvents();
    }

    TRecordingAlertSink alerts;
    std::unique_ptr<TRunWindow> window;
    TRunView* view = nullptr;
    TBasicRsrc* rsrc = nullptr;
    int menuItemsFired = 0;
};

TEST_F(RunView, BootBannerFillsFiveRowsAndLeavesTheCursorBelow)
{
    EXPECT_EQ(row_text(*rsrc, 0), "ZaRO Version");
    EXPECT_EQ(row_text(*rsrc, 1), "How many files (0-15)? 15");
    EXPECT_EQ(row_text(*rsrc, 2), std::string(kRunAppName) + "  " + gAppVer);
    const std::string memory = row_text(*rsrc, 3);
    EXPECT_NE(memory.find_first_of("0123456789"), std::string::npos);
    EXPECT_EQ(memory.substr(memory.find(' ')), " KBytes free");
    EXPECT_EQ(row_text(*rsrc, 4), "Ok");
    for (int row : {0, 2}) {
        EXPECT_EQ(rsrc->TxtAttr[row * 80], 5) << "row " << row;
        EXPECT_EQ(rsrc->TxtAttr[row * 80 + 1], 2) << "row " << row;
    }
    EXPECT_EQ(rsrc->TxtAttr[1 * 80], rsrc->TxtCol);
    EXPECT_EQ(rsrc->CsrIdx, 5 * 80);
}

TEST_F(RunView, TitleNamesTheCompatibilityMode)
{
    struct Case {
        int32_t mode;
        const char* title;
    };
    const Case cases[] = {
        {2, "DISK-BASIC - Kivo-BASIC (Run Window)"},
        {3, "DOS-BASIC - Kivo-BASIC (Run Window)"},
        {0, " - Kivo-BASIC (Run Window)"},
    };
    for (const Case& c : cases) EXPECT_EQ(run_window_title(c.mode), c.title) << c.mode;
    EXPECT_EQ(window->windowTitle().toStdString(), run_window_title(view->Session().CompatMode()));
}

TEST_F(RunView, KeysBecomeKeyBufferEntries)
{
    struct Case {
        const char* what;
        int key;
        Qt::KeyboardModifiers modifiers;
        std::vector<std::string> entries;
        QString text = {};  // what the keyboard layout makes of the key, when not its own letter
    };
    const Case cases[] = {
        {"End", Qt::Key_End, Qt::NoModifier, {"\x01"}},
        {"Enter", Qt::Key_Return, Qt::NoModifier, {"\x0D"}},
        {"Home", Qt::Key_Home, Qt::NoModifier, {"\x0C"}},
        {"Insert", Qt::Key_Insert, Qt::NoModifier, {"\x12"}},
        {"Page Up", Qt::Key_PageUp, Qt::NoModifier, {"\xF9"}},
        {"Page Down", Qt::Key_PageDown, Qt::NoModifier, {"\xF8"}},
        {"left arrow", Qt::Key_Left, Qt::NoModifier, {"\x1D"}},
        {"right arrow", Qt::Key_Right, Qt::NoModifier, {"\x1C"}},
        {"Tab", Qt::Key_Tab, Qt::NoModifier, {"\x09"}},
        {"a letter", Qt::Key_A, Qt::NoModifier, {"a"}},
        {"a shifted letter", Qt::Key_A, Qt::ShiftModifier, {"A"}, "A"},
        {"a kana of the input method's keyboard", Qt::Key_unknown, Qt::NoModifier, {"ｱ"}, "ｱ"},
        {"Ctrl+X", Qt::Key_X, Qt::ControlModifier, {"x"}},
        {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, {}},
        {"Ctrl+Shift+C", Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier, {}},
    };
    for (const Case& c : cases) {
        rsrc->ClearKeyBuf();
        Type(c.key, c.modifiers, c.text);
        EXPECT_EQ(drain_keys(*rsrc), c.entries) << c.what;
    }
    EXPECT_EQ(menuItemsFired, 0) << "no Ctrl key acts as a menu short-cut";
}

TEST_F(RunView, FunctionKeysTypeTheirStringsOneByteAnEntry)
{
    rsrc->SetFuncKeyStr(1, "ABCDEF");
    rsrc->SetFuncKeyStr(3, "");
    rsrc->ClearKeyBuf();
    Type(Qt::Key_F1);
    EXPECT_EQ(drain_keys(*rsrc), (std::vector<std::string>{"A", "B", "C", "D", "E", "F"}));
    Type(Qt::Key_F3);
    EXPECT_TRUE(drain_keys(*rsrc).empty());
    Type(Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(drain_keys(*rsrc).size(), 6u) << "Ctrl does not change what a function key types";
}

TEST_F(RunView, KeysRaiseTheInterruptsTheProgramTrapped)
{
    struct Case {
        const char* what;
        const char* list;
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* shown;
    };
    const Case cases[] = {
        {"End raises HELP", "10 ON HELP GOSUB 100:HELP ON\n20 GOTO 20\n100 PRINT \"HELP!\":END\n", Qt::Key_End,
         Qt::NoModifier, "HELP!"},
        {"F3 with an empty string raises its key",
         "10 KEY 3,\"\":ON KEY GOSUB 100,100,100:KEY(3) ON\n20 GOTO 20\n100 PRINT \"F3!\":END\n", Qt::Key_F3,
         Qt::NoModifier, "F3!"},
        {"Ctrl+C raises STOP", "10 ON STOP GOSUB 100:STOP ON\n20 GOTO 20\n100 PRINT \"STOP!\":END\n", Qt::Key_C,
         Qt::ControlModifier, "STOP!"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(start_run(*view, c.list)) << c.what << ": " << alerts.Last();
        // The trap is armed once the program has passed its first line.
        QTest::qWait(100);
        ASSERT_TRUE(wait_until([&] {
            Type(c.key, c.modifiers);
            return view->RunEnded();
        })) << c.what;
        EXPECT_TRUE(screen_shows(*view, c.shown)) << c.what << "\n" << screen_of(*view);
    }
    EXPECT_EQ(rsrc->KeyBuffer.Size(), 0u) << "F3's empty string typed nothing";
}

TEST_F(RunView, CtrlCStopsAProgramWithoutTrap)
{
    for (Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ControlModifier | Qt::ShiftModifier}) {
        ASSERT_TRUE(start_run(*view, "10 GOTO 10\n"));
        Type(Qt::Key_C, modifiers);
        EXPECT_TRUE(wait_until([&] { return view->RunEnded(); }));
    }
}

TEST_F(RunView, CopyTextPutsTheScreenOnTheClipboard)
{
    ASSERT_TRUE(start_run(*view, "10 CLS\n20 PRINT \"A  B\"\n"));
    ASSERT_TRUE(wait_until([&] { return view->RunEnded(); }));
    view->MItemCopyTextClicked();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "A  B\nOk\n" + std::string(23, '\n'));
}

TEST_F(RunView, UpdatePendingAtCopyTimeIsStillDrawn)
{
    QApplication::processEvents();  // the banner is drawn
    const QRect cell(8 * 70, 16 * 10, 8, 16);
    auto cellLit = [&] {
        const QImage part = view->BackBuffer().copy(cell);
        for (int y = 0; y < part.height(); ++y)
            for (int x = 0; x < part.width(); ++x)
                if (part.pixel(x, y) != qRgb(0, 0, 0)) return true;
        return false;
    };
    ASSERT_FALSE(cellLit());
    {
        std::lock_guard<std::recursive_mutex> lock(rsrc->ScrLock);
        std::strcpy(rsrc->TxtBuf[10 * 80 + 70], "M");
        rsrc->TxtAttr[10 * 80 + 70] = 7;
        rsrc->SetScrModifiedByTxt2(10 * 80 + 70, 10 * 80 + 70);
    }
    rsrc->UpdateScreen();
    view->MItemCopyCompositionClicked();  // before the posted drawing runs
    EXPECT_FALSE(QGuiApplication::clipboard()->image().isNull());
    EXPECT_TRUE(wait_until(cellLit));
}

TEST_F(RunView, MouseMovesReachTheProgram)
{
    ASSERT_TRUE(start_run(*view, "10 IF MOUSE(0)<>200 GOTO 10\n20 PRINT \"AT\";MOUSE(0);MOUSE(1)\n"));
    const QPointF where(200, 300);
    ASSERT_TRUE(wait_until([&] {
        QMouseEvent move(QEvent::MouseMove, where, view->mapToGlobal(where), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        return view->RunEnded();
    }));
    EXPECT_TRUE(screen_shows(*view, "AT 200  150")) << "y is divided by the vertical factor\n" << screen_of(*view);
}

TEST_F(RunView, RunTimeErrorGivesItsAlertAndTheScreenGoesOn)
{
    ASSERT_TRUE(start_run(*view, "10 CLS\n20 A=1/0\n"));
    ASSERT_TRUE(wait_until([&] { return view->RunEnded(); }));
    EXPECT_EQ(alerts.Count(), 1u);
    EXPECT_TRUE(screen_shows(*view, " in 20\nOk\n")) << screen_of(*view);
    EXPECT_TRUE(view->Session().KillBasic());
}

TEST_F(RunView, ListThatDoesNotCompileMakesNoMachine)
{
    EXPECT_FALSE(start_run(*view, "10 PRINT (\n"));
    EXPECT_EQ(alerts.Count(), 1u);
    EXPECT_EQ(view->VMachine(), nullptr);
}

}  // namespace
