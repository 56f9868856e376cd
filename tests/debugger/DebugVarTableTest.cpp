// The debug view's copy of the variables, kept from the machine's snapshots.

#include <gtest/gtest.h>

#include "debugger/DebugProtocol.h"
#include "debugger/DebugVarTable.h"
#include "tests/debugger/DebuggerTestSupport.h"

namespace {

TEST_F(DebuggerTest, VarTableFollowsARunFromItsSnapshots)
{
    Load("10 A%=-5: S$=\"\": X=0.1\n20 DIM X(2,3)\n30 X(2,3)=7: X(0,1)=2000000!\n40 SWAP A%,B%\n");
    TDebugVarTable table;
    table.SetFrom(mid);
    ASSERT_NE(table.Find("A%"), nullptr);
    EXPECT_EQ(table.Find("A%")->RowText(0), "A% : 0");
    Start();
    ASSERT_EQ(WaitEnd(), 0) << alerts.Last();
    for (const platform::Message& message : sink->Messages()) {
        if (message.what == debug_msg::VarsUpdated) table.ApplyUpdate(message);
        if (message.what == debug_msg::VarReset) table.ApplyReset(message);
    }
    EXPECT_EQ(table.Find("A%")->RowText(0), "A% : 0");
    EXPECT_EQ(table.Find("B%")->RowText(0), "B% : -5");
    EXPECT_EQ(table.Find("S$")->RowText(0), "S$ : ");
    const TDebugVar* x = table.Find("X!");
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(x->ElementCount(), 12);
    EXPECT_EQ(x->RowText(0), "X! : 0.1");  // the plain variable of the same name
    EXPECT_EQ(x->RowText(12), "X!(2,3) : 7");
    EXPECT_EQ(x->RowText(2), "X!(0,1) : 2e+06");
    EXPECT_EQ(x->RowText(5), "X!(1,0) : 0");
}

TEST(DebugVarTable, MalformedOrForeignSnapshotsChangeNothing)
{
    TDebugVarTable table;
    platform::Message reset(debug_msg::VarReset);
    reset.AddString(debug_msg::VarName, "A!");
    EXPECT_EQ(table.ApplyReset(reset), "");  // no type, no value
    reset.AddInt32(debug_msg::VarType, tkSingle);
    reset.AddInt32(debug_msg::DimSize, 3);
    reset.AddString(debug_msg::Value, "1");
    EXPECT_EQ(table.ApplyReset(reset), "A!");

    platform::Message update(debug_msg::VarsUpdated);
    for (const auto& [name, element] : {std::pair<const char*, int32_t>{"A!", 4}, {"A!", -1}, {"Q!", 0}, {"A!", 3}}) {
        update.AddString(debug_msg::VarName, name);
        update.AddInt32(debug_msg::DimIdx, element);
        update.AddString(debug_msg::Value, "9");
    }
    const auto changed = table.ApplyUpdate(update);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], (std::pair<std::string, int32_t>{"A!", 3}));
    EXPECT_EQ(table.Find("A!")->RowText(3), "A!(2) : 9");
}

}  // namespace
