#include "tools/headless/HeadlessRun.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "foundation/AlertSink.h"
#include "foundation/Common.h"
#include "listfiles/ListLoader.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/devices/ScreenText.h"
#include "machine/host/HeadlessHost.h"
#include "machine/music/MidiRecorder.h"
#include "machine/music/SimulatedMusicClock.h"
#include "machine/screen/FrameGlyphs.h"
#include "platform/Locale.h"
#include "session/RunSession.h"
#include "tools/headless/HeadlessTypist.h"
#include "tools/pngwriter/PngWriter.h"

namespace {

namespace fs = std::filesystem;

// Every alert goes to the error stream as it is shown, without waiting for anyone.
class TStreamAlertSink : public TAlertSink {
public:
    explicit TStreamAlertSink(std::ostream& err) : mErr(err) {}
    void ShowAlert(const std::string& text) override
    {
        std::lock_guard<std::mutex> lock(mLock);
        mErr << text;
        if (text.empty() || text.back() != '\n') mErr << '\n';
        mErr.flush();
        ++mCount;
    }
    size_t Count() const
    {
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
    bool Create(std::string& error)
    {
        std::string pattern = (fs::temp_directory_path() / "kivo-headless-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            error = "cannot create a temporary drive folder";
            return false;
        }
        mPath = pattern;
        return true;
    }
    ~TTemporaryFolder()
    {
        std::error_code ignored;
        if (!mPath.empty()) fs::remove_all(mPath, ignored);
    }
    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
};

bool read_file(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad()) return false;
    text = buffer.str();
    return true;
}

// The displayed graphics page, as the screen shows it behind the text, as a PNG file.
bool write_page_png(const std::string& path, const TBasicRsrc& rsrc, std::ostream& err)
{
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

bool write_midi_log(const std::string& path, const TMidiRecorder& recorder, std::ostream& err)
{
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
std::string describe_run_request(const TRunRequest& request, const std::map<int, std::string>& drives)
{
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

}  // namespace

int run_headless(const THeadlessOptions& options, std::ostream& out, std::ostream& err)
{
    std::string bytes;
    if (!read_file(options.ListPath, bytes)) {
        err << "kivo-headless: cannot read " << options.ListPath << '\n';
        return HEADLESS_BAD_ARGUMENTS;
    }
    // The list as the editor would hold it after opening the file.
    TLoadedList loaded = LoadListText(std::move(bytes), options.Encoding, gPrefs.ConvertPC98Chars.load());
    if (loaded.BadBinSave) {
        err << "kivo-headless: " << options.ListPath << ": " << platform::get_string("@Err_Bad_Bin_Save@") << '\n';
        return HEADLESS_BAD_ARGUMENTS;
    }
    if (!loaded.Note.empty()) err << "kivo-headless: " << loaded.Note << '\n';
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
    THeadlessDriveLamps lamps;
    TFrameGlyphs glyphs;  // no screen font here
    TDeviceHost host;
    host.Screen = &screenUpdates;
    host.Lamps = &lamps;
    host.Glyphs = &glyphs;
    TStreamAlertSink alerts(err);
    // Made once the session's clock exists, and gone only after the session's player.
    std::optional<TMidiRecorder> midi;
    TRunSessionSettings settings;
    settings.CompatModePref = options.CompatModePref;
    settings.Encoding = options.Encoding;
    settings.SimulatedClock = options.SimulatedClock;
    settings.LocalTime = options.LocalTime;
    settings.Fusion = options.Fusion;
    if (options.MemoryLimit) settings.MemoryLimit = *options.MemoryLimit;
    TRunSession session(host, &alerts, settings);
    TBasicRsrc& rsrc = session.Rsrc();
    for (const auto& [number, folder] : drives) {
        if (!rsrc.DrvFolders.Set(number - 1, fs::absolute(folder).string())) {
            err << "kivo-headless: drive " << number << ": cannot use " << folder << '\n';
            return HEADLESS_BAD_ARGUMENTS;
        }
    }
    session.SetList(std::move(loaded.Text));
    midi.emplace(session.Simulated());
    session.Player().SetProducer(&*midi);
    if (std::string error; !session.Start(error)) {
        err << "kivo-headless: " << error << '\n';
        return HEADLESS_BAD_ARGUMENTS;
    }

    int result = HEADLESS_ENDED;
    // One time-out for the whole chain of runs, so that a list that runs itself again
    // ends too.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                               std::chrono::duration<double>(options.TimeoutSeconds));
    // It covers the compiles and the preparations of the runs too.
    session.SetDeadline(deadline);
    TRunRequest request;  // the first run starts at the list's first line
    for (bool firstRun = true;; firstRun = false) {
        std::string note;
        const TRunPrepared prepared = session.PrepareRun(request, &note);
        if (!note.empty()) err << "kivo-headless: " << note << '\n';
        if (prepared == TRunPrepared::CompileFailed) {
            // An empty list compiles without an error but gives no program to run.
            if (firstRun && alerts.Count() == 0)
                err << "kivo-headless: " << options.ListPath << ": the list holds no program\n";
            result = HEADLESS_COMPILE_ERROR;
            break;
        }
        if (prepared == TRunPrepared::Stopped) {
            // The time-out came while the list was compiled.
            result = HEADLESS_TIMEOUT;
            break;
        }
        if (prepared == TRunPrepared::LoadFailed) {
            // The program asked for a list that cannot be had: its run failed.
            result = HEADLESS_RUNTIME_ERROR;
            break;
        }
        // The keys of --keys, typed once the first run has started. Those it leaves
        // unread go with the key buffer, which is emptied before every later run as
        // the run window empties it.
        THeadlessTypist typist(firstRun ? options.Keys : std::string(), [&session](int n) { session.PressFuncKey(n); });
        typist.Begin(session.Clock(), session.Simulated());
        if (!session.RunBasic(request)) {
            result = HEADLESS_RUNTIME_ERROR;
            break;
        }
        std::atomic<bool> ended{false};
        std::thread typing([&] { typist.Run(rsrc, [&ended] { return ended.load(); }); });
        const TRunEnd end = session.WaitForRun(deadline);
        ended = true;
        typing.join();
        if (end.TimedOut)
            result = HEADLESS_TIMEOUT;
        else
            result = end.ExitValue == 0 ? HEADLESS_ENDED : HEADLESS_RUNTIME_ERROR;

        // The run's requests are reported; after a normal end the first is followed
        // as the editor follows it.
        std::optional<TRunRequest> next;
        for (const TRunRequest& made : session.TakeRunRequests()) {
            err << describe_run_request(made, drives) << '\n';
            if (!next) next = made;
        }
        if (result != HEADLESS_ENDED || !next) break;
        request = *next;
        if (request.FileName && !request.Merge) drives[1] = fs::path(*request.FileName).parent_path().string();
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (!session.FinishRuns(result == HEADLESS_TIMEOUT ? std::chrono::milliseconds(0) : left) &&
        result != HEADLESS_TIMEOUT) {
        err << "kivo-headless: the music did not play out within the time-out\n";
        result = HEADLESS_TIMEOUT;
    }

    out << shown_screen_text(rsrc);
    if (options.PagePng && !write_page_png(*options.PagePng, rsrc, err) && result == HEADLESS_ENDED)
        result = HEADLESS_BAD_ARGUMENTS;
    if (options.MidiLog && !write_midi_log(*options.MidiLog, *midi, err) && result == HEADLESS_ENDED)
        result = HEADLESS_BAD_ARGUMENTS;
    return result;
}
