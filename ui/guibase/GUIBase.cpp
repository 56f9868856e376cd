#include "ui/guibase/GUIBase.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QStyleHints>
#include <QThread>

#include "ui/guibase/GeometryQt.h"

namespace {

// The right and bottom edges of a moved window keep this distance to the screen's.
constexpr float kScreenMargin = 5;

platform::Rect main_screen_frame()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? from_qrect(screen->geometry()) : platform::Rect{};
}

int32_t buttons_of(Qt::MouseButtons buttons)
{
    int32_t mask = 0;
    if (buttons & Qt::LeftButton) mask |= 1;
    if (buttons & Qt::RightButton) mask |= 2;
    if (buttons & Qt::MiddleButton) mask |= 4;
    return mask;
}

}  // namespace

// TBasicWindow

TBasicWindow::TBasicWindow(platform::Rect frame, const char* title)
    : QWidget(nullptr), platform::Looper(title ? title : ""), mPump(this)
{
    setWindowTitle(QString::fromUtf8(title ? title : ""));
    setGeometry(to_qrect(frame));
}

TBasicWindow::~TBasicWindow()
{
    Quit();
}

void TBasicWindow::MessageReceived(platform::Message* message)
{
    switch (message->what) {
    case platform::kLanguageChangedMessage: LanguageChanged(); break;
    case kIAPChangedMessage: IAPChanged(message); break;
    case platform::kQuitRequestedMessage:
        if (QuitRequested()) {
            mClosingForApplication = true;
            close();
        }
        break;
    default: platform::Looper::MessageReceived(message); break;
    }
}

bool TBasicWindow::QuitRequested()
{
    if (CurrentMessage() == nullptr) return true;
    if (!IsHidden()) Hide();
    return false;
}

void TBasicWindow::Appear()
{
    if (IsHidden()) {
        Show();
    } else {
        raise();
        activateWindow();
    }
}

void TBasicWindow::IAPChanged(platform::Message*) {}

void TBasicWindow::LanguageChanged() {}

void TBasicWindow::Show()
{
    show();
}

void TBasicWindow::Hide()
{
    hide();
}

platform::Point TBasicWindow::IntelligentMoveTo(platform::Point where)
{
    platform::Rect bounds = Bounds();
    platform::Rect screen = main_screen_frame();
    if (where.x + bounds.right > screen.right - kScreenMargin) where.x = screen.right - bounds.right - kScreenMargin;
    if (where.y + bounds.bottom > screen.bottom - kScreenMargin)
        where.y = screen.bottom - bounds.bottom - kScreenMargin;
    if (where.x < 0) where.x = 0;
    if (where.y < 0) where.y = 0;
    MoveTo(where);
    return where;
}

platform::Point TBasicWindow::IntelligentCentering()
{
    platform::Rect bounds = Bounds();
    platform::Rect screen = main_screen_frame();
    platform::Point where{(screen.right - bounds.right) * 0.5f, (screen.bottom - bounds.bottom) * 0.5f};
    MoveTo(where);
    return where;
}

void TBasicWindow::MoveTo(platform::Point where)
{
    setGeometry(QRect(QPoint(static_cast<int>(where.x), static_cast<int>(where.y)), size()));
}

platform::Rect TBasicWindow::Bounds() const
{
    return platform::Rect{0, 0, static_cast<float>(width() - 1), static_cast<float>(height() - 1)};
}

platform::Rect TBasicWindow::Frame() const
{
    return from_qrect(geometry());
}

void TBasicWindow::AddChild(TBasicView* view)
{
    if (!view) return;
    view->setParent(this);
    AddHandler(view);
    mViews.push_back(view);
    view->show();
    view->AttachedToWindow();
}

TBasicView* TBasicWindow::ChildAt(int index) const
{
    if (index < 0 || index >= static_cast<int>(mViews.size())) return nullptr;
    return mViews[static_cast<size_t>(index)];
}

void TBasicWindow::AddCommonFilter(TMessageFilter* filter)
{
    if (!filter) return;
    filter->SetLooper(this);
    mFilters.emplace_back(filter);
}

bool TBasicWindow::QuitForApplication()
{
    if (!QuitRequested()) return false;
    mClosingForApplication = true;
    close();
    return true;
}

void TBasicWindow::RunOnGuiThread(std::function<void()> change)
{
    if (QThread::currentThread() == thread()) {
        change();
        return;
    }
    // Qt drops the call when the window is gone before it runs.
    QMetaObject::invokeMethod(this, std::move(change), Qt::QueuedConnection);
}

void TBasicWindow::DispatchMessage(platform::Message* message, platform::Handler* target)
{
    for (auto& filter : mFilters) {
        if (!filter->Applies(*message)) continue;
        platform::Handler* retarget = target;
        if (filter->Filter(message, &retarget) == TFilterResult::Skip) return;
        // A filter may only hand the message to another handler of this window.
        if (retarget && retarget->GetLooper() == this) target = retarget;
    }
    platform::Looper::DispatchMessage(message, target);
}

void TBasicWindow::closeEvent(QCloseEvent* event)
{
    if (mClosingForApplication) {
        event->accept();
        return;
    }
    // The close box asks the window, through its own queue, as any quit request does.
    event->ignore();
    PostMessage(platform::kQuitRequestedMessage);
}

void TBasicWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) PostMessage(platform::kLanguageChangedMessage);
    QWidget::changeEvent(event);
}

void TBasicWindow::resizeEvent(QResizeEvent* event)
{
    if (event->oldSize().isValid()) follow_resize_of(this, event->oldSize(), event->size());
    QWidget::resizeEvent(event);
}

// TBasicView

TBasicView::TBasicView(platform::Rect frame, const char* name, uint32_t resizingMode)
    : QWidget(nullptr), platform::Handler(name ? name : ""), mResizingMode(resizingMode),
      mClickCounter(QGuiApplication::styleHints()->mouseDoubleClickInterval(),
                    static_cast<float>(QGuiApplication::styleHints()->mouseDoubleClickDistance()))
{
    setObjectName(QString::fromUtf8(name ? name : ""));
    setGeometry(to_qrect(frame));
}

TBasicView::~TBasicView()
{
    if (platform::Looper* looper = GetLooper()) looper->RemoveHandler(this);
}

void TBasicView::MessageReceived(platform::Message* message)
{
    switch (message->what) {
    case platform::kLanguageChangedMessage: LanguageChanged(); break;
    case kIAPChangedMessage: IAPChanged(message); break;
    default: platform::Handler::MessageReceived(message); break;
    }
}

void TBasicView::AttachedToWindow() {}

void TBasicView::IAPChanged(platform::Message*) {}

void TBasicView::LanguageChanged() {}

TBasicWindow* TBasicView::Window() const
{
    return dynamic_cast<TBasicWindow*>(GetLooper());
}

platform::Rect TBasicView::Frame() const
{
    return from_qrect(geometry());
}

void TBasicView::mousePressEvent(QMouseEvent* event)
{
    int32_t buttons = buttons_of(event->buttons());
    platform::Point point = from_qpointf(event->position());
    int32_t clicks = mClickCounter.Press(buttons, point, static_cast<int64_t>(event->timestamp()));
    ManageMouseDown(point, buttons, clicks);
}

// Qt sends the second press of a double click as its own event; the click counter
// already tells what it is.
void TBasicView::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
}

void TBasicView::mouseMoveEvent(QMouseEvent* event)
{
    ManageMouseMoved(from_qpointf(event->position()));
}

void TBasicView::mouseReleaseEvent(QMouseEvent* event)
{
    ManageMouseUp(from_qpointf(event->position()));
}

void TBasicView::resizeEvent(QResizeEvent* event)
{
    if (event->oldSize().isValid()) follow_resize_of(this, event->oldSize(), event->size());
    QWidget::resizeEvent(event);
}

void follow_resize_of(QWidget* parent, QSize oldSize, QSize newSize)
{
    float dw = static_cast<float>(newSize.width() - oldSize.width());
    float dh = static_cast<float>(newSize.height() - oldSize.height());
    if (dw == 0 && dh == 0) return;
    for (QObject* child : parent->children()) {
        auto* view = dynamic_cast<TBasicView*>(child);
        if (!view) continue;
        view->setGeometry(to_qrect(follow_parent_resize(view->Frame(), view->ResizingMode(), dw, dh)));
    }
}
