#pragma once
// The preferences dialog's controls and labels as data: which control sits where, of
// which kind, sending which message, and which text and accelerator letter labels it.
// The view builds itself from these tables; tests find the controls by these names.

#include <cstdint>

#include "platform/Geometry.h"
#include "platform/Message.h"

enum class PrefsControlKind {
    Page,  // a page of the tab view; its name is the tab's
    Box,   // a framed group
    CheckBox,
    TextControl,  // a label and a one-line field, side by side
    Slider,
    StringView,  // a unit label
    MenuField,   // a label and a pop-up list with one choice
    PortsField,  // a label and a pop-up menu that marks several items
    Button,
};

// The messages the controls send to the view. A check box sends its message when
// clicked, a menu field when an item is chosen (with the item's int32 field), a text
// control on every change of its text, the slider as it moves (at most every 20 ms
// while dragged) and when released. The buttons send the dialog codes: kHelpMessage
// ('_hlp'), kDefaultsMessage, kCancelMessage and kOkMessage.
namespace prefs_msg {

using platform::fourcc;

inline constexpr uint32_t MainFontFamilyChosen = fourcc("mmfc");
inline constexpr uint32_t MainFontSizeEdited = fourcc("tmfc");
inline constexpr uint32_t RunFontFamilyChosen = fourcc("mrfc");
inline constexpr uint32_t RunFontSizeEdited = fourcc("trfc");
inline constexpr uint32_t DebugFontFamilyChosen = fourcc("mdfc");
inline constexpr uint32_t DebugFontSizeEdited = fourcc("tdfc");
inline constexpr uint32_t EncodingChosen = fourcc("mdec");  // int32 "Encoding"
inline constexpr uint32_t Convert98Clicked = fourcc("cc9c");
inline constexpr uint32_t WordWrapClicked = fourcc("cwwc");
inline constexpr uint32_t AutoSaveRegularClicked = fourcc("carc");
inline constexpr uint32_t AutoSaveIntervalEdited = fourcc("taic");
inline constexpr uint32_t AutoSaveBeforeRunClicked = fourcc("cabc");
inline constexpr uint32_t MidiOutChosen = fourcc("mmoc");  // int32 "be:id": the consumer
inline constexpr uint32_t MidiLatencyEdited = fourcc("tmlc");
inline constexpr uint32_t SsgVolumeEdited = fourcc("tsvc");
inline constexpr uint32_t ShowSplashClicked = fourcc("cssc");
inline constexpr uint32_t BreakAtStartClicked = fourcc("cbsc");
inline constexpr uint32_t SpeedControlClicked = fourcc("cscc");
inline constexpr uint32_t SpeedSliderMoved = fourcc("sscc");
inline constexpr uint32_t SpeedIntervalEdited = fourcc("tscc");
inline constexpr uint32_t CompatModeChosen = fourcc("mcmc");  // int32 "CompatiMode"

}  // namespace prefs_msg

struct PrefsControlRow {
    const char* parent;  // "PrefView" for the top view
    const char* name;
    PrefsControlKind kind;
    platform::Rect frame;  // in the parent, right and bottom edges inclusive
    uint32_t what;         // 0: the items carry the messages, or none
    int divider;           // text and menu fields: where the field begins in the frame
};

// The tab view and its pages, in tab order.
inline constexpr const char* kPrefsTabViewName = "TabViewPref";
inline constexpr platform::Rect kPrefsTabViewFrame{0, 5, 415, 245};
inline constexpr platform::Rect kPrefsViewFrame{0, 0, 415, 295};

// Every control, each after its parent.
extern const PrefsControlRow kPrefsControls[];
extern const int kPrefsControlCount;

// How a control is fitted to its label once the label is set.
enum class PrefsFit { None, CheckBox, Divider, Unit };

struct PrefsLabelRow {
    const char* name;    // a control, or a page for its tab
    const char* key;     // the text's key in the locale
    const char* letter;  // the accelerator, or null for the text alone
    PrefsFit fit;
};

// The labels, in the order they are set.
extern const PrefsLabelRow kPrefsLabels[];
extern const int kPrefsLabelCount;

// The slider's own texts: its label and the labels of its two ends.
inline constexpr const char* kPrefsSliderLabelKey = "Wait";
inline constexpr const char* kPrefsSliderMinKey = "100 [us]";
inline constexpr const char* kPrefsSliderMaxKey = "10 [s]";
