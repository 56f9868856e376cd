#include "tools/headless/HeadlessRun.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "foundation/AlertSink.h"
#include "foundation/Common.h"
#include "language/Compiler.h"
#include "language/MidCode.h"
#include "machine/BasicRsrc.h"
#include "machine/HeadlessHost.h"
#include "machine/MMLPlayer.h"
#include "machine/MidiRecorder.h"
#include "machine/ScreenText.h"
#include "machine/VMachine.h"
#include "tools/headless/FormatSource.h"

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
    }

private:
    std::mutex mLock;
    std::ostream& mErr;
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

}  // namespace

int run_headless(const THeadlessOptions& options, std::ostream& out, std::ostream& err) {
    std::string list;
    if (!read_file(options.ListPath, list)) {
        err << "kivo-headless: cannot read " << options.ListPath << '\n';
        return HEADLESS_BAD_ARGUMENTS;
    }
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
    TBasicRsrc rsrc;
    rsrc.SetOwner(host);

    TStreamAlertSink alerts(err);
    TMidCode mid;
    const std::string source = format_source_for_compiler(list);
    int32_t compatMode = 0;
    {
        TCompiler compiler(&mid, &alerts, options.CompatModePref);
        if (!compiler.Compile(source.c_str(), &compatMode)) {
            out << shown_screen_text(rsrc);
            return HEADLESS_COMPILE_ERROR;
        }
    }

    TMidiRecorder midi;
    TMmlPlayer player;
    player.SetProducer(&midi);
    TRecordingRunRequests runRequests;
    int result = HEADLESS_ENDED;
    {
        TVMachine machine("Virtual Machine", &mid, &rsrc, &player, &runRequests, &alerts);
        machine.SetRuntimeCompatiMode(compatMode);
        player.SetVMachine(&machine);
        gAppPrivacy.Killed = false;
        if (!machine.SetStartPos(TRunRequest{})) {
            player.SetVMachine(nullptr);
            out << shown_screen_text(rsrc);
            return HEADLESS_RUNTIME_ERROR;
        }
        machine.Resume();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(options.TimeoutSeconds);
        while (!machine.IsTerminated() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (!machine.IsTerminated()) {
            // Stopped as a Kill stops it: killed flag, terminate, wait.
            gAppPrivacy.Killed = true;
            result = HEADLESS_TIMEOUT;
        }
        player.SetVMachine(nullptr);
        machine.Terminate();
        int32_t exitValue = 0;
        machine.Wait(&exitValue);
        if (result != HEADLESS_TIMEOUT) result = exitValue == 0 ? HEADLESS_ENDED : HEADLESS_RUNTIME_ERROR;
    }
    player.Terminate();
    player.Wait(nullptr);

    out << shown_screen_text(rsrc);
    if (options.MidiLog && !write_midi_log(*options.MidiLog, midi, err) && result == HEADLESS_ENDED)
        result = HEADLESS_BAD_ARGUMENTS;
    return result;
}
