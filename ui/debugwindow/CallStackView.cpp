#include "ui/debugwindow/CallStackView.h"

namespace {
constexpr int LineRole = Qt::UserRole + 1;

QListWidgetItem* new_row(int32_t lineNum, const std::string& text)
{
    auto* item = new QListWidgetItem(QString::fromStdString(text));
    item->setData(LineRole, lineNum);
    return item;
}
}  // namespace

TCallStackView::TCallStackView(std::function<void(int32_t)> showLine, QWidget* parent)
    : QListWidget(parent), mShowLine(std::move(showLine))
{
    setObjectName("CallStackView");
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item, QListWidgetItem*) {
        if (item == nullptr || !mShowLine) return;
        const int32_t line = item->data(LineRole).toInt();
        if (line >= 0) mShowLine(line);
    });
}

void TCallStackView::ClearCallStack()
{
    clear();
    mHasCurrent = false;
}

void TCallStackView::AddCallStack(int32_t lineNum, const std::string& text)
{
    insertItem(CallCount(), new_row(lineNum, text));
}

void TCallStackView::RemoveCallStack()
{
    if (CallCount() > 0) delete takeItem(CallCount() - 1);
}

void TCallStackView::SetCurLine(int32_t lineNum, const std::string& text)
{
    if (mHasCurrent) delete takeItem(count() - 1);
    addItem(new_row(lineNum, text));
    mHasCurrent = true;
}
