// The program editor: the modified flag and the keys that leave it clear, the Edit
// commands, byte offsets over multi-byte text, the status bar and the title.

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTextCursor>
#include <functional>

#include "ShellTesting.h"
#include "foundation/PrefsMessages.h"
#include "ui/app/AppMessages.h"
#include "ui/app/KivoBasicWindow.h"

namespace {

using namespace shell_testing;

class Editor : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        window = std::make_unique<TKivoBasicWindow>(platform::Rect{10, 30, 509, 329});
        window->Show();
        text = window->BasicView()->TextView();
        text->setFocus();
    }
    void TearDown() override
    {
        window.reset();
        ShellFixture::TearDown();
    }
    // Runs an Edit command as the menu sends it.
    void Command(uint32_t what)
    {
        window->PostMessage(what, window->BasicView());
        QApplication::processEvents();
    }

    std::unique_ptr<TKivoBasicWindow> window;
    TEditTxtView* text = nullptr;
};

TEST_F(Editor, NavigationKeysLeaveTheListUnmodified)
{
    text->SetText("10 PRINT 1\n20 END\n");
    text->SetModified(false);
    const Qt::Key keys[] = {Qt::Key_Left, Qt::Key_Right,  Qt::Key_Up,       Qt::Key_Down,   Qt::Key_Home,
                            Qt::Key_End,  Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Insert, Qt::Key_Escape,
                            Qt::Key_F1,   Qt::Key_F5,     Qt::Key_F10};
    for (Qt::Key key : keys) {
        QTest::keyClick(text, key);
        EXPECT_FALSE(text->IsModified()) << QKeySequence(key).toString().toStdString();
    }
    EXPECT_EQ(text->Text(), "10 PRINT 1\n20 END\n");
}

TEST_F(Editor, EditingKeysMarkTheListModified)
{
    struct Case {
        const char* name;
        Qt::Key key;
    };
    const Case cases[] = {
        {"Backspace on an empty list", Qt::Key_Backspace},
        {"Delete on an empty list", Qt::Key_Delete},
        {"Return", Qt::Key_Return},
        {"Tab", Qt::Key_Tab},
        {"a letter", Qt::Key_A},
    };
    for (const Case& c : cases) {
        text->SetText("");
        text->SetModified(false);
        QTest::keyClick(text, c.key);
        EXPECT_TRUE(text->IsModified()) << c.name;
    }
}

TEST_F(Editor, EditCommandsThatChangeTheTextMarkIt)
{
    struct Case {
        const char* name;
        uint32_t what;
        bool modifies;
        const char* after;
    };
    const Case cases[] = {
        {"Copy", kCopyMessage, false, "10 PRINT 1"},      {"Select All", kSelectAllMessage, false, "10 PRINT 1"},
        {"Clear", kClearMessage, true, "10 PRINT"},       {"Cut", kCutMessage, true, "10 PRINT"},
        {"Paste", kPasteMessage, true, "10 PRINT20 END"},
    };
    for (const Case& c : cases) {
        QGuiApplication::clipboard()->setText(QStringLiteral("20 END"));
        text->SetText("10 PRINT 1");
        text->Select(8, 10);  // " 1"
        text->SetModified(false);
        Command(c.what);
        EXPECT_EQ(text->IsModified(), c.modifies) << c.name;
        EXPECT_EQ(text->Text(), c.after) << c.name;
    }
    text->SetText("10 PRINT 1");
    text->Select(3, 3);
    text->SetModified(false);
    Command(kClearMessage);
    EXPECT_EQ(text->Text(), "10 PRINT 1") << "Clear with no selection changes nothing";
}

TEST_F(Editor, CountsPositionsInUtf8Bytes)
{
    // "あ" and "い" are three bytes each, "𝄞" four (two UTF-16 units).
    text->SetText("10 PRINT \"あい\"\n20 PRINT \"𝄞x\"\n30 END");
    EXPECT_EQ(text->TextLength(), 41);
    text->Select(10, 16);
    int32_t start = 0;
    int32_t end = 0;
    text->GetSelection(&start, &end);
    EXPECT_EQ(start, 10);
    EXPECT_EQ(end, 16);
    EXPECT_EQ(text->textCursor().selectedText().toStdString(), "あい");

    text->Select(11, 11);  // inside "あ": its first byte
    EXPECT_EQ(text->CaretOffset(), 10);

    text->Select(28, 32);
    EXPECT_EQ(text->textCursor().selectedText().toStdString(), "𝄞");

    EXPECT_EQ(text->LineAt(0), 0);
    EXPECT_EQ(text->LineAt(16), 0);
    EXPECT_EQ(text->LineAt(19), 1);
    EXPECT_EQ(text->LineAt(38), 2);
    text->GoToLine(2);
    EXPECT_EQ(text->CaretOffset(), 35);
    text->GoToLine(9);
    EXPECT_EQ(text->CaretOffset(), text->TextLength()) << "past the last line: the end";
}

TEST_F(Editor, KeepsEveryCharacterThroughCopyPasteAndOffsets)
{
    // U+00A0 and U+2028 are two and three bytes; U+2029 is three, and no line break.
    const std::string list = "\uFEFF10 PRINT \"A\u00A0B\u2028C\u2029D\"\n20 END";
    text->SetText(list);
    EXPECT_EQ(text->Text(), list);
    // Shown on one line: no separator is laid out as a break.
    EXPECT_EQ(text->document()->blockCount(), 2);
    EXPECT_FALSE(text->document()->toRawText().contains(QChar(0x2028)));
    EXPECT_EQ(text->LineAt(static_cast<int32_t>(list.find("D"))), 0);
    EXPECT_EQ(text->OffsetAtLine(1), static_cast<int32_t>(list.find("20")));
    text->Select(static_cast<int32_t>(list.find("D")), static_cast<int32_t>(list.find("D")));
    EXPECT_EQ(text->CaretOffset(), static_cast<int32_t>(list.find("D")));

    text->selectAll();
    Command(kCopyMessage);
    text->Select(text->TextLength(), text->TextLength());
    Command(kPasteMessage);
    EXPECT_EQ(text->Text(), list + list);
}

TEST_F(Editor, ACharacterTypedNextToAShownSeparatorStaysWhatItIs)
{
    // U+2029 shows as a pilcrow; a pilcrow typed right after it is a pilcrow.
    text->SetText("A\u2029B");
    text->Select(4, 4);
    for (const QChar typed : QString::fromUtf8("\u00B6\u21B5x")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(typed));
        QApplication::sendEvent(text, &press);
    }
    EXPECT_EQ(text->Text(), "A\u2029\u00B6\u21B5xB");
}

// A selection that takes in a shown character and ends right after it, made with the
// keys or the mouse, then left: the character is still the one it stands for, and the
// list is not modified.
TEST_F(Editor, SelectingAShownCharacterKeepsIt)
{
    struct Kind {
        const char* name;
        std::string character;
    };
    const Kind kinds[] = {
        {"line separator", "\u2028"},    {"paragraph separator", "\u2029"}, {"carriage return", "\r"},
        {"frame mark U+FDD0", "\uFDD0"}, {"frame mark U+FDD1", "\uFDD1"},
    };
    // Where the caret is before a gesture (a UTF-16 position), and the gesture; the
    // shown character stands at position `at`.
    struct Gesture {
        const char* name;
        std::function<void(QPlainTextEdit*, int at)> make;
    };
    const auto caret = [](QPlainTextEdit* edit, int position) {
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(position);
        edit->setTextCursor(cursor);
    };
    const auto centre = [](QPlainTextEdit* edit, int position) {
        QTextCursor cursor = edit->textCursor();
        cursor.setPosition(position);
        return edit->cursorRect(cursor).center();
    };
    const Gesture gestures[] = {
        {"Shift+Right over it, then Right",
         [&](QPlainTextEdit* edit, int at) {
             caret(edit, at);
             QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
             QTest::keyClick(edit, Qt::Key_Right);
         }},
        {"Shift+Right over the character before and it, then Left",
         [&](QPlainTextEdit* edit, int at) {
             caret(edit, at - 1);
             QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
             QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
             QTest::keyClick(edit, Qt::Key_Left);
         }},
        {"Shift+Left over it from after it, then Left",
         [&](QPlainTextEdit* edit, int at) {
             caret(edit, at + 1);
             QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
             QTest::keyClick(edit, Qt::Key_Left);
         }},
        {"a drag from before it to after it, then Right",
         [&](QPlainTextEdit* edit, int at) {
             QTest::mousePress(edit->viewport(), Qt::LeftButton, {}, centre(edit, at));
             QTest::mouseMove(edit->viewport(), centre(edit, at + 1));
             QTest::mouseRelease(edit->viewport(), Qt::LeftButton, {}, centre(edit, at + 1));
             QTest::keyClick(edit, Qt::Key_Right);
         }},
    };
    for (const Kind& kind : kinds) {
        for (const Gesture& gesture : gestures) {
            const std::string list = "10 END\n20 PRINT \"C" + kind.character + "\"\n30 END";
            text->SetText(list);
            text->SetModified(false);
            // "10 END", its line feed and "20 PRINT \"C": all one unit each.
            gesture.make(text, static_cast<int>(list.find(kind.character)));
            EXPECT_EQ(text->Text(), list) << kind.name << ", " << gesture.name;
            EXPECT_FALSE(text->IsModified()) << kind.name << ", " << gesture.name;
        }
    }
}

// A selection that ends right after a shown character and goes without the caret
// moving (a click where it stands): what is typed there is what was typed.
TEST_F(Editor, ACharacterTypedWhereASelectionEndedStaysWhatItIs)
{
    text->SetText("A\u2028B");
    text->Select(1, 1);
    QTest::keyClick(text, Qt::Key_Right, Qt::ShiftModifier);
    QTextCursor after = text->textCursor();
    after.clearSelection();
    QTest::mouseClick(text->viewport(), Qt::LeftButton, {}, text->cursorRect(after).center());
    ASSERT_FALSE(text->textCursor().hasSelection());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x21B5)));
    QApplication::sendEvent(text, &press);
    EXPECT_EQ(text->Text(), "A\u2028\u21B5B");
}

TEST(TextOffsets, ConvertBetweenUtf16AndUtf8)
{
    const QString text = QString::fromUtf8("aあ𝄞b");
    struct Case {
        int utf16;
        int32_t utf8;
    };
    const Case cases[] = {{0, 0}, {1, 1}, {2, 4}, {4, 8}, {5, 9}};
    for (const Case& c : cases) {
        EXPECT_EQ(utf8_offset_of(text, c.utf16), c.utf8) << c.utf16;
        EXPECT_EQ(utf16_position_of(text, c.utf8), c.utf16) << c.utf8;
    }
    EXPECT_EQ(utf16_position_of(text, 6), 2) << "inside a character: its start";
    EXPECT_EQ(utf16_position_of(text, 99), 5);
}

TEST_F(Editor, StatusBarShowsABlankBeforeItsText)
{
    TKivoBasicView* view = window->BasicView();
    view->SetStatBarStr("Compiling...");
    EXPECT_EQ(view->StatusBar()->text().toStdString(), " Compiling...");
    view->SetStatBarStr("");
    EXPECT_TRUE(view->StatusBar()->text().isEmpty());
}

TEST_F(Editor, TitleNamesANewList)
{
    EXPECT_EQ(window->windowTitle().toStdString(), "(New List) - Kivo-BASIC (Main: Edit Window)");
}

TEST_F(Editor, WordWrapFollowsThePreference)
{
    EXPECT_EQ(text->lineWrapMode(), QPlainTextEdit::NoWrap);
    gPrefs.WordWrap = true;
    window->PostMessage(kPrefsWordWrapChanged);
    ASSERT_TRUE(wait_until([&] { return text->lineWrapMode() == QPlainTextEdit::WidgetWidth; }));
}

TEST_F(Editor, AMissingFontFamilyFallsBackToIPAGothic)
{
    text->SetText("10 PRINT \"あ\"");
    text->SetModified(false);
    gPrefs.SetMainFontFamily("No Such Family 12345");
    gPrefs.MainFontSize = 15.0f;
    window->PostMessage(kPrefsMainFontChanged);
    ASSERT_TRUE(wait_until([&] { return text->font().pointSizeF() == 15.0; }));
    EXPECT_EQ(text->font().family().toStdString(), "IPAGothic");
    EXPECT_FALSE(text->IsModified()) << "a new font is no change of the list";
}

TEST_F(Editor, CtrlKFiresKillAndLeavesTheTextAlone)
{
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    text->SetText("10 PRINT 1\n20 END");
    text->Select(0, 0);
    gAppPrivacy.Killed = false;
    QTest::keyClick(text, Qt::Key_K, Qt::ControlModifier);
    ASSERT_TRUE(wait_until([] { return gAppPrivacy.Killed.load(); })) << "Kill with no program sets the flag";
    EXPECT_EQ(text->Text(), "10 PRINT 1\n20 END");
}

}  // namespace
