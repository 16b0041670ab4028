#include "app/ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace vemo::ui {

namespace {

// Qt's logical DPI already carries the user's scaling; 96 when no screen is
// known (the DPI at which 15 twips make a pixel).
double LogicalDpi(const QWidget* widget, bool horizontal) {
  const QScreen* screen = widget ? widget->screen() : nullptr;
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return 96.0;
  const double dpi = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
  return dpi > 0 ? dpi : 96.0;
}

}  // namespace

int TwipsToPixelsX(int twips, const QWidget* widget) {
  return static_cast<int>(std::lround(twips * LogicalDpi(widget, true) / kTwipsPerInch));
}
int TwipsToPixelsY(int twips, const QWidget* widget) {
  return static_cast<int>(std::lround(twips * LogicalDpi(widget, false) / kTwipsPerInch));
}
int PixelsToTwipsX(int pixels, const QWidget* widget) {
  return static_cast<int>(std::lround(pixels * kTwipsPerInch / LogicalDpi(widget, true)));
}
int PixelsToTwipsY(int pixels, const QWidget* widget) {
  return static_cast<int>(std::lround(pixels * kTwipsPerInch / LogicalDpi(widget, false)));
}

}  // namespace vemo::ui
