#include "app/chart/report_pages.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>

#include <algorithm>

#include "app/chart/saved_picture.h"
#include "app/aspects/vocabulary.h"
#include "app/time/date_texts.h"  // kGerman

namespace vemo::chart {

namespace {

QString FromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

constexpr double kLargestPoints = 10.0;
constexpr double kSmallestPoints = 6.0;

QFont Fixed(double points) {
  QFont font(QStringLiteral("DejaVu Sans Mono"));
  font.setStyleHint(QFont::Monospace);
  font.setPointSizeF(points);
  return font;
}

}  // namespace

bool PaintReport(QPagedPaintDevice& device, const std::string& title, const std::vector<std::string>& lines) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  // Device units inside the margins, from their top left.
  const QRectF room = device.pageLayout().paintRectPixels(device.logicalDpiX());
  const double width = room.width();
  const double height = room.height();

  // The largest size, in steps of half a point, at which the longest line fits.
  double points = kLargestPoints;
  for (; points > kSmallestPoints; points -= 0.5) {
    const QFontMetricsF metrics(Fixed(points), &device);
    double widest = 0.0;
    for (const std::string& line : lines) widest = std::max(widest, metrics.horizontalAdvance(FromUtf8(line)));
    if (widest <= width) break;
  }
  const QFont body = Fixed(points);
  QFont heading(QStringLiteral("DejaVu Sans"));
  heading.setPointSizeF(12.0);
  heading.setBold(true);
  QFont foot(QStringLiteral("DejaVu Sans"));
  foot.setPointSizeF(8.0);
  const QFontMetricsF bodyMetrics(body, &device);
  // A line still too wide (the prose of a natal chart) is wrapped at its
  // blanks, so that no word is lost at the margin.
  std::vector<QString> shown;
  for (const std::string& line : lines) {
    QString rest = FromUtf8(line);
    while (bodyMetrics.horizontalAdvance(rest) > width) {
      qsizetype cut = rest.size();
      while (cut > 1 && bodyMetrics.horizontalAdvance(rest.left(cut)) > width) --cut;
      const qsizetype blank = rest.lastIndexOf(QLatin1Char(' '), cut);
      if (blank > 0) cut = blank;
      shown.push_back(rest.left(cut));
      rest = rest.mid(cut).trimmed();
    }
    shown.push_back(rest);
  }
  const QFontMetricsF footMetrics(foot, &device);
  const double step = bodyMetrics.lineSpacing();
  const double footRoom = 2.0 * footMetrics.lineSpacing();

  // The title's height on the first page, wrapped to the width.
  const QRectF titleBox =
      QFontMetricsF(heading, &device).boundingRect(QRectF(0, 0, width, height), Qt::TextWordWrap, FromUtf8(title));
  const double titleRoom = title.empty() ? 0.0 : titleBox.height() + step;

  // Lines per page: the first page has the title above them.
  const auto fits = [&](bool first) {
    return std::max(1, static_cast<int>((height - footRoom - (first ? titleRoom : 0.0)) / step));
  };
  std::vector<std::size_t> starts{0};
  for (std::size_t at = 0; at < shown.size();) {
    at += static_cast<std::size_t>(fits(starts.size() == 1));
    if (at < shown.size()) starts.push_back(at);
  }
  const int pages = static_cast<int>(starts.size());
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !device.newPage()) return false;
    double y = 0.0;
    if (page == 0 && !title.empty()) {
      painter.setFont(heading);
      painter.drawText(QRectF(0, 0, width, titleBox.height()), Qt::TextWordWrap, FromUtf8(title));
      y = titleRoom;
    }
    painter.setFont(body);
    const std::size_t end = page + 1 < pages ? starts[static_cast<std::size_t>(page) + 1] : shown.size();
    for (std::size_t i = starts[static_cast<std::size_t>(page)]; i < end; ++i, y += step) {
      painter.drawText(QRectF(0, y, width, step), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, shown[i]);
    }
    painter.setFont(foot);
    painter.drawText(QRectF(0, height - footMetrics.lineSpacing(), width, footMetrics.lineSpacing()),
                     Qt::AlignHCenter | Qt::AlignBottom, (NamesLanguage() == kGerman ? QStringLiteral("Seite %1 von %2") : QStringLiteral("Page %1 of %2"))
                         .arg(page + 1)
                         .arg(pages));
  }
  return painter.end();
}

std::string SaveReportPdf(const std::string& path, const std::string& title, const std::vector<std::string>& lines,
                          Paper paper) {
  return WritePdf(path, title, paper, [&](QPagedPaintDevice& pages) { return PaintReport(pages, title, lines); });
}

}  // namespace vemo::chart
