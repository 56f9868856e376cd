#include "ui/prefsdialog/PrefsLayout.h"

#include "foundation/PrefsMessages.h"  // '_hlp'
#include "ui/guibase/DialogBase.h"     // '_ok', '_cnc', '_dfl'

namespace {
using K = PrefsControlKind;
namespace M = prefs_msg;
}  // namespace

// clang-format off
const PrefsControlRow kPrefsControls[] = {
    // parent       name                        kind            frame                   what                         divider
    {"PrefView",    "Font",                     K::Page,        {0, 0, 415, 220},       0,                           0},
    {"PrefView",    "Edit",                     K::Page,        {0, 0, 415, 220},       0,                           0},
    {"PrefView",    "Sound",                    K::Page,        {0, 0, 415, 220},       0,                           0},
    {"PrefView",    "Etc.",                     K::Page,        {0, 0, 415, 220},       0,                           0},
    {"Font",        "MFieldMainWinFontFamily",  K::MenuField,   {10, 10, 230, 35},      M::MainFontFamilyChosen,     132},
    {"Font",        "TxtCtrlMainWinFontSize",   K::TextControl, {240, 10, 360, 29},     M::MainFontSizeEdited,       72},
    {"Font",        "MFieldRunWinFontFamily",   K::MenuField,   {10, 40, 230, 65},      M::RunFontFamilyChosen,      132},
    {"Font",        "TxtCtrlRunWinFontSize",    K::TextControl, {240, 40, 360, 59},     M::RunFontSizeEdited,        72},
    {"Font",        "MFieldDebugWinFontFamily", K::MenuField,   {10, 70, 230, 95},      M::DebugFontFamilyChosen,    132},
    {"Font",        "TxtCtrlDebugWinFontSize",  K::TextControl, {240, 70, 360, 89},     M::DebugFontSizeEdited,      72},
    {"Edit",        "BoxOpen",                  K::Box,         {10, 15, 405, 90},      0,                           0},
    {"BoxOpen",     "MFieldDefaultEncoding",    K::MenuField,   {10, 20, 296.25f, 45},  M::EncodingChosen,           0},
    {"BoxOpen",     "CBoxConvert98",            K::CheckBox,    {10, 45, 32, 63},       M::Convert98Clicked,         0},
    {"Edit",        "CBoxWordWrap",             K::CheckBox,    {10, 100, 32, 120},     M::WordWrapClicked,          0},
    {"Edit",        "BoxAutoSave",              K::Box,         {10, 130, 405, 205},    0,                           0},
    {"BoxAutoSave", "CBoxAutoSaveRegular",      K::CheckBox,    {10, 20, 110, 38},      M::AutoSaveRegularClicked,   0},
    {"BoxAutoSave", "TxtCtrlAutoSaveInterval",  K::TextControl, {110, 20, 180, 39},     M::AutoSaveIntervalEdited,   3},
    {"BoxAutoSave", "StrViewAutoSaveInterval",  K::StringView,  {189, 22, 193, 36},     0,                           0},
    {"BoxAutoSave", "CBoxAutoSaveBeforeRun",    K::CheckBox,    {10, 45, 110, 63},      M::AutoSaveBeforeRunClicked, 0},
    {"Sound",       "MFieldMidiOut",            K::PortsField,  {10, 10, 210, 35},      M::MidiOutChosen,            120},
    {"Sound",       "TxtCtrlMidiLatency",       K::TextControl, {10, 40, 210, 59},      M::MidiLatencyEdited,        120},
    {"Sound",       "TxtCtrlSsgVolume",         K::TextControl, {10, 70, 210, 89},      M::SsgVolumeEdited,          120},
    {"Etc.",        "CBoxShowSplash",           K::CheckBox,    {10, 10, 32, 28},       M::ShowSplashClicked,        0},
    {"Etc.",        "CBoxBreakAtStart",         K::CheckBox,    {10, 35, 32, 53},       M::BreakAtStartClicked,      0},
    {"Etc.",        "CBoxSpeedControl",         K::CheckBox,    {10, 60, 32, 78},       M::SpeedControlClicked,      0},
    {"Etc.",        "SliderSpeedControl",       K::Slider,      {25, 85, 305, 131},     M::SpeedSliderMoved,         0},
    {"Etc.",        "TxtCtrlSpeedControl",      K::TextControl, {315, 100, 375, 119},   M::SpeedIntervalEdited,      3},
    {"Etc.",        "StrViewSpeedControl",      K::StringView,  {380, 105, 384, 119},   0,                           0},
    {"Etc.",        "MFieldCompatiMode",        K::MenuField,   {10, 141, 207.5f, 166}, M::CompatModeChosen,         0},
    {"PrefView",    "ButtonHelp",               K::Button,      {20, 260, 100, 282},    kHelpMessage,                0},
    {"PrefView",    "ButtonDefault",            K::Button,      {110, 260, 190, 282},   kDefaultsMessage,            0},
    {"PrefView",    "ButtonCancel",             K::Button,      {225, 260, 305, 282},   kCancelMessage,              0},
    {"PrefView",    "ButtonOK",                 K::Button,      {315, 260, 395, 282},   kOkMessage,                  0},
};
// clang-format on
const int kPrefsControlCount = static_cast<int>(sizeof kPrefsControls / sizeof kPrefsControls[0]);

const PrefsLabelRow kPrefsLabels[] = {
    // name                        key                                                          letter  fit
    {"Font", "Font", nullptr, PrefsFit::None},
    {"MFieldMainWinFontFamily", "Main Window: ", "M", PrefsFit::None},
    {"TxtCtrlMainWinFontSize", "Size: ", "1", PrefsFit::None},
    {"MFieldRunWinFontFamily", "Run Window: ", "R", PrefsFit::None},
    {"TxtCtrlRunWinFontSize", "Size: ", "2", PrefsFit::None},
    {"MFieldDebugWinFontFamily", "Debug Window: ", "B", PrefsFit::None},
    {"TxtCtrlDebugWinFontSize", "Size: ", "3", PrefsFit::None},
    {"Edit", "Edit", nullptr, PrefsFit::None},
    {"BoxOpen", "Open Program List", nullptr, PrefsFit::None},
    {"MFieldDefaultEncoding", "Default Encoding: ", "N", PrefsFit::Divider},
    {"CBoxConvert98", "Convert PC-98 peculiar characters to standbies (JIS only)", "9", PrefsFit::CheckBox},
    {"CBoxWordWrap", "Word wrap in edit window", "W", PrefsFit::CheckBox},
    {"BoxAutoSave", "Automatically Save Program List", nullptr, PrefsFit::None},
    {"CBoxAutoSaveRegular", "Save every ", "I", PrefsFit::CheckBox},
    {"StrViewAutoSaveInterval", "minutes", nullptr, PrefsFit::Unit},
    {"CBoxAutoSaveBeforeRun", "Save before run", "R", PrefsFit::CheckBox},
    {"Sound", "Sound", nullptr, PrefsFit::None},
    {"MFieldMidiOut", "MIDI OUT: ", "O", PrefsFit::None},
    {"TxtCtrlMidiLatency", "MIDI Latency [ms]: ", "L", PrefsFit::None},
    {"TxtCtrlSsgVolume", "SSG Volume [%]: ", "S", PrefsFit::None},
    {"Etc.", "Etc.", nullptr, PrefsFit::None},
    {"CBoxShowSplash", "Show splash window", "P", PrefsFit::CheckBox},
    {"CBoxBreakAtStart", "Break at start (using debugger)", "B", PrefsFit::CheckBox},
    {"CBoxSpeedControl", "Control running speed", "S", PrefsFit::CheckBox},
    {"StrViewSpeedControl", "[us]", nullptr, PrefsFit::Unit},
    {"MFieldCompatiMode", "Compatibility Mode: ", "C", PrefsFit::Divider},
    {"ButtonHelp", "Help", "F1", PrefsFit::None},
    {"ButtonDefault", "Defaults", "D", PrefsFit::None},
    {"ButtonCancel", "Cancel", nullptr, PrefsFit::None},
    {"ButtonOK", "OK", nullptr, PrefsFit::None},
};
const int kPrefsLabelCount = static_cast<int>(sizeof kPrefsLabels / sizeof kPrefsLabels[0]);
