#include "ui/debugwindow/VarView.h"

namespace {
constexpr int NameRole = Qt::UserRole + 1;
constexpr int PlaceholderRole = Qt::UserRole + 2;
}  // namespace

TVarView::TVarView(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName("VarView");
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { AddElementRows(item); });
}

QTreeWidgetItem* TVarView::NewVarItem(const TDebugVar& var) const
{
    auto* item = new QTreeWidgetItem(QStringList(QString::fromStdString(var.RowText(0))));
    item->setData(0, NameRole, QString::fromStdString(var.Name));
    if (var.ElementCount() > 0) {
        auto* placeholder = new QTreeWidgetItem(QStringList(QStringLiteral("! Dummy !")));
        placeholder->setData(0, PlaceholderRole, true);
        item->addChild(placeholder);
    }
    return item;
}

void TVarView::SetVar(const TDebugVarTable* table)
{
    clear();
    mTable = table;
    if (mTable == nullptr) return;
    QList<QTreeWidgetItem*> items;
    for (const auto& [name, var] : mTable->Vars()) items.append(NewVarItem(var));
    addTopLevelItems(items);
}

QTreeWidgetItem* TVarView::VarItem(const std::string& name) const
{
    const QString wanted = QString::fromStdString(name);
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (topLevelItem(i)->data(0, NameRole).toString() == wanted) return topLevelItem(i);
    return nullptr;
}

void TVarView::AddElementRows(QTreeWidgetItem* item)
{
    if (mTable == nullptr || item->childCount() == 0 || !item->child(0)->data(0, PlaceholderRole).toBool()) return;
    const TDebugVar* var = mTable->Find(item->data(0, NameRole).toString().toStdString());
    delete item->takeChild(0);
    if (var == nullptr) return;
    QList<QTreeWidgetItem*> rows;
    const int32_t count = var->ElementCount();
    rows.reserve(count);
    for (int32_t element = 1; element <= count; ++element)
        rows.append(new QTreeWidgetItem(QStringList(QString::fromStdString(var->RowText(element)))));
    item->addChildren(rows);
}

void TVarView::UpdateVarInfo(const std::string& name, int32_t element)
{
    QTreeWidgetItem* item = VarItem(name);
    const TDebugVar* var = mTable ? mTable->Find(name) : nullptr;
    if (item == nullptr || var == nullptr) return;
    if (element == 0) {
        item->setText(0, QString::fromStdString(var->RowText(0)));
        return;
    }
    // Elements never shown have no row; they read the table when first opened.
    if (element - 1 >= item->childCount() || item->child(0)->data(0, PlaceholderRole).toBool()) return;
    item->child(element - 1)->setText(0, QString::fromStdString(var->RowText(element)));
}

void TVarView::ResetVar(const std::string& name)
{
    const TDebugVar* var = mTable ? mTable->Find(name) : nullptr;
    if (var == nullptr) return;
    if (QTreeWidgetItem* old = VarItem(name)) delete takeTopLevelItem(indexOfTopLevelItem(old));
    // At its place by name: the rows stand in the table's order.
    int at = 0;
    while (at < topLevelItemCount() && topLevelItem(at)->data(0, NameRole).toString().toStdString() < name) ++at;
    insertTopLevelItem(at, NewVarItem(*var));
}
