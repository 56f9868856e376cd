#include "ui/guibase/ShortCutFilter.h"

#include "platform/Modifiers.h"

bool TShortCutFilter::IsShortCutKey(const platform::Message& keyDown)
{
    int32_t modifiers = 0;
    int32_t rawChar = 0;
    keyDown.FindInt32("modifiers", &modifiers);
    keyDown.FindInt32("raw_char", &rawChar);
    return (modifiers & platform::kControlKey) != 0 || rawChar == platform::kEscapeChar ||
           rawChar == platform::kEnterChar || rawChar == platform::kFunctionKeyChar;
}

TFilterResult TShortCutFilter::Filter(platform::Message* message, platform::Handler** target)
{
    if (IsShortCutKey(*message)) {
        platform::Handler* to = mHandler ? mHandler : Looper();
        if (to) *target = to;
    }
    return TFilterResult::Dispatch;
}
