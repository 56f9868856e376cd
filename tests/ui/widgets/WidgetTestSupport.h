#pragma once
// Helpers for the widget tests: a handler that records what reaches it, and images.

#include <QImage>
#include <vector>

#include "platform/Handler.h"
#include "platform/Looper.h"
#include "platform/Message.h"
#include "ui/widgets/logic/ToolImages.h"

// A looper driven by the test: messages sent to `handler` wait until Drain.
class RecordingTarget {
public:
    RecordingTarget() { looper.AddHandler(&handler); }
    ~RecordingTarget() { looper.RemoveHandler(&handler); }

    // Delivers what was sent and returns the messages received so far.
    const std::vector<platform::Message>& Drain()
    {
        looper.DispatchPending();
        return handler.received;
    }
    void Clear() { handler.received.clear(); }

    struct Recorder : platform::Handler {
        void MessageReceived(platform::Message* message) override { received.push_back(*message); }
        std::vector<platform::Message> received;
    };
    platform::Looper looper;
    Recorder handler;
};

// A square icon, opaque blue, with a transparent border of one pixel.
inline ToolImage blue_icon(int size = 16)
{
    ToolImage image(size, size);
    for (int y = 1; y < size - 1; ++y) {
        for (int x = 1; x < size - 1; ++x) {
            uint8_t* p = &image.bytes[(static_cast<size_t>(y) * size + x) * 4];
            p[0] = 200;  // blue
            p[3] = 255;
        }
    }
    return image;
}
