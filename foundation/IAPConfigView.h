#pragma once
// The configuration view of a shared-preference item as data. An item describes the
// control that edits it; the description travels between applications inside
// messages, and the shared-preferences window builds the control from it and writes
// the control's new state back into it.
//
// In a message a view is three fields: "_name" (the item's name), "_frame" and
// "_views", whose one entry is the control: "_kind" ("check_box" or "pop_up_field"),
// "_name" (the accelerator letter, then the locale key of its label), "_frame", and
// for a check box "_msg" (the message it sends) and "_val" (1 on, 0 off), for a
// pop-up field "_title" (shown while no entry is marked) and one "_items" entry per
// menu entry: "_label", "_msg" and "_marked", or "_separator" alone.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Message.h"

struct TIAPMenuEntry {
    bool separator = false;
    std::string label;
    platform::Message message;  // sent when the entry is chosen
    bool marked = false;
};

struct TIAPControl {
    enum class Kind { CheckBox, PopUpField };

    Kind kind = Kind::CheckBox;
    std::string name;  // the accelerator letter, then the locale key of the label
    platform::Rect frame;
    platform::Message message;  // the check box's message
    int32_t value = 0;          // the check box: 1 on, 0 off
    std::string title;          // the pop-up field: shown while no entry is marked
    std::vector<TIAPMenuEntry> entries;
};

struct TIAPConfigView {
    std::string name;  // the item's name
    platform::Rect frame;
    TIAPControl control;
};

// Limits of a description that is read: longer texts, more entries or frames outside
// these bounds do not fit.
inline constexpr size_t kMaxIAPTextBytes = 256;
inline constexpr size_t kMaxIAPMenuEntries = 64;
inline constexpr float kMaxIAPCoordinate = 4096;

// Puts the view's fields into `into`, in place of any it held.
void archive_config_view(const TIAPConfigView& view, platform::Message* into);

// Reads the view that `from` describes. False, with `view` untouched, when the
// fields do not fit the description above.
bool read_config_view(const platform::Message& from, TIAPConfigView* view);
