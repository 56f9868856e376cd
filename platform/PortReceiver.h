#pragma once
// The reading end of a port (see LocalPort.h): accepts the writers' connections and
// hands out their records one at a time, each writer's in the order it wrote them.
// One thread calls Receive; any thread may call Wake to end a wait.
//
// A writer of another user is refused; a writer whose connection fails, or that sends
// a record too long or too short to hold a code, loses its connection or that record,
// and the reader goes on.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class PortReceiver {
public:
    // Takes ownership of a listening descriptor from create_port (negative: no port).
    explicit PortReceiver(int listener);
    ~PortReceiver();

    PortReceiver(const PortReceiver&) = delete;
    PortReceiver& operator=(const PortReceiver&) = delete;

    // Waits for the next record. True with its code and data; false when Wake was
    // called (since the last false) or there is no port.
    bool Receive(int32_t* code, std::string* data);
    // Ends the current or the next wait of Receive.
    void Wake() const;
    // Closes the port and every connection: the name is free from then on.
    void Close();

    // At most this many writers are connected at once; further ones are turned away.
    static constexpr size_t kMaxWriters = 32;

private:
    void Accept();
    // True with a record; false when there was none (the connection may have ended).
    bool ReadFrom(size_t index, int32_t* code, std::string* data);
    void DropWriter(size_t index);

    int mListener;
    int mWake;
    std::vector<int> mWriters;
    std::vector<char> mBuffer;
};

}  // namespace platform
