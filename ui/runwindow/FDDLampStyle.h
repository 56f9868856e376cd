#pragma once
// The drive menus' access lamps: a menu bar item whose action carries the property
// kFDDLampProperty set to true is painted light green with its label in black, in
// place of the style's own drawing; every other item is drawn as the style draws it.

#include <QProxyStyle>

inline constexpr const char* kFDDLampProperty = "fddAccessLamp";
inline constexpr QRgb kFDDAccessLampColor = 0xFF66FF66;

class TFDDLampStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};
