#include "foundation/IAPConfigView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace {

TIAPConfigView check_box_view()
{
    TIAPConfigView view;
    view.name = "FlatToolBar";
    view.frame = {0, 0, 250, 25};
    view.control.kind = TIAPControl::Kind::CheckBox;
    view.control.name = "FFlat Tool Bar";
    view.control.frame = {0, 0, 250, 25};
    view.control.message.what = platform::fourcc("ictc");
    view.control.value = 1;
    return view;
}

TIAPConfigView pop_up_view()
{
    TIAPConfigView view;
    view.name = "AccKeyFormat2";
    view.frame = {0, 0, 250, 19};
    view.control.kind = TIAPControl::Kind::PopUpField;
    view.control.name = "AAccelerator Format: ";
    view.control.frame = {0, 0, 250, 16};
    view.control.title = "Select...";
    TIAPMenuEntry entry;
    entry.label = "(a)";
    entry.message.what = platform::fourcc("ictc");
    entry.message.AddString("AccKeyFormat2", "\x02(a)");
    entry.marked = true;
    view.control.entries.push_back(entry);
    TIAPMenuEntry separator;
    separator.separator = true;
    view.control.entries.push_back(separator);
    return view;
}

platform::Message archived(const TIAPConfigView& view)
{
    platform::Message message(platform::fourcc("_ipc"));
    archive_config_view(view, &message);
    return message;
}

// The control archive inside a view archive, changed by `change`.
platform::Message with_control(const TIAPConfigView& view, const std::function<void(platform::Message&)>& change)
{
    platform::Message message = archived(view);
    platform::Message control;
    message.FindMessage("_views", &control);
    change(control);
    message.RemoveName("_views");
    message.AddMessage("_views", control);
    return message;
}

}  // namespace

TEST(IAPConfigViewTest, ArchivedViewsReadBackWhole)
{
    for (const TIAPConfigView& view : {check_box_view(), pop_up_view()}) {
        TIAPConfigView read;
        ASSERT_TRUE(read_config_view(archived(view), &read)) << view.name;
        EXPECT_EQ(read.name, view.name);
        EXPECT_EQ(read.frame, view.frame);
        EXPECT_EQ(read.control.kind, view.control.kind);
        EXPECT_EQ(read.control.name, view.control.name);
        EXPECT_EQ(read.control.frame, view.control.frame);
        EXPECT_EQ(read.control.value, view.control.value);
        EXPECT_EQ(read.control.title, view.control.title);
        ASSERT_EQ(read.control.entries.size(), view.control.entries.size());
        for (size_t i = 0; i < view.control.entries.size(); ++i) {
            EXPECT_EQ(read.control.entries[i].separator, view.control.entries[i].separator);
            EXPECT_EQ(read.control.entries[i].label, view.control.entries[i].label);
            EXPECT_EQ(read.control.entries[i].marked, view.control.entries[i].marked);
            EXPECT_EQ(read.control.entries[i].message.what, view.control.entries[i].message.what);
        }
    }
}

TEST(IAPConfigViewTest, ArchivingAgainReplacesTheOldDescription)
{
    platform::Message message = archived(check_box_view());
    TIAPConfigView off = check_box_view();
    off.control.value = 0;
    archive_config_view(off, &message);
    TIAPConfigView read;
    ASSERT_TRUE(read_config_view(message, &read));
    EXPECT_EQ(read.control.value, 0);
}

TEST(IAPConfigViewTest, DescriptionsThatDoNotFitAreRefusedWhole)
{
    using Change = std::function<platform::Message()>;
    const TIAPConfigView box = check_box_view();
    const TIAPConfigView field = pop_up_view();
    struct Case {
        const char* what;
        Change make;
    };
    const Case cases[] = {
        {"no fields", [] { return platform::Message(); }},
        {"no control",
         [&] {
             platform::Message m = archived(box);
             m.RemoveName("_views");
             return m;
         }},
        {"two controls",
         [&] {
             platform::Message m = archived(box);
             platform::Message control;
             m.FindMessage("_views", &control);
             m.AddMessage("_views", control);
             return m;
         }},
        {"empty name",
         [&] {
             TIAPConfigView v = box;
             v.name.clear();
             return archived(v);
         }},
        {"name of another type",
         [&] {
             platform::Message m = archived(box);
             m.RemoveName("_name");
             m.AddInt32("_name", 7);
             return m;
         }},
        {"name too long",
         [&] {
             TIAPConfigView v = box;
             v.name.assign(kMaxIAPTextBytes + 1, 'n');
             return archived(v);
         }},
        {"frame far outside",
         [&] {
             TIAPConfigView v = box;
             v.frame.right = 1e9f;
             return archived(v);
         }},
        {"frame not a number",
         [&] {
             TIAPConfigView v = box;
             v.control.frame.bottom = std::nanf("");
             return archived(v);
         }},
        {"frame turned over",
         [&] {
             TIAPConfigView v = box;
             v.frame = {10, 0, 0, 5};
             return archived(v);
         }},
        {"unknown kind",
         [&] {
             return with_control(box, [](platform::Message& c) {
                 c.RemoveName("_kind");
                 c.AddString("_kind", "slider");
             });
         }},
        {"check box without its message",
         [&] { return with_control(box, [](platform::Message& c) { c.RemoveName("_msg"); }); }},
        {"check box value of another type",
         [&] {
             return with_control(box, [](platform::Message& c) {
                 c.RemoveName("_val");
                 c.AddBool("_val", true);
             });
         }},
        {"pop-up field without its title",
         [&] { return with_control(field, [](platform::Message& c) { c.RemoveName("_title"); }); }},
        {"menu entry without its message",
         [&] {
             return with_control(field, [](platform::Message& c) {
                 platform::Message entry;
                 entry.AddString("_label", "x");
                 c.AddMessage("_items", entry);
             });
         }},
        {"menu entries of another type",
         [&] {
             return with_control(field, [](platform::Message& c) {
                 c.RemoveName("_items");
                 c.AddString("_items", "x");
             });
         }},
        {"too many menu entries",
         [&] {
             TIAPConfigView v = field;
             v.control.entries.assign(kMaxIAPMenuEntries + 1, field.control.entries[0]);
             return archived(v);
         }},
    };
    for (const Case& c : cases) {
        TIAPConfigView read;
        read.name = "untouched";
        EXPECT_FALSE(read_config_view(c.make(), &read)) << c.what;
        EXPECT_EQ(read.name, "untouched") << c.what;
    }
}
