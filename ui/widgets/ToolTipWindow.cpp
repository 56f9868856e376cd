#include "ui/widgets/ToolTipWindow.h"

#include <QLabel>
#include <QPainter>

#include "ui/widgets/QtTipScheduler.h"
#include "ui/widgets/logic/ToolButtonLook.h"

TToolTipWindow::TToolTipWindow(const std::string& name, const std::string& tip, platform::bigtime_t showTime,
                               platform::Point where, TipScheduler* scheduler)
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), mScheduler(scheduler)
{
    setObjectName(QString::fromStdString(name));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* text = new QLabel(QString::fromStdString(" " + tip + " "), this);
    text->setObjectName(QString::fromStdString(tip));
    QPalette palette = text->palette();
    const rgb_color bg = FUC_COLOR_TOOL_TIP_WIN_BG;
    palette.setColor(QPalette::Window, QColor(bg.red, bg.green, bg.blue, bg.alpha));
    text->setPalette(palette);
    text->setAutoFillBackground(true);
    text->adjustSize();
    // The text is exactly as large as " text " and stands at the point given; the thin
    // border lies around it, so that the tip has an edge over a pale window too.
    // Nothing moves the window back onto the screen.
    text->move(kBorder, kBorder);
    setFixedSize(text->width() + 2 * kBorder, text->height() + 2 * kBorder);
    move(static_cast<int>(where.x) - kBorder, static_cast<int>(where.y) - kBorder);
    QPointer<TToolTipWindow> self(this);
    mQuitTimer = mScheduler->Start(showTime, [self] {
        if (self) {
            self->mQuitTimer = 0;
            self->close();
        }
    });
}

void TToolTipWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QColor(kTipBorder.red, kTipBorder.green, kTipBorder.blue, kTipBorder.alpha));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

TToolTipWindow::~TToolTipWindow()
{
    Detach();
}

void TToolTipWindow::Detach()
{
    if (mScheduler && mQuitTimer != 0) mScheduler->Cancel(mQuitTimer);
    mQuitTimer = 0;
    mScheduler = nullptr;
}

// Open windows go with the application, which deletes its top-level widgets.
QtTipWindows::~QtTipWindows()
{
    for (auto& window : mWindows)
        if (window) window->Detach();
}

std::vector<QWidget*> QtTipWindows::OpenWindows() const
{
    std::vector<QWidget*> open;
    for (const auto& window : mWindows)
        if (window && window->isVisible()) open.push_back(window.data());
    return open;
}

bool QtTipWindows::AnyOpen() const
{
    for (QWidget* window : OpenWindows())
        if (window->objectName().contains(QStringLiteral("TlTipWin_"))) return true;
    return false;
}

bool QtTipWindows::Close(const std::string& name)
{
    const QString wanted = QString::fromStdString(name);
    for (QWidget* window : OpenWindows()) {
        if (window->objectName() == wanted) {
            window->close();
            return true;
        }
    }
    return false;
}

void QtTipWindows::Open(const std::string& name, const std::string& text, platform::bigtime_t showTime,
                        platform::Point where)
{
    // Windows that have closed leave the list as new ones come.
    std::erase_if(mWindows, [](const QPointer<TToolTipWindow>& w) { return w.isNull(); });
    auto* window = new TToolTipWindow(name, text, showTime, where, mScheduler);
    mWindows.emplace_back(window);
    window->show();
}

QtTipWindows& QtTipWindows::Shared()
{
    static QtTipWindows windows(&QtTipScheduler::Shared());
    return windows;
}
