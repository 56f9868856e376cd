#include "ui/app/DesktopOpens.h"

#include <filesystem>

#include "ui/app/AppMessages.h"
#include "ui/app/BasicApp.h"
#include "ui/app/KivoBasicWindow.h"

void post_desktop_opens(TBasicApp& app, int argc, char** argv)
{
    TKivoBasicWindow* window = app.MainWindow();
    if (!window) return;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        const std::filesystem::path path = std::filesystem::absolute(argv[i], ec);
        if (ec || !std::filesystem::is_regular_file(path, ec)) continue;
        platform::Message request(kRefsReceivedMessage);
        request.AddRef("refs", platform::EntryRef{path.string()});
        request.AddBool("FromOutside", true);
        window->PostMessage(request);
    }
}
