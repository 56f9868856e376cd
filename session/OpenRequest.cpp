#include "session/OpenRequest.h"

#include "foundation/Common.h"

namespace {

bool flag(const platform::Message& request, const char* name)
{
    bool value = false;
    return request.FindBool(name, &value) == platform::kOk && value;
}

}  // namespace

std::string open_request_path(const platform::Message& request)
{
    platform::EntryRef ref;
    if (request.FindRef("refs", &ref) != platform::kOk) return {};
    return ref.path;
}

TOpenAction choose_open_action(const platform::Message& request, TOpenKeys keys)
{
    if (open_request_path(request).empty()) return TOpenAction::Ignore;
    if (keys.Control && flag(request, kFromRecentListsField)) return TOpenAction::AskRemoveRecent;
    if (flag(request, "Add") || keys.Option) return TOpenAction::Insert;
    if (flag(request, "Merge")) return TOpenAction::Merge;
    return TOpenAction::Open;
}

int32_t open_request_encoding(const platform::Message& request, int32_t defaultEncoding)
{
    int32_t encoding = defaultEncoding;
    request.FindInt32("Encoding", &encoding);
    return encoding;
}

platform::Message make_run_load_request(const platform::Message& runRequest, const platform::Handler* target)
{
    platform::Message load(platform::fourcc("_RRC"));
    std::string fileName;
    runRequest.FindString("FileName", &fileName);
    load.AddRef("refs", platform::EntryRef{fileName});
    if (flag(runRequest, "Merge")) load.AddBool("Merge", true);
    platform::Message rerun(runRequest);
    rerun.RemoveName("FileName");
    add_next_msg(&load, rerun, target);
    return load;
}
