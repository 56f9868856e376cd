#include "ui/widgets/ToolButton.h"

#include <QCursor>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/widgets/ToolBar.h"
#include "ui/widgets/ToolImageQt.h"
#include "ui/widgets/logic/ToolButtonLook.h"

namespace {

QColor qcolor(const rgb_color& c)
{
    return QColor(c.red, c.green, c.blue, c.alpha);
}

// The inclusive right or bottom edge of an image's bounds; -1 without an image
// never counts, callers check for the image first.
float right_edge(const ToolImage& image)
{
    return static_cast<float>(image.width - 1);
}
float bottom_edge(const ToolImage& image)
{
    return static_cast<float>(image.height - 1);
}

}  // namespace

TToolButton::TToolButton(const std::string& name, std::optional<ToolImage> image, const std::string& label,
                         const platform::Message& message, uint32_t behavior, QWidget* parent)
    : QWidget(parent), mBehavior(behavior), mLabel(label), mMessage(message)
{
    setObjectName(QString::fromStdString(name));
    mImages[kStateOff] = std::move(image);
    if (mImages[kStateOff]) mDivider = right_edge(*mImages[kStateOff]) + 6;
    ResizeToPreferred();
    mTip = std::make_unique<WidgetToolTip>(name);
}

TToolButton::TToolButton(const std::string& name, std::optional<ToolImage> image, const platform::Message& message,
                         uint32_t behavior, QWidget* parent)
    : TToolButton(name, std::move(image), "", message, behavior, parent)
{}

TToolButton::TToolButton(SeparatorTag, QWidget* parent) : QWidget(parent)
{
    ResizeToPreferred();
    mTip = std::make_unique<WidgetToolTip>("");
}

TToolButton::~TToolButton() = default;

void TToolButton::ResizeToBounds(float right, float bottom)
{
    resize(static_cast<int>(std::ceil(right)) + 1, static_cast<int>(std::ceil(bottom)) + 1);
}

float TToolButton::MinWidth() const
{
    float width = mImages[kStateOff] ? right_edge(*mImages[kStateOff]) + 6 : 0;
    if (!mLabel.empty())
        width += static_cast<float>(QFontMetricsF(font()).horizontalAdvance(QString::fromStdString(mLabel))) + 6;
    return width;
}

void TToolButton::ResizeToPreferred()
{
    QFontMetricsF metrics(font());
    float text = static_cast<float>(metrics.ascent() + metrics.descent());
    float image = mImages[kStateOff] ? bottom_edge(*mImages[kStateOff]) : 0;
    ResizeToBounds(MinWidth(), std::max(text, image) + 6);
    CalcDrawPoints();
}

void TToolButton::CalcDrawPoints()
{
    QFontMetricsF metrics(font());
    const float bottom = static_cast<float>(height() - 1);
    mImagePoint = QPointF(3, 3);
    mLabelPoint = QPointF(mDivider + 3, metrics.ascent() + (bottom - metrics.ascent() - metrics.descent()) * 0.5);
    update();
}

void TToolButton::SetLabel(const std::string& label)
{
    mLabel = label;
    ResizeToPreferred();
}

void TToolButton::SetDivider(float divider)
{
    mDivider = divider;
    CalcDrawPoints();
}

void TToolButton::SetAlignment(Alignment first, Alignment second)
{
    mFirstAlignment = first;
    mSecondAlignment = second;
    CalcDrawPoints();
}

void TToolButton::AdjustDivider()
{
    if (mImages[kStateOff]) mDivider = right_edge(*mImages[kStateOff]) + 6;
}

int32_t TToolButton::SetTip(const std::string& tip)
{
    return mTip->Tip().SetTip(tip);
}

std::string TToolButton::Tip() const
{
    return mTip->Tip().Tip();
}

void TToolButton::SetValue(int32_t value)
{
    int32_t newValue = value != 0 ? 1 : 0;
    if (value == mValue) return;
    mValue = newValue;
    if (mValue == 1 && mRadioMode) {
        std::vector<TToolButton*> brothers;
        GetBrothers(&brothers);
        for (auto* brother : brothers) brother->SetValue(0);
    }
    update();
}

int32_t TToolButton::SetBehavior(uint32_t behavior)
{
    if (behavior == mBehavior) return 0;
    mBehavior = behavior;
    if (behavior == kPushBehavior) SetValue(0);
    return 0;
}

int32_t TToolButton::SetRadioMode(bool on)
{
    if (on == mRadioMode) return 0;
    if (on && mBehavior == kPushBehavior) return -1;
    mRadioMode = on;
    if (on) SetValue(0);
    std::vector<TToolButton*> brothers;
    GetBrothers(&brothers);
    for (auto* brother : brothers) brother->SetRadioMode(on);
    return 0;
}

void TToolButton::GetBrothers(std::vector<TToolButton*>* brothers) const
{
    if (!mBar) return;
    const int32_t index = mBar->IndexOf(const_cast<TToolButton*>(this));
    for (int32_t i = index - 1; i >= 0; --i) {
        TToolButton* item = mBar->ItemAt(i);
        if (dynamic_cast<TSeparatorButton*>(item)) break;
        brothers->push_back(item);
    }
    for (int32_t i = index + 1; i < mBar->CountItems(); ++i) {
        TToolButton* item = mBar->ItemAt(i);
        if (dynamic_cast<TSeparatorButton*>(item)) break;
        brothers->push_back(item);
    }
}

int32_t TToolButton::SetImage(int32_t state, const ToolImage* image)
{
    if (state < 0 || state >= kToolButtonStates) return -1;
    if (state != kStateOff) {
        // A state image needs a normal image of the same size to go with.
        if (!mImages[kStateOff] || !image) return -1;
        if (image->width != mImages[kStateOff]->width || image->height != mImages[kStateOff]->height) return -1;
    }
    if (image)
        mImages[state] = *image;
    else
        mImages[state].reset();
    if (state == kStateOff) {
        if (image) mDivider = right_edge(*image) + 6;
        ResizeToPreferred();
    }
    update();
    return 0;
}

int32_t TToolButton::SetDefaultImages()
{
    return DeriveMissingImages(&mImages);
}

int32_t TToolButton::ClearImages()
{
    for (int32_t state = 1; state < kToolButtonStates; ++state) mImages[state].reset();
    return 0;
}

ToolButtonState TToolButton::DrawingState() const
{
    bool disabled = !isEnabled() || (mBar && !mBar->IsEnabled());
    bool on = mValue != 0 || (mPressed && mHot);
    return tool_button_state(disabled, on, mHot);
}

void TToolButton::paintEvent(QPaintEvent*)
{
    const ToolButtonState state = DrawingState();
    const ToolButtonLook look = tool_button_look(state);
    QPainter painter(this);
    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.fillRect(rect(), look.panelFace ? palette().color(QPalette::Window) : qcolor(look.face));
    const bool flat = mBar && mBar->IsFlat();
    if (tool_button_draws_edges(state, flat)) {
        const rgb_color topLeft = look.sunken ? COLOR_DARK_BORDER : COLOR_BRIGHT_BORDER;
        const rgb_color bottomRight = look.sunken ? COLOR_BRIGHT_BORDER : COLOR_DARK_BORDER;
        painter.setPen(qcolor(topLeft));
        painter.drawLine(0, bottom, 0, 0);
        painter.drawLine(0, 0, right, 0);
        painter.setPen(qcolor(bottomRight));
        painter.drawLine(right, 0, right, bottom);
        painter.drawLine(right, bottom, 0, bottom);
    }
    const QPointF offset(look.offset, look.offset);
    if (mImages[state]) painter.drawImage(mImagePoint + offset, qimage_from_tool_image(*mImages[state]));
    painter.setPen(qcolor(look.label));
    painter.drawText(mLabelPoint + offset, QString::fromStdString(mLabel));
}

void TToolButton::showEvent(QShowEvent*)
{
    if (mAttached) return;
    mAttached = true;
    Attached();
}

void TToolButton::Attached()
{
    mTip->SetTarget(this);
    SetDefaultImages();
}

bool TToolButton::InBounds(const QPointF& point) const
{
    return rect().contains(point.toPoint());
}

void TToolButton::SetHot(bool hot)
{
    if (hot == mHot) return;
    mHot = hot;
    update();
}

void TToolButton::mousePressEvent(QMouseEvent* event)
{
    if (!isVisible() || !isEnabled()) {
        event->ignore();
        return;
    }
    // Qt keeps sending the pointer's moves here until the button is released.
    mPressed = true;
    update();
}

void TToolButton::mouseMoveEvent(QMouseEvent* event)
{
    // While pressed, crossing the edge lights the button up or off as entering and
    // leaving would.
    if (mPressed) SetHot(InBounds(event->position()));
}

void TToolButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (!isVisible() || !mPressed) return;
    mPressed = false;
    if (!InBounds(event->position())) {
        update();
        return;
    }
    if (mBehavior == kToggleBehavior) {
        if (mRadioMode && mValue == 1) {
            update();
            return;
        }
        mTip->Tip().Hide();
        SetValue(mValue == 0 ? 1 : 0);
        Invoke();
    } else {
        mTip->Tip().Hide();
        update();
        Invoke();
    }
}

void TToolButton::enterEvent(QEnterEvent*)
{
    if (!isVisible()) return;
    if (!mPressed) {
        if (!window()->isActiveWindow() || QGuiApplication::mouseButtons() != Qt::NoButton) return;
    }
    SetHot(true);
}

void TToolButton::leaveEvent(QEvent*)
{
    if (isVisible()) SetHot(false);
}

void TToolButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange) {
        if (!window()->isActiveWindow())
            SetHot(false);
        else if (rect().contains(mapFromGlobal(QCursor::pos())))
            SetHot(true);
    }
    QWidget::changeEvent(event);
}

void TToolButton::Invoke()
{
    mTarget.SendMessage(mMessage);
}

TSeparatorButton::TSeparatorButton(float height, QWidget* parent) : TToolButton(SeparatorTag{}, parent)
{
    ResizeToBounds(8, height);
}

void TSeparatorButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    const int bottom = height() - 1;
    painter.setPen(qcolor(COLOR_DARK_BORDER));
    painter.drawLine(4, 0, 4, bottom);
    painter.setPen(qcolor(COLOR_BRIGHT_BORDER));
    painter.drawLine(5, 0, 5, bottom);
}
