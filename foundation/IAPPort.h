#pragma once
// Where the shared-preferences messages travel between the author's running
// applications: the port of the shared-preferences window, and one inbox per
// process through which a changed value ('_ipc') reaches every application.

#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "platform/Message.h"

// The port's name: "TAVRENIAPPort", or the value of KIVO_IAP_PORT when that is set,
// so that tests running side by side stay apart.
std::string iap_port_name();
// The name of the inbox of process `pid`.
std::string iap_inbox_name(int32_t pid);

// How long a writer waits for a port or an inbox that does not take a message; after
// that the receiver counts as gone, so that a hung application cannot freeze the caller.
inline constexpr platform::bigtime_t kIAPSendTimeout = 2'000'000;

// Port ids besides real ones: no port thread yet, and a port that could not be made.
inline constexpr int32_t kIAPNoPort = -400;
inline constexpr int32_t kIAPPortFailed = -500;

// Writes one message to a connected port as one record with code 0.
platform::status_t iap_write_message(int32_t port, const platform::Message& message);

// Decodes the data of a record read from a port or an inbox; false (and `message`
// untouched) when the bytes are no whole message. An empty record carries none.
bool iap_read_message(const std::string& data, platform::Message* message);

// Sends a notice to the inbox of every running application of this user, the
// caller's included; returns how many inboxes took it. A full or dead inbox is skipped.
int32_t iap_broadcast(const platform::Message& notice);
