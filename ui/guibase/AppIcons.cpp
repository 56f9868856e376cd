#include "ui/guibase/AppIcons.h"

namespace {
constexpr QImage::Format kIconFormat = QImage::Format_ARGB32_Premultiplied;

QImage transparent_icon(int size)
{
    QImage icon(size, size, kIconFormat);
    icon.fill(Qt::transparent);
    return icon;
}
}  // namespace

platform::status_t load_icon(const QString& resource, int size, QImage* icon)
{
    if (!icon) return platform::kBadValue;
    QImage read;
    if (!read.load(resource, "PNG")) {
        *icon = transparent_icon(size);
        return platform::kIoError;
    }
    if (read.width() != size || read.height() != size) {
        *icon = transparent_icon(size);
        return platform::kBadData;
    }
    *icon = read.convertToFormat(kIconFormat);
    return platform::kOk;
}

platform::status_t get_icons(QImage* large, QImage* mini)
{
    platform::status_t status = platform::kOk;
    if (large) status = load_icon(kLargeIconResource, kLargeIconSize, large);
    if (mini) {
        platform::status_t miniStatus = load_icon(kMiniIconResource, kMiniIconSize, mini);
        if (status == platform::kOk) status = miniStatus;
    }
    return status;
}
