// The picture box of the main window (picGraphic): shows a chart canvas,
// scaled to the widget so that the twip geometry is the same on every screen,
// and reports right clicks in twips. At 96 dpi the canvas's raster is shown
// pixel for pixel; on a screen of other pixels (a device-pixel ratio of 1.5
// or 2, another logical dpi) the canvas's operations are drawn again at the
// screen's own resolution, so lines, glyphs and text stay sharp.
#pragma once

#include <QImage>
#include <QPointF>
#include <array>
#include <string>
#include <QWidget>

#include "app/chart/canvas.h"

namespace vemo::ui {

class ChartView : public QWidget {
  Q_OBJECT
 public:
  explicit ChartView(QWidget* parent = nullptr);

  vemo::chart::Canvas& Canvas() { return canvas_; }
  const vemo::chart::Canvas& Canvas() const { return canvas_; }
  // Takes the canvas's size in twips as the widget's size and repaints.
  void CanvasChanged();

  // Twip position of a widget position.
  QPoint ToTwips(const QPoint& widgetPosition) const;
  // The kinds of the aspect line nearest to the last right click within 3
  // pixels of the screen, read from the picture as this screen shows it
  // (LineKindsNear); "" when none lies that near.
  std::string LineKindsNearLastClick(const std::array<vemo::Colour, 8>& aspectColours) const;
  // Takes `widgetPosition` as the last right click (for tests; a right
  // press does it).
  void SetLastClick(const QPointF& widgetPosition) { lastClick_ = widgetPosition; }

  // The picture as this view shows it on a screen of `ratio` device pixels
  // to a logical pixel: the raster itself where it matches pixel for pixel,
  // else the operations drawn at the device's resolution.
  QImage Rendered(double ratio) const;

 signals:
  // A right mouse press at a twip position; other buttons do nothing.
  void rightClicked(int xTwips, int yTwips);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  vemo::chart::Canvas canvas_;
  QPointF lastClick_;
};

}  // namespace vemo::ui
