#pragma once
// Puts what a window sends to the application into the application's own queue, where
// it is handled or relayed like any message to the application.

#include "platform/Looper.h"
#include "session/AppMessageSink.h"

class TAppLooperSink : public TAppMessageSink {
public:
    // `app` outlives the sink.
    explicit TAppLooperSink(platform::Looper* app) : mApp(app) {}
    void Post(const platform::Message& message) override { mApp->PostMessage(message); }

private:
    platform::Looper* mApp;
};
