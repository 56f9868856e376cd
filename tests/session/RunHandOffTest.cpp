// The editor's side of a run, without windows: the order of the run operations, which
// windows come forward, what the debug view is told, the backup before a run, Kill,
// the run-from-line text, and runs through a real session (numbered lists that begin
// with an empty line or a byte-order mark, RUN "file" with Repeat on, a Kill at any
// point of a repeated run).

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "foundation/AlertSink.h"
#include "foundation/Common.h"
#include "machine/devices/ScreenText.h"
#include "machine/vm/VMachine.h"
#include "session/RunHandOff.h"
#include "session/RunSession.h"
#include "tests/session/StatementGate.h"

namespace {

using Log = std::vector<std::string>;

// Stands in for the run view: records each operation; compiling fails on request.
class FakeRun : public TRunOperations {
public:
    explicit FakeRun(Log& log) : mLog(log) {}
    bool QuitBasic(const TVMachine*) override { return Note("quit"); }
    bool KillBasic() override
    {
        gAppPrivacy.Killed = true;
        return Note("kill");
    }
    bool Ending() const override { return ending; }
    bool ClearBasic() override { return Note("clear"); }
    bool CompileBasic(const std::string& source) override
    {
        compiled = source;
        Note("compile");
        return compiles;
    }
    bool ReadyBasic(TRunRequestSink* target) override
    {
        runTarget = target;
        return Note("ready");
    }
    TVMachine* VMachine() const override { return machine; }
    bool RunBasic(const TRunRequest& request) override
    {
        started = request;
        Note("run");
        return startLineExists;
    }
    void ForgetStopKey() override { ++stopKeysForgotten; }

    bool compiles = true;
    bool startLineExists = true;
    bool ending = false;  // a killed machine is still finishing its statement
    int stopKeysForgotten = 0;
    TVMachine* machine = nullptr;
    std::string compiled;
    TRunRequest started;
    TRunRequestSink* runTarget = nullptr;

private:
    bool Note(const char* what)
    {
        mLog.push_back(what);
        return true;
    }
    Log& mLog;
};

class FakeHost : public TRunHandOffHost {
public:
    explicit FakeHost(Log& log) : mLog(log) {}
    std::string ListText() const override { return list; }
    void SaveAutoBackup() override { mLog.push_back("backup"); }
    void SetStatBarStr(const std::string& text) override
    {
        status.push_back(text);
        if (!text.empty() && whilePreparing) whilePreparing();
    }
    void ShowAlert(const std::string& text) override { alerts.push_back(text); }
    void BringDebugWindowForward() override { mLog.push_back("debug forward"); }
    void BringRunWindowForward() override { mLog.push_back("run forward"); }
    void LoadRequestedList(const std::string& path, bool merge, const TRunRequest& continuation,
                           TRunSerial from) override
    {
        mLog.push_back("load " + path + (merge ? " merged" : ""));
        loadContinuations.push_back(continuation);
        loadsFrom.push_back(from);
    }
    void AwaitEnding() override { mLog.push_back("await ending"); }

    std::string list = "10 PRINT 1\n";
    std::vector<std::string> status;
    std::vector<std::string> alerts;
    std::vector<TRunRequest> loadContinuations;
    std::vector<TRunSerial> loadsFrom;
    // Called while a run is being prepared ("Compiling..." in the status bar).
    std::function<void()> whilePreparing;

private:
    Log& mLog;
};

class FakeDebugView : public TDebugViewInterface {
public:
    explicit FakeDebugView(Log& log) : mLog(log) {}
    void ClearVar() override { mLog.push_back("debug clear vars"); }
    void SetSrcCode(const std::string& source) override { mLog.push_back("debug source " + source); }
    void ClearCallStack() override { mLog.push_back("debug clear stack"); }
    void SetVar() override { mLog.push_back("debug vars"); }
    void SetVMachine(TVMachine* machine) override { mLog.push_back(machine ? "debug machine" : "debug no machine"); }
    void SetFirstBreakPoint() override { mLog.push_back("debug first break"); }

private:
    Log& mLog;
};

// A machine's run request and the run it came from.
struct Followed {
    TRunRequest request;
    TRunSerial from = 0;
};

// Stands in for the editor: keeps the machines' requests (any thread).
class RecordingFollower : public TRunFollower {
public:
    void RunRequested(const TRunRequest& request, TRunSerial from) override
    {
        std::lock_guard<std::mutex> lock(mLock);
        mRequests.push_back({request, from});
    }
    std::vector<Followed> Requests() const
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mRequests;
    }

private:
    mutable std::mutex mLock;
    std::vector<Followed> mRequests;
};

class RunHandOff : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedPrefs = gPrefs;
        savedStates = gExitStates;
        gPrefs.AutoSaveBeforeRun = false;
        gExitStates.UseDebugger = false;
        gAppPrivacy.Killed = false;
    }
    void TearDown() override
    {
        gPrefs = savedPrefs;
        gExitStates = savedStates;
        gAppPrivacy.Killed = false;
    }

    TPrefs savedPrefs;
    TExitStates savedStates;
    Log log;
    FakeRun run{log};
    FakeHost host{log};
    RecordingFollower sink;
    TRunHandOff handOff{&run, host, &sink};
};

TEST_F(RunHandOff, RunsInTheEditorsOrderAndClearsTheStatusBar)
{
    EXPECT_EQ(handOff.RunBasic({}), TRunOutcome::Started);
    EXPECT_EQ(log, (Log{"quit", "clear", "compile", "run forward", "ready", "run"}));
    EXPECT_EQ(run.compiled, "10 PRINT 1\n");
    ASSERT_NE(run.runTarget, nullptr);
    run.runTarget->VMachineRunRqtd({});
    ASSERT_EQ(sink.Requests().size(), 1u) << "the machine's run requests go to the editor";
    EXPECT_EQ(sink.Requests()[0].from, handOff.LastRun()) << "with the run they came from";
    EXPECT_EQ(host.status, (std::vector<std::string>{"Compiling...", ""}));
}

// Before the run window's session is there (and after it has gone) nothing runs, and a
// Kill still sets the killed flag.
TEST_F(RunHandOff, WithoutARunSessionNothingRunsAndKillIsStillNoted)
{
    handOff.SetRunOperations(nullptr);
    EXPECT_EQ(handOff.RunBasic({}), TRunOutcome::CompileFailed);
    handOff.KillBasic();
    EXPECT_TRUE(gAppPrivacy.Killed.load());
    handOff.SetRunOperations(&run);
    log.clear();
    EXPECT_EQ(handOff.RunBasic({}), TRunOutcome::Started) << "the user's run starts afresh";
    EXPECT_EQ(run.compiled, "10 PRINT 1\n");
}

TEST_F(RunHandOff, WindowsComeForwardAsTheRequestAndDebuggerAsk)
{
    struct Case {
        const char* name;
        bool notFore;
        bool debugger;
        Log forward;
    };
    const Case cases[] = {
        {"a menu run", false, false, {"run forward"}},
        {"a repeated run", true, false, {}},
        {"a debugged run", false, true, {"debug forward", "run forward"}},
        {"a repeated debugged run", true, true, {"debug forward"}},
    };
    for (const Case& c : cases) {
        log.clear();
        gExitStates.UseDebugger = c.debugger;
        TRunRequest request;
        request.NotFore = c.notFore;
        handOff.RunBasic(request);
        Log forward;
        for (const std::string& entry : log)
            if (entry.find("forward") != std::string::npos) forward.push_back(entry);
        EXPECT_EQ(forward, c.forward) << c.name;
    }
}

TEST_F(RunHandOff, OnlyTheUsersOwnRunTakesTheKeyboard)
{
    enum class Origin { Menu, FromLine, NamedList, ProgramRun, ProgramChain, Repeat };
    struct Case {
        const char* name;
        Origin origin;
        bool debugger;
        Log forward;
    };
    const Case cases[] = {
        {"the Run menu", Origin::Menu, false, {"run forward"}},
        {"Run with Line Number", Origin::FromLine, false, {"run forward"}},
        {"the user's run of a named list, once loaded", Origin::NamedList, false, {"run forward"}},
        {"the program's RUN", Origin::ProgramRun, false, {}},
        {"the program's CHAIN, once loaded", Origin::ProgramChain, false, {}},
        {"the repeated run", Origin::Repeat, false, {}},
        {"the Run menu, debugged", Origin::Menu, true, {"debug forward", "run forward"}},
        {"the program's RUN, debugged", Origin::ProgramRun, true, {}},
        {"the program's CHAIN, debugged", Origin::ProgramChain, true, {}},
        {"the repeated run, debugged", Origin::Repeat, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gExitStates.UseDebugger = false;
        ASSERT_EQ(handOff.RunBasic({}), TRunOutcome::Started);
        gExitStates.UseDebugger = c.debugger;
        TRunRequest request;
        TRunOutcome outcome = TRunOutcome::NotStarted;
        log.clear();
        switch (c.origin) {
        case Origin::Menu: outcome = handOff.RunBasic(request); break;
        case Origin::FromLine: outcome = handOff.RunLineRqtd("10"); break;
        case Origin::NamedList:
            request.FileName = "/lists/next.bas";
            ASSERT_EQ(handOff.RunBasic(request), TRunOutcome::Loading);
            outcome = handOff.FollowRunRequest(host.loadContinuations.back(), host.loadsFrom.back());
            break;
        case Origin::ProgramRun: outcome = handOff.FollowRunRequest(request, handOff.LastRun()); break;
        case Origin::ProgramChain:
            request.FileName = "/lists/next.bas";
            ASSERT_EQ(handOff.FollowRunRequest(request, handOff.LastRun()), TRunOutcome::Loading);
            outcome = handOff.FollowRunRequest(host.loadContinuations.back(), host.loadsFrom.back());
            break;
        case Origin::Repeat:
            request.NotFore = true;
            outcome = handOff.FollowRunRequest(request, handOff.LastRun());
            break;
        }
        EXPECT_EQ(outcome, TRunOutcome::Started);
        Log forward;
        for (const std::string& entry : log)
            if (entry.find("forward") != std::string::npos) forward.push_back(entry);
        EXPECT_EQ(forward, c.forward);
    }
}

TEST_F(RunHandOff, OnlyTheUsersOwnRunDropsAKeptStopKey)
{
    handOff.RunBasic({});
    EXPECT_EQ(run.stopKeysForgotten, 1);
    handOff.FollowRunRequest({}, handOff.LastRun());
    TRunRequest repeat;
    repeat.NotFore = true;
    handOff.FollowRunRequest(repeat, handOff.LastRun());
    EXPECT_EQ(run.stopKeysForgotten, 1) << "a program's RUN and the repeat keep it";
    handOff.RunLineRqtd("10");
    EXPECT_EQ(run.stopKeysForgotten, 2);
}

TEST_F(RunHandOff, TellsTheDebugViewEveryRunAndBeforeAMachineGoes)
{
    FakeDebugView debug(log);
    handOff.SetDebugView(&debug);

    handOff.RunBasic({});
    EXPECT_EQ(log, (Log{"debug no machine", "quit", "debug clear vars", "clear", "compile", "run forward", "ready",
                        "debug no machine", "run"}))
        << "an undebugged run still tells the view which machine runs";

    log.clear();
    gExitStates.UseDebugger = true;
    handOff.RunBasic({});
    EXPECT_EQ(log, (Log{"debug no machine", "quit", "debug clear vars", "clear", "compile", "debug forward",
                        "run forward", "ready", "debug source 10 PRINT 1\n", "debug clear stack", "debug vars",
                        "debug no machine", "debug first break", "run"}));

    log.clear();
    handOff.KillBasic();
    EXPECT_EQ(log, (Log{"debug no machine", "kill"}));
}

TEST_F(RunHandOff, ACompileErrorRunsNothing)
{
    run.compiles = false;
    EXPECT_EQ(handOff.RunBasic({}), TRunOutcome::CompileFailed);
    EXPECT_EQ(log, (Log{"quit", "clear", "compile"}));
    EXPECT_EQ(host.status.back(), "") << "the status bar is cleared after a failed compile too";
}

TEST_F(RunHandOff, ALineOver500BytesIsACompileErrorNamingItsLine)
{
    host.list = "10 PRINT 1\n20 REM " + std::string(494, 'x') + "\n";
    ASSERT_EQ(host.list.find('\n', 11) - 11, 501u);
    EXPECT_EQ(handOff.RunBasic({}), TRunOutcome::CompileFailed);
    EXPECT_EQ(log, (Log{"quit", "clear"})) << "nothing is compiled";
    ASSERT_EQ(host.alerts.size(), 1u);
    EXPECT_NE(host.alerts[0].find("Line: 20"), std::string::npos) << host.alerts[0];
}

TEST_F(RunHandOff, AMissingStartLineLeavesTheMachineSuspended)
{
    run.startLineExists = false;
    TRunRequest request;
    request.LineNum = 99;
    EXPECT_EQ(handOff.RunBasic(request), TRunOutcome::NotStarted);
    EXPECT_EQ(run.started.LineNum, 99);
}

TEST_F(RunHandOff, KillWithNoProgramOnlySetsTheKilledFlag)
{
    handOff.KillBasic();
    EXPECT_TRUE(gAppPrivacy.Killed);
    EXPECT_EQ(log, (Log{"kill"}));
    EXPECT_TRUE(host.status.empty());
}

TEST_F(RunHandOff, ARunClearsTheKilledFlag)
{
    gAppPrivacy.Killed = true;
    handOff.RunBasic({});
    EXPECT_FALSE(gAppPrivacy.Killed);
}

TEST_F(RunHandOff, ANamedListIsLoadedFirstAndTheRestOfTheRequestFollows)
{
    TRunRequest request;
    request.FileName = "/lists/next.bas";
    request.Merge = true;
    request.LineNum = 100;
    EXPECT_EQ(handOff.RunBasic(request), TRunOutcome::Loading);
    EXPECT_EQ(log, (Log{"quit", "clear", "load /lists/next.bas merged"})) << "nothing compiles before the load";
    ASSERT_EQ(host.loadContinuations.size(), 1u);
    const TRunRequest& next = host.loadContinuations[0];
    EXPECT_FALSE(next.FileName.has_value());
    EXPECT_FALSE(next.Merge);
    EXPECT_EQ(next.LineNum, 100);
    EXPECT_EQ(host.loadsFrom.at(0), handOff.LastRun()) << "the rest belongs to the run that loads";
}

// How a Kill reaches the hand-off: its own (the Run menu), or only as the killed flag
// (the debug window's Kill goes to the run view directly).
enum class KillBy { HandOff, FlagOnly };

class RunHandOffKill : public RunHandOff {
protected:
    void Kill(KillBy by)
    {
        if (by == KillBy::HandOff)
            handOff.KillBasic();
        else
            gAppPrivacy.Killed = true;
    }
    // The running machine's request, as the editor receives it.
    Followed MachineAsks(const TRunRequest& request)
    {
        run.runTarget->VMachineRunRqtd(request);
        return sink.Requests().back();
    }
};

TEST_F(RunHandOffKill, AKilledRunsRequestIsNeverFollowedEvenAfterTheUsersNextRun)
{
    struct Case {
        const char* name;
        KillBy by;
        bool userRunsFirst;  // the user runs again before the request comes due
    };
    const Case cases[] = {
        {"Kill, then the request", KillBy::HandOff, false},
        {"Kill, the user's run, then the request", KillBy::HandOff, true},
        {"the debug window's Kill, then the request", KillBy::FlagOnly, false},
        {"the debug window's Kill, the user's run, then the request", KillBy::FlagOnly, true},
    };
    TRunRequest repeat;
    repeat.NotFore = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(handOff.RunBasic({}), TRunOutcome::Started);
        // The run ends and asks to be repeated; the request waits to come due.
        const Followed stale = MachineAsks(repeat);
        Kill(c.by);
        if (c.userRunsFirst) {
            ASSERT_EQ(handOff.RunBasic({}), TRunOutcome::Started);
        }
        log.clear();
        EXPECT_EQ(handOff.FollowRunRequest(stale.request, stale.from), TRunOutcome::Killed);
        EXPECT_TRUE(log.empty()) << "nothing is ended or started";
        if (c.userRunsFirst) {
            EXPECT_FALSE(gAppPrivacy.Killed.load());
            EXPECT_EQ(handOff.FollowRunRequest(MachineAsks(repeat).request, handOff.LastRun()), TRunOutcome::Started)
                << "the user's own run is repeated";
        }
        gAppPrivacy.Killed = false;
    }
}

TEST_F(RunHandOffKill, AKillWhileARequestedListLoadsMeansItDoesNotRun)
{
    struct Case {
        const char* name;
        std::optional<KillBy> by;  // none: no Kill
        bool userRunsFirst;        // the user runs again before the load is over
        TRunOutcome outcome;       // of the rest of the request, after the load
    };
    const Case cases[] = {
        {"no Kill", std::nullopt, false, TRunOutcome::Started},
        {"Kill", KillBy::HandOff, false, TRunOutcome::Killed},
        {"the debug window's Kill", KillBy::FlagOnly, false, TRunOutcome::Killed},
        {"Kill, then the user's run", KillBy::HandOff, true, TRunOutcome::Killed},
    };
    TRunRequest next;
    next.FileName = "/lists/next.bas";
    next.LineNum = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(handOff.RunBasic({}), TRunOutcome::Started);
        const Followed asked = MachineAsks(next);
        ASSERT_EQ(handOff.FollowRunRequest(asked.request, asked.from), TRunOutcome::Loading);
        if (c.by) Kill(*c.by);
        if (c.userRunsFirst) {
            ASSERT_EQ(handOff.RunBasic({}), TRunOutcome::Started);
        }
        // The list is in the editor (perhaps after the save question); the rest follows.
        log.clear();
        EXPECT_EQ(handOff.FollowRunRequest(host.loadContinuations.back(), host.loadsFrom.back()), c.outcome);
        if (c.outcome == TRunOutcome::Killed) {
            EXPECT_TRUE(log.empty()) << "nothing is ended or started";
        } else {
            EXPECT_EQ(run.started.LineNum, 20);
        }
        gAppPrivacy.Killed = false;
    }
}

TEST_F(RunHandOff, TheBackupIsWrittenBeforeEachRunWhenAsked)
{
    gPrefs.AutoSaveBeforeRun = true;
    handOff.RunBasic({});
    TRunRequest named;
    named.FileName = "/lists/next.bas";
    handOff.RunBasic(named);
    handOff.FollowRunRequest(host.loadContinuations.at(0), host.loadsFrom.at(0));
    int backups = 0;
    for (const std::string& entry : log) backups += entry == "backup";
    EXPECT_EQ(backups, 3) << "before the menu run, before the load and before its continuation";
    EXPECT_EQ(log.front(), "backup");

    log.clear();
    gPrefs.AutoSaveBeforeRun = false;
    handOff.RunBasic({});
    EXPECT_EQ(log.front(), "quit");
}

TEST_F(RunHandOff, TheRunFromLineTextGivesTheStart)
{
    struct Case {
        const char* typed;
        std::optional<int32_t> line;
        std::optional<std::string> label;
    };
    const Case cases[] = {
        {"100", 100, std::nullopt},
        {"12ab", 12, std::nullopt},
        {"loop", std::nullopt, "LOOP"},
        {"*loop", std::nullopt, "LOOP"},
        {" 100", std::nullopt, " 100"},
        {"-5", std::nullopt, "-5"},
        {"99999999999", 2147483647, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(handOff.RunLineRqtd(c.typed), TRunOutcome::Started) << c.typed;
        EXPECT_EQ(run.started.LineNum, c.line) << c.typed;
        EXPECT_EQ(run.started.Label, c.label) << c.typed;
    }
    log.clear();
    EXPECT_EQ(handOff.RunLineRqtd(""), TRunOutcome::NoLineGiven);
    EXPECT_TRUE(log.empty()) << "no run follows an empty text";
    ASSERT_EQ(host.alerts.size(), 1u);
    EXPECT_EQ(host.alerts[0], "Enter a line number.");
}

TEST_F(RunHandOff, ARequestWhileAKilledMachineEndsIsKeptAndGoesOnAfterIt)
{
    struct Case {
        const char* name;
        bool byUser;  // the user's run, else a machine's request that was not killed
    };
    const Case cases[] = {{"the user's run", true}, {"a machine's request", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(handOff.RunBasic({}), TRunOutcome::Started);
        const TRunSerial from = handOff.LastRun();
        if (c.byUser) handOff.KillBasic();
        run.ending = true;
        log.clear();
        // Two requests while the machine ends: the latest is kept, the host asked once.
        for (int line : {10, 20}) {
            TRunRequest request;
            request.LineNum = line;
            const TRunOutcome outcome = c.byUser ? handOff.RunBasic(request) : handOff.FollowRunRequest(request, from);
            EXPECT_EQ(outcome, TRunOutcome::Waiting) << line;
        }
        EXPECT_EQ(log, (Log{"await ending"})) << "nothing was ended, compiled or waited for";
        // Still ending when the host comes back: kept, and the host asked again.
        handOff.EndingOver();
        EXPECT_EQ(log, (Log{"await ending", "await ending"}));
        run.ending = false;
        log.clear();
        handOff.EndingOver();
        if (c.byUser)
            EXPECT_EQ(log, (Log{"quit", "clear", "compile", "run forward", "ready", "run"}));
        else
            EXPECT_EQ(log, (Log{"quit", "clear", "compile", "ready", "run"}));
        EXPECT_EQ(run.started.LineNum, 20);
        log.clear();
        handOff.EndingOver();
        EXPECT_TRUE(log.empty()) << "the kept request went on once";
    }
}

TEST_F(RunHandOff, AKillDropsAKeptRequest)
{
    ASSERT_EQ(handOff.RunBasic({}), TRunOutcome::Started);
    handOff.KillBasic();
    run.ending = true;
    ASSERT_EQ(handOff.RunBasic({}), TRunOutcome::Waiting);
    handOff.KillBasic();
    run.ending = false;
    log.clear();
    handOff.EndingOver();
    EXPECT_TRUE(log.empty()) << "nothing runs after the Kill";
    EXPECT_EQ(handOff.RunBasic({}), TRunOutcome::Started) << "until the user runs again";
}

// --- through a real session ---

class RunHandOffSession : public RunHandOff {
protected:
    RunHandOffSession() : session(TDeviceHost{}, &alerts, TRunSessionSettings{}) {}
    void SetUp() override
    {
        RunHandOff::SetUp();
        std::string error;
        ASSERT_TRUE(session.Start(error)) << error;
    }
    // The hand-off goes before the session, and a machine still running or ending may
    // yet call the hand-off's run target or read the settings: wait for it first.
    void TearDown() override
    {
        session.QuitBasic();
        RunHandOff::TearDown();
    }
    TRunEnd RunToEnd(const std::string& list)
    {
        host.list = list;
        EXPECT_EQ(editor.RunBasic({}), TRunOutcome::Started) << alerts.Last();
        return session.WaitForRun(std::chrono::steady_clock::now() + std::chrono::seconds(20));
    }

    // The user's run. One that has to wait for a killed machine goes on once it has
    // ended, as the editor's host comes back to the hand-off (this thread may wait).
    TRunOutcome UserRun()
    {
        const TRunOutcome outcome = editor.RunBasic({});
        if (outcome != TRunOutcome::Waiting) return outcome;
        session.QuitBasic();
        editor.EndingOver();
        return session.VMachine() != nullptr ? TRunOutcome::Started : TRunOutcome::NotStarted;
    }

    TRecordingAlertSink alerts;
    TRunSession session;
    TRunHandOff editor{&session, host, &sink};
};

TEST_F(RunHandOffSession, ANumberedListAfterAnEmptyLineKeepsItsJumpTargets)
{
    const TRunEnd end = RunToEnd("\n10 GOTO 30\n20 END\n30 PRINT 1\n");
    EXPECT_EQ(end.ExitValue, 0) << alerts.Last();
    EXPECT_EQ(shown_screen_text(session.Rsrc()), " 1\nOk\n");
}

// A list that begins with a byte-order mark runs from its first line and from a
// line typed into the run-from-line dialog, the first line too.
TEST_F(RunHandOffSession, AListBeginningWithAByteOrderMarkRuns)
{
    struct Case {
        const char* typed;  // null: the Run command
        const char* screen;
    };
    const Case cases[] = {
        {nullptr, " 1\n 3\nOk\n"},
        {"10", " 1\n 3\nOk\n"},
        {"20", " 2\n 3\nOk\n"},
    };
    for (const Case& c : cases) {
        host.list = "\xEF\xBB\xBF"
                    "10 CLS:PRINT 1:GOTO 30\n20 CLS:PRINT 2\n30 PRINT 3\n";
        const TRunOutcome outcome = c.typed ? editor.RunLineRqtd(c.typed) : editor.RunBasic({});
        ASSERT_EQ(outcome, TRunOutcome::Started) << (c.typed ? c.typed : "Run") << ": " << alerts.Last();
        const TRunEnd end = session.WaitForRun(std::chrono::steady_clock::now() + std::chrono::seconds(20));
        EXPECT_EQ(end.ExitValue, 0) << alerts.Last();
        EXPECT_EQ(shown_screen_text(session.Rsrc()), c.screen) << (c.typed ? c.typed : "Run");
    }
}

TEST_F(RunHandOffSession, RunFileWithRepeatOnAsksForThatFileOnce)
{
    const std::filesystem::path drive =
        std::filesystem::temp_directory_path() / ("kivo-handoff-" + std::to_string(::getpid()));
    std::filesystem::create_directories(drive);
    std::ofstream(drive / "next.bas") << "10 PRINT 2\n";
    ASSERT_TRUE(session.Rsrc().DrvFolders.Set(0, drive.string()));
    gExitStates.RepeatRun = true;
    const TRunEnd end = RunToEnd("10 RUN \"next.bas\"\n");
    EXPECT_EQ(end.ExitValue, 0) << alerts.Last();
    const std::vector<Followed> requests = sink.Requests();
    ASSERT_EQ(requests.size(), 1u) << "no repeat of the old list follows the RUN request";
    ASSERT_TRUE(requests[0].request.FileName.has_value());
    EXPECT_NE(requests[0].request.FileName->find("next.bas"), std::string::npos);
    EXPECT_FALSE(requests[0].request.NotFore);

    // The editor loads that file and only then runs again.
    log.clear();
    EXPECT_EQ(editor.FollowRunRequest(requests[0].request, requests[0].from), TRunOutcome::Loading);
    ASSERT_EQ(host.loadContinuations.size(), 1u);
    EXPECT_EQ(log.back(), "load " + (drive / "next.bas").string());
    std::filesystem::remove_all(drive);
}

TEST_F(RunHandOffSession, ARepeatedRunAsksAgainWithoutComingForward)
{
    gExitStates.RepeatRun = true;
    RunToEnd("10 PRINT 1\n");
    const std::vector<Followed> requests = sink.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].request.NotFore);
    log.clear();
    EXPECT_EQ(editor.FollowRunRequest(requests[0].request, requests[0].from), TRunOutcome::Started);
    editor.KillBasic();
    for (const std::string& entry : log) EXPECT_NE(entry, "run forward");
}

TEST_F(RunHandOffSession, KillEndsARunningProgramAndNoRepeatFollows)
{
    gExitStates.RepeatRun = true;
    host.list = "10 GOTO 10\n";
    ASSERT_EQ(editor.RunBasic({}), TRunOutcome::Started);
    editor.KillBasic();
    EXPECT_EQ(session.VMachine(), nullptr);
    EXPECT_TRUE(gAppPrivacy.Killed);
    EXPECT_TRUE(sink.Requests().empty());
}

TEST_F(RunHandOffSession, AKillAtAnyPointOfARepeatedRunEndsTheRepeatsUntilTheUserRunsAgain)
{
    enum class KillAt { TheRun, TheEnd, ThePreparedRun };
    struct Case {
        const char* name;
        KillAt at;
    };
    const Case cases[] = {
        {"during the run", KillAt::TheRun},
        {"between the end and the next request", KillAt::TheEnd},
        {"while the next run is being prepared", KillAt::ThePreparedRun},
    };
    gExitStates.RepeatRun = true;
    // It waits for a key, so that it is surely running until the test types one.
    host.list = "10 A$=INPUT$(1)\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = sink.Requests().size();
        ASSERT_EQ(UserRun(), TRunOutcome::Started) << alerts.Last();
        if (c.at == KillAt::TheRun) {
            editor.KillBasic();
        } else {
            session.Rsrc().PushToKeyBuf("x", 1);
            ASSERT_EQ(session.WaitForRun(std::chrono::steady_clock::now() + std::chrono::seconds(20)).ExitValue, 0);
            ASSERT_EQ(sink.Requests().size(), before + 1) << "the end asks for the repeat";
            if (c.at == KillAt::TheEnd) editor.KillBasic();
            if (c.at == KillAt::ThePreparedRun) host.whilePreparing = [&] { editor.KillBasic(); };
        }
        // The requests the runs made, followed as the editor follows them.
        const std::vector<Followed> requests = sink.Requests();
        for (size_t i = before; i < requests.size(); ++i)
            EXPECT_EQ(editor.FollowRunRequest(requests[i].request, requests[i].from), TRunOutcome::Killed);
        host.whilePreparing = nullptr;
        EXPECT_EQ(session.VMachine(), nullptr) << "no run after the Kill";
        EXPECT_TRUE(gAppPrivacy.Killed.load());
    }

    // The user's own run starts, and its end is repeated again.
    const size_t before = sink.Requests().size();
    ASSERT_EQ(UserRun(), TRunOutcome::Started);
    session.Rsrc().PushToKeyBuf("x", 1);
    session.WaitForRun(std::chrono::steady_clock::now() + std::chrono::seconds(20));
    ASSERT_EQ(sink.Requests().size(), before + 1);
    EXPECT_EQ(editor.FollowRunRequest(sink.Requests().back().request, sink.Requests().back().from),
              TRunOutcome::Started);
    editor.KillBasic();
}

TEST_F(RunHandOffSession, TheStopKeyEndsAProgramThatRunsItselfWithBreak)
{
    // Where in the chain the key lands: in a run, after a run has asked for the next
    // one and ended, or while the next run is being prepared.
    enum class StopAt { TheRun, TheEnd, ThePreparedRun };
    struct Case {
        const char* name;
        const char* list;
        bool repeat;
        bool waitsForKey;  // each run waits for a key, typed by the test
        StopAt at;
    };
    const Case cases[] = {
        {"RUN, in the run", "10 PRINT \"LOOP\"\n20 A$=INPUT$(1)\n30 RUN\n", false, true, StopAt::TheRun},
        {"RUN, between two runs", "10 PRINT \"LOOP\"\n20 RUN\n", false, false, StopAt::TheEnd},
        {"RUN, while the next run is prepared", "10 PRINT \"LOOP\"\n20 RUN\n", false, false, StopAt::ThePreparedRun},
        {"RUN from a line, between two runs", "10 PRINT \"LOOP\"\n20 RUN 10\n", false, false, StopAt::TheEnd},
        {"the repeat, between two runs", "10 PRINT \"LOOP\"\n", true, false, StopAt::TheEnd},
    };
    constexpr int kStopInRun = 3;
    constexpr int kRunLimit = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        gExitStates.RepeatRun = c.repeat;
        host.list = c.list;
        size_t followed = sink.Requests().size();
        ASSERT_EQ(UserRun(), TRunOutcome::Started) << alerts.Last();
        TRunEnd end;
        int runs = 1;
        for (;; ++runs) {
            ASSERT_LT(runs, kRunLimit) << "the chain of runs went on";
            if (runs == kStopInRun && c.at == StopAt::TheRun) session.PressStopKey();
            if (c.waitsForKey && runs < kStopInRun) session.Rsrc().PushToKeyBuf("x", 1);
            end = session.WaitForRun(std::chrono::steady_clock::now() + std::chrono::seconds(20));
            ASSERT_FALSE(end.TimedOut);
            if (runs == kStopInRun && c.at == StopAt::TheEnd) session.PressStopKey();
            const std::vector<Followed> requests = sink.Requests();
            if (requests.size() == followed) break;
            ASSERT_EQ(requests.size(), followed + 1);
            const Followed next = requests[followed++];
            if (runs == kStopInRun && c.at == StopAt::ThePreparedRun)
                host.whilePreparing = [&] { session.PressStopKey(); };
            ASSERT_EQ(editor.FollowRunRequest(next.request, next.from), TRunOutcome::Started) << alerts.Last();
            host.whilePreparing = nullptr;
        }
        EXPECT_EQ(end.ExitValue, 1);
        EXPECT_LE(runs, kStopInRun + 1) << "the run after the key is the last";
        const std::string screen = shown_screen_text(session.Rsrc());
        EXPECT_NE(screen.find("Break"), std::string::npos) << screen;

        // A key pressed when nothing runs is not kept for the user's next run.
        session.PressStopKey();
        host.list = "10 PRINT \"AGAIN\"\n";
        gExitStates.RepeatRun = false;
        followed = sink.Requests().size();
        ASSERT_EQ(UserRun(), TRunOutcome::Started);
        EXPECT_EQ(session.WaitForRun(std::chrono::steady_clock::now() + std::chrono::seconds(20)).ExitValue, 0);
        EXPECT_EQ(sink.Requests().size(), followed);
    }
}

TEST_F(RunHandOffSession, AProgramThatTrapsTheStopKeyTakesItAndRunsOn)
{
    host.list = "10 ON STOP GOSUB 100:STOP ON:PRINT \"READY\"\n20 A$=INPUT$(1)\n30 IF A$=\"x\" THEN RUN\n"
                "40 END\n100 PRINT \"TRAPPED\":RETURN\n";
    ASSERT_EQ(UserRun(), TRunOutcome::Started) << alerts.Last();
    // Once the trap is set.
    for (int i = 0; i < 2000 && shown_screen_text(session.Rsrc()).find("READY") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    session.PressStopKey();
    session.Rsrc().PushToKeyBuf("x", 1);
    ASSERT_EQ(session.WaitForRun(std::chrono::steady_clock::now() + std::chrono::seconds(20)).ExitValue, 0);
    ASSERT_EQ(sink.Requests().size(), 1u);
    ASSERT_EQ(editor.FollowRunRequest(sink.Requests()[0].request, sink.Requests()[0].from), TRunOutcome::Started);
    session.Rsrc().PushToKeyBuf("y", 1);
    EXPECT_EQ(session.WaitForRun(std::chrono::steady_clock::now() + std::chrono::seconds(20)).ExitValue, 0)
        << "the next run does not break";
    const std::string screen = shown_screen_text(session.Rsrc());
    EXPECT_NE(screen.find("TRAPPED"), std::string::npos) << screen;
    EXPECT_EQ(screen.find("Break"), std::string::npos) << screen;
}

// A run whose machine sits in a long statement that ignores the stop request (a gated
// keyboard read), through a real session.
class RunHandOffEnding : public RunHandOff {
protected:
    RunHandOffEnding() : session(gated_host(keyboard), &alerts, TRunSessionSettings{}) {}
    void SetUp() override
    {
        RunHandOff::SetUp();
        std::string error;
        ASSERT_TRUE(session.Start(error)) << error;
    }
    void TearDown() override
    {
        keyboard.gate.Open();
        session.QuitBasic();
        RunHandOff::TearDown();
    }
    static TDeviceHost gated_host(TGatedKeyboard& keyboard)
    {
        TDeviceHost host;
        host.Keyboard = &keyboard;
        return host;
    }

    TGatedKeyboard keyboard;
    TRecordingAlertSink alerts;
    TRunSession session;
    TRunHandOff editor{&session, host, &sink};
};

TEST_F(RunHandOffEnding, ARunRightAfterAKillDoesNotWaitForTheKilledMachine)
{
    host.list = "10 K=INP(&HE2)\n20 PRINT \"AFTER\"\n";
    ASSERT_EQ(editor.RunBasic({}), TRunOutcome::Started) << alerts.Last();
    ASSERT_TRUE(keyboard.gate.WaitUntilEntered());
    editor.KillBasic();

    host.list = "10 PRINT 2\n";
    EXPECT_EQ(editor.RunBasic({}), TRunOutcome::Waiting);
    EXPECT_FALSE(keyboard.gate.IsOpen()) << "the run waited for the killed machine";
    EXPECT_EQ(log.back(), "await ending");
    EXPECT_EQ(session.VMachine(), nullptr);

    // The statement ends and so does the killed machine (this thread may wait for it;
    // the editor's does not); then the kept run goes on.
    keyboard.gate.Open();
    session.QuitBasic();
    EXPECT_FALSE(session.Ending());
    editor.EndingOver();
    ASSERT_NE(session.VMachine(), nullptr);
    EXPECT_EQ(session.WaitForRun(std::chrono::steady_clock::now() + std::chrono::seconds(20)).ExitValue, 0);
    const std::string screen = shown_screen_text(session.Rsrc());
    EXPECT_EQ(screen.find("AFTER"), std::string::npos) << screen;
    EXPECT_NE(screen.find(" 2\nOk\n"), std::string::npos) << screen;
    EXPECT_FALSE(keyboard.gate.OpenedByGuard());
}

}  // namespace
