#include "ui/widgets/ToolBar.h"

#include <QPainter>
#include <cmath>

#include "ui/widgets/ToolButton.h"
#include "ui/widgets/logic/ToolButtonLook.h"

namespace {

QColor qcolor(const rgb_color& c)
{
    return QColor(c.red, c.green, c.blue, c.alpha);
}

// Inclusive edges of a child's frame in its parent.
float frame_right(const QWidget* w)
{
    return static_cast<float>(w->x() + w->width() - 1);
}
float bounds_bottom(const QWidget* w)
{
    return static_cast<float>(w->height() - 1);
}

}  // namespace

TToolBar::TToolBar(const std::string& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(QString::fromStdString(name));
    setAutoFillBackground(true);
    ResizeToBounds(0, 0);
}

TToolBar::~TToolBar() = default;

void TToolBar::ResizeToBounds(float right, float bottom)
{
    resize(static_cast<int>(std::ceil(right)) + 1, static_cast<int>(std::ceil(bottom)) + 1);
}

bool TToolBar::AddItem(TToolButton* item, int32_t index)
{
    if (!item || index < 0 || index > CountItems()) return false;
    if (mTallest < bounds_bottom(item)) {
        mTallest = bounds_bottom(item);
        ResizeToBounds(static_cast<float>(width() - 1), mTallest + 6);
    }
    mItems.insert(mItems.begin() + index, item);
    item->setParent(this);
    item->raise();
    item->SetBar(this);
    if (isVisible()) item->show();
    RelocateItems(index);
    return true;
}

bool TToolBar::AddItem(TToolButton* item)
{
    return AddItem(item, CountItems());
}

void TToolBar::AddSeparatorItem()
{
    AddItem(new TSeparatorButton(mTallest));
}

TToolButton* TToolBar::ItemAt(int32_t index) const
{
    return index >= 0 && index < CountItems() ? mItems[index] : nullptr;
}

int32_t TToolBar::IndexOf(TToolButton* item) const
{
    for (int32_t i = 0; i < CountItems(); ++i)
        if (mItems[i] == item) return i;
    return -1;
}

TToolButton* TToolBar::FindItem(const std::string& name) const
{
    const QString wanted = QString::fromStdString(name);
    for (auto* item : mItems)
        if (!item->objectName().isEmpty() && item->objectName() == wanted) return item;
    return nullptr;
}

TToolButton* TToolBar::FindPushed(int32_t start) const
{
    if (start < 0) return nullptr;
    for (int32_t i = start; i < CountItems(); ++i)
        if (mItems[i]->Value() == 1) return mItems[i];
    return nullptr;
}

void TToolBar::RelocateItems(int32_t from)
{
    if (from < 0 || from >= CountItems()) return;
    int x = from == 0 ? 3 : static_cast<int>(frame_right(mItems[from - 1])) + 1;
    for (int32_t i = from; i < CountItems(); ++i) {
        mItems[i]->move(x, 3);
        x = static_cast<int>(frame_right(mItems[i])) + 1;
    }
}

void TToolBar::GetPreferredSize(float* width, float* height) const
{
    *width = mItems.empty() ? 3 : frame_right(mItems.back()) + 3;
    *height = mTallest + 6;
}

int32_t TToolBar::SetFlat(bool flat)
{
    mFlat = flat;
    for (auto* item : mItems) item->update();
    return 0;
}

int32_t TToolBar::SetTargetForItems(const platform::Messenger& target)
{
    for (auto* item : mItems) item->SetTarget(target);
    return 0;
}

int32_t TToolBar::SetTargetForItems(platform::Handler* target)
{
    return SetTargetForItems(platform::Messenger(target));
}

void TToolBar::showEvent(QShowEvent*)
{
    if (mAttached) return;
    mAttached = true;
    // The bar spans its window.
    if (window() != this) resize(window()->width(), height());
}

void TToolBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int right = width() - 1;
    const int bottom = height() - 1;
    painter.setPen(qcolor(COLOR_BRIGHT_BORDER));
    painter.drawLine(0, bottom, 0, 0);
    painter.drawLine(0, 0, right, 0);
    painter.setPen(qcolor(COLOR_DARK_BORDER));
    painter.drawLine(right, 0, right, bottom);
    painter.drawLine(right, bottom, 0, bottom);
}
