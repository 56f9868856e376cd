#pragma once
// The one error object of the interpreter: compile errors carry id 0, run-time
// errors the BASIC line number that was running.

#include <cstdint>
#include <string>

class TException {
public:
    explicit TException(const std::string& message) : mID(0), mMessage(message) {}
    TException(uint32_t id, const std::string& message) : mID(id), mMessage(message) {}

    uint32_t ID() const { return mID; }
    std::string String() const { return mMessage; }

private:
    uint32_t mID;
    std::string mMessage;
};
