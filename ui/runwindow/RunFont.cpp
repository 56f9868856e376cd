#include "ui/runwindow/RunFont.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "foundation/Common.h"

QFont run_font(const std::string& family, float pixelSize)
{
    QString name = QString::fromStdString(family);
    if (!QFontDatabase::hasFamily(name)) name = QString::fromLatin1(kRunFontFallback);
    QFont font(name);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize))));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QFont run_font_from_prefs()
{
    return run_font(gPrefs.RunFontFamily(), gPrefs.RunFontSize.load());
}

TFontHeight font_height_of(const QFont& font)
{
    const QFontMetricsF metrics(font);
    TFontHeight height;
    height.ascent = static_cast<float>(metrics.ascent());
    height.descent = static_cast<float>(metrics.descent());
    height.leading = static_cast<float>(metrics.leading());
    return height;
}
