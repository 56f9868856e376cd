// The editor's side of Go to Line and Renumber on a real text editor: where the caret
// goes, what the alerts say, and that a renumbering is one edit or none.

#include "ui/appdialogs/EditorLineCommands.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTextBlock>

#include "AppDialogsTestSupport.h"
#include "platform/Locale.h"
#include "tests/TestPaths.h"
#include "ui/guibase/ExactText.h"
#include "ui/widgets/SimpleInput.h"

namespace {

class EditorCommands : public ::testing::Test {
protected:
    void SetUp() override { editor.setPlainText(QString::fromUtf8("10 PRINT \"日本語\"\n20 B\n100 C\n  30 PRINT")); }

    void GoTo(const char* typed)
    {
        platform::Message request(platform::fourcc("gtlr"));
        request.AddString(kSimpleInputTextField, typed);
        go_to_line_requested(&editor, request, record);
    }
    platform::Message RenumberRequest(int32_t newLine, int32_t oldLine, int32_t step)
    {
        platform::Message request(platform::fourcc("rnmr"));
        request.AddInt32("NewLine", newLine);
        request.AddInt32("OldLine", oldLine);
        request.AddInt32("Step", step);
        return request;
    }
    int CaretLine() const { return editor.textCursor().blockNumber(); }

    QPlainTextEdit editor;
    std::vector<std::string> alerts;
    TEditorAlert record = [this](const std::string& text) { alerts.push_back(text); };
};

TEST_F(EditorCommands, GoToLinePutsTheCaretAtTheStartOfTheLine)
{
    struct Case {
        const char* typed;
        int line;
    };
    const Case cases[] = {{"20", 1}, {"100", 2}, {"10", 0}, {" 20xy", 1}};
    for (const Case& c : cases) {
        editor.moveCursor(QTextCursor::End);
        GoTo(c.typed);
        EXPECT_EQ(CaretLine(), c.line) << c.typed;
        EXPECT_EQ(editor.textCursor().positionInBlock(), 0) << c.typed;
        EXPECT_FALSE(editor.textCursor().hasSelection()) << c.typed;
    }
    EXPECT_TRUE(alerts.empty());
}

TEST_F(EditorCommands, GoToLineThatCannotBeFoundAlertsAndMovesNothing)
{
    struct Case {
        const char* typed;
        const char* key;
    };
    const Case cases[] = {{"1", "@Err_Specified_Line_Not_Found@"},
                          {"30", "@Err_Specified_Line_Not_Found@"},
                          {"", "@Err_Line_Not_Input@"}};
    for (const Case& c : cases) {
        alerts.clear();
        editor.moveCursor(QTextCursor::End);
        const int before = editor.textCursor().position();
        GoTo(c.typed);
        EXPECT_EQ(editor.textCursor().position(), before) << c.typed;
        EXPECT_EQ(alerts, std::vector<std::string>{platform::get_string(c.key)}) << c.typed;
    }
    platform::Message bare(platform::fourcc("gtlr"));
    go_to_line_requested(&editor, bare, record);
    EXPECT_EQ(alerts.size(), 1u) << "a request without its text is ignored";
}

TEST_F(EditorCommands, RenumberIsOneEditThatUndoTakesBack)
{
    editor.setPlainText("10 GOTO 20\n20 GOSUB 10\n");
    editor.document()->setModified(false);
    EXPECT_EQ(renumber_requested(&editor, RenumberRequest(100, 1, 10), record), "");
    EXPECT_EQ(editor.toPlainText(), "100 GOTO 110\n110 GOSUB 100\n");
    EXPECT_TRUE(editor.document()->isModified());
    editor.undo();
    EXPECT_EQ(editor.toPlainText(), "10 GOTO 20\n20 GOSUB 10\n");
    EXPECT_TRUE(alerts.empty());
}

TEST_F(EditorCommands, TheSampleListRenumbersWithEveryTargetAndIsFoundByItsNewNumbers)
{
    QFile list(QString::fromStdString(test_paths::FixtureDir() + "/ui/renum.bas"));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    editor.setPlainText(QString::fromUtf8(list.readAll()));
    renumber_requested(&editor, RenumberRequest(100, 1, 10), record);
    EXPECT_EQ(editor.toPlainText(),
              "100 RESTORE 140:READ A:PRINT A:GOTO 110\n110 ON A GOTO 120,130\n120 GOSUB 130:PRINT \"THIRTY\":END\n"
              "130 PRINT \"FORTY\":RETURN\n140 DATA 1\n");
    GoTo("120");
    EXPECT_EQ(CaretLine(), 2);
    EXPECT_TRUE(alerts.empty());
}

// Characters a plain-text reading would turn into blanks or line breaks belong to
// their lines: renumbering keeps them, and Go to Line counts them as they are.
TEST_F(EditorCommands, RenumberAndGoToLineKeepEveryCharacterOfTheList)
{
    const QString list = QString::fromUtf8("10 PRINT \"A\u00A0B\"\n20 PRINT \"C\u2028D\u2029E\"\n30 GOTO 20");
    QTextCursor all(editor.document());
    all.select(QTextCursor::Document);
    insert_exact_text(all, list);
    renumber_requested(&editor, RenumberRequest(100, 1, 10), record);
    EXPECT_EQ(exact_text(editor.document()),
              QString::fromUtf8("100 PRINT \"A\u00A0B\"\n110 PRINT \"C\u2028D\u2029E\"\n120 GOTO 110"));
    GoTo("120");
    EXPECT_EQ(editor.textCursor().block().text().left(3), QStringLiteral("120"));
    EXPECT_TRUE(alerts.empty());
}

// A list that begins with a byte-order mark: its first line is found by its number,
// and renumbered after the mark, which stays.
TEST_F(EditorCommands, AByteOrderMarkStaysBeforeTheFirstLinesNumber)
{
    QTextCursor all(editor.document());
    all.select(QTextCursor::Document);
    // QString::fromUtf8 would drop the mark.
    insert_exact_text(all, exact_from_utf8("\uFEFF10 PRINT 1\n20 GOTO 10"));
    GoTo("20");
    GoTo("10");
    EXPECT_EQ(CaretLine(), 0);
    renumber_requested(&editor, RenumberRequest(100, 1, 10), record);
    EXPECT_EQ(exact_to_utf8(exact_text(editor.document())), "\uFEFF100 PRINT 1\n110 GOTO 100");
    GoTo("110");
    GoTo("100");
    EXPECT_EQ(CaretLine(), 0);
    EXPECT_TRUE(alerts.empty()) << alerts.front();
}

TEST_F(EditorCommands, ARefusedRenumberingAlertsAndLeavesTheText)
{
    editor.setPlainText("10 A\n20 B\n30 C");
    editor.document()->setModified(false);
    renumber_requested(&editor, RenumberRequest(5, 20, 10), record);
    EXPECT_EQ(editor.toPlainText(), "10 A\n20 B\n30 C");
    EXPECT_FALSE(editor.document()->isModified());
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_NE(alerts[0].find("order"), std::string::npos) << alerts[0];
}

TEST_F(EditorCommands, AComputedJumpIsNamedInTheNote)
{
    editor.setPlainText("10 GOTO A*10\n20 END");
    const std::string note = renumber_requested(&editor, RenumberRequest(100, 1, 10), record);
    EXPECT_EQ(editor.toPlainText(), "100 GOTO A*10\n110 END");
    EXPECT_NE(note.find("100"), std::string::npos) << note;
}

TEST_F(EditorCommands, ARenumberRequestWithoutAllItsFieldsIsIgnored)
{
    platform::Message partial(platform::fourcc("rnmr"));
    partial.AddInt32("NewLine", 100);
    partial.AddInt32("Step", 10);
    const QString before = editor.toPlainText();
    renumber_requested(&editor, partial, record);
    EXPECT_EQ(editor.toPlainText(), before);
    EXPECT_TRUE(alerts.empty());
}

}  // namespace
