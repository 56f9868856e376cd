#pragma once
// Emptying a menu field before it is filled again.

class QWidget;

// Removes and deletes every item of a menu field: a QComboBox's entries, or every
// action of a QToolButton's menu (a submenu goes with its item). Anything else, and
// null, is left alone.
void delete_mfield_mitems(QWidget* field);
