#include "app/chart/saved_picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <QSvgGenerator>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <utility>

#include "app/aspects/vocabulary.h"
#include "app/chart/chart.h"
#include "app/time/date_texts.h"  // kGerman
#include "app/time/file_writer.h"
#include "platform/pexalune/pexalune.h"

namespace vemo::chart {

namespace {

// Caption strip, twips: margins, line pitch and fonts.
constexpr int kMargin = 120;
constexpr int kLinePitch = 240;
constexpr int kColumnGap = 360;
const Font kTitleFont{"Arial", 9.0, true};
const Font kDateFont{"Arial", 8.5, false};
const Font kHeaderFont{"Arial", 8.0, false};
const Font kNameFont{"Arial", 10.0, true};

QString FromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// The kept BMP's names: the wanted one, then "<stem>-1.bmp", "<stem>-2.bmp"
// ... in its folder.
std::vector<std::string> KeptBmpNames(const std::string& wanted) {
  const std::size_t slash = wanted.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? wanted : wanted.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string suffix = dot == std::string::npos ? "" : name.substr(dot);
  const std::string prefix = slash == std::string::npos ? "" : wanted.substr(0, slash + 1);
  std::vector<std::string> names{wanted};
  for (int n = 1; n < 1000; ++n) names.push_back(prefix + base + "-" + std::to_string(n) + suffix);
  return names;
}

// Keeps the intermediate BMP under the BMP name, or under the first free
// numbered variant of it; an existing file is never replaced. "" when it
// could not be kept (the temporary file then goes).
std::string KeepBmp(TemporaryFile& bmp, const std::string& bmpPath) {
  std::string error;
  const std::string kept = MoveToFreeName(bmp.Path(), KeptBmpNames(bmpPath), &error);
  if (!kept.empty()) bmp.Keep();
  return kept;
}

// text with every `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; !from.empty() && (at = text.find(from, at)) != std::string::npos; at += to.size()) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string CannotWrite(const std::string& path, const FileWriteResult& result) {
  return "Cannot write " + FileWriteFailureText(path, result);
}

}  // namespace

void ComposeSavedPicture(const Canvas& chart, const PictureCaption& caption, Canvas& out) {
  std::vector<std::string> header = caption.headerLines;
  header.push_back("v. " + caption.version);
  int headerWidth = 0;
  for (size_t i = 0; i < header.size(); ++i) {
    headerWidth = std::max(headerWidth, chart.TextWidthTwips(header[i], i == 0 ? kNameFont : kHeaderFont));
  }
  // The title, what the picture shows when that is not the whole chart, and
  // the dates.
  std::vector<std::pair<std::string, Font>> left{{caption.title, kTitleFont}};
  if (!caption.subject.empty()) left.emplace_back(caption.subject, kDateFont);
  for (const std::string& line : caption.dateLines) left.emplace_back(line, kDateFont);
  int textWidth = 0;
  for (const auto& [line, font] : left) textWidth = std::max(textWidth, chart.TextWidthTwips(line, font));

  const int lines = static_cast<int>(std::max(header.size(), left.size()));
  const int width = std::max(chart.WidthTwips(), kMargin + textWidth + kColumnGap + headerWidth + kMargin);
  const int height = chart.HeightTwips() + 2 * kMargin + lines * kLinePitch;
  out.Resize(width, height);
  out.Clear(kChartBackground);
  out.Append(chart.Operations());

  int y = chart.HeightTwips() + kMargin;
  for (const auto& [line, font] : left) {
    out.Text(kMargin, y, line, font, kBlack);
    y += kLinePitch;
  }
  y = chart.HeightTwips() + kMargin;
  for (size_t i = 0; i < header.size(); ++i, y += kLinePitch) {
    out.Text(width - kMargin - headerWidth, y, header[i], i == 0 ? kNameFont : kHeaderFont, kHeaderGrey);
  }
}

std::string BmpPathOf(const std::string& pngPath) {
  // Back over at most three UTF-8 characters of the file name.
  size_t cut = pngPath.size();
  for (int characters = 0; characters < 3 && cut > 0; ++characters) {
    size_t start = cut - 1;
    while (start > 0 && (static_cast<unsigned char>(pngPath[start]) & 0xC0) == 0x80) --start;
    if (pngPath[start] == '/' || pngPath[start] == '\\') break;
    cut = start;
  }
  return pngPath.substr(0, cut) + "bmp";
}

Converter DefaultConverter() { return &convert_graphics_file_3; }

bool ConvertBmpToPng(const std::string& bmpPath, const std::string& pngPath, bool deleteBmpOnSuccess,
                     bool deletePngOnFailure, std::string& message, const Converter& convert) {
  // One more than the converter may write, so a message of the full 255
  // characters still ends in a NUL here.
  std::array<char, kConverterMessageChars + 1> buffer{};
  const int length = convert(bmpPath.c_str(), pngPath.c_str(), buffer.data());
  message.assign(buffer.data(), static_cast<size_t>(std::clamp(length, 0, kConverterMessageChars)));
  std::error_code ignored;
  if (message == "No Error") {
    if (deleteBmpOnSuccess) std::filesystem::remove(std::filesystem::u8path(bmpPath), ignored);
    return true;
  }
  if (deletePngOnFailure) std::filesystem::remove(std::filesystem::u8path(pngPath), ignored);
  return false;
}

SaveResult SaveThroughConverter(const Canvas& picture, const std::string& pngPath, const Converter& convert) {
  SaveResult result;
  // The converter writes the PNG into the replacement's temporary file,
  // which takes the chosen name only when the conversion succeeded.
  FileReplacement png(pngPath);
  if (!png.Ready()) {
    result.reason = CannotWrite(pngPath, png.Result());
    return result;
  }
  TemporaryFile bmp(png.Folder(), ".bmp", true);
  if (!bmp.Created() || !bmp.Write(picture.BmpBytes()) || !bmp.FlushAndClose()) {
    result.reason = CannotWrite(pngPath, {false, bmp.Error(), png.Result().earlierFileKept});
    return result;
  }
  std::string message;
  if (!ConvertBmpToPng(bmp.Path(), png.TemporaryPath(), false, false, message, convert)) {
    result.conversionFailed = true;
    result.path = KeepBmp(bmp, BmpPathOf(pngPath));
    // The converter names the files it was given; the user knows only the
    // chosen name and the kept BMP.
    result.reason = Replaced(Replaced(message, png.TemporaryPath(), pngPath), bmp.Path(),
                             result.path.empty() ? "the BMP" : result.path);
    return result;
  }
  const FileWriteResult written = png.Commit();
  if (!written.ok) {
    result.reason = CannotWrite(pngPath, written);
    return result;
  }
  result.ok = true;
  result.path = pngPath;
  return result;
}

QImage RenderPicture(const Canvas& picture, int scale) {
  scale = std::clamp(scale, 1, 3);
  const double ppt = static_cast<double>(scale) / kTwipsPerPixel;
  QImage image(static_cast<int>(std::ceil(picture.WidthTwips() * ppt - 1e-6)),
               static_cast<int>(std::ceil(picture.HeightTwips() * ppt - 1e-6)), QImage::Format_RGB32);
  image.fill(ToArgb(kWhite));
  // 96 dpi times the scale in the header, so that a program that honours it
  // prints the picture at the size it has on the screen (192 dpi: 7559 dots
  // a metre).
  const int dotsPerMetre = static_cast<int>(std::lround(96.0 * scale / 0.0254));
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
  QPainter painter(&image);
  Canvas::Replay(picture.Operations(), painter, ppt);
  return image;
}

std::string SavePng(const Canvas& picture, const std::string& path, int scale) {
  // Encoded in memory, so that the file writer checks every byte that goes
  // to the disk (the PNG encoder's own writes report no short write).
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "PNG");
  if (!writer.write(RenderPicture(picture, scale))) {
    return CannotWrite(path, {false, writer.errorString().toStdString(), false});
  }
  const FileWriteResult written = WriteFileWhole(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  return written.ok ? "" : CannotWrite(path, written);
}

std::string SaveSvg(const Canvas& picture, const std::string& path, const std::string& title, int scale) {
  // The SVG generator reports no write errors: the document is made in
  // memory and written by the file writer.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const QSize size(static_cast<int>(std::ceil(picture.WidthTwips() / double(kTwipsPerPixel) - 1e-6)),
                   static_cast<int>(std::ceil(picture.HeightTwips() / double(kTwipsPerPixel) - 1e-6)));
  {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    // The size on paper (width and height) grows with the scale; the drawing
    // keeps its user units.
    svg.setSize(size * std::clamp(scale, 1, 3));
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(96);
    svg.setTitle(FromUtf8(title));
    svg.setDescription(NamesLanguage() == kGerman ? QStringLiteral("Heliozentrisches Horoskop, gezeichnet von vemo")
                                                   : QStringLiteral("Heliocentric chart drawn by vemo"));
    QPainter painter;
    if (!painter.begin(&svg)) return CannotWrite(path, {false, "the SVG could not be started", false});
    Canvas::Replay(picture.Operations(), painter, 1.0 / kTwipsPerPixel);
    painter.end();
  }
  const FileWriteResult written = WriteFileWhole(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  return written.ok ? "" : CannotWrite(path, written);
}

bool PaintPicturePage(const Canvas& picture, QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  // Device units inside the margins, from their top left.
  const QRect room = device.pageLayout().paintRectPixels(device.logicalDpiX());
  const double perTwip =
      std::min(room.width() / double(picture.WidthTwips()), room.height() / double(picture.HeightTwips()));
  painter.translate((room.width() - picture.WidthTwips() * perTwip) / 2.0, 0.0);
  Canvas::Replay(picture.Operations(), painter, perTwip);
  return painter.end();
}

QPageLayout PageLayoutOf(Paper paper) {
  return QPageLayout(QPageSize(paper == Paper::Letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                     QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
}

std::string WritePdf(const std::string& path, const std::string& title, Paper paper,
                     const std::function<bool(QPagedPaintDevice&)>& paint) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setTitle(FromUtf8(title));
    pdf.setCreator(QStringLiteral("vemo"));
    pdf.setResolution(1200);
    pdf.setPageLayout(PageLayoutOf(paper));
    if (!paint(pdf)) return CannotWrite(path, {false, "the PDF could not be made", false});
  }
  const FileWriteResult written =
      WriteFileWhole(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  return written.ok ? "" : CannotWrite(path, written);
}

std::string SavePdf(const Canvas& picture, const std::string& path, const std::string& title, Paper paper) {
  return WritePdf(path, title, paper, [&picture](QPagedPaintDevice& page) { return PaintPicturePage(picture, page); });
}

}  // namespace vemo::chart
