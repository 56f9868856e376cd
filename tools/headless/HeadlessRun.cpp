#include "tools/headless/HeadlessRun.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "foundation/AlertSink.h"
#include "foundation/Common.h"
#include "language/Compiler.h"
#include "language/MidCode.h"
#include "listfiles/ListLoader.h"
#include "machine/BasicRsrc.h"
#include "machine/FrameGlyphs.h"
#include "machine/HeadlessHost.h"
#include "machine/MMLPlayer.h"
#include "machine/MidiRecorder.h"
#include "machine/MmlPrefs.h"
#include "machine/ScreenText.h"
#include "machine/SimulatedMusicClock.h"
#include "machine/VMachine.h"
#include "platform/Locale.h"
#include "tools/headless/FormatSource.h"
#include "tools/headless/HeadlessTypist.h"
#include "tools/headless/RequestedList.h"
#include "tools/pngwriter/PngWriter.h"

namespace {

namespace fs = std::filesystem;

// Every alert goes to the error stream as it is shown, without waiting for anyone.
class TStreamAlertSink : public TAlertSink {
public:
    explicit TStreamAlertSink(std::ostream& err) : mErr(err) {}
    void ShowAlert(const std::string& text) override {
        std::lock_guard<std::mutex> lock(mLock);
        mErr << text;
        if (text.empty() || text.back() != '\n') mErr << '\n';
        mErr.flush();
        ++mCount;
    }
    size_t Count() const {
        std::lock_guard<std::mutex> lock(mLock);
        return mCount;
    }

private:
    mutable std::mutex mLock;
    std::ostream& mErr;
    size_t mCount = 0;
};

// An empty folder of its own for drive 1 when none is given; removed at the end.
class TTemporaryFolder {
public:
    bool Create(std::string& error) {
        std::string pattern = (fs::temp_directory_path() / "kivo-headless-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            error = "cannot create a temporary drive folder";
            return false;
        }
        mPath = pattern;
        return true;
    }
    ~TTemporaryFolder() {
        std::error_code ignored;
        if (!mPath.empty()) fs::remove_all(mPath, ignored);
    }
    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
};

bool read_file(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return false;
    text = buffer.str();
    return true;
}

// The displayed graphics page, as the screen shows it behind the text, as a PNG file.
bool write_page_png(const std::string& path, const TBasicRsrc& rsrc, std::ostream& err) {
    std::vector<uint32_t> words(static_cast<size_t>(TBasicRsrc::SCREEN_WIDTH) * TBasicRsrc::SCREEN_HEIGHT);
    rsrc.ComposeGraphics(words.data());
    std::string error;
    if (!write_png_rgb(path, words.data(), TBasicRsrc::SCREEN_WIDTH, TBasicRsrc::SCREEN_HEIGHT,
                       TBasicRsrc::SCREEN_WIDTH, &error)) {
        err << "kivo-headless: cannot write the page " << path << ": " << error << '\n';
        return false;
    }
    return true;
}

bool write_midi_log(const std::string& path, const TMidiRecorder& recorder, std::ostream& err) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const TMidiEvent& event : recorder.Events()) out << FormatMidiEvent(event) << '\n';
    out.flush();
    if (!out) {
        err << "kivo-headless: cannot write the MIDI log " << path << '\n';
        return false;
    }
    return true;
}

// One run request as a line of the error stream: its fields, a host path inside a
// drive folder written with the drive's prefix ("2:PROG.BAS").
std::string describe_run_request(const TRunRequest& request, const std::map<int, std::string>& drives) {
    std::string text = "kivo-headless: run request";
    if (request.LineNum) text += " LineNum=" + std::to_string(*request.LineNum);
    if (request.Label) text += " Label=" + *request.Label;
    if (request.FileName) {
        std::string name = *request.FileName;
        for (const auto& [number, folder] : drives) {
            const std::string prefix = fs::absolute(folder).string() + "/";
            if (name.rfind(prefix, 0) == 0) {
                name = std::to_string(number) + ":" + name.substr(prefix.size());
                break;
            }
        }
        text += " FileName=" + name;
    }
    if (request.Merge) text += " Merge=true";
    if (request.ROpt) text += " ROpt=true";
    if (request.NotFore) text += " NotFore=true";
    return text;
}

// Where the simulated clock starts: one second after start-up, so that no stamp of
// the log is 0, which a MIDI output reads as "at once".
constexpr int64_t SIMULATED_START = 1000000;

std::tm local_time_now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace

int run_headless(const THeadlessOptions& options, std::ostream& out, std::ostream& err) {
    std::string bytes;
    if (!read_file(options.ListPath, bytes)) {
        err << "kivo-headless: cannot read " << options.ListPath << '\n';
        return HEADLESS_BAD_ARGUMENTS;
    }
    // The list as the editor would hold it after opening the file.
    const TLoadedList loaded = LoadListText(std::move(bytes), options.Encoding, gPrefs.ConvertPC98Chars.load());
    if (loaded.BadBinSave) {
        err << "kivo-headless: " << options.ListPath << ": " << platform::get_string("@Err_Bad_Bin_Save@") << '\n';
        return HEADLESS_BAD_ARGUMENTS;
    }
    if (!loaded.Note.empty()) err << "kivo-headless: " << loaded.Note << '\n';
    std::string list = loaded.Text;
    std::map<int, std::string> drives = options.Drives;
    for (const auto& [number, folder] : drives) {
        std::error_code ec;
        if (!fs::is_directory(folder, ec)) {
            err << "kivo-headless: drive " << number << ": not a folder: " << folder << '\n';
            return HEADLESS_BAD_ARGUMENTS;
        }
    }
    TTemporaryFolder drive1;
    if (drives.count(1) == 0) {
        std::string error;
        if (!drive1.Create(error)) {
            err << "kivo-headless: " << error << '\n';
            return HEADLESS_BAD_ARGUMENTS;
        }
        drives[1] = drive1.Path();
    }

    THeadlessScreenUpdates screenUpdates;
    THeadlessOnTimeTimer onTime;
    THeadlessDriveLamps lamps;
    TDeviceHost host;
    host.Screen = &screenUpdates;
    host.OnTime = &onTime;
    host.Lamps = &lamps;
    TFrameGlyphs glyphs;  // no screen font here
    host.Glyphs = &glyphs;
    TBasicRsrc rsrc;
    rsrc.SetOwner(host);
    for (const auto& [number, folder] : drives) {
        if (!rsrc.DrvFolders.Set(number - 1, fs::absolute(folder).string())) {
            err << "kivo-headless: drive " << number << ": cannot use " << folder << '\n';
            return HEADLESS_BAD_ARGUMENTS;
        }
    }

    TStreamAlertSink alerts(err);
    // The intermediate code of the list, made again for every run.
    std::unique_ptr<TMidCode> mid;
    int32_t compatMode = 0;
    auto compile = [&] {
        mid = std::make_unique<TMidCode>();
        const std::string source = format_source_for_compiler(list);
        TCompiler compiler(mid.get(), &alerts, options.CompatModePref);
        return compiler.Compile(source.c_str(), &compatMode);
    };
    if (!compile()) {
        // An empty list compiles without an error but gives no program to run.
        if (alerts.Count() == 0) err << "kivo-headless: " << options.ListPath << ": the list holds no program\n";
        out << shown_screen_text(rsrc);
        return HEADLESS_COMPILE_ERROR;
    }

    // On the simulated clock the machine, the player and the MIDI log share one time
    // line that moves only while both threads wait. The player's thread is started at
    // once and waits for music, so that it takes part from the first moment.
    std::unique_ptr<TSimulatedMusicClock> simulated;
    if (options.SimulatedClock)
        simulated = std::make_unique<TSimulatedMusicClock>(SIMULATED_START, options.LocalTime.value_or(local_time_now()));
    TMmlDefaultPrefs defaultPrefs;
    TMidiRecorder midi(simulated.get());
    TMmlPlayer player(simulated.get());
    player.SetProducer(&midi);
    if (simulated) {
        player.SetPrefs(&defaultPrefs);
        simulated->AddParticipant();
        player.Resume();
        // Its first passes must be over before the program runs: a pass alongside the
        // machine would send music half compiled or raise the music interrupt early.
        if (!player.WaitUntilIdle(std::chrono::seconds(10))) {
            err << "kivo-headless: the music player did not start\n";
            return HEADLESS_BAD_ARGUMENTS;
        }
        // The other participant is the machine of each run. It stays counted between
        // runs, so that time stands still while the next list is loaded and compiled.
        simulated->AddParticipant();
    }
    TRecordingRunRequests runRequests;
    size_t requestsSeen = 0;
    int result = HEADLESS_ENDED;
    // One time-out for the whole chain of runs, so that a list that runs itself again
    // ends too.
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(options.TimeoutSeconds));
    TRunRequest start;  // the first run starts at the list's first line
    for (bool firstRun = true;; firstRun = false) {
        TVMachine machine("Virtual Machine", mid.get(), &rsrc, &player, &runRequests, &alerts);
        machine.SetRuntimeCompatiMode(compatMode);
        machine.SetFusion(options.Fusion);
        player.SetVMachine(&machine);
        gAppPrivacy.Killed = false;
        if (!machine.SetStartPos(start)) {
            player.SetVMachine(nullptr);
            out << shown_screen_text(rsrc);
            return HEADLESS_RUNTIME_ERROR;
        }
        // A watchdog stops the run at the time-out as a Kill stops it (killed flag,
        // terminate); this thread just waits for the machine to end.
        std::mutex watchLock;
        std::condition_variable watchSignal;
        bool ended = false;
        bool timedOut = false;
        std::thread watchdog([&] {
            std::unique_lock<std::mutex> lock(watchLock);
            if (watchSignal.wait_until(lock, deadline, [&] { return ended; })) return;
            timedOut = true;
            gAppPrivacy.Killed = true;
            machine.Terminate();
        });
        if (simulated) machine.SetClock(simulated.get());
        machine.Resume();
        // The keys of --keys, typed once the first run has started. Those it leaves
        // unread go with the key buffer, which is emptied before every later run as
        // the run window empties it.
        THeadlessTypist typist(firstRun ? options.Keys : std::string(),
                               [&machine](long mask) { machine.HappenInterrupt(mask); });
        std::thread typing([&] {
            typist.Run(rsrc, [&] {
                std::lock_guard<std::mutex> lock(watchLock);
                return ended;
            });
        });
        int32_t exitValue = 0;
        machine.Wait(&exitValue);
        {
            std::lock_guard<std::mutex> lock(watchLock);
            ended = true;
        }
        watchSignal.notify_all();
        watchdog.join();
        typing.join();
        player.SetVMachine(nullptr);
        if (timedOut)
            result = HEADLESS_TIMEOUT;
        else
            result = exitValue == 0 ? HEADLESS_ENDED : HEADLESS_RUNTIME_ERROR;

        // The run's requests are recorded; after a normal end, one that names a list
        // file is followed as the editor follows it: the list is loaded (or merged)
        // and run again from the requested line or label. RUN and RUN n are recorded
        // only.
        const std::vector<TRunRequest> requests = runRequests.Requests();
        std::optional<TRunRequest> next;
        for (; requestsSeen < requests.size(); ++requestsSeen) {
            const TRunRequest& request = requests[requestsSeen];
            err << describe_run_request(request, drives) << '\n';
            if (!next && request.FileName) next = request;
        }
        if (result != HEADLESS_ENDED || !next) break;
        const TRequestedList requested = load_requested_list(*next->FileName, next->Merge, list, options.Encoding,
                                                             gPrefs.ConvertPC98Chars.load());
        if (!requested.Loaded) {
            err << "kivo-headless: " << requested.Alert << '\n';
            result = HEADLESS_BAD_ARGUMENTS;
            break;
        }
        if (!requested.Note.empty()) err << "kivo-headless: " << requested.Note << '\n';
        list = requested.Text;
        if (requested.Drive1Folder) {
            if (!rsrc.DrvFolders.Set(0, *requested.Drive1Folder)) {
                err << "kivo-headless: drive 1: cannot use " << *requested.Drive1Folder << '\n';
                result = HEADLESS_BAD_ARGUMENTS;
                break;
            }
            drives[1] = *requested.Drive1Folder;
        }
        start = *next;
        start.FileName.reset();
        rsrc.ClearKeyBuf();
        if (!compile()) {
            result = HEADLESS_COMPILE_ERROR;
            break;
        }
    }
    if (simulated) {
        simulated->RemoveParticipant();
        // Queued music outlives the run, as in the run window; on the simulated clock
        // it plays out at once, within what is left of the time-out.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (result != HEADLESS_TIMEOUT && !player.WaitUntilIdle(std::max(left, std::chrono::milliseconds(0)))) {
            err << "kivo-headless: the music did not play out within the time-out\n";
            result = HEADLESS_TIMEOUT;
        }
    }
    player.Terminate();
    player.Wait(nullptr);

    out << shown_screen_text(rsrc);
    if (options.PagePng && !write_page_png(*options.PagePng, rsrc, err) && result == HEADLESS_ENDED)
        result = HEADLESS_BAD_ARGUMENTS;
    if (options.MidiLog && !write_midi_log(*options.MidiLog, midi, err) && result == HEADLESS_ENDED)
        result = HEADLESS_BAD_ARGUMENTS;
    return result;
}
