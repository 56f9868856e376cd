// What an open request becomes: which action, which encoding, and the load request
// a run request naming a file turns into.

#include <gtest/gtest.h>

#include <string>

#include "session/OpenRequest.h"

namespace {

platform::Message open_request(bool withRef, int add, int merge, bool fromRecent = false)
{
    platform::Message request(platform::fourcc("_RRC"));
    if (withRef) request.AddRef("refs", platform::EntryRef{"/lists/a.bas"});
    if (fromRecent) request.AddBool(kFromRecentListsField, true);
    if (add >= 0) request.AddBool("Add", add != 0);
    if (merge >= 0) request.AddBool("Merge", merge != 0);
    return request;
}

TEST(OpenRequest, ChoosesTheAction)
{
    struct Case {
        const char* what;
        bool withRef;
        int add;          // -1 absent, 0 false, 1 true
        int merge;        // the same
        bool fromRecent;  // marked as an item of the recent-lists menu
        TOpenKeys keys;
        TOpenAction action;
    };
    const Case cases[] = {
        {"no refs", false, 1, 1, true, {true, true}, TOpenAction::Ignore},
        {"a plain request opens", true, -1, -1, false, {}, TOpenAction::Open},
        {"a recent list opens", true, -1, -1, true, {}, TOpenAction::Open},
        {"Add false and Merge false open", true, 0, 0, false, {}, TOpenAction::Open},
        {"Add inserts", true, 1, -1, false, {}, TOpenAction::Insert},
        {"Add wins over Merge", true, 1, 1, false, {}, TOpenAction::Insert},
        {"Merge merges", true, 0, 1, false, {}, TOpenAction::Merge},
        {"Alt turns a drop into an insert", true, -1, -1, false, {false, true}, TOpenAction::Insert},
        {"Alt turns a merge into an insert", true, -1, 1, false, {false, true}, TOpenAction::Insert},
        {"Ctrl on a recent list asks to remove it", true, -1, -1, true, {true, false}, TOpenAction::AskRemoveRecent},
        {"Ctrl on the open panel's request opens", true, -1, -1, false, {true, false}, TOpenAction::Open},
        {"Ctrl on the open panel's insert inserts", true, 1, -1, false, {true, false}, TOpenAction::Insert},
        {"Ctrl on a drop from elsewhere opens", true, -1, -1, false, {true, false}, TOpenAction::Open},
    };
    for (const Case& c : cases)
        EXPECT_EQ(choose_open_action(open_request(c.withRef, c.add, c.merge, c.fromRecent), c.keys), c.action)
            << c.what;
}

TEST(OpenRequest, TheDefaultEncodingIsTheOneWhenHandled)
{
    platform::Message request = open_request(true, -1, -1);
    EXPECT_EQ(open_request_encoding(request, 3), 3);
    EXPECT_EQ(open_request_encoding(request, 4), 4);
    request.AddInt32("Encoding", 2);
    EXPECT_EQ(open_request_encoding(request, 4), 2);
    EXPECT_EQ(open_request_path(request), "/lists/a.bas");
}

TEST(OpenRequest, ARunRequestNamingAFileBecomesALoadWithTheRunAsContinuation)
{
    for (const bool merge : {false, true}) {
        platform::Message run(platform::fourcc("vmrr"));
        run.AddString("FileName", "/drive/SUB.BAS");
        run.AddInt32("LineNum", 500);
        if (merge) run.AddBool("Merge", true);

        const platform::Message load = make_run_load_request(run, nullptr);
        EXPECT_EQ(load.what, platform::fourcc("_RRC"));
        EXPECT_EQ(open_request_path(load), "/drive/SUB.BAS");
        // Ctrl still held from the keys that started the run does not turn the load
        // into the question of the recent lists.
        for (const bool ctrl : {false, true})
            EXPECT_EQ(choose_open_action(load, {ctrl, false}), merge ? TOpenAction::Merge : TOpenAction::Open) << ctrl;
        platform::Message next;
        ASSERT_EQ(load.FindMessage("NextMsg", &next), platform::kOk);
        EXPECT_EQ(next.what, platform::fourcc("vmrr"));
        // The run comes back without the file, so it does not load again.
        EXPECT_FALSE(next.HasField("FileName"));
        int32_t line = 0;
        EXPECT_EQ(next.FindInt32("LineNum", &line), platform::kOk);
        EXPECT_EQ(line, 500);
    }
}

}  // namespace
