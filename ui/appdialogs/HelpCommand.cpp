#include "ui/appdialogs/HelpCommand.h"

#include "ui/guibase/AcceleratorLabels.h"
#include "ui/guibase/DesktopOpen.h"

std::string help_file_name()
{
    return locale_text_with_default("$FileNameHelp$", "ReadMe_enUS.txt");
}

platform::status_t open_help_file(const std::string& exeFolder)
{
    const std::string path = exeFolder + help_file_name();
    return show_help(path.c_str());
}
