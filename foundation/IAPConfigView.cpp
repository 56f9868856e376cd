#include "foundation/IAPConfigView.h"

#include <cmath>

namespace {

constexpr const char* kCheckBoxKind = "check_box";
constexpr const char* kPopUpFieldKind = "pop_up_field";

// The one entry of a field that must hold exactly one.
template <typename Find>
bool single(const platform::Message& from, const char* name, uint32_t type, Find find)
{
    uint32_t actual;
    int32_t count;
    return from.GetInfo(name, &actual, &count) == platform::kOk && actual == type && count == 1 &&
           find() == platform::kOk;
}

bool read_text(const platform::Message& from, const char* name, std::string* text)
{
    return single(from, name, platform::kStringType, [&] { return from.FindString(name, text); }) &&
           text->size() <= kMaxIAPTextBytes;
}

bool read_frame(const platform::Message& from, platform::Rect* frame)
{
    if (!single(from, "_frame", platform::kRectType, [&] { return from.FindRect("_frame", frame); })) return false;
    for (float edge : {frame->left, frame->top, frame->right, frame->bottom})
        if (!std::isfinite(edge) || std::fabs(edge) > kMaxIAPCoordinate) return false;
    return frame->left <= frame->right && frame->top <= frame->bottom;
}

bool read_nested(const platform::Message& from, const char* name, platform::Message* nested)
{
    return single(from, name, platform::kMessageType, [&] { return from.FindMessage(name, nested); });
}

// A field that may be missing; when present it holds one entry of its type.
template <typename Find>
bool optional(const platform::Message& from, const char* name, uint32_t type, Find find)
{
    return !from.HasField(name) || single(from, name, type, find);
}

bool read_entry(const platform::Message& from, TIAPMenuEntry* entry)
{
    bool separator = false;
    if (!optional(from, "_separator", platform::kBoolType, [&] { return from.FindBool("_separator", &separator); }))
        return false;
    if (separator) {
        *entry = TIAPMenuEntry();
        entry->separator = true;
        return true;
    }
    TIAPMenuEntry read;
    if (!read_text(from, "_label", &read.label) || !read_nested(from, "_msg", &read.message)) return false;
    if (!optional(from, "_marked", platform::kBoolType, [&] { return from.FindBool("_marked", &read.marked); }))
        return false;
    *entry = std::move(read);
    return true;
}

bool read_control(const platform::Message& from, TIAPControl* control)
{
    TIAPControl read;
    std::string kind;
    if (!read_text(from, "_kind", &kind) || !read_text(from, "_name", &read.name) || read.name.empty() ||
        !read_frame(from, &read.frame))
        return false;
    if (kind == kCheckBoxKind) {
        read.kind = TIAPControl::Kind::CheckBox;
        if (!read_nested(from, "_msg", &read.message)) return false;
        if (!optional(from, "_val", platform::kInt32Type, [&] { return from.FindInt32("_val", &read.value); }))
            return false;
    } else if (kind == kPopUpFieldKind) {
        read.kind = TIAPControl::Kind::PopUpField;
        if (!read_text(from, "_title", &read.title)) return false;
        uint32_t type;
        int32_t count = 0;
        if (from.GetInfo("_items", &type, &count) == platform::kOk) {
            if (type != platform::kMessageType || static_cast<size_t>(count) > kMaxIAPMenuEntries) return false;
            for (int32_t i = 0; i < count; ++i) {
                platform::Message archived;
                TIAPMenuEntry entry;
                if (from.FindMessage("_items", i, &archived) != platform::kOk || !read_entry(archived, &entry))
                    return false;
                read.entries.push_back(std::move(entry));
            }
        }
    } else {
        return false;
    }
    *control = std::move(read);
    return true;
}

}  // namespace

void archive_config_view(const TIAPConfigView& view, platform::Message* into)
{
    const TIAPControl& control = view.control;
    platform::Message archived;
    archived.AddString("_kind", control.kind == TIAPControl::Kind::CheckBox ? kCheckBoxKind : kPopUpFieldKind);
    archived.AddString("_name", control.name);
    archived.AddRect("_frame", control.frame);
    if (control.kind == TIAPControl::Kind::CheckBox) {
        archived.AddMessage("_msg", control.message);
        archived.AddInt32("_val", control.value);
    } else {
        archived.AddString("_title", control.title);
        for (const TIAPMenuEntry& entry : control.entries) {
            platform::Message item;
            if (entry.separator) {
                item.AddBool("_separator", true);
            } else {
                item.AddString("_label", entry.label);
                item.AddMessage("_msg", entry.message);
                item.AddBool("_marked", entry.marked);
            }
            archived.AddMessage("_items", item);
        }
    }
    for (const char* name : {"_name", "_frame", "_views"}) into->RemoveName(name);
    into->AddString("_name", view.name);
    into->AddRect("_frame", view.frame);
    into->AddMessage("_views", archived);
}

bool read_config_view(const platform::Message& from, TIAPConfigView* view)
{
    TIAPConfigView read;
    platform::Message control;
    if (!read_text(from, "_name", &read.name) || read.name.empty() || !read_frame(from, &read.frame) ||
        !read_nested(from, "_views", &control) || !read_control(control, &read.control))
        return false;
    *view = std::move(read);
    return true;
}
