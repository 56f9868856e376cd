#include "foundation/Common.h"

#include <algorithm>

using platform::Message;
using platform::status_t;

// Built in this order before main and destroyed in the reverse order after it; the
// kana table of gAppPrivacy is made from HALF_KANA_STR, which is complete by then
// (an inline variable defined in a header included above).
TKivoAppPrivacy gAppPrivacy;
TInterAppPrefs gIAPs;
TExitStates gExitStates;
TPrefs gPrefs;

std::string fit_font_family(std::string_view name)
{
    if (name.size() <= kMaxFontFamilyBytes) return std::string(name);
    size_t cut = kMaxFontFamilyBytes;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    return std::string(name.substr(0, cut));
}

// ---- TPrefs

std::string TPrefs::DebugFontFamily() const
{
    return mTexts.Get().debugFontFamily;
}
std::string TPrefs::MainFontFamily() const
{
    return mTexts.Get().mainFontFamily;
}
std::string TPrefs::RunFontFamily() const
{
    return mTexts.Get().runFontFamily;
}
void TPrefs::SetDebugFontFamily(std::string_view name)
{
    mTexts.Update([&](Texts& t) { t.debugFontFamily = fit_font_family(name); });
}
void TPrefs::SetMainFontFamily(std::string_view name)
{
    mTexts.Update([&](Texts& t) { t.mainFontFamily = fit_font_family(name); });
}
void TPrefs::SetRunFontFamily(std::string_view name)
{
    mTexts.Update([&](Texts& t) { t.runFontFamily = fit_font_family(name); });
}
std::vector<std::string> TPrefs::MidiOutputs() const
{
    return mTexts.Get().midiOutputs;
}
void TPrefs::SetMidiOutputs(std::vector<std::string> names)
{
    mTexts.Update([&](Texts& t) { t.midiOutputs = std::move(names); });
}

status_t TPrefs::Archive(Message* into, bool) const
{
    if (!into) return platform::kBadValue;
    Texts texts = mTexts.Get();
    status_t s = 0;
    for (const std::string& name : texts.midiOutputs) s |= into->AddString("CoMO", name);
    s |= into->AddBool("BrkS", BreakAtStart);
    s |= into->AddBool("ASBR", AutoSaveBeforeRun);
    s |= into->AddBool("ASvR", AutoSaveRegularly);
    s |= into->AddBool("Cv98", ConvertPC98Chars);
    s |= into->AddBool("SSls", ShowSplash);
    s |= into->AddBool("USpC", UseSpeedControl);
    s |= into->AddBool("WdWp", WordWrap);
    s |= into->AddString("DWFF", texts.debugFontFamily);
    s |= into->AddString("MWFF", texts.mainFontFamily);
    s |= into->AddString("RWFF", texts.runFontFamily);
    s |= into->AddInt32("ASvI", AutoSaveInterval);
    s |= into->AddInt32("CmpM", CompatMode);
    s |= into->AddInt32("DEnc", DefaultEncoding);
    s |= into->AddInt32("SVol", SoundVolume);
    s |= into->AddFloat("DWFS", DebugFontSize);
    s |= into->AddFloat("MWFS", MainFontSize);
    s |= into->AddFloat("RWFS", RunFontSize);
    s |= into->AddInt64("MDly", MidiDelay);
    s |= into->AddInt64("SpCI", SpeedControlInterval);
    return s;
}

namespace {

// A look-up into a shared field: the field changes only when the key was found.
template <typename T, typename Find>
status_t find_into(platform::CopyableAtomic<T>& field, Find find)
{
    T value = field;
    status_t s = find(&value);
    if (s == platform::kOk) field = value;
    return s;
}

}  // namespace

int32_t TPrefs::Unarchive(const Message& archive)
{
    std::vector<std::string> outputs = MidiOutputs();
    std::string name;
    for (int32_t i = 0; FindString(archive, "CoMO", i, &name) == platform::kOk; ++i) outputs.push_back(name);
    SetMidiOutputs(std::move(outputs));

    auto boolean = [&](const char* key, Shared<bool>& field) {
        return find_into(field, [&](bool* v) { return FindBool(archive, key, v); });
    };
    auto int32 = [&](const char* key, Shared<int32_t>& field) {
        return find_into(field, [&](int32_t* v) { return FindInt32(archive, key, v); });
    };
    auto real = [&](const char* key, Shared<float>& field) {
        return find_into(field, [&](float* v) { return FindFloat(archive, key, v); });
    };
    auto int64 = [&](const char* key, Shared<int64_t>& field) {
        return find_into(field, [&](int64_t* v) { return FindInt64(archive, key, v); });
    };
    // A family name too long for its field is cut at a character boundary.
    auto family = [&](const char* key, void (TPrefs::*set)(std::string_view)) {
        std::string text;
        status_t s = FindString(archive, key, &text);
        if (s == platform::kOk) (this->*set)(text);
        return s;
    };

    status_t s = 0;
    s |= boolean("BrkS", BreakAtStart);
    s |= boolean("ASBR", AutoSaveBeforeRun);
    s |= boolean("ASvR", AutoSaveRegularly);
    s |= boolean("Cv98", ConvertPC98Chars);
    s |= boolean("SSls", ShowSplash);
    s |= boolean("USpC", UseSpeedControl);
    s |= boolean("WdWp", WordWrap);
    s |= family("DWFF", &TPrefs::SetDebugFontFamily);
    s |= family("MWFF", &TPrefs::SetMainFontFamily);
    s |= family("RWFF", &TPrefs::SetRunFontFamily);
    s |= int32("ASvI", AutoSaveInterval);
    s |= int32("CmpM", CompatMode);
    s |= int32("DEnc", DefaultEncoding);
    s |= int32("SVol", SoundVolume);
    s |= real("DWFS", DebugFontSize);
    s |= real("MWFS", MainFontSize);
    s |= real("RWFS", RunFontSize);
    s |= int64("MDly", MidiDelay);
    s |= int64("SpCI", SpeedControlInterval);
    // A period of 0 would make the automatic-save timer fire without pause.
    AutoSaveInterval = std::clamp<int32_t>(AutoSaveInterval, kMinAutoSaveInterval, kMaxAutoSaveInterval);
    return s;
}

// ---- TExitStates

TExitStates::TExitStates()
{
    MainWindowFrame = platform::Rect{5, 24, 500, 300};
    RunWindowFrame = platform::Rect{25, 44, 520, 320};
    // To the right of the run window (640 wide with its screen), so that neither hides the other.
    DebugWindowFrame = platform::Rect{675, 44, 1170, 320};
}

status_t TExitStates::Archive(Message* into, bool) const
{
    if (!into) return platform::kBadValue;
    status_t s = 0;
    s |= into->AddBool("RptR", RepeatRun);
    s |= into->AddBool("MBrS", ShowMenuBar);
    s |= into->AddBool("UDbg", UseDebugger);
    s |= into->AddString("_Ver", gAppVer);
    if (!MainPanelFolder.empty()) s |= into->AddString("MWPF", MainPanelFolder);
    if (!RunPanelFolder.empty()) s |= into->AddString("RWPF", RunPanelFolder);
    s |= into->AddRect("DWFr", DebugWindowFrame);
    s |= into->AddRect("_WFr", MainWindowFrame);
    s |= into->AddRect("RWFr", RunWindowFrame);
    return s;
}

int32_t TExitStates::Unarchive(const Message& archive)
{
    auto boolean = [&](const char* key, platform::CopyableAtomic<bool>& field) {
        return find_into(field, [&](bool* v) { return FindBool(archive, key, v); });
    };
    status_t s = 0;
    s |= boolean("RptR", RepeatRun);
    s |= boolean("MBrS", ShowMenuBar);
    s |= boolean("UDbg", UseDebugger);
    s |= FindString(archive, "_Ver", &Version);
    s |= FindString(archive, "MWPF", &MainPanelFolder);
    s |= FindString(archive, "RWPF", &RunPanelFolder);
    s |= FindRect(archive, "DWFr", &DebugWindowFrame);
    s |= FindRect(archive, "_WFr", &MainWindowFrame);
    s |= FindRect(archive, "RWFr", &RunWindowFrame);
    return s;
}

// ---- TKivoAppPrivacy

TKivoAppPrivacy::TKivoAppPrivacy()
{
    SortedKanaTable.reserve(HALF_KANA_STR.size() / 3);
    for (size_t at = 0; at + 3 <= HALF_KANA_STR.size(); at += 3) SortedKanaTable.push_back(HALF_KANA_STR.substr(at, 3));
    // std::string compares its bytes as unsigned char, which is the order wanted.
    std::sort(SortedKanaTable.begin(), SortedKanaTable.end());
}

// ---- Continuations

int32_t add_next_msg(Message* request, const Message& next, const platform::Handler* target)
{
    if (!request) return 0;
    request->AddMessage("NextMsg", next);
    request->AddMessenger("NextMsgTgt", platform::Messenger(target));
    return 0;
}

void add_next_msg(Message* request, const Message& source)
{
    Message next;
    platform::Messenger target;
    if (source.FindMessage("NextMsg", &next) != platform::kOk) return;
    if (source.FindMessenger("NextMsgTgt", &target) != platform::kOk) return;
    if (!request) return;
    request->AddMessage("NextMsg", next);
    request->AddMessenger("NextMsgTgt", target);
}

bool send_next_msg(const Message& request)
{
    Message next;
    if (request.FindMessage("NextMsg", &next) != platform::kOk) return false;
    platform::Messenger target;
    request.FindMessenger("NextMsgTgt", &target);
    target.SendMessage(next);
    return true;
}
