// The picture box of the main window (picGraphic): shows a chart canvas,
// scaled to the widget so that the twip geometry is the same on every screen,
// and reports right clicks in twips. At 96 dpi the canvas's raster is shown
// pixel for pixel; on a screen of other pixels (a device-pixel ratio of 1.5
// or 2, another logical dpi) the canvas's operations are drawn again at the
// screen's own resolution, so lines, glyphs and text stay sharp.
#pragma once

#include <QImage>
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
  // How many twips of the canvas `screenPixels` device pixels of this screen
  // cover (3 device pixels are 45 twips at 96 dpi, 22 at a ratio of 2).
  int ScreenPixelsInTwips(double screenPixels) const;

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
};

}  // namespace vemo::ui
