#include "ui/guibase/DesktopOpen.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

platform::status_t show_help(const char* path)
{
    if (!path || !*path) return platform::kBadValue;
    QFileInfo file(QString::fromUtf8(path));
    // The opener is not waited for, so a file it cannot show is caught here.
    if (!file.isFile() || !file.isReadable()) return platform::kIoError;
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()))) return platform::kError;
    return platform::kOk;
}

platform::status_t show_url(const char* url)
{
    if (!url || !*url) return platform::kBadValue;
    QUrl address(QString::fromUtf8(url), QUrl::StrictMode);
    // A scheme also keeps the text from reaching the opener as one of its options.
    if (!address.isValid() || address.isRelative()) return platform::kBadValue;
    if (!QDesktopServices::openUrl(address)) return platform::kError;
    return platform::kOk;
}
