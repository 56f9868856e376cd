#include "ui/guibase/Alert.h"

#include "foundation/Thread.h"
#include "ui/guibase/AcceleratorLabels.h"

int32_t show_alert(const char* title, const char* text, const char* button0, const char* button1, const char* button2,
                   int32_t escapeIndex, AlertType type)
{
    platform::AlertContent content;
    content.windowTitle = title ? title : "";
    content.text = content.windowTitle + "\n\n" + (text ? text : "");
    content.escapeIndex = escapeIndex;
    content.type = type;
    content.buttons.push_back({button0 ? button0 : "", short_cut_from_label(button0 ? button0 : "")});
    for (const char* label : {button1, button2}) {
        if (!label || !*label) continue;
        content.buttons.push_back({label, short_cut_from_label(label)});
    }
    return platform::run_alert(content, TThread::CurrentStopFlag());
}

int32_t show_alert2(const std::string& title, const std::string& text, const std::string& button0,
                    const std::string& button1, const std::string& button2, int32_t escapeIndex, AlertType type)
{
    return show_alert(title.c_str(), text.c_str(), button0.c_str(), button1.c_str(), button2.c_str(), escapeIndex,
                      type);
}
