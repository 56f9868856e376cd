#pragma once
// The application's way of showing the core's error alerts (compile and run-time
// errors): a warning alert titled "* %AppName% *" with the one button "Understand"
// and its accelerator letter, no Escape button. Safe from any thread; a stopping
// machine or compiler thread is not held by an open alert.

#include <string>

#include "foundation/AlertSink.h"

class TErrorAlertSink : public TAlertSink {
public:
    explicit TErrorAlertSink(std::string appName) : mAppName(std::move(appName)) {}

    void ShowAlert(const std::string& text) override;

private:
    std::string mAppName;
};
