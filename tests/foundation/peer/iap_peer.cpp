// A small application for the two-process tests of the shared preferences. It holds
// the two items and a stand-in window that prints what reaches it ("got iacr"), and
// obeys commands read line by line: "show", "close 0", "close 1" (each answered with
// "done <result>"). It ends when its input ends.

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>

#include "foundation/IAPItemAccKeyFormat.h"
#include "foundation/IAPItemFlatToolBar.h"
#include "foundation/IAPPortManager.h"
#include "foundation/InterAppPrefs.h"
#include "platform/Looper.h"

namespace {

std::mutex gOutput;

void say(const std::string& line)
{
    std::lock_guard lock(gOutput);
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string code_text(uint32_t what)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) text += static_cast<char>((what >> shift) & 0xFF);
    return text;
}

class PrintingView : public platform::Handler {
public:
    void MessageReceived(platform::Message* message) override
    {
        std::string line = "got " + code_text(message->what);
        for (const std::string& name : message->FieldNames()) line += " " + name;
        say(line);
    }
};

struct StandInWindow {
    StandInWindow() : port(platform::Messenger(&view))
    {
        looper.Run();
        looper.AddHandler(&view);
        port.Resume();
    }
    ~StandInWindow()
    {
        port.Terminate();
        port.PreventBlocking();
        port.Wait(nullptr);
        looper.RemoveHandler(&view);
        looper.Quit();
    }
    platform::Looper looper;
    PrintingView view;
    TIAPPortManager port;
};

}  // namespace

int main()
{
    std::unique_ptr<StandInWindow> window;
    {
        TInterAppPrefs registry;
        registry.SetAppSignatureRef("application/x-vnd.TAVREN-KivoBASIC");
        registry.AddItem(new TIAPItemAccKeyFormat);
        registry.AddItem(new TIAPItemFlatToolBar);
        registry.SetWindowMaker([&](const platform::Rect&) {
            window = std::make_unique<StandInWindow>();
            return TIAPLocalWindow{window->port.Port(), platform::Messenger(&window->view)};
        });
        say("ready");
        std::string command;
        while (std::getline(std::cin, command)) {
            if (command == "show")
                say("done " + std::to_string(registry.ShowWindow({0, 0, 300, 42})));
            else if (command == "close 0")
                say("done " + std::to_string(registry.CloseWindow(false)));
            else if (command == "close 1")
                say("done " + std::to_string(registry.CloseWindow(true)));
            else
                say("unknown " + command);
        }
    }
    window.reset();
    return 0;
}
