// Window geometry in twips, the unit the window's sizes are given in:
// 1440 twips to the inch, so 15 twips to a pixel on a 96-dpi screen. The
// conversion goes through the screen's logical DPI so that the window and its
// cells grow with the user's scaling on high-DPI screens.
#pragma once

class QWidget;

namespace vemo::ui {

inline constexpr int kTwipsPerInch = 1440;

// Pixels of `twips` on the screen of `widget` (the primary screen when the
// widget has none yet), rounded to the nearest pixel.
int TwipsToPixelsX(int twips, const QWidget* widget);
int TwipsToPixelsY(int twips, const QWidget* widget);
// Twips of `pixels` on the same screen.
int PixelsToTwipsX(int pixels, const QWidget* widget);
int PixelsToTwipsY(int pixels, const QWidget* widget);

}  // namespace vemo::ui
