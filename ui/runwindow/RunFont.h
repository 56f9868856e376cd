#pragma once
// The run window's screen font: the family "RWFF" at "RWFS" pixels, without
// antialiasing. A family that is not installed is replaced by IPAGothic, never by
// fontconfig's own choice, which has no kana or kanji.

#include <QFont>
#include <string>

#include "machine/devices/BasicRsrc.h"

inline constexpr const char* kRunFontFallback = "IPAGothic";

QFont run_font(const std::string& family, float pixelSize);
// The font from the preferences.
QFont run_font_from_prefs();
// The metrics the devices lay text out with.
TFontHeight font_height_of(const QFont& font);
