#pragma once
// Modal alerts on Qt's GUI thread, for callers on any thread.
//
// On the GUI thread an alert runs a nested event loop until it is answered. From any
// other thread the alert is handed to the GUI thread and the caller waits for the
// answer; the wait ends early, and the alert closes, when the caller's stop flag is set
// or withdraw_pending_alerts is called, so a Kill or Quit that waits for that thread on
// the GUI thread never waits for ever. A withdrawn alert answers with the Escape
// button's index, or 0 when no button has Escape.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class AlertType { Empty, Info, Idea, Warning, Stop };

struct AlertButton {
    std::string label;  // shown as it stands: "&" makes no mnemonic
    char shortcut = 0;  // a lower-case letter typed without modifiers chooses it; 0: none
};

struct AlertContent {
    std::string windowTitle;
    std::string text;
    std::vector<AlertButton> buttons;  // one to three, shown in this order
    int32_t escapeIndex = -1;          // the button Escape chooses; out of range: none
    AlertType type = AlertType::Info;
};

// Shows the alert and returns the index of the chosen button. `stopFlag` (may be null)
// is the calling thread's stop flag. Without a Qt application it shows nothing and
// answers as a withdrawn alert does.
int32_t run_alert(const AlertContent& content, const std::atomic<bool>* stopFlag);

// Withdraws every alert that a thread other than the GUI thread waits for now.
void withdraw_pending_alerts();

// How many alerts other threads wait for now.
int32_t count_pending_alerts();

}  // namespace platform
