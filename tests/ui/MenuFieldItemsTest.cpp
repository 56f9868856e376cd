#include "ui/guibase/MenuFieldItems.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QToolButton>
#include <vector>

namespace {

TEST(MenuFieldItems, ComboBoxIsEmptied)
{
    QComboBox combo;
    combo.addItems({QStringLiteral("Shift-JIS"), QStringLiteral("JIS"), QStringLiteral("UTF-8")});
    delete_mfield_mitems(&combo);
    EXPECT_EQ(combo.count(), 0);
}

TEST(MenuFieldItems, MenuItemsAndSubmenusAreDeleted)
{
    QToolButton field;
    auto* menu = new QMenu(&field);
    field.setMenu(menu);
    // An item made elsewhere goes as well: the menu field's items are its own.
    auto* foreign = new QAction(QStringLiteral("Foreign"), &field);
    menu->addAction(foreign);
    std::vector<QPointer<QObject>> items = {menu->addAction(QStringLiteral("Timidity")), foreign};
    QMenu* submenu = menu->addMenu(QStringLiteral("More"));
    items.push_back(submenu);
    items.push_back(submenu->addAction(QStringLiteral("FluidSynth")));

    delete_mfield_mitems(&field);
    EXPECT_TRUE(menu->actions().isEmpty());
    for (const QPointer<QObject>& item : items) EXPECT_TRUE(item.isNull());
    // The menu itself stays, ready to be filled again.
    EXPECT_EQ(field.menu(), menu);
}

TEST(MenuFieldItems, OtherWidgetsAreLeftAlone)
{
    QLineEdit edit(QStringLiteral("kept"));
    delete_mfield_mitems(&edit);
    delete_mfield_mitems(nullptr);
    QToolButton noMenu;
    delete_mfield_mitems(&noMenu);
    EXPECT_EQ(edit.text(), QStringLiteral("kept"));
}

}  // namespace
