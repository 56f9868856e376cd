#pragma once
// Where the interpreter core sends its error alerts (compile errors and run-time
// errors). The core never talks to a window directly: the application installs an
// implementation that shows a modal alert titled "* %AppName% *" with the one
// button "Understand"; tests and the headless driver record the texts instead.

#include <mutex>
#include <string>
#include <vector>

class TAlertSink {
public:
    virtual ~TAlertSink();

    // Shows one error alert with the given text (already localised). May block
    // until the user closes it; implementations used by a stopping thread must
    // not block forever.
    virtual void ShowAlert(const std::string& text) = 0;
};

// Keeps every alert text, in order. Safe to use from several threads.
class TRecordingAlertSink : public TAlertSink {
public:
    void ShowAlert(const std::string& text) override;

    std::vector<std::string> Alerts() const;
    std::size_t Count() const;
    // The text of the last alert, or an empty text when none was shown.
    std::string Last() const;
    void Clear();

private:
    mutable std::mutex mLock;
    std::vector<std::string> mAlerts;
};
