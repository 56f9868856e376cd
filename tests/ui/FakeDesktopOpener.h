#pragma once
// Stands in for the desktop's opener (xdg-open), which the offscreen platform lacks:
// QDesktopServices hands it every URL of the schemes it is set for. A target that
// uses it lists this header among its sources, so that its slot is moc'ed.

#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <utility>
#include <vector>

class FakeOpener : public QObject {
    Q_OBJECT
public:
    explicit FakeOpener(std::vector<const char*> schemes) : mSchemes(std::move(schemes))
    {
        for (const char* scheme : mSchemes) QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~FakeOpener() override
    {
        for (const char* scheme : mSchemes) QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    std::vector<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.push_back(url); }

private:
    std::vector<const char*> mSchemes;
};
