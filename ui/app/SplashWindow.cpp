#include "ui/app/SplashWindow.h"

#include <QPainter>

#include "ui/app/AppMessages.h"

namespace {

// Around the image: 2 pixels on the left and top, 2 on the right, and the status bar
// of 14 pixels and 2 more under it.
constexpr int kImageMargin = 2;
constexpr int kStatusHeight = 14;
const QColor kStatusColour(190, 220, 170);
const QColor kFrameLineColour(128, 128, 128);

QImage splash_image()
{
    QImage image(QStringLiteral(":/kivo/splash/splash.png"));
    // Without the image the window keeps a small blank area and its status bar.
    if (image.isNull()) {
        image = QImage(320, 120, QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    return image;
}

}  // namespace

TSplashView::TSplashView(platform::Rect frame)
    : TBasicView(frame, "SplashView", kFollowNone), mImage(splash_image()), mStatBar(new QLabel(this))
{
    const int width = mImage.width() + 2 * kImageMargin;
    const int height = mImage.height() + kStatusHeight + 2 * kImageMargin;
    resize(width, height);
    mStatBar->setObjectName(QStringLiteral("StatBar"));
    mStatBar->setTextFormat(Qt::PlainText);
    mStatBar->setAutoFillBackground(true);
    QPalette palette = mStatBar->palette();
    palette.setColor(QPalette::Window, kStatusColour);
    palette.setColor(QPalette::WindowText, Qt::black);
    mStatBar->setPalette(palette);
    mStatBar->setGeometry(kImageMargin, height - kStatusHeight - kImageMargin, width - 2 * kImageMargin, kStatusHeight);
}

void TSplashView::SetStatBarStr(const char* text)
{
    mStatBar->setText(text ? QString::fromUtf8(" ") + QString::fromUtf8(text) : QString());
    mStatBar->repaint();
}

void TSplashView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QPen(kFrameLineColour, 2));
    const qreal right = width() - 1;
    const qreal bottom = height() - 0.5;
    painter.drawLine(QPointF(right, 0), QPointF(right, bottom));
    painter.drawLine(QPointF(right, bottom), QPointF(0, bottom));
    painter.drawImage(QPoint(kImageMargin, kImageMargin), mImage);
}

TSplashWindow::TSplashWindow(platform::Rect frame) : TBasicWindow(frame, ""), mView(nullptr)
{
    setObjectName(QStringLiteral("SplashWindow"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    mView = new TSplashView(platform::Rect{0, 0, frame.right - frame.left, frame.bottom - frame.top});
    resize(mView->size());
    AddChild(mView);
}

void TSplashWindow::MessageReceived(platform::Message* message)
{
    if (message->what == kSplashStatusMessage) {
        SetSplashStrRqtd(message);
        return;
    }
    TBasicWindow::MessageReceived(message);
}

void TSplashWindow::SetSplashStrRqtd(platform::Message* message)
{
    std::string text;
    if (message->FindString("StatStr", &text) != platform::kOk) return;
    mView->SetStatBarStr(text.c_str());
}
