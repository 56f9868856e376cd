#include "session/RunSession.h"

#include <condition_variable>
#include <thread>

#include "debugger/Debugger.h"
#include "foundation/AlertSink.h"
#include "foundation/Common.h"
#include "language/Compiler.h"
#include "language/MidCode.h"
#include "machine/music/MusicClock.h"
#include "machine/music/SimulatedMusicClock.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"
#include "platform/Locale.h"
#include "session/FormatSource.h"
#include "session/OnTimeAlarm.h"
#include "session/RequestedList.h"

namespace {

const platform::CatalogueText kSessionTexts[] = {
    {"@Err_Cannot_Use_Drive_Folder %FullPathName%@", "The folder %FullPathName% cannot be used as drive 1."},
};

// Where the simulated clock starts: one second after start-up, so that no stamp of a
// MIDI log is 0, which a MIDI output reads as "at once".
constexpr int64_t SIMULATED_START = 1000000;

// How long the music player may take to start on a simulated clock.
constexpr std::chrono::seconds PLAYER_START_LIMIT{10};

std::tm local_time_now()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::unique_ptr<TSimulatedMusicClock> make_clock(const TRunSessionSettings& settings)
{
    if (!settings.SimulatedClock) return nullptr;
    return std::make_unique<TSimulatedMusicClock>(SIMULATED_START, settings.LocalTime.value_or(local_time_now()));
}

}  // namespace

TRunSession::TRunSession(const TDeviceHost& host, TAlertSink* alerts, const TRunSessionSettings& settings)
    : mSettings(settings), mAlerts(alerts), mSimulated(make_clock(settings)), mPlayer(mSimulated.get()),
      mMidCode(std::make_unique<TMidCode>()),
      mCompatMode(settings.CompatModePref == 2 || settings.CompatModePref == 3 ? settings.CompatModePref : 2)
{
    static const bool registered = (platform::add_catalogue_texts(kSessionTexts), true);
    (void)registered;
    mAlarm = std::make_unique<TOnTimeAlarm>(Clock(), mSimulated.get(), [this] { RaiseOnTime(); });
    TDeviceHost own = host;
    own.OnTime = mAlarm.get();
    mRsrc.SetOwner(own);
}

TRunSession::~TRunSession()
{
    FinishRuns(std::chrono::milliseconds(0));
}

const TMusicClock& TRunSession::Clock() const
{
    if (mSimulated) return *mSimulated;
    return TSystemMusicClock::Instance();
}

bool TRunSession::Start(std::string& error)
{
    if (!mSimulated) return true;
    // On the simulated clock the machine, the player and the MIDI log share one time
    // line. The player's thread is started at once and waits for music, so that it
    // takes part from the first moment.
    mPlayer.SetPrefs(&mDefaultPrefs);
    mSimulated->AddParticipant();
    mPlayer.Resume();
    // Its first passes must be over before a program runs: a pass alongside the
    // machine would send music half compiled or raise the music interrupt early.
    if (!mPlayer.WaitUntilIdle(PLAYER_START_LIMIT)) {
        error = "the music player did not start";
        return false;
    }
    // The other participant is the machine of each run. It stays counted between runs,
    // so that time stands still while the next list is loaded and compiled.
    mSimulated->AddParticipant();
    mMachineCounted = true;
    return true;
}

bool TRunSession::CompileBasic(const std::string& source)
{
    FinishEnding();
    TCompiler compiler(mMidCode.get(), mAlerts, mSettings.CompatModePref);
    // The run takes its tables of the code from the same budget as the program.
    compiler.SetMemoryLimit(mSettings.MemoryLimit, TVMachine::RUN_TABLE_BYTES_PER_CODE);
    // A Kill or the holder's deadline ends a long compile as it ends a run.
    compiler.SetStopCheck(
        [this] { return gAppPrivacy.Killed.load() || (mDeadline && std::chrono::steady_clock::now() >= *mDeadline); });
    int32_t mode = mCompatMode;
    const bool compiled = compiler.Compile(source.c_str(), &mode);
    mCompatMode = mode;
    mCompileStopped = compiler.Stopped();
    if (mCompileStopped) {
        // As a run stopped before its first line shows it.
        mRsrc.Print(platform::get_string(RTE_STOP_BREAK).c_str());
        mRsrc.DoCRLF();
        mRsrc.Print("Ok");
        mRsrc.DoCRLF();
        mRsrc.UpdateScreen();
    }
    return compiled;
}

bool TRunSession::ClearBasic()
{
    FinishEnding();
    mMidCode = std::make_unique<TMidCode>();
    mRsrc.SetScrModifiedAll2();
    mRsrc.UpdateScreen();
    return true;
}

bool TRunSession::ReadyBasic(TRunRequestSink* runTarget)
{
    FinishEnding();
    TRunRequestSink* requests = runTarget != nullptr ? runTarget : &mRunRequests;
    std::unique_ptr<TVMachine> machine;
    if (gExitStates.UseDebugger.load() && mDebugSink != nullptr)
        machine =
            std::make_unique<TDebugger>("Debugger", mMidCode.get(), &mRsrc, &mPlayer, requests, mDebugSink, mAlerts);
    else
        machine = std::make_unique<TVMachine>("Virtual Machine", mMidCode.get(), &mRsrc, &mPlayer, requests, mAlerts);
    machine->SetRuntimeCompatiMode(mCompatMode);
    machine->SetFusion(mSettings.Fusion);
    machine->SetMemoryLimit(mSettings.MemoryLimit);
    if (mSimulated) machine->SetClock(mSimulated.get());
    mPlayer.SetVMachine(machine.get());
    mAlarm->Clear();
    {
        std::lock_guard<std::mutex> lock(mMachineLock);
        mMachine = std::move(machine);
    }
    mRsrc.ClearKeyBuf();
    if (mReadyListener) mReadyListener();
    return true;
}

bool TRunSession::RunBasic(const TRunRequest& request)
{
    TVMachine* machine = VMachine();
    if (machine == nullptr || !machine->SetStartPos(request)) return false;
    // The program has set no trap yet: the kept key ends the run before its first line.
    if (mStopKept.exchange(false)) machine->PressStopKey();
    machine->Resume();
    return true;
}

std::unique_ptr<TVMachine> TRunSession::StopMachine(const TVMachine* which)
{
    std::unique_ptr<TVMachine> machine;
    {
        std::lock_guard<std::mutex> lock(mMachineLock);
        if (!mMachine || (which != nullptr && which != mMachine.get())) return nullptr;
        machine = std::move(mMachine);
    }
    mPlayer.SetVMachine(nullptr);
    machine->Terminate();
    // A machine waiting in INPUT or for a key returns and sees the stop flag.
    mRsrc.PushToKeyBuf("\n", 1);
    return machine;
}

void TRunSession::FinishEnding()
{
    if (!mEnding) return;
    mEnding->Wait(nullptr);
    mEnding.reset();
}

bool TRunSession::QuitBasic(const TVMachine* which)
{
    if (std::unique_ptr<TVMachine> machine = StopMachine(which)) machine->Wait(nullptr);
    FinishEnding();
    return true;
}

bool TRunSession::KillBasic()
{
    gAppPrivacy.Killed = true;
    std::unique_ptr<TVMachine> machine = StopMachine(nullptr);
    if (!machine) return true;
    // A machine exists only after the one killed before has been waited for.
    FinishEnding();
    mEnding = std::move(machine);
    return true;
}

bool TRunSession::Ending() const
{
    return mEnding && !mEnding->IsTerminated();
}

TVMachine* TRunSession::VMachine() const
{
    std::lock_guard<std::mutex> lock(mMachineLock);
    return mMachine.get();
}

TRunPrepared TRunSession::PrepareRun(const TRunRequest& request, std::string* note)
{
    QuitBasic();
    ClearBasic();
    gAppPrivacy.Killed = false;
    if (request.FileName) {
        TRequestedList requested = load_requested_list(*request.FileName, request.Merge, mList, mSettings.Encoding,
                                                       gPrefs.ConvertPC98Chars.load());
        if (!requested.Loaded) {
            if (mAlerts != nullptr) mAlerts->ShowAlert(requested.Alert);
            return TRunPrepared::LoadFailed;
        }
        if (note != nullptr) *note = requested.Note;
        mList = std::move(requested.Text);
        if (requested.Drive1Folder && !mRsrc.DrvFolders.Set(0, *requested.Drive1Folder)) {
            if (mAlerts != nullptr)
                mAlerts->ShowAlert(
                    platform::replace_placeholder(platform::get_string("@Err_Cannot_Use_Drive_Folder %FullPathName%@"),
                                                  "%FullPathName%", *requested.Drive1Folder));
            return TRunPrepared::LoadFailed;
        }
    }
    const TFormattedSource source = format_source_for_compiler(mList);
    if (!source.Error.empty()) {
        if (mAlerts != nullptr) mAlerts->ShowAlert(source.Error);
        return TRunPrepared::CompileFailed;
    }
    if (!CompileBasic(source.Text)) return mCompileStopped ? TRunPrepared::Stopped : TRunPrepared::CompileFailed;
    ReadyBasic();
    return TRunPrepared::Ready;
}

std::vector<TRunRequest> TRunSession::TakeRunRequests()
{
    const std::vector<TRunRequest> all = mRunRequests.Requests();
    std::vector<TRunRequest> fresh(all.begin() + static_cast<std::ptrdiff_t>(std::min(mRequestsTaken, all.size())),
                                   all.end());
    mRequestsTaken = all.size();
    return fresh;
}

TRunEnd TRunSession::WaitForRun(std::chrono::steady_clock::time_point deadline)
{
    TVMachine* machine = VMachine();
    TRunEnd end;
    if (machine == nullptr) return end;
    // A watchdog stops the run at the deadline as a Kill stops it (killed flag,
    // terminate); this thread waits for the machine to end.
    std::mutex watchLock;
    std::condition_variable watchSignal;
    bool ended = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(watchLock);
        if (watchSignal.wait_until(lock, deadline, [&] { return ended; })) return;
        end.TimedOut = true;
        gAppPrivacy.Killed = true;
        machine->Terminate();
    });
    machine->Wait(&end.ExitValue);
    {
        std::lock_guard<std::mutex> lock(watchLock);
        ended = true;
    }
    watchSignal.notify_all();
    watchdog.join();
    return end;
}

void TRunSession::PressFuncKey(int n)
{
    std::lock_guard<std::mutex> lock(mMachineLock);
    if (mMachine)
        mMachine->PressFuncKey(n);
    else
        mRsrc.PushFuncKeyStr(n);
}

void TRunSession::PressStopKey()
{
    std::lock_guard<std::mutex> lock(mMachineLock);
    // A machine that has ended cannot take the key, whatever traps it had set.
    if (mMachine && !mMachine->IsTerminated() && mMachine->PressStopKey()) return;
    // The running machine stops as Break (and asks for no next run), unless it has
    // already asked for one: that next run takes the key.
    mStopKept.store(true);
}

void TRunSession::ForgetStopKey()
{
    mStopKept.store(false);
}

void TRunSession::WithMachine(const std::function<void(TVMachine&)>& use)
{
    std::lock_guard<std::mutex> lock(mMachineLock);
    if (mMachine) use(*mMachine);
}

void TRunSession::RaiseOnTime()
{
    std::lock_guard<std::mutex> lock(mMachineLock);
    if (mMachine) mMachine->HappenInterrupt(IR_ON_TIME);
}

bool TRunSession::FinishRuns(std::chrono::milliseconds left)
{
    QuitBasic();
    mAlarm->Stop();
    bool playedOut = true;
    if (mMachineCounted) {
        mMachineCounted = false;
        mSimulated->RemoveParticipant();
        // Queued music outlives the run, as in the run window; on the simulated clock
        // it plays out at once.
        playedOut = mPlayer.WaitUntilIdle(std::max(left, std::chrono::milliseconds(0)));
    }
    // A player that was never started ends without running.
    mPlayer.Terminate();
    mPlayer.Wait(nullptr);
    return playedOut;
}
