#pragma once
// The preferences dialog's controls and labels as data: which control sits where, of
// which kind, sending which message, and which text and accelerator letter labels it.
// The view builds itself from these tables; tests find the controls by these names.

#include <cstdint>

#include "platform/Geometry.h"

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

// When a text control or the slider sends its message.
enum class PrefsSends { OnInvoke, OnEveryChange };

struct PrefsControlRow {
    const char* parent;  // "PrefView" for the top view
    const char* name;
    PrefsControlKind kind;
    platform::Rect frame;  // in the parent, right and bottom edges inclusive
    uint32_t what;         // 0: the items carry the messages, or none
    PrefsSends sends;
    int divider;  // text and menu fields: where the field begins in the frame
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
