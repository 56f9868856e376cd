// The call-stack list on its own, chosen with the mouse as a user chooses its rows.

#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "ui/debugwindow/CallStackView.h"

namespace {

class CallStackList : public ::testing::Test {
protected:
    CallStackList() : list([this](int32_t line) { shown.push_back(line); }, nullptr)
    {
        list.resize(200, 120);
        list.show();
    }
    void Click(int row)
    {
        const QRect rect = list.visualItemRect(list.item(row));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center());
    }
    std::string Text(int row) const { return list.item(row)->text().toStdString(); }

    std::vector<int32_t> shown;
    TCallStackView list;
};

TEST_F(CallStackList, HoldsAnEmptyCurrentEntryWhenNewAndAfterAReset)
{
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(Text(0), "");
    EXPECT_EQ(list.CallCount(), 0);
    list.AddCallStack(20, "20 GOSUB 100");
    list.SetCurLine(100, "[Current] 100 A=1");
    list.ClearCallStack();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(Text(0), "");
    // The empty entry names no line: choosing it sends nothing.
    Click(0);
    EXPECT_TRUE(shown.empty());
}

TEST_F(CallStackList, ChoosingARowShowsItsLineEveryTime)
{
    list.AddCallStack(20, "20 GOSUB 100");
    list.AddCallStack(110, "110 GOSUB 200");
    list.SetCurLine(200, "[Current] 200 B=1");
    Click(1);
    EXPECT_TRUE(list.selectedItems().isEmpty()) << "the chosen row is let go at once";
    Click(1);
    Click(2);
    Click(0);
    EXPECT_EQ(shown, (std::vector<int32_t>{110, 110, 200, 20}));
}

TEST_F(CallStackList, TheCurrentEntryChangesInPlace)
{
    list.AddCallStack(20, "20 GOSUB 100");
    // A chosen row without a line stays chosen; a new current line must not move the
    // choice to the call above (which would show the caller's line).
    Click(1);
    ASSERT_EQ(list.selectedItems().size(), 1);
    list.SetCurLine(100, "[Current] 100 A=1");
    list.SetCurLine(110, "[Current] 110 RETURN");
    EXPECT_TRUE(shown.empty());
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(Text(1), "[Current] 110 RETURN");
    EXPECT_TRUE(list.item(1)->isSelected());
    list.RemoveCallStack();
    list.RemoveCallStack();
    ASSERT_EQ(list.count(), 1);
    EXPECT_EQ(Text(0), "[Current] 110 RETURN");
}

// Line and paragraph separators in a string are shown as the editor shows them, not as
// breaks that would draw the row over the next one.
TEST_F(CallStackList, SeparatorsInALineShowAsTheEditorShowsThem)
{
    list.AddCallStack(20, "20 GOSUB 100:PRINT \"A\u2028B\"");
    list.SetCurLine(100, "[Current] 100 PRINT \"C\u2029D\"");
    EXPECT_EQ(Text(0), "20 GOSUB 100:PRINT \"A\u21b5B\"");
    EXPECT_EQ(Text(1), "[Current] 100 PRINT \"C\u00b6D\"");
}

}  // namespace
