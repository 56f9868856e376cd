#pragma once
// The source list: one row per program line, a margin with the break-point marks and
// the breaking line in 255, 204, 204. A press at x ≤ 25 toggles the row's mark and
// reports it ('bkpc' with "LineNum" and "BPSet"); a press further right only selects.

#include <QAbstractListModel>
#include <QListView>
#include <functional>

#include "debugger/SrcCodeLines.h"
#include "platform/Message.h"

class TSrcCodeModel : public QAbstractListModel {
public:
    explicit TSrcCodeModel(QObject* parent) : QAbstractListModel(parent) {}
    int rowCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    TSrcCodeLines& Lines() { return mLines; }
    // Tells the list that everything, or one row, changed.
    void Reset();
    void RowChanged(int row);

private:
    TSrcCodeLines mLines;
};

class TSrcCodeView : public QListView {
public:
    static constexpr int MARGIN = 25;
    static constexpr int MARK_LEFT = 5;
    static constexpr QRgb BREAKING_COLOR = qRgb(255, 204, 204);

    // `report` receives the 'bkpc' messages.
    TSrcCodeView(std::function<void(const platform::Message&)> report, QWidget* parent);

    // The program text; the marks of the earlier run go, and with "BrkS" the first
    // numbered line gets one.
    void SetSrcCode(const std::string& text, bool breakAtStart);
    void ClearSrcCode();
    std::string Line(int32_t lineNum) const { return mModel->Lines().Line(lineNum); }
    // Puts the line at the top; false when no row has that number.
    bool ScrollToSpecifyLineNum(int32_t lineNum);
    void Break(int32_t lineNum);
    void Unbreak();
    const TSrcCodeLines& Lines() const { return mModel->Lines(); }
    // The line number of the first numbered row (−1 when none).
    int32_t FirstLineNum() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    TSrcCodeModel* mModel;
    std::function<void(const platform::Message&)> mReport;
    int32_t mBreakingLine = -1;
};
