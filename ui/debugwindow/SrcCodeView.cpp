#include "ui/debugwindow/SrcCodeView.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "debugger/DebugProtocol.h"
#include "ui/guibase/ExactText.h"

namespace {

constexpr int BreakPointRole = Qt::UserRole + 1;
constexpr int BreakingRole = Qt::UserRole + 2;

// Draws a row as the source list shows it: background, selection frame, mark, text.
class TSrcCodeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect frame = option.rect;
        painter->save();
        const bool breaking = index.data(BreakingRole).toBool();
        painter->fillRect(frame, breaking ? QColor(TSrcCodeView::BREAKING_COLOR) : QColor(Qt::white));
        if (option.state & QStyle::State_Selected) {
            painter->setPen(QColor(204, 204, 204));
            painter->drawRect(frame.adjusted(0, 0, -1, -1));
        }
        if (index.data(BreakPointRole).toBool()) {
            // A red dot in the margin.
            const int size = std::min(frame.height() - 2, 12);
            painter->setRenderHint(QPainter::Antialiasing);
            painter->setPen(QColor(160, 0, 0));
            painter->setBrush(QColor(220, 30, 30));
            painter->drawEllipse(
                QRect(frame.left() + TSrcCodeView::MARK_LEFT, frame.top() + (frame.height() - size) / 2, size, size));
        }
        painter->setPen(Qt::black);
        painter->setFont(option.font);
        const QRect text = frame.adjusted(TSrcCodeView::MARGIN, 0, 0, 0);
        painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

}  // namespace

int TSrcCodeModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(mLines.Lines().size());
}

QVariant TSrcCodeModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount({})) return {};
    const TSrcLine& line = mLines.Lines()[static_cast<size_t>(index.row())];
    switch (role) {
    // A line separator in a string would draw the line over the next one.
    case Qt::DisplayRole: return shown_text(exact_from_utf8(line.Text));
    case BreakPointRole: return line.BreakPoint;
    case BreakingRole: return line.Breaking;
    default: return {};
    }
}

void TSrcCodeModel::Reset()
{
    beginResetModel();
    endResetModel();
}

void TSrcCodeModel::RowChanged(int row)
{
    const QModelIndex at = index(row);
    emit dataChanged(at, at);
}

TSrcCodeView::TSrcCodeView(std::function<void(const platform::Message&)> report, QWidget* parent)
    : QListView(parent), mModel(new TSrcCodeModel(this)), mReport(std::move(report))
{
    setObjectName("SrcCodeView");
    setModel(mModel);
    setItemDelegate(new TSrcCodeDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

void TSrcCodeView::SetSrcCode(const std::string& text, bool breakAtStart)
{
    mModel->Lines().Set(text);
    mBreakingLine = -1;
    const int first = mModel->Lines().FirstNumberedRow();
    if (breakAtStart && first >= 0) mModel->Lines().Lines()[static_cast<size_t>(first)].BreakPoint = true;
    mModel->Reset();
}

void TSrcCodeView::ClearSrcCode()
{
    mModel->Lines().Clear();
    mBreakingLine = -1;
    mModel->Reset();
}

int32_t TSrcCodeView::FirstLineNum() const
{
    const int first = mModel->Lines().FirstNumberedRow();
    return first < 0 ? -1 : mModel->Lines().Lines()[static_cast<size_t>(first)].LineNum;
}

bool TSrcCodeView::ScrollToSpecifyLineNum(int32_t lineNum)
{
    const int row = mModel->Lines().Row(lineNum);
    if (row < 0) return false;
    scrollTo(mModel->index(row), QAbstractItemView::PositionAtTop);
    return true;
}

void TSrcCodeView::Break(int32_t lineNum)
{
    if (!ScrollToSpecifyLineNum(lineNum)) return;
    Unbreak();
    mBreakingLine = lineNum;
    const int row = mModel->Lines().Row(lineNum);
    mModel->Lines().Lines()[static_cast<size_t>(row)].Breaking = true;
    mModel->RowChanged(row);
}

void TSrcCodeView::Unbreak()
{
    const int row = mModel->Lines().Row(mBreakingLine);
    if (row < 0) return;
    mModel->Lines().Lines()[static_cast<size_t>(row)].Breaking = false;
    mModel->RowChanged(row);
}

void TSrcCodeView::mousePressEvent(QMouseEvent* event)
{
    QListView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || event->position().x() > MARGIN) return;
    const QModelIndex at = indexAt(event->position().toPoint());
    if (!at.isValid()) return;
    TSrcLine& line = mModel->Lines().Lines()[static_cast<size_t>(at.row())];
    if (line.LineNum < 0) return;  // a line without a number can hold no break point
    line.BreakPoint = !line.BreakPoint;
    mModel->RowChanged(at.row());
    platform::Message message(platform::fourcc("bkpc"));
    message.AddInt32(debug_msg::LineNum, line.LineNum);
    message.AddBool("BPSet", line.BreakPoint);
    if (mReport) mReport(message);
}
