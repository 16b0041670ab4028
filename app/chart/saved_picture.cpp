#include "app/chart/saved_picture.h"

#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QString>
#include <QSvgGenerator>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/chart/chart.h"
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

// A new, empty file "<stem>-XXXXXX<suffix>" in folder, made with O_EXCL so
// that no file of the user's is ever opened. "" when none could be made
// (error set).
QString CreateNewFile(const QString& folder, const QString& stem, const QString& suffix, QString& error) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QString name = QStringLiteral("%1/%2-%3%4")
                             .arg(folder, stem)
                             .arg(QRandomGenerator::global()->bounded(0x1000000), 6, 16, QLatin1Char('0'))
                             .arg(suffix);
    QFile file(name);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return name;
    if (file.error() != QFileDevice::OpenError || QFileInfo::exists(name) == false) {
      error = file.errorString();
      return QString();
    }
  }
  error = QStringLiteral("no free file name");
  return QString();
}

// Moves `from` to `to` only when nothing is at `to` (QFile::rename never
// replaces a file).
bool RenameIfFree(const QString& from, const QString& to) {
  return !QFileInfo::exists(to) && QFile::rename(from, to);
}

// Keeps the intermediate BMP under the BMP name, or under the first free
// numbered variant of it. "" when it could not be kept.
std::string KeepBmp(const QString& temporary, const std::string& bmpPath) {
  const QString wanted = FromUtf8(bmpPath);
  if (RenameIfFree(temporary, wanted)) return bmpPath;
  const QFileInfo info(wanted);
  const QString folder = info.path();
  const QString base = info.completeBaseName();
  const QString suffix = info.suffix().isEmpty() ? QString() : QStringLiteral(".") + info.suffix();
  for (int n = 1; n < 1000; ++n) {
    const QString candidate = QStringLiteral("%1/%2-%3%4").arg(folder, base).arg(n).arg(suffix);
    if (RenameIfFree(temporary, candidate)) return candidate.toStdString();
  }
  QFile::remove(temporary);
  return "";
}

std::string CannotWrite(const std::string& path, const QString& reason) {
  return "Cannot write \"" + path + "\": " + reason.toStdString();
}

}  // namespace

void ComposeSavedPicture(const Canvas& chart, const PictureCaption& caption, Canvas& out) {
  std::vector<std::string> header = caption.headerLines;
  header.push_back("v. " + caption.version);
  int headerWidth = 0;
  for (size_t i = 0; i < header.size(); ++i) {
    headerWidth = std::max(headerWidth, chart.TextWidthTwips(header[i], i == 0 ? kNameFont : kHeaderFont));
  }
  int textWidth = chart.TextWidthTwips(caption.title, kTitleFont);
  for (const std::string& line : caption.dateLines) textWidth = std::max(textWidth, chart.TextWidthTwips(line, kDateFont));

  const int lines = static_cast<int>(std::max(header.size(), 1 + caption.dateLines.size()));
  const int width = std::max(chart.WidthTwips(), kMargin + textWidth + kColumnGap + headerWidth + kMargin);
  const int height = chart.HeightTwips() + 2 * kMargin + lines * kLinePitch;
  out.Resize(width, height);
  out.Clear(kChartBackground);
  out.Append(chart.Operations());

  int y = chart.HeightTwips() + kMargin;
  out.Text(kMargin, y, caption.title, kTitleFont, kBlack);
  for (const std::string& line : caption.dateLines) {
    y += kLinePitch;
    out.Text(kMargin, y, line, kDateFont, kBlack);
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
  const QFileInfo target(FromUtf8(pngPath));
  const QString folder = target.absolutePath();
  const QString stem = target.fileName();
  QString error;
  const QString bmp = CreateNewFile(folder, stem, QStringLiteral(".bmp.part"), error);
  if (bmp.isEmpty()) {
    result.reason = CannotWrite(pngPath, error);
    return result;
  }
  if (const std::string bmpError = picture.SaveBmp(bmp.toStdString()); !bmpError.empty()) {
    QFile::remove(bmp);
    result.reason = bmpError;
    return result;
  }
  const QString png = CreateNewFile(folder, stem, QStringLiteral(".part"), error);
  if (png.isEmpty()) {
    QFile::remove(bmp);
    result.reason = CannotWrite(pngPath, error);
    return result;
  }
  std::string message;
  if (!ConvertBmpToPng(bmp.toStdString(), png.toStdString(), true, true, message, convert)) {
    QFile::remove(png);  // in case the converter made it again after failing
    result.conversionFailed = true;
    result.reason = message;
    result.path = KeepBmp(bmp, BmpPathOf(pngPath));
    return result;
  }
  // The converted file takes the chosen name in one step.
  std::error_code ec;
  std::filesystem::rename(std::filesystem::u8path(png.toStdString()), std::filesystem::u8path(pngPath), ec);
  if (ec) {
    QFile::remove(png);
    result.reason = CannotWrite(pngPath, QString::fromStdString(ec.message()));
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
  QPainter painter(&image);
  Canvas::Replay(picture.Operations(), painter, ppt);
  return image;
}

std::string SavePng(const Canvas& picture, const std::string& path, int scale) {
  const QImage image = RenderPicture(picture, scale);
  QSaveFile file(FromUtf8(path));
  if (!file.open(QIODevice::WriteOnly)) return CannotWrite(path, file.errorString());
  QImageWriter writer(&file, "PNG");
  if (!writer.write(image)) return CannotWrite(path, writer.errorString());
  if (!file.commit()) return CannotWrite(path, file.errorString());
  return "";
}

std::string SaveSvg(const Canvas& picture, const std::string& path, const std::string& title) {
  QSaveFile file(FromUtf8(path));
  if (!file.open(QIODevice::WriteOnly)) return CannotWrite(path, file.errorString());
  const QSize size(static_cast<int>(std::ceil(picture.WidthTwips() / double(kTwipsPerPixel) - 1e-6)),
                   static_cast<int>(std::ceil(picture.HeightTwips() / double(kTwipsPerPixel) - 1e-6)));
  {
    QSvgGenerator svg;
    svg.setOutputDevice(&file);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(96);
    svg.setTitle(FromUtf8(title));
    svg.setDescription(QStringLiteral("Heliocentric chart drawn by vemo"));
    QPainter painter;
    if (!painter.begin(&svg)) return CannotWrite(path, QStringLiteral("the SVG could not be started"));
    Canvas::Replay(picture.Operations(), painter, 1.0 / kTwipsPerPixel);
    painter.end();
  }
  if (!file.commit()) return CannotWrite(path, file.errorString());
  return "";
}

}  // namespace vemo::chart
