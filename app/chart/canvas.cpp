#include "app/chart/canvas.h"

#include "app/time/date_texts.h"  // InProgramLanguage

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QFontMetrics>
#include <QImageWriter>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/chart/glyphs.h"
#include "app/time/file_writer.h"

namespace vemo::chart {

namespace {

// Twips to device pixels. The small nudge keeps multiples of 15 twips on their
// pixel although 1/15 is not exact in binary (120 * (1/15.0) may come out a
// hair below 8).
int ToPixel(int twips, double pixelsPerTwip) {
  return static_cast<int>(std::floor(twips * pixelsPerTwip + 1e-6));
}

// Device pixels per nominal pixel (1 on the screen, 2 for a print at 192 dpi):
// widths and font sizes grow with it.
double Magnification(double pixelsPerTwip) { return pixelsPerTwip * kTwipsPerPixel; }

int ScaledWidth(int width, double pixelsPerTwip) {
  return std::max(1, static_cast<int>(std::lround(width * Magnification(pixelsPerTwip))));
}

QColor ToQColor(Colour c) { return QColor(ColourRed(c), ColourGreen(c), ColourBlue(c)); }

// Family and pixel size as the raster and every replay use them: 96 pixels an
// inch at magnification 1.
QFont ToQFont(const Font& font, double pixelsPerTwip) {
  QFont f(QString::fromStdString(font.family));
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.points * 96.0 / 72.0 * Magnification(pixelsPerTwip)))));
  f.setBold(font.bold);
  // Glyphs are not smoothed: they lie on the coloured lines, and smoothed
  // edges would mix their white or lemon with the lines and the black into
  // greys and tints that the right click would take for a kind's colour
  // (the quincunx's grey). Their pixels carry exactly the glyph's colour.
  if (font.family == kGlyphFontFamily) f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

std::string Utf8Of(char32_t codePoint) {
  return QString::fromUcs4(&codePoint, 1).toStdString();
}

// Starfont characters to their symbols; characters without a glyph stay.
std::string MapStarfont(const std::string& text) {
  std::string out;
  for (char c : text) {
    const char32_t symbol = GlyphCodePoint(c);
    if (symbol != 0) out += Utf8Of(symbol);
    else out += c;
  }
  return out;
}

// A solid line: Qt's aliased line includes both end points. A wider line is
// drawn as parallel one-pixel lines side by side across the line's minor axis,
// so that a width-2 line is exactly two pixels wide where it is read back
// (a square pen would make a diagonal line three pixels wide across x).
void SolidLine(QPainter& painter, QPoint a, QPoint b, int width) {
  const bool mostlyHorizontal = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
  const QPoint across = mostlyHorizontal ? QPoint(0, 1) : QPoint(1, 0);
  for (int i = 0; i < width; ++i) painter.drawLine(a + across * i, b + across * i);
}

// A dotted line: every other pixel of the line (Bresenham), starting with the
// first end point. Drawn as points so that the dots fall on exact pixels on
// every device (a dash pattern would be scaled and antialiased by some).
void DottedLine(QPainter& painter, QPoint a, QPoint b, int width) {
  QPolygon dots;
  int x = a.x(), y = a.y();
  const int dx = std::abs(b.x() - x), sx = x < b.x() ? 1 : -1;
  const int dy = -std::abs(b.y() - y), sy = y < b.y() ? 1 : -1;
  int err = dx + dy;
  for (int n = 0;; ++n) {
    if (n % 2 == 0) dots << QPoint(x, y);
    if (x == b.x() && y == b.y()) break;
    const int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x += sx; }
    if (e2 <= dx) { err += dx; y += sy; }
  }
  const bool mostlyHorizontal = dx >= -dy;
  const QPoint across = mostlyHorizontal ? QPoint(0, 1) : QPoint(1, 0);
  for (int i = 0; i < width; ++i) {
    painter.drawPoints(dots.translated(across * i));
  }
}

void ExecuteOn(QPainter& painter, const Operation& op, double ppt, bool vector);

// Lines and points keep their exact colours; only text is smoothed. On a
// vector device (SVG) a wide line is one line with a wide pen: the side-by-
// side pixel lines of the raster would be two lines there.
void ExecuteAll(QPainter& painter, const Operation* ops, size_t count, double ppt) {
  // SVG and PDF take a line as a stroked path; a raster gets it pixel by pixel.
  const QPaintEngine* engine = painter.paintEngine();
  const bool vector = engine != nullptr && (engine->type() == QPaintEngine::SVG || engine->type() == QPaintEngine::Pdf);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  for (size_t i = 0; i < count; ++i) ExecuteOn(painter, ops[i], ppt, vector);
  painter.restore();
}

void ExecuteOn(QPainter& painter, const Operation& op, double ppt, bool vector) {
  const QColor colour = ToQColor(op.colour);
  switch (op.kind) {
    case Operation::Kind::Clear:
      painter.fillRect(QRect(0, 0, static_cast<int>(std::ceil(op.x2 * ppt - 1e-6)),
                             static_cast<int>(std::ceil(op.y2 * ppt - 1e-6))),
                       colour);
      break;
    case Operation::Kind::Line: {
      QPen pen(colour);
      pen.setWidth(1);
      painter.setPen(pen);
      const QPoint a(ToPixel(op.x1, ppt), ToPixel(op.y1, ppt));
      const QPoint b(ToPixel(op.x2, ppt), ToPixel(op.y2, ppt));
      const int width = ScaledWidth(op.width, ppt);
      if (op.dotted) {
        DottedLine(painter, a, b, width);
      } else if (vector) {
        pen.setWidth(width);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(a, b);
      } else {
        SolidLine(painter, a, b, width);
      }
      break;
    }
    case Operation::Kind::FilledCircle: {
      painter.setPen(QPen(colour));
      painter.setBrush(colour);
      const QPoint centre(ToPixel(op.x1, ppt), ToPixel(op.y1, ppt));
      const int r = static_cast<int>(std::lround(op.radius * ppt));
      painter.drawEllipse(centre, r, r);
      painter.setBrush(Qt::NoBrush);
      break;
    }
    case Operation::Kind::Point: {
      const int w = ScaledWidth(op.width, ppt);
      painter.fillRect(QRect(ToPixel(op.x1, ppt), ToPixel(op.y1, ppt), w, w), colour);
      break;
    }
    case Operation::Kind::Text: {
      const QFont font = ToQFont(op.font, ppt);
      painter.setFont(font);
      painter.setPen(QPen(colour));
      const int ascent = QFontMetrics(font, painter.device()).ascent();
      painter.drawText(QPoint(ToPixel(op.x1, ppt), ToPixel(op.y1, ppt) + ascent),
                       QString::fromStdString(op.text));
      break;
    }
  }
}

}  // namespace

unsigned int ToArgb(Colour colour) {
  return 0xFF000000u | (static_cast<unsigned int>(ColourRed(colour)) << 16) |
         (static_cast<unsigned int>(ColourGreen(colour)) << 8) |
         static_cast<unsigned int>(ColourBlue(colour));
}

Colour FromArgb(unsigned int argb) {
  return Rgb(static_cast<int>((argb >> 16) & 0xFF), static_cast<int>((argb >> 8) & 0xFF),
             static_cast<int>(argb & 0xFF));
}

Canvas::Canvas(int widthTwips, int heightTwips, double scale) : scale_(scale > 0 ? scale : 1.0) {
  Resize(widthTwips, heightTwips);
}

void Canvas::Resize(int widthTwips, int heightTwips) {
  widthTwips_ = std::max(0, widthTwips);
  heightTwips_ = std::max(0, heightTwips);
  const double ppt = scale_ / kTwipsPerPixel;
  image_ = QImage(static_cast<int>(std::ceil(widthTwips_ * ppt - 1e-6)),
                  static_cast<int>(std::ceil(heightTwips_ * ppt - 1e-6)), QImage::Format_RGB32);
  image_.fill(ToArgb(Rgb(255, 255, 255)));
  operations_.clear();
}

void Canvas::Clear(Colour background) {
  operations_.clear();
  Operation op;
  op.kind = Operation::Kind::Clear;
  op.x2 = widthTwips_;
  op.y2 = heightTwips_;
  op.colour = background;
  Execute(op);
}

void Canvas::Line(int x1, int y1, int x2, int y2, Colour colour, int width, bool dotted) {
  Operation op;
  op.kind = Operation::Kind::Line;
  op.x1 = x1;
  op.y1 = y1;
  op.x2 = x2;
  op.y2 = y2;
  op.width = std::max(1, width);
  op.dotted = dotted;
  op.colour = colour;
  Execute(op);
}

void Canvas::FilledCircle(int cx, int cy, int radius, Colour colour) {
  Operation op;
  op.kind = Operation::Kind::FilledCircle;
  op.x1 = cx;
  op.y1 = cy;
  op.radius = radius;
  op.colour = colour;
  Execute(op);
}

void Canvas::Point(int x, int y, Colour colour, int width) {
  Operation op;
  op.kind = Operation::Kind::Point;
  op.x1 = x;
  op.y1 = y;
  op.width = std::max(1, width);
  op.colour = colour;
  Execute(op);
}

void Canvas::Text(int x, int y, const std::string& utf8, const Font& font, Colour colour) {
  Operation op;
  op.kind = Operation::Kind::Text;
  op.x1 = x;
  op.y1 = y;
  op.colour = colour;
  op.font = font;
  op.text = utf8;
  if (font.family == kStarfontFamily) {
    op.font.family = kGlyphFontFamily;
    op.text = MapStarfont(utf8);
  }
  Execute(op);
}

int Canvas::TextWidthTwips(const std::string& utf8, const Font& font) const {
  Font f = font;
  std::string text = utf8;
  if (font.family == kStarfontFamily) {
    f.family = kGlyphFontFamily;
    text = MapStarfont(utf8);
  }
  const double ppt = scale_ / kTwipsPerPixel;
  const QFontMetrics metrics(ToQFont(f, ppt), &image_);
  return static_cast<int>(std::lround(metrics.horizontalAdvance(QString::fromStdString(text)) / ppt));
}

Colour Canvas::PixelAt(int xTwips, int yTwips) const {
  const double ppt = scale_ / kTwipsPerPixel;
  const int x = ToPixel(xTwips, ppt);
  const int y = ToPixel(yTwips, ppt);
  if (xTwips < 0 || yTwips < 0 || x >= image_.width() || y >= image_.height()) return kOutside;
  // Straight from the scanline: the placement test reads some 800 pixels per
  // try, and QImage::pixel() checks and converts formats on every call.
  const auto* line = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
  return FromArgb(line[x]);
}

void Canvas::Replay(const std::vector<Operation>& operations, QPainter& painter, double pixelsPerTwip) {
  ExecuteAll(painter, operations.data(), operations.size(), pixelsPerTwip);
}

void Canvas::Append(const std::vector<Operation>& operations) {
  if (operations.empty()) return;
  operations_.insert(operations_.end(), operations.begin(), operations.end());
  if (image_.isNull()) return;
  QPainter painter(&image_);
  ExecuteAll(painter, operations.data(), operations.size(), scale_ / kTwipsPerPixel);
}

void Canvas::Execute(const Operation& op) {
  operations_.push_back(op);
  if (image_.isNull()) return;
  QPainter painter(&image_);
  ExecuteAll(painter, &op, 1, scale_ / kTwipsPerPixel);
}

std::string Canvas::BmpBytes() const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  // Qt writes a Format_RGB32 image as a 24-bit BMP.
  QImageWriter(&buffer, "BMP").write(image_);
  return bytes.toStdString();
}

std::string Canvas::SaveBmp(const std::string& path) const {
  const FileWriteResult written = WriteFileWhole(path, BmpBytes());
  return written.ok ? "" : InProgramLanguage("Cannot write ", "Schreiben nicht m\u00F6glich: ") + FileWriteFailureText(path, written);
}

}  // namespace vemo::chart
