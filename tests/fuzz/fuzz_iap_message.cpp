// Feeds arbitrary bytes to the reader of what arrives at the shared-preferences port
// and inboxes, and to the reader of the control descriptions inside the messages.
// Whatever the bytes, nothing may crash; a description that was read must archive
// and read back the same.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/IAPConfigView.h"
#include "foundation/IAPPort.h"
#include "platform/Message.h"

namespace {

void check_view(const platform::Message& component)
{
    TIAPConfigView view;
    if (!read_config_view(component, &view)) return;
    platform::Message again;
    archive_config_view(view, &again);
    TIAPConfigView reread;
    if (!read_config_view(again, &reread)) std::abort();
    if (reread.name != view.name || reread.control.name != view.control.name ||
        reread.control.entries.size() != view.control.entries.size() || reread.control.value != view.control.value)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    platform::Message message;
    if (!iap_read_message(bytes, &message)) return 0;
    check_view(message);  // a notice '_ipc' carries the view's description itself
    for (const std::string& name : message.FieldNames()) {
        uint32_t type;
        int32_t count;
        if (message.GetInfo(name, &type, &count) != platform::kOk || type != platform::kMessageType) continue;
        for (int32_t i = 0; i < count; ++i) {
            platform::Message component;
            if (message.FindMessage(name, i, &component) == platform::kOk) check_view(component);
        }
    }
    return 0;
}
