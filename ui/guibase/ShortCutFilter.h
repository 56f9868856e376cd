#pragma once
// Takes a dialog's short-cut keys away from the focused control and gives them to the
// dialog: a key held with the Control modifier (Alt on this desktop, so that Ctrl+C/V/X/A
// keep working in text fields), Escape, Enter and the function keys go to the filter's
// handler, or to the window when it has none. Every other key keeps its target.

#include "platform/SystemMessages.h"
#include "ui/guibase/MessageFilter.h"

class TShortCutFilter : public TMessageFilter {
public:
    // `handler` is borrowed; null stands for the window the filter is added to.
    explicit TShortCutFilter(platform::Handler* handler = nullptr)
        : TMessageFilter(platform::kKeyDownMessage), mHandler(handler)
    {}

    TFilterResult Filter(platform::Message* message, platform::Handler** target) override;

    // True for the keys the filter retargets.
    static bool IsShortCutKey(const platform::Message& keyDown);

private:
    platform::Handler* mHandler;
};
