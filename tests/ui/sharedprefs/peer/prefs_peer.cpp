// A small application for the two-instance test of the shared-preferences window: the
// shared registry gIAPs with both items, a window whose label "Open" shows the
// accelerator letter O in the user's format, and the inbox through which changed
// values arrive. It prints "label <text>" at start and whenever the label changes,
// and obeys commands read line by line:
//   show            opens the shared-preferences window (prints "shown" when it has
//                   its components)
//   choose <entry>  picks an entry of the window's format menu
//   ok              clicks the window's OK button
// It ends when its input ends.

#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <string>

#include "foundation/Common.h"
#include "foundation/IAPItemAccKeyFormat.h"
#include "foundation/IAPItemFlatToolBar.h"
#include "foundation/IAPPortManager.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/sharedprefs/IAPWindow.h"

namespace {

void say(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

// The application's window: takes every notice to gIAPs and relabels itself.
class LabelWindow : public TBasicWindow {
public:
    LabelWindow() : TBasicWindow(platform::Rect{0, 0, 99, 99}, "peer") { Relabel(); }
    void IAPChanged(platform::Message* notice) override
    {
        gIAPs.SetValue(*notice);
        Relabel();
    }

private:
    void Relabel()
    {
        std::string label = merge_accelerator_key(current_accelerator_format(), "O", "Open");
        if (label == mLabel) return;
        mLabel = label;
        say("label " + label);
    }
    std::string mLabel;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    gIAPs.SetAppSignatureRef("application/x-vnd.TAVREN-KivoBASIC");
    gIAPs.AddItem(new TIAPItemAccKeyFormat);
    gIAPs.AddItem(new TIAPItemFlatToolBar);
    std::unique_ptr<TIAPWindow> window;
    install_iap_window_maker(&gIAPs, &window);
    auto labels = std::make_unique<LabelWindow>();
    auto inbox = std::make_unique<TIAPInbox>(platform::Messenger(labels.get()));
    inbox->Resume();

    QTimer waitForComponents;
    QObject::connect(&waitForComponents, &QTimer::timeout, [&] {
        if (!window || window->View()->CountComponents() < 2) return;
        waitForComponents.stop();
        say("shown");
    });

    std::string pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char chunk[256];
        ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            input.setEnabled(false);
            QApplication::quit();
            return;
        }
        pending.append(chunk, static_cast<size_t>(n));
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            std::string command = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (command == "show") {
                gIAPs.ShowWindow(platform::Rect{0, 0, 300, 42});
                waitForComponents.start(10);
            } else if (command.rfind("choose ", 0) == 0 && window && window->View()->CountComponents() > 0) {
                auto* menu = qobject_cast<QComboBox*>(window->View()->FindComponent("AccKeyFormat2")->Control());
                int row = menu->findText(QString::fromStdString(command.substr(7)));
                menu->setCurrentIndex(row);
                emit menu->activated(row);
            } else if (command == "ok" && window) {
                window->View()->OKButton()->click();
            } else {
                say("unknown " + command);
            }
        }
    });
    int status = QApplication::exec();
    inbox.reset();
    window.reset();
    labels.reset();
    return status;
}
