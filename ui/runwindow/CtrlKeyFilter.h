#pragma once
// The run window's key filter: a key pressed with Ctrl (the Command key) becomes 'ctkd'
// for the run view, so it never acts as a window or menu short-cut and the view decides
// what it means (Ctrl+C is STOP). Other keys pass unchanged; nothing is dropped.

#include "ui/guibase/MessageFilter.h"

class TCtrlKeyFilter : public TMessageFilter {
public:
    // `target`: the run view (borrowed).
    explicit TCtrlKeyFilter(platform::Handler* target);

    TFilterResult Filter(platform::Message* message, platform::Handler** target) override;

private:
    platform::Handler* mTarget;
};
