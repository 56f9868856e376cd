#pragma once
// Where a Qt-free part of the run view posts the messages meant for the application
// (which relays them on); the run window supplies one that posts to its looper.

#include "platform/Message.h"

class TAppMessageSink {
public:
    virtual ~TAppMessageSink() = default;
    virtual void Post(const platform::Message& message) = 0;
};
