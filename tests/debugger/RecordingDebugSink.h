#pragma once
// A debug sink for the tests: it writes each message it gets as one line of text and
// answers the waiting ones at once, never, or not at all delivered; a test thread can
// wait until a line has arrived.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "debugger/DebugProtocol.h"
#include "debugger/DebugSink.h"

class TRecordingDebugSink : public TDebugSink {
public:
    enum class TAnswer { AtOnce, Never, NotDelivered };

    explicit TRecordingDebugSink(TAnswer answer = TAnswer::AtOnce) : mAnswer(answer) {}

    void Post(const platform::Message& message) override { Record(message, false); }
    bool Deliver(const platform::Message& message, TDebugReply reply, platform::bigtime_t deliveryTimeout) override
    {
        Record(message, true);
        std::lock_guard lock(mLock);
        mDeliveryTimeouts.push_back(deliveryTimeout);
        switch (mAnswer) {
        case TAnswer::AtOnce: return true;  // `reply` answers as it goes
        case TAnswer::Never: mKept.push_back(std::move(reply)); return true;
        case TAnswer::NotDelivered: return false;
        }
        return false;
    }

    // Waits until `line` has arrived (after `after` lines); false when it did not come
    // within a generous limit, so that a broken machine fails the test instead of
    // hanging it.
    bool WaitFor(const std::string& line, size_t after = 0)
    {
        std::unique_lock lock(mLock);
        return mArrived.wait_for(lock, std::chrono::seconds(20), [&] { return Find(line, after) != npos; });
    }
    // Waits until a line that begins with `prefix` has arrived after `after` lines;
    // the line, or an empty text when none came within the limit.
    std::string WaitForPrefix(const std::string& prefix, size_t after = 0)
    {
        std::unique_lock lock(mLock);
        std::string found;
        mArrived.wait_for(lock, std::chrono::seconds(20), [&] {
            for (size_t i = after; i < mLines.size(); ++i)
                if (mLines[i].rfind(prefix, 0) == 0) {
                    found = mLines[i];
                    return true;
                }
            return false;
        });
        return found;
    }
    // The index just past the first `line` after `after`.
    size_t IndexAfter(const std::string& line, size_t after = 0) const
    {
        std::lock_guard lock(mLock);
        const size_t at = Find(line, after);
        return at == npos ? npos : at + 1;
    }
    std::vector<std::string> Lines() const
    {
        std::lock_guard lock(mLock);
        return mLines;
    }
    std::vector<platform::Message> Messages() const
    {
        std::lock_guard lock(mLock);
        return mMessages;
    }
    size_t WaitingCount() const
    {
        std::lock_guard lock(mLock);
        return mDeliveryTimeouts.size();
    }
    // Answers everything kept so far.
    void AnswerKept()
    {
        std::vector<TDebugReply> kept;
        {
            std::lock_guard lock(mLock);
            kept.swap(mKept);
        }
    }

    static constexpr size_t npos = static_cast<size_t>(-1);

private:
    size_t Find(const std::string& line, size_t after) const
    {
        for (size_t i = after; i < mLines.size(); ++i)
            if (mLines[i] == line) return i;
        return npos;
    }

    // "clnc 10", "dbbr 10", "acsr 20", "rcsr", "uvir A! 0=1 ...", "rsvr A! [11]",
    // "dbed", "dbed killed", "sslr 20", "dbkw waiting", "dbkw over".
    static std::string Text(const platform::Message& message)
    {
        std::string text;
        for (int shift = 24; shift >= 0; shift -= 8) {
            const char c = static_cast<char>((message.what >> shift) & 0xFF);
            if (c != 0) text += c;
        }
        int32_t line = 0;
        if (message.FindInt32(debug_msg::LineNum, &line) == platform::kOk) text += " " + std::to_string(line);
        bool killed = false;
        if (message.FindBool(debug_msg::Killed, &killed) == platform::kOk && killed) text += " killed";
        bool waiting = false;
        if (message.FindBool(debug_msg::Waiting, &waiting) == platform::kOk) text += waiting ? " waiting" : " over";
        std::string name;
        for (int32_t i = 0; message.FindString(debug_msg::VarName, i, &name) == platform::kOk; ++i) {
            int32_t element = 0;
            std::string value;
            message.FindString(debug_msg::Value, i, &value);
            if (message.FindInt32(debug_msg::DimIdx, i, &element) == platform::kOk)
                text += " " + name + " " + std::to_string(element) + "=" + value;
            else
                text += " " + name;
        }
        int32_t size = 0;
        if (message.HasField(debug_msg::DimSize)) {
            text += " [";
            for (int32_t i = 0; message.FindInt32(debug_msg::DimSize, i, &size) == platform::kOk; ++i)
                text += (i ? "," : "") + std::to_string(size);
            text += "]";
        }
        return text;
    }

    void Record(const platform::Message& message, bool waits)
    {
        (void)waits;
        {
            std::lock_guard lock(mLock);
            mLines.push_back(Text(message));
            mMessages.push_back(message);
        }
        mArrived.notify_all();
    }

    const TAnswer mAnswer;
    mutable std::mutex mLock;
    std::condition_variable mArrived;
    std::vector<std::string> mLines;
    std::vector<platform::Message> mMessages;
    std::vector<platform::bigtime_t> mDeliveryTimeouts;
    std::vector<TDebugReply> mKept;
};

// A clock on which the timed waits pass no real time: each wait that does not end at
// once adds its whole time-out to the total.
class TFakeDebugClock : public TDebugClock {
public:
    bool WaitFor(std::condition_variable&, std::unique_lock<std::mutex>&, platform::bigtime_t micros,
                 const std::function<bool()>& done) const override
    {
        if (done()) return true;
        std::lock_guard lock(mLock);
        mWaited += micros;
        ++mTimedOut;
        return false;
    }
    platform::bigtime_t Waited() const
    {
        std::lock_guard lock(mLock);
        return mWaited;
    }
    int TimedOut() const
    {
        std::lock_guard lock(mLock);
        return mTimedOut;
    }

private:
    mutable std::mutex mLock;
    mutable platform::bigtime_t mWaited = 0;
    mutable int mTimedOut = 0;
};
