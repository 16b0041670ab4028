// The picture box of the main window (picGraphic): shows a chart canvas,
// scaled to the widget so that the twip geometry is the same on every screen,
// and reports right clicks in twips.
#pragma once

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
