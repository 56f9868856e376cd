// The source list's rows as the view draws them.

#include <gtest/gtest.h>

#include "ui/debugwindow/SrcCodeView.h"

namespace {

// A line separator inside a string would draw its row over the next one: rows show
// the separators as the editor does, and kanji as they are.
TEST(SrcCodeModel, RowsShowSeparatorsAsTheEditorDoes)
{
    TSrcCodeModel model(nullptr);
    model.Lines().Set("10 PRINT \"C\u2028D\"\n20 PRINT \"\u6f22\u5b57\u2029\"\n");
    model.Reset();
    ASSERT_EQ(model.rowCount({}), 2);
    EXPECT_EQ(model.data(model.index(0), Qt::DisplayRole).toString(), QString::fromUtf8("10 PRINT \"C\u21b5D\""));
    EXPECT_EQ(model.data(model.index(1), Qt::DisplayRole).toString(),
              QString::fromUtf8("20 PRINT \"\u6f22\u5b57\u00b6\""));
}

}  // namespace
