#pragma once
// The application's own icons, PNG images built into the program as Qt resources.

#include <QImage>
#include <QString>

#include "platform/Status.h"

// Where the icons are, and the size of each side.
inline const QString kLargeIconResource = QStringLiteral(":/kivo/icons/app-32.png");
inline const QString kMiniIconResource = QStringLiteral(":/kivo/icons/app-16.png");
inline constexpr int kLargeIconSize = 32;
inline constexpr int kMiniIconSize = 16;

// Fills `large` with the 32 by 32 icon and `mini` with the 16 by 16 one; a null
// argument is skipped. Never throws: an icon that cannot be read is a fully
// transparent image of its size, and the result is the status of that failure
// (0 when every icon asked for was read).
platform::status_t get_icons(QImage* large, QImage* mini);

// Reads the PNG `resource` into `icon` as a `size` by `size` image. On failure `icon`
// is a fully transparent image of that size: kIoError when the resource is missing or
// no PNG, kBadData when its size is another.
platform::status_t load_icon(const QString& resource, int size, QImage* icon);
