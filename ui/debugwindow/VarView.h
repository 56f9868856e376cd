#pragma once
// The variable list: one row per variable ("NAME : value"); an array gets a latch,
// and its element rows ("NAME(i,j) : value") are made when it is first opened. Rows
// show the debug view's own copy of the values (TDebugVarTable), never the machine's.

#include <QTreeWidget>
#include <string>

#include "debugger/DebugVarTable.h"

class TVarView : public QTreeWidget {
public:
    explicit TVarView(QWidget* parent);

    // Rebuilds every row from the table (which outlives the view's use of it).
    void SetVar(const TDebugVarTable* table);
    // Redraws the row of that element, when it has one.
    void UpdateVarInfo(const std::string& name, int32_t element);
    // Rebuilds the variable's row, closed, at its place by name.
    void ResetVar(const std::string& name);
    QTreeWidgetItem* VarItem(const std::string& name) const;

private:
    QTreeWidgetItem* NewVarItem(const TDebugVar& var) const;
    void AddElementRows(QTreeWidgetItem* item);

    const TDebugVarTable* mTable = nullptr;
};
