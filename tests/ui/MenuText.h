#pragma once
// A menu item's text as the menu shows it, and the key it gives the item: "&" before a
// character makes that character the item's mnemonic and is not shown; "&&" shows "&".

#include <QAction>
#include <QKeySequence>
#include <QString>
#include <string>

inline std::string shown_menu_text(const QAction* action)
{
    const QString text = action->text();
    QString shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size()) ++i;
        shown += text.at(i);
    }
    return shown.toStdString();
}

// Alt with the mnemonic's key; empty for an item without one.
inline QKeySequence mnemonic_of(const QAction* action)
{
    return QKeySequence::mnemonic(action->text());
}
