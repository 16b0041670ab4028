#include "app/ui/chart_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "app/chart/chart.h"
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

std::string ChartView::LineKindsNearLastClick(const std::array<vemo::Colour, 8>& aspectColours) const {
  const double ratio = devicePixelRatioF();
  const QImage shown = Rendered(ratio);
  const QPoint at(static_cast<int>(std::floor(lastClick_.x() * shown.width() / std::max(1, width()))),
                  static_cast<int>(std::floor(lastClick_.y() * shown.height() / std::max(1, height()))));
  return vemo::chart::LineKindsNear(
      [&shown, at](int dx, int dy) {
        const QPoint p = at + QPoint(dx, dy);
        return shown.valid(p) ? vemo::chart::FromArgb(shown.pixel(p)) : vemo::chart::Canvas::kOutside;
      },
      3, aspectColours);
}

QImage ChartView::Rendered(double ratio) const {
  const QSize device(static_cast<int>(std::lround(width() * ratio)), static_cast<int>(std::lround(height() * ratio)));
  if (device == canvas_.Image().size() || device.isEmpty() || canvas_.WidthTwips() <= 0) return canvas_.Image();
  QImage image(device, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  vemo::chart::Canvas::Replay(canvas_.Operations(), painter, device.width() / double(canvas_.WidthTwips()));
  painter.end();
  image.setDevicePixelRatio(ratio);
  return image;
}

void ChartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), Rendered(devicePixelRatioF()));
}

void ChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    lastClick_ = event->position();
    const QPoint t = ToTwips(event->position().toPoint());
    emit rightClicked(t.x(), t.y());
  }
  QWidget::mousePressEvent(event);
}

}  // namespace vemo::ui
