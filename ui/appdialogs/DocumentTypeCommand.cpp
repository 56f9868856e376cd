#include "ui/appdialogs/DocumentTypeCommand.h"

#include <QFile>

#include "ui/guibase/AppIcons.h"

namespace {

std::string png_of(const QString& resource)
{
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) return std::string();
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace

TBasicListApp basic_list_app(const std::string& executable, const std::string& appName)
{
    TBasicListApp app;
    app.Executable = executable;
    app.AppName = appName;
    app.LargeIconPng = png_of(kLargeIconResource);
    app.MiniIconPng = png_of(kMiniIconResource);
    return app;
}
