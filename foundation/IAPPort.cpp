#include "foundation/IAPPort.h"

#include <charconv>
#include <cstdlib>

#include "platform/LocalPort.h"

std::string iap_port_name()
{
    const char* name = std::getenv("KIVO_IAP_PORT");
    return name && *name ? std::string(name) : std::string("TAVRENIAPPort");
}

std::string iap_inbox_name(int32_t pid)
{
    char digits[16];
    auto result = std::to_chars(digits, digits + sizeof digits, pid);
    return iap_port_name() + ".inbox." + std::string(digits, result.ptr);
}

platform::status_t iap_write_message(int32_t port, const platform::Message& message)
{
    std::string bytes;
    platform::status_t status = message.Flatten(&bytes);
    if (status != platform::kOk) return status;
    return platform::write_port(port, 0, bytes, kIAPSendTimeout);
}

bool iap_read_message(const std::string& data, platform::Message* message)
{
    return !data.empty() && message->Unflatten(data) == platform::kOk;
}

int32_t iap_broadcast(const platform::Message& notice)
{
    std::string bytes;
    if (notice.Flatten(&bytes) != platform::kOk) return 0;
    int32_t reached = 0;
    for (const std::string& inbox : platform::list_ports(iap_port_name() + ".inbox.")) {
        // No waiting here: a notice that a busy application's full inbox cannot take
        // is dropped rather than holding up the window that broadcasts it.
        int port = platform::find_port(inbox, 0);
        if (port < 0) continue;
        if (platform::write_port(port, 0, bytes, 0) == platform::kOk) ++reached;
        platform::close_port(port);
    }
    return reached;
}
