#pragma once
// What the Copy menu puts on the clipboard, made from the devices without touching
// the clipboard: the screen's text, one graphics page, and the composition of graphics
// and text as the screen shows it (without the cursor).

#include <QFont>
#include <QImage>
#include <string>

#include "machine/screen/ScreenSnapshot.h"

class TBasicRsrc;

// Rows top to bottom, each ended by a line feed: an empty cell is a blank, a right
// half adds nothing, and the blanks after a row's last character are dropped.
std::string screen_copy_text(const TScreenSnapshot& wholeScreen);

// The page's true colours, 640 × 400 unstretched; page −1 is the displayed one. No
// page to show (the displayed page is none) gives a black picture.
QImage graphics_page_image(const TBasicRsrc& rsrc, int page);

// Graphics and text of the whole screen, drawn as the run view draws them.
QImage composition_image(const TBasicRsrc& rsrc, const QFont& font);
