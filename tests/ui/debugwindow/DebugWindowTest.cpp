// The debug window driven as a user drives it: a debugged run started as the editor
// starts it, the tool bar's buttons, the break-point margin, the call-stack and
// variable lists, Kill and run-time errors.

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>
#include <memory>

#include "debugger/DebugProtocol.h"
#include "debugger/Debugger.h"
#include "foundation/Common.h"
#include "foundation/IAPItemFlatToolBar.h"
#include "foundation/InterAppPrefs.h"
#include "foundation/PrefsMessages.h"
#include "session/FormatSource.h"
#include "tests/ui/runwindow/RunWindowTesting.h"
#include "ui/debugwindow/CallStackView.h"
#include "ui/debugwindow/DebugView.h"
#include "ui/debugwindow/DebugWindow.h"
#include "ui/debugwindow/SrcCodeView.h"
#include "ui/debugwindow/VarView.h"
#include "ui/runwindow/RunWindow.h"
#include "ui/widgets/ToolBar.h"
#include "ui/widgets/ToolButton.h"

namespace {

using run_window_testing::wait_until;

const char* const GOSUB_PROGRAM = "10 A=1\n"
                                  "20 GOSUB 100\n"
                                  "30 END\n"
                                  "100 B=2\n"
                                  "110 RETURN\n";

class DebugWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        gExitStates.UseDebugger = true;
        gPrefs.BreakAtStart = true;
        runWindow = std::make_unique<TRunWindow>(platform::Rect{0, 0, 639, 399}, &alerts);
        debugWindow = std::make_unique<TDebugWindow>(platform::Rect{0, 0, 599, 499});
        debugWindow->SetRunView(runWindow->RunView());
        runWindow->RunView()->Session().SetDebugSink(view());
    }
    void TearDown() override
    {
        view()->SetVMachine(nullptr);
        runWindow->RunView()->Session().QuitBasic();
        QApplication::processEvents();
        debugWindow.reset();
        runWindow.reset();
        gExitStates.UseDebugger = false;
        gAppPrivacy.Killed = false;
    }

    TDebugView* view() const { return debugWindow->DebugView(); }
    TRunView* runView() const { return runWindow->RunView(); }

    // The editor's run hand-off, in its order.
    void StartRun(const std::string& list)
    {
        view()->SetVMachine(nullptr);
        runView()->Session().QuitBasic();
        view()->ClearVar();
        runView()->Session().ClearBasic();
        gAppPrivacy.Killed = false;
        const std::string source = format_source_for_compiler(list).Text;
        ASSERT_TRUE(runView()->Session().CompileBasic(source));
        runView()->Session().ReadyBasic();
        view()->SetSrcCode(source);
        view()->ClearCallStack();
        view()->SetVar();
        view()->SetVMachine(runView()->VMachine());
        view()->SetFirstBreakPoint();
        ASSERT_TRUE(runView()->Session().RunBasic({}));
    }
    void Press(uint32_t what)
    {
        platform::Message message(what);
        view()->MessageReceived(&message);
    }
    int BreakingRow() const
    {
        const auto& lines = view()->SrcCodeView()->Lines().Lines();
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].Breaking) return static_cast<int>(i);
        return -1;
    }
    bool BreaksAt(int row)
    {
        return wait_until([&] { return view()->State() == DRM_BREAK && BreakingRow() == row; });
    }
    std::string CurrentEntry() const
    {
        TCallStackView* stack = view()->CallStackView();
        return stack->count() == 0 ? std::string() : stack->item(stack->count() - 1)->text().toStdString();
    }
    std::string VarRow(const std::string& name) const
    {
        QTreeWidgetItem* item = view()->VarView()->VarItem(name);
        return item ? item->text(0).toStdString() : std::string();
    }
    void ClickSource(int row, int x)
    {
        TSrcCodeView* list = view()->SrcCodeView();
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(x, rect.center().y()));
    }
    std::vector<int32_t> BreakPoints()
    {
        std::vector<int32_t> lines;
        runView()->Session().WithMachine([&](TVMachine& machine) {
            if (auto* debugger = dynamic_cast<TDebugger*>(&machine)) lines = debugger->BreakPoints();
        });
        return lines;
    }

    TRecordingAlertSink alerts;
    std::unique_ptr<TRunWindow> runWindow;
    std::unique_ptr<TDebugWindow> debugWindow;
};

TEST_F(DebugWindow, StepsThroughAGosubShowingCallsAndVariables)
{
    debugWindow->Show();
    StartRun(GOSUB_PROGRAM);
    ASSERT_TRUE(BreaksAt(0));
    EXPECT_TRUE(view()->SrcCodeView()->Lines().Lines()[0].BreakPoint);
    Press(kDebugStepInMessage);
    ASSERT_TRUE(BreaksAt(1));
    EXPECT_EQ(VarRow("A!"), "A! : 1");
    Press(kDebugStepInMessage);
    ASSERT_TRUE(BreaksAt(3));
    // Inside the subroutine: the GOSUB's row, then the current line.
    ASSERT_EQ(view()->CallStackView()->CallCount(), 1);
    EXPECT_EQ(view()->CallStackView()->item(0)->text().toStdString(), "20 GOSUB 100");
    EXPECT_NE(CurrentEntry().find("100 B=2"), std::string::npos);

    // The breaking row is drawn in 255, 204, 204.
    TSrcCodeView* list = view()->SrcCodeView();
    const QRect rect = list->visualRect(list->model()->index(3, 0));
    const QImage shot = list->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(rect.right() - 5, rect.center().y()), QColor(255, 204, 204));
    EXPECT_EQ(shot.pixelColor(rect.right() - 5, rect.center().y() + rect.height()), QColor(Qt::white));

    Press(kDebugStepOverMessage);
    ASSERT_TRUE(BreaksAt(4));
    EXPECT_EQ(VarRow("B!"), "B! : 2");
    Press(kDebugRunMessage);
    ASSERT_TRUE(wait_until([&] { return CurrentEntry() == "[Done]"; }));
    EXPECT_EQ(view()->CallStackView()->CallCount(), 0);
    EXPECT_FALSE(view()->HasDebugger());
}

TEST_F(DebugWindow, AStepOntoAKeyboardReadHandsTheKeysToTheRunWindowAndSaysSo)
{
    debugWindow->Show();
    debugWindow->activateWindow();
    StartRun("10 INPUT A\n20 PRINT A\n");
    ASSERT_TRUE(BreaksAt(0));
    const QString status = view()->StatusLine()->text();
    EXPECT_TRUE(status.trimmed().isEmpty()) << status.toStdString();

    Press(kDebugStepOverMessage);
    ASSERT_TRUE(wait_until([&] { return !view()->StatusLine()->text().trimmed().isEmpty(); }));
    EXPECT_EQ(view()->StatusLine()->text().trimmed().toStdString(), "Waiting for keyboard input in the run window");
    EXPECT_TRUE(runWindow->isVisible());
    EXPECT_TRUE(wait_until([&] { return QApplication::activeWindow() == runWindow.get(); }))
        << "the run window takes the keys";

    TBasicRsrc& rsrc = runView()->Session().Rsrc();
    rsrc.PushToKeyBuf("5", 1);
    rsrc.PushToKeyBuf("\n", 1);
    ASSERT_TRUE(BreaksAt(1));
    EXPECT_TRUE(view()->StatusLine()->text().trimmed().isEmpty()) << "the read is over";
    EXPECT_TRUE(wait_until([&] { return QApplication::activeWindow() == debugWindow.get(); }))
        << "the break brings the debug window back";
}

TEST_F(DebugWindow, TheMarginTogglesBreakPointsAndTheRestOnlySelects)
{
    debugWindow->Show();
    StartRun(GOSUB_PROGRAM);
    ASSERT_TRUE(BreaksAt(0));
    ClickSource(2, TSrcCodeView::MARGIN);
    EXPECT_TRUE(view()->SrcCodeView()->Lines().Lines()[2].BreakPoint);
    EXPECT_EQ(BreakPoints(), (std::vector<int32_t>{10, 30}));
    ClickSource(1, TSrcCodeView::MARGIN + 1);
    EXPECT_FALSE(view()->SrcCodeView()->Lines().Lines()[1].BreakPoint);
    EXPECT_EQ(view()->SrcCodeView()->currentIndex().row(), 1);
    EXPECT_EQ(BreakPoints(), (std::vector<int32_t>{10, 30}));
    ClickSource(0, 3);
    EXPECT_EQ(BreakPoints(), (std::vector<int32_t>{30}));
    Press(kDebugRunMessage);
    ASSERT_TRUE(BreaksAt(2));
}

TEST_F(DebugWindow, SelectingACallRowScrollsTheSourceToIt)
{
    std::string list = "10 GOSUB 1000\n20 END\n";
    for (int line = 100; line < 1000; line += 10) list += std::to_string(line) + " REM\n";
    list += "1000 A=1\n1010 RETURN\n";
    for (int line = 1100; line < 2000; line += 10) list += std::to_string(line) + " REM\n";
    debugWindow->Show();
    StartRun(list);
    ASSERT_TRUE(BreaksAt(0));
    Press(kDebugStepInMessage);
    const int row1000 = view()->SrcCodeView()->Lines().Row(1000);
    ASSERT_TRUE(BreaksAt(row1000));
    TSrcCodeView* source = view()->SrcCodeView();
    ASSERT_EQ(source->indexAt(QPoint(30, 2)).row(), row1000);
    TCallStackView* stack = view()->CallStackView();
    const auto chooseCall = [&] {
        QTest::mouseClick(stack->viewport(), Qt::LeftButton, {}, stack->visualItemRect(stack->item(0)).center());
    };
    chooseCall();
    EXPECT_EQ(source->indexAt(QPoint(30, 2)).row(), 0);
    // The same row again, after the source list has moved on.
    source->ScrollToSpecifyLineNum(1000);
    chooseCall();
    EXPECT_EQ(source->indexAt(QPoint(30, 2)).row(), 0);
}

TEST_F(DebugWindow, KillInABreakClearsTheHighlightAndTheNextRunStartsFresh)
{
    debugWindow->Show();
    StartRun(GOSUB_PROGRAM);
    ASSERT_TRUE(BreaksAt(0));
    Press(kDebugKillMessage);
    ASSERT_TRUE(wait_until([&] { return CurrentEntry() == "[Killed]"; }));
    EXPECT_EQ(BreakingRow(), -1);
    EXPECT_EQ(runView()->VMachine(), nullptr);

    // Without "BrkS" the next run goes to its end; a Step press meanwhile does nothing.
    gPrefs.BreakAtStart = false;
    StartRun(GOSUB_PROGRAM);
    EXPECT_NE(view()->State(), DRM_BREAK);
    Press(kDebugStepInMessage);
    ASSERT_TRUE(wait_until([&] { return CurrentEntry() == "[Done]"; }));
    gPrefs.BreakAtStart = true;
}

TEST_F(DebugWindow, AfterARunTimeErrorTheButtonsReachNoMachine)
{
    // The error stands far down the list, so showing it scrolls.
    std::string list = "10 A=1\n";
    for (int line = 100; line < 1000; line += 10) list += std::to_string(line) + " REM\n";
    list += "1000 B=1/0\n";
    for (int line = 1100; line < 2000; line += 10) list += std::to_string(line) + " REM\n";
    debugWindow->Show();
    gPrefs.BreakAtStart = false;
    StartRun(list);
    ASSERT_TRUE(wait_until([&] { return runView()->RunEnded(); }));
    TSrcCodeView* source = view()->SrcCodeView();
    const int errorRow = source->Lines().Row(1000);
    ASSERT_GT(errorRow, 0);
    ASSERT_TRUE(wait_until([&] { return source->indexAt(QPoint(30, 2)).row() == errorRow; }))
        << "'sslr' brings the error's line to the top of the source list";
    EXPECT_EQ(alerts.Count(), 1u);
    EXPECT_NE(CurrentEntry(), "[Done]");

    // The next run's set-up lets go of the machine first. While the run view still
    // holds it, no button reaches it.
    view()->SetVMachine(nullptr);
    EXPECT_FALSE(view()->HasDebugger());
    Press(kDebugPauseMessage);
    ClickSource(errorRow, 3);
    Press(kDebugKillMessage);
    QApplication::processEvents();
    EXPECT_TRUE(source->Lines().Lines()[static_cast<size_t>(errorRow)].BreakPoint)
        << "the margin still marks the line in the list";
    bool reached = false;
    runView()->Session().WithMachine([&](TVMachine& machine) {
        auto* debugger = dynamic_cast<TDebugger*>(&machine);
        ASSERT_NE(debugger, nullptr);
        reached = true;
        EXPECT_NE(debugger->DebugRunMode(), DRM_STOP) << "Pause";
        EXPECT_TRUE(debugger->BreakPoints().empty()) << "the margin";
    });
    EXPECT_TRUE(reached) << "Kill left the run view's machine alone";
    EXPECT_FALSE(gAppPrivacy.Killed.load());

    // Once the run view has deleted it, the buttons reach nothing either.
    runView()->Session().QuitBasic();
    EXPECT_EQ(runView()->VMachine(), nullptr);
    Press(kDebugPauseMessage);
    ClickSource(errorRow, 3);
    Press(kDebugKillMessage);
    QApplication::processEvents();
    EXPECT_FALSE(source->Lines().Lines()[static_cast<size_t>(errorRow)].BreakPoint);
    EXPECT_FALSE(gAppPrivacy.Killed.load());
    gPrefs.BreakAtStart = true;
}

TEST_F(DebugWindow, ArraysOpenIntoTheirElements)
{
    debugWindow->Show();
    gPrefs.BreakAtStart = false;
    StartRun("10 DIM X(2,3)\n20 X(1,0)=5\n");
    ASSERT_TRUE(wait_until([&] { return CurrentEntry() == "[Done]"; }));
    QTreeWidgetItem* x = view()->VarView()->VarItem("X!");
    ASSERT_NE(x, nullptr);
    EXPECT_FALSE(x->isExpanded());
    x->setExpanded(true);
    ASSERT_EQ(x->childCount(), 12);
    EXPECT_EQ(x->child(0)->text(0).toStdString(), "X!(0,0) : 0");
    EXPECT_EQ(x->child(4)->text(0).toStdString(), "X!(1,0) : 5");
    EXPECT_EQ(x->child(11)->text(0).toStdString(), "X!(2,3) : 0");
    gPrefs.BreakAtStart = true;
}

// Values that INPUT, READ, LINE INPUT and SWAP store show in their rows at the next
// break and after the end.
TEST_F(DebugWindow, TheVariableListShowsWhatStatementsStored)
{
    debugWindow->Show();
    StartRun("10 A=1:D=2\n20 INPUT B\n30 READ B$\n40 LINE INPUT C$\n50 SWAP A,D\n60 END\n70 DATA HELLO\n");
    ASSERT_TRUE(BreaksAt(0));
    for (const char* key = "7\rsay, hi\r"; *key != 0; ++key) runView()->Session().Rsrc().PushToKeyBuf(key, 1);
    Press(kDebugStepInMessage);
    ASSERT_TRUE(BreaksAt(1));
    Press(kDebugStepInMessage);
    ASSERT_TRUE(BreaksAt(2));
    EXPECT_EQ(VarRow("B!"), "B! : 7");
    Press(kDebugStepInMessage);
    ASSERT_TRUE(BreaksAt(3));
    EXPECT_EQ(VarRow("B$"), "B$ : HELLO");
    Press(kDebugRunMessage);
    ASSERT_TRUE(wait_until([&] { return CurrentEntry() == "[Done]"; }));
    EXPECT_EQ(VarRow("B!"), "B! : 7");
    EXPECT_EQ(VarRow("C$"), "C$ : say, hi");
    EXPECT_EQ(VarRow("A!"), "A! : 2");
    EXPECT_EQ(VarRow("D!"), "D! : 1");
}

// A line, a call, a return or an assignment is answered as soon as it is handed over,
// before the window's thread has done anything: the machine never waits for a
// repaint. The lists catch up at the next one.
TEST_F(DebugWindow, WaitingReportsAreAnsweredBeforeTheListsRepaint)
{
    debugWindow->Show();
    StartRun(GOSUB_PROGRAM);
    ASSERT_TRUE(BreaksAt(0));
    int64_t run = 0;
    runView()->Session().WithMachine([&](TVMachine& machine) {
        if (auto* debugger = dynamic_cast<TDebugger*>(&machine)) run = debugger->RunNumber();
    });
    ASSERT_NE(run, 0);
    const auto report = [&](uint32_t what, int32_t line) {
        platform::Message message(what);
        message.AddInt64(debug_msg::Run, run);
        if (line > 0) message.AddInt32(debug_msg::LineNum, line);
        auto channel = std::make_shared<platform::ReplyChannel>();
        EXPECT_TRUE(view()->Deliver(message, TDebugReply(channel), TDebugSink::DELIVERY_TIMEOUT));
        std::lock_guard lock(channel->mutex);
        return channel->done;
    };
    EXPECT_TRUE(report(debug_msg::CallAdded, 20));
    EXPECT_TRUE(report(debug_msg::CurLine, 100));
    EXPECT_TRUE(report(debug_msg::CallAdded, 100));
    EXPECT_TRUE(report(debug_msg::CallRemoved, 0));
    EXPECT_TRUE(report(debug_msg::CurLine, 110));
    ASSERT_TRUE(wait_until([&] { return CurrentEntry().find("110 RETURN") != std::string::npos; }));
    ASSERT_EQ(view()->CallStackView()->CallCount(), 1);
    EXPECT_EQ(view()->CallStackView()->item(0)->text().toStdString(), "20 GOSUB 100");
}

TEST_F(DebugWindow, AFirstBreakPointSkipsLeadingEmptyLines)
{
    debugWindow->Show();
    view()->SetSrcCode("\n10 A=1\n");
    EXPECT_EQ(view()->SrcCodeView()->FirstLineNum(), 10);
    EXPECT_FALSE(view()->SrcCodeView()->Lines().Lines()[0].BreakPoint);
    EXPECT_TRUE(view()->SrcCodeView()->Lines().Lines()[1].BreakPoint);
}

TEST_F(DebugWindow, TheSharedFlatToolBarSettingReachesTheOpenWindow)
{
    bool saved = true;
    if (gIAPs.GetBool("FlatToolBar", &saved) != 0) gIAPs.AddItem(new TIAPItemFlatToolBar);
    gIAPs.GetBool("FlatToolBar", &saved);
    debugWindow->Show();
    // The application takes the notice into gIAPs, then posts it to the window.
    auto announce = [&](const char* item) {
        platform::Message notice(kIAPChangedMessage);
        notice.AddString("IAP:SrcIAPItem", item);
        debugWindow->PostMessage(notice);
    };
    for (const bool flat : {!view()->ToolBar()->IsFlat(), view()->ToolBar()->IsFlat()}) {
        gIAPs.SetBool("FlatToolBar", flat);
        announce("AccKeyFormat2");
        QApplication::processEvents();
        EXPECT_NE(view()->ToolBar()->IsFlat(), flat) << "another item's notice changes nothing";
        announce("FlatToolBar");
        EXPECT_TRUE(wait_until([&] { return view()->ToolBar()->IsFlat() == flat; })) << flat;
    }
    gIAPs.SetBool("FlatToolBar", saved);
}

TEST_F(DebugWindow, TheDebugFontNoticeGivesTheListsTheSizeOfThePreferences)
{
    // 'pdfc' carries no fields: the window reads the new size from gPrefs.
    const float saved = gPrefs.DebugFontSize;
    debugWindow->Show();
    for (const float size : {23.5f, 8.0f}) {
        gPrefs.DebugFontSize = size;
        QApplication::processEvents();
        ASSERT_NE(view()->SrcCodeView()->font().pointSizeF(), size) << "the preference alone changes nothing";
        debugWindow->PostMessage(platform::Message(kPrefsDebugFontChanged));
        EXPECT_TRUE(wait_until([&] { return view()->SrcCodeView()->font().pointSizeF() == size; })) << size;
        EXPECT_EQ(view()->CallStackView()->font().pointSizeF(), size);
        EXPECT_EQ(view()->VarView()->font().pointSizeF(), size);
    }
    gPrefs.DebugFontSize = saved;
    view()->SetFontFamilyAndSize();
}

TEST_F(DebugWindow, TheToolBarHasItsSevenItemsWithTips)
{
    const char* const names[] = {"TBRun", "TBPause", "TBStepOver", "TBStepIn", "TBStepOut", "TBKill"};
    EXPECT_EQ(view()->ToolBar()->CountItems(), 7);
    for (const char* name : names) {
        TToolButton* button = view()->ToolBar()->FindItem(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_FALSE(button->Tip().empty()) << name;
    }
}

}  // namespace
