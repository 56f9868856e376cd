#include "ui/debugwindow/CallStackView.h"

#include "ui/guibase/ExactText.h"

namespace {
constexpr int LineRole = Qt::UserRole + 1;

QListWidgetItem* new_row(int32_t lineNum, const std::string& text)
{
    auto* item = new QListWidgetItem(shown_text(exact_from_utf8(text)));
    item->setData(LineRole, lineNum);
    return item;
}
}  // namespace

TCallStackView::TCallStackView(std::function<void(int32_t)> showLine, QWidget* parent)
    : QListWidget(parent), mShowLine(std::move(showLine))
{
    setObjectName("CallStackView");
    setSelectionMode(QAbstractItemView::SingleSelection);
    addItem(new_row(-1, std::string()));
    connect(this, &QListWidget::itemSelectionChanged, this, [this] { RowChosen(); });
}

void TCallStackView::RowChosen()
{
    const QList<QListWidgetItem*> chosen = selectedItems();
    // Empty also when the deselection below calls back here.
    if (chosen.isEmpty()) return;
    const int32_t line = chosen.first()->data(LineRole).toInt();
    // A row without a line sends nothing and stays chosen.
    if (line <= 0) return;
    if (mShowLine) mShowLine(line);
    clearSelection();
}

void TCallStackView::ClearCallStack()
{
    clear();
    addItem(new_row(-1, std::string()));
}

void TCallStackView::AddCallStack(int32_t lineNum, const std::string& text)
{
    insertItem(CallCount(), new_row(lineNum, text));
}

void TCallStackView::RemoveCallStack()
{
    if (CallCount() > 0) delete takeItem(CallCount() - 1);
}

// The row stays in place: taking it out would move a selection to the row above.
void TCallStackView::SetCurLine(int32_t lineNum, const std::string& text)
{
    QListWidgetItem* current = item(count() - 1);
    current->setText(shown_text(exact_from_utf8(text)));
    current->setData(LineRole, lineNum);
}
