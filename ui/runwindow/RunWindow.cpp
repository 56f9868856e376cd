#include "ui/runwindow/RunWindow.h"

#include <QEvent>
#include <QResizeEvent>
#include <QWindowStateChangeEvent>
#include <string>

#include "foundation/Common.h"
#include "foundation/MidiOutMessages.h"
#include "foundation/PrefsMessages.h"
#include "platform/Locale.h"
#include "ui/guibase/AcceleratorLabels.h"
#include "ui/runwindow/CtrlKeyFilter.h"

namespace {

constexpr int kViewWidth = 640;
constexpr int kViewHeight = 400;

std::string num_label(const char* key, int n)
{
    return platform::replace_placeholder(platform::get_string(key), "%Num%", std::to_string(n));
}

platform::Message copy_page_message(int32_t page)
{
    platform::Message message(kCopyGraphicMessage);
    message.AddInt32("GrphPage", page);
    return message;
}

}  // namespace

TRunWindow::TRunWindow(platform::Rect frame, TAlertSink* alerts, std::unique_ptr<TRunMidiPorts> midi)
    : TBasicWindow(frame, kRunAppName), mMenuBar(new QMenuBar(this)), mRunView(nullptr), mLampStyle(nullptr)
{
    mMenuBar->setObjectName(QStringLiteral("MenuBar"));
    mMenuBar->setNativeMenuBar(false);
    InstallLampStyle();
    mRunView = new TRunView(platform::Rect{0, 0, kViewWidth - 1, kViewHeight - 1}, alerts, std::move(midi));
    SetUpRecentDrvFolders();
    CreateMenu();
    GenerateMenuMRUF();
    AddChild(mRunView);
    AddCommonFilter(new TCtrlKeyFilter(mRunView));
    UpdateMBarVisibility();
}

TRunWindow::~TRunWindow() = default;

void TRunWindow::AddItem(QMenu* menu, const std::string& label, const platform::Message& message, bool toApplication)
{
    QAction* action = menu->addAction(QString::fromStdString(label));
    QObject::connect(action, &QAction::triggered, this, [this, message, toApplication] {
        if (toApplication) {
            if (mAppTarget.IsValid()) mAppTarget.SendMessage(message);
        } else {
            PostMessage(message, mRunView);
        }
    });
}

void TRunWindow::MessageReceived(platform::Message* message)
{
    switch (message->what) {
    // Passed on to the run view, through the window's queue.
    case kRefsReceivedMessage:
    case kSetDrvFolderMessage:
    case kPrefsSpeedControlChanged:
    case kPrefMidiOutChanged:
    case kPrefsRunFontChanged: PostMessage(*message, mRunView); break;
    case kPanelCancelMessage: Cancel(); break;
    case kSpecifyDrvFolderMessage: MItemSpecifyDrvFolderClicked(*message); break;
    case kUpdateMenuDrvFolderMessage: UpdateMenuDrvFolderRqtd(*message); break;
    case kFDDAccessLampMessage: SetFDDAccessLampRqtd(*message); break;
    default: TBasicWindow::MessageReceived(message); break;
    }
}

void TRunWindow::CreateMenu()
{
    const std::string format = current_accelerator_format();
    auto label = [&](const std::string& key, const std::string& text) {
        return QString::fromStdString(menu_label_with_mnemonic(format, key, text));
    };
    CreateDriveMenus(format);

    QMenu* copy = mMenuBar->addMenu(label("C", platform::get_string("Copy")));
    auto item = [&](QMenu* menu, const char* key, const std::string& text, const platform::Message& message,
                    bool toApplication) {
        AddItem(menu, menu_label_with_mnemonic(format, key, text), message, toApplication);
    };
    item(copy, "T", platform::get_string("Text"), platform::Message(kCopyTextMessage), false);
    copy->addSeparator();
    item(copy, "G", platform::get_string("Graphic: Display Page"), copy_page_message(-1), false);
    for (int page = 0; page < 4; ++page) {
        const std::string digit = std::to_string(page + 1);
        item(copy, digit.c_str(), num_label("Graphic: Page %Num%", page + 1), copy_page_message(page), false);
    }
    copy->addSeparator();
    item(copy, "C", platform::get_string("Composition"), platform::Message(kCopyCompositionMessage), false);

    QMenu* window = mMenuBar->addMenu(label("W", platform::get_string("Window")));
    item(window, "M", platform::get_string("Main Window"), platform::Message(kShowMainWindowMessage), true);
    item(window, "D", platform::get_string("Debug Window"), platform::Message(kShowDebugWindowMessage), true);
}

void TRunWindow::DestroyMenu()
{
    for (QAction* action : mMenuBar->actions()) {
        QMenu* menu = action->menu();
        mMenuBar->removeAction(action);
        delete menu;
    }
    mMenuBar->clear();
    mDriveMenus = {};
}

void TRunWindow::SetLabelsCommon()
{
    DestroyMenu();
    CreateMenu();
    GenerateMenuMRUF();
    // The view labels the new folder items.
    mRunView->SendUpdateMenuDrvFolder(0);
    mRunView->SendUpdateMenuDrvFolder(1);
}

void TRunWindow::UpdateMBarVisibility()
{
    int top = 0;
    if (gExitStates.ShowMenuBar.load()) {
        mMenuBar->setGeometry(0, 0, kViewWidth, mMenuBar->sizeHint().height());
        mMenuBar->show();
        // The view starts on the line below the bar.
        top = mMenuBar->height() + 1;
    } else {
        mMenuBar->hide();
    }
    mRunView->move(0, top);
    // The window is as large as its content. Its largest size is one pixel more each
    // way, since window managers offer no maximize (the zoom here) for a window whose
    // smallest and largest sizes are equal.
    const QSize content(kViewWidth, top + kViewHeight);
    setMinimumSize(content);
    setMaximumSize(content + QSize(1, 1));
    resize(content);
}

void TRunWindow::Show()
{
    TBasicWindow::Show();
    UpdateMBarVisibility();
}

void TRunWindow::IAPChanged(platform::Message* notice)
{
    std::string item;
    if (notice != nullptr && notice->FindString("IAP:SrcIAPItem", &item) == platform::kOk && item == "AccKeyFormat2")
        SetLabelsCommon();
}

void TRunWindow::LanguageChanged()
{
    SetLabelsCommon();
    SetFilePanelLabel();
}

void TRunWindow::Zoom()
{
    gExitStates.ShowMenuBar.store(!gExitStates.ShowMenuBar.load());
    UpdateMBarVisibility();
}

bool TRunWindow::Quit()
{
    gExitStates.RunWindowFrame = Frame();
    if (mPanel != nullptr) {
        RememberPanelFolder();
        if (!mPanelFolder.empty()) gExitStates.RunPanelFolder = mPanelFolder;
    }
    return QuitForApplication();
}

QSize TRunWindow::ContentSize() const
{
    return QSize(kViewWidth, (mMenuBar->isHidden() ? 0 : mMenuBar->height() + 1) + kViewHeight);
}

// A window of fixed content does not grow: the window system's maximize toggles the
// menu bar instead. Only its report counts (a change the program makes itself comes
// back from the window system once more). The window is restored first, after the
// event, and laid out again only when the window manager has put it back, so that
// the new size does not go out with the maximized window's place. A new maximize
// while the window waits to be put back starts over, so none is ever lost for good.
void TRunWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange && event->spontaneous() && (windowState() & Qt::WindowMaximized) &&
        mZoom != ZoomStep::Maximized) {
        mZoom = ZoomStep::Maximized;
        QMetaObject::invokeMethod(
            this,
            [this] {
                mZoom = ZoomStep::Restoring;
                setWindowState(windowState() & ~Qt::WindowMaximized);
                // A maximize that left the size as it was brings no resize back.
                if (size() == ContentSize()) FinishZoom();
            },
            Qt::QueuedConnection);
    }
    TBasicWindow::changeEvent(event);
}

void TRunWindow::resizeEvent(QResizeEvent* event)
{
    TBasicWindow::resizeEvent(event);
    if (mZoom == ZoomStep::Restoring && event->spontaneous() && !(windowState() & Qt::WindowMaximized))
        QMetaObject::invokeMethod(
            this, [this] { FinishZoom(); }, Qt::QueuedConnection);
}

void TRunWindow::FinishZoom()
{
    if (mZoom != ZoomStep::Restoring) return;
    mZoom = ZoomStep::None;
    Zoom();
}
