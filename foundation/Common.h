#pragma once
// The records the whole process shares: the user preferences (gPrefs), the state kept
// from one run of the application to the next (gExitStates), the process-wide state
// (gAppPrivacy) and the shared-preferences registry (gIAPs), plus the continuation
// fields that let a request carry the message to send once it has succeeded.
//
// Threads: numbers and flags that one thread changes while others read them are
// atomic; the font families and the MIDI output list sit behind the record's lock
// and are read and written through their accessors.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/AppPrivacy.h"
#include "foundation/AppVersion.h"
#include "foundation/CharColor.h"
#include "foundation/HeaderConstants.h"
#include "foundation/InterAppPrefs.h"
#include "foundation/TAVRENArchivable.h"
#include "platform/Atomic.h"
#include "platform/Geometry.h"
#include "platform/Handler.h"
#include "platform/Message.h"

// The settings folder and files of the two records.
inline constexpr const char* kSettingsFolder = "KivoBASIC";
inline constexpr const char* kPrefsFile = "KivoBASIC_Prefs.arc";
inline constexpr const char* kExitStatesFile = "KivoBASIC_ExitStates.arc";

// A font family name holds at most this many bytes.
inline constexpr size_t kMaxFontFamilyBytes = 62;
// The automatic-save period "ASvI" in minutes, kept within these on load.
inline constexpr int32_t kMinAutoSaveInterval = 1;
inline constexpr int32_t kMaxAutoSaveInterval = 99;

// `name` cut to kMaxFontFamilyBytes bytes without splitting a UTF-8 character.
std::string fit_font_family(std::string_view name);

class TPrefs : public TTAVRENArchivable {
public:
    TPrefs() = default;
    // Member by member; the list is copied deeply.
    TPrefs(const TPrefs& other) = default;
    TPrefs& operator=(const TPrefs& other) = default;
    ~TPrefs() override = default;

    platform::status_t Archive(platform::Message* into, bool deep) const override;
    int32_t Unarchive(const platform::Message& archive) override;
    int32_t SaveToFile() const { return SaveByName(kSettingsFolder, kPrefsFile); }
    int32_t LoadFromFile() { return LoadByName(kSettingsFolder, kPrefsFile); }

    template <typename T>
    using Shared = platform::CopyableAtomic<T>;

    Shared<bool> BreakAtStart{true};              // "BrkS": a debugged run stops at its first line
    Shared<bool> AutoSaveBeforeRun{true};         // "ASBR": save to "AutoSave.bas" before each run
    Shared<bool> AutoSaveRegularly{true};         // "ASvR"
    Shared<bool> ConvertPC98Chars{true};          // "Cv98": convert PC-98 characters of NEC JIS lists
    Shared<bool> ShowSplash{true};                // "SSls"
    Shared<bool> UseSpeedControl{false};          // "USpC"
    Shared<bool> WordWrap{false};                 // "WdWp"
    Shared<int32_t> AutoSaveInterval{5};          // "ASvI": minutes, 1 to 99
    Shared<int32_t> DefaultEncoding{0};           // "DEnc": 0 auto, 2 UTF-8, 3 Shift-JIS, 4 JIS
    Shared<int32_t> CompatMode{0};                // "CmpM": 0 auto, 2 DISK-BASIC, 3 DOS-BASIC
    Shared<int32_t> SoundVolume{80};              // "SVol": percent, 0 to 200
    Shared<float> DebugFontSize{11.0f};           // "DWFS": 5 to 50
    Shared<float> MainFontSize{11.0f};            // "MWFS"
    Shared<float> RunFontSize{14.0f};             // "RWFS"
    Shared<int64_t> MidiDelay{50000};             // "MDly": microseconds, 0 to 3000000
    Shared<int64_t> SpeedControlInterval{20000};  // "SpCI": microseconds, 100 to 10000000

    // "DWFF", "MWFF", "RWFF": font families of the debug, main and run windows. The
    // setters keep at most kMaxFontFamilyBytes bytes.
    std::string DebugFontFamily() const;
    std::string MainFontFamily() const;
    std::string RunFontFamily() const;
    void SetDebugFontFamily(std::string_view name);
    void SetMainFontFamily(std::string_view name);
    void SetRunFontFamily(std::string_view name);

    // "CoMO": the MIDI outputs the run view connects to, in order.
    std::vector<std::string> MidiOutputs() const;
    void SetMidiOutputs(std::vector<std::string> names);
    // Reads and rewrites the list in one step under the record's lock, so that a
    // change made meanwhile on another thread is not lost.
    template <typename Change>
    void ChangeMidiOutputs(Change change)
    {
        mTexts.Update([&](Texts& t) { change(t.midiOutputs); });
    }

private:
    struct Texts {
        std::string debugFontFamily = "Zado Vereru";
        std::string mainFontFamily = "Zado Vereru";
        std::string runFontFamily = "Zado Vereru";
        std::vector<std::string> midiOutputs;
    };
    // The texts behind their own lock; copying locks the source.
    class GuardedTexts {
    public:
        GuardedTexts() = default;
        GuardedTexts(const GuardedTexts& other) : mTexts(other.Get()) {}
        GuardedTexts& operator=(const GuardedTexts& other)
        {
            if (this != &other) {
                Texts copy = other.Get();
                std::lock_guard lock(mMutex);
                mTexts = std::move(copy);
            }
            return *this;
        }
        Texts Get() const
        {
            std::lock_guard lock(mMutex);
            return mTexts;
        }
        template <typename Change>
        void Update(Change change)
        {
            std::lock_guard lock(mMutex);
            change(mTexts);
        }

    private:
        mutable std::mutex mMutex;
        Texts mTexts;
    };
    GuardedTexts mTexts;
};

class TExitStates : public TTAVRENArchivable {
public:
    TExitStates();
    ~TExitStates() override = default;

    // Writes the running program's version (gAppVer) under "_Ver", not Version.
    platform::status_t Archive(platform::Message* into, bool deep) const override;
    int32_t Unarchive(const platform::Message& archive) override;
    int32_t SaveToFile() const { return SaveByName(kSettingsFolder, kExitStatesFile); }
    int32_t LoadFromFile() { return LoadByName(kSettingsFolder, kExitStatesFile); }

    platform::CopyableAtomic<bool> RepeatRun{false};    // "RptR"
    platform::CopyableAtomic<bool> ShowMenuBar{true};   // "MBrS": the run window's menu bar
    platform::CopyableAtomic<bool> UseDebugger{false};  // "UDbg"
    std::string Version;                                // "_Ver": the version that saved the file; empty without one
    std::string MainPanelFolder;                        // "MWPF": folder of the main window's file panels
    std::string RunPanelFolder;                         // "RWPF": folder of the run window's drive-folder panel
    platform::Rect DebugWindowFrame;                    // "DWFr"
    platform::Rect MainWindowFrame;                     // "_WFr"
    platform::Rect RunWindowFrame;                      // "RWFr"
};

class TKivoAppPrivacy : public TAppPrivacy {
public:
    TKivoAppPrivacy();
    ~TKivoAppPrivacy() override = default;

    std::atomic<bool> Killed{false};    // the user killed the run; cleared when the next starts
    std::atomic<bool> Quitting{false};  // the application has begun to quit
    // The 63 half-width katakana, one UTF-8 text each, sorted byte-wise (unsigned).
    std::vector<std::string> SortedKanaTable;
};

extern TKivoAppPrivacy gAppPrivacy;
extern TInterAppPrefs gIAPs;
extern TExitStates gExitStates;
extern TPrefs gPrefs;

// Adds `next` under "NextMsg" and a messenger to `target` under "NextMsgTgt"; 0.
int32_t add_next_msg(platform::Message* request, const platform::Message& next, const platform::Handler* target);
// Copies the first continuation of `source` into `request` when `source` has both
// fields; otherwise leaves `request` as it is.
void add_next_msg(platform::Message* request, const platform::Message& source);
// Sends the first continuation of `request` to its target. False when the request has
// none; a target that is gone receives nothing, and that is not an error.
bool send_next_msg(const platform::Message& request);
