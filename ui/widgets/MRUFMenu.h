#pragma once
// The block of a menu that shows a recent-paths list: one item per path, labelled
// with its key and file name, that sends the list's message with the path to a target.

#include <QMenu>

#include "foundation/MRUF.h"
#include "platform/Messenger.h"

// Replaces the items from the list's menu position up to the next separator (or the
// menu's end) with the list's items; returns the menu, or null for no menu.
QMenu* GenerateMenu(const TMRUF& list, QMenu* menu, const platform::Messenger& target);
