#include "ui/guibase/ErrorAlertSink.h"

#include "platform/Locale.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/Alert.h"

void TErrorAlertSink::ShowAlert(const std::string& text)
{
    std::string title = platform::replace_placeholder(platform::get_string("* %AppName% *"), "%AppName%", mAppName);
    std::string button = merge_accelerator_key(current_accelerator_format(), "U", platform::get_string("Understand"));
    show_alert2(title, text, button, "", "", -1, AlertType::Warning);
}
