#include "app/ui/chart_view.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/ui/twips.h"

namespace vemo::ui {

ChartView::ChartView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("picGraphic"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  CanvasChanged();
}

void ChartView::CanvasChanged() {
  setFixedSize(TwipsToPixelsX(canvas_.WidthTwips(), this), TwipsToPixelsY(canvas_.HeightTwips(), this));
  update();
}

QPoint ChartView::ToTwips(const QPoint& p) const {
  // Through the widget's size, not a fixed 15: on a screen of another
  // logical dpi the picture is scaled, its twips are not.
  const int w = std::max(1, width());
  const int h = std::max(1, height());
  return {static_cast<int>(static_cast<long long>(p.x()) * canvas_.WidthTwips() / w),
          static_cast<int>(static_cast<long long>(p.y()) * canvas_.HeightTwips() / h)};
}

void ChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Scaled smoothly only when the screen's pixels differ from the raster's;
  // at 96 dpi the raster is shown pixel for pixel.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, size() != canvas_.Image().size());
  painter.drawImage(rect(), canvas_.Image());
}

void ChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    const QPoint t = ToTwips(event->position().toPoint());
    emit rightClicked(t.x(), t.y());
  }
  QWidget::mousePressEvent(event);
}

}  // namespace vemo::ui
