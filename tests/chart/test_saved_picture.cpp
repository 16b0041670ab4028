// Saved pictures: the caption strip, the three ways of writing, the names of
// the converter's intermediate BMP and what is left in the folder.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "app/chart/picture_file.h"
#include "app/chart/report_pages.h"
#include "app/chart/saved_picture.h"
#include "chart_support.h"
#include "platform/pexalune/pexalune.h"

namespace vemo::chart {
namespace {

using test::SkyChart;

PictureCaption Caption(int dates) {
  PictureCaption c = ProgramCaption();
  c.title = "Personal transits to the 1st birthdate  Orbs: 1° to 3°20'";
  for (int i = 0; i < dates; ++i) c.dateLines.push_back(PictureDateLine("World date", "2025-01-01", "13:00", "GMT+1:00"));
  return c;
}

std::string ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<missing>";
}

void Write(const QString& path, const char* text) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(text);
}

TEST(SavedPicture, BmpNameReplacesTheLastThreeCharactersOfTheFileName) {
  const std::pair<std::string, std::string> cases[] = {
      {"/d/chart.png", "/d/chart.bmp"}, {"/d/chart", "/d/chbmp"},     {"/d/ab", "/d/bmp"},
      {"/d/kärtä", "/d/käbmp"},          {"C:\\d\\äb", "C:\\d\\bmp"}, {"/d/chart.PNG", "/d/chart.bmp"}};
  for (const auto& [png, bmp] : cases) EXPECT_EQ(BmpPathOf(png), bmp) << png;
}

// The converter's outcomes against a folder that already holds the user's
// chart.png and chart.bmp: neither is touched unless the new PNG is complete,
// the intermediate is kept only on failure, under a free name.
TEST(SavedPicture, ConverterOutcomesLeaveTheUsersFilesAlone) {
  SkyChart sky;
  sky.Place(test::kBusySky);
  Canvas chart;
  DrawChart(chart, sky.Compute(Mode::WorldTransits));
  // Fails as a full disk would, naming the file it was given.
  const Converter failing = [](const char*, const char* png, char* message) {
    Write(png, "half a PNG");
    const std::string text = std::string("Cannot write ") + png + ": Disk full";
    const std::size_t n = std::min<std::size_t>(text.size(), kConverterMessageChars);
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), message);
    return static_cast<int>(n);
  };
  struct Case {
    const char* name;
    bool userFiles;
    bool fail;
    const char* kept;  // the BMP left after a failure
  } cases[] = {{"chart.png", true, false, nullptr},
               {"chart.png", true, true, "chart-1.bmp"},
               {"chart.png", false, true, "chart.bmp"},
               {"chart", false, true, "chbmp"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.name << (c.userFiles ? " over user files" : "") << (c.fail ? " failing" : ""));
    QTemporaryDir dir;
    const QString png = dir.filePath(c.name);
    if (c.userFiles) {
      Write(png, "old picture");
      Write(dir.filePath("chart.bmp"), "mine");
    }
    const SaveResult r = SaveThroughConverter(chart, png.toStdString(), c.fail ? failing : DefaultConverter());
    EXPECT_EQ(r.ok, !c.fail);
    EXPECT_EQ(r.conversionFailed, c.fail);
    if (c.userFiles) {
      EXPECT_EQ(ReadAll(dir.filePath("chart.bmp")), "mine");
    }
    QStringList expected;
    if (c.fail) {
      // The user's name, not the temporary file's.
      EXPECT_EQ(r.reason, "Cannot write " + png.toStdString() + ": Disk full");
      EXPECT_EQ(r.path, dir.filePath(c.kept).toStdString());
      EXPECT_EQ(QImage(dir.filePath(c.kept), "BMP"), chart.Image());
      EXPECT_EQ(ReadAll(png), c.userFiles ? "old picture" : "<missing>");
      expected << c.kept;
    } else {
      EXPECT_EQ(QImage(png, "PNG").convertToFormat(QImage::Format_RGB32), chart.Image());
    }
    if (c.userFiles) expected << "chart.bmp" << "chart.png";
    if (!c.fail) expected << c.name;
    expected.removeDuplicates();
    expected.sort();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
  }
}

// Rows of the strip below the chart that hold ink (pixels of that colour, or
// any but the ground), as runs of consecutive pixel rows: one per text line.
int TextLines(const QImage& image, int top, int left, int right, std::optional<QRgb> colour) {
  int runs = 0;
  bool inRun = false;
  for (int y = top; y < image.height(); ++y) {
    bool ink = false;
    for (int x = left; x < right && !ink; ++x) {
      ink = colour ? image.pixel(x, y) == *colour : image.pixel(x, y) != ToArgb(kChartBackground);
    }
    runs += ink && !inRun;
    inRun = ink;
  }
  return runs;
}

// The chart of one and of two dates, and the time graph with its transit
// under the title.
TEST(SavedPicture, CaptionStripHoldsTitleDatesAndTheGreyHeader) {
  SkyChart sky;
  sky.Place(test::kBusySky, test::kBusySky);
  const std::string transit = "Course of the transit: Transiting Jupiter square natal Mars within an orb of 2\u00B0 0'";
  for (int picture : {1, 2, 3}) {
    SCOPED_TRACE(picture);
    const int dates = picture == 1 ? 1 : 2;
    PictureCaption caption = Caption(dates);
    Canvas chart, composed;
    if (picture == 3) {
      GraphInput in{kMars, kJupiter, kSquare, 1.0, DegreesToRadians(2.0), Rgb(255, 0, 0), 2460457.0, 2460497.0, 60,
                    2460477.0, false, nullptr, nullptr};
      DrawAspectGraph(chart, in);
      caption.subject = transit;
    } else {
      DrawChart(chart, sky.Compute(dates == 1 ? Mode::WorldTransits : Mode::Personal1));
    }
    ComposeSavedPicture(chart, caption, composed);
    const QImage& image = composed.Image();
    const int chartRows = chart.Image().height();
    EXPECT_EQ(image.copy(0, 0, chart.Image().width(), chartRows), chart.Image());
    // Below the picture, in black at the left: the title, the transit, the dates.
    std::vector<std::string> black;
    for (const Operation& op : composed.Operations()) {
      if (op.kind == Operation::Kind::Text && op.y1 >= chart.HeightTwips() && op.colour == kBlack) black.push_back(op.text);
    }
    std::vector<std::string> expected{caption.title};
    if (picture == 3) expected.push_back(transit);
    expected.insert(expected.end(), caption.dateLines.begin(), caption.dateLines.end());
    EXPECT_EQ(black, expected);
    EXPECT_EQ(TextLines(image, chartRows, 0, image.width() / 2, std::nullopt), static_cast<int>(expected.size()));
    // The header: the name (its bold strokes exactly grey) over three lines
    // and the version, in the right-hand column, clear of the title.
    EXPECT_EQ(TextLines(image, chartRows, image.width() - 80, image.width(), std::nullopt), 4);
    EXPECT_EQ(TextLines(image, chartRows, image.width() - 80, image.width(), ToArgb(kHeaderGrey)), 1);
    EXPECT_EQ(TextLines(image, chartRows, image.width() - 80, image.width(), ToArgb(kBlack)), 0);
    // Replayed at scale 1 the recording gives the same raster; at scale 2
    // exactly twice the size.
    EXPECT_EQ(RenderPicture(composed, 1), image);
    EXPECT_EQ(RenderPicture(composed, 2).size(), image.size() * 2);
  }
}

// The name decides the format; a name without extension gets the selected
// filter's.
TEST(SavedPicture, NameDecidesTheFormat) {
  using F = PictureFormat;
  const struct {
    const char* name;
    F filter;
    const char* path;  // "" refused
    F format;
    const char* refused;
  } cases[] = {
      {"/d/chart.png", F::Svg, "/d/chart.png", F::ScreenPng, ""},
      {"/d/chart.PNG", F::PrintPng, "/d/chart.PNG", F::PrintPng, ""},
      {"/d/chart.png", F::ScreenPng, "/d/chart.png", F::ScreenPng, ""},
      {"/d/chart.Svg", F::PrintPng, "/d/chart.Svg", F::Svg, ""},
      {"/d/chart", F::Svg, "/d/chart.svg", F::Svg, ""},
      {"/d/chart", F::PrintPng, "/d/chart.png", F::PrintPng, ""},
      {"/d/chart.", F::ScreenPng, "/d/chart.png", F::ScreenPng, ""},
      {"/d.x/chart", F::ScreenPng, "/d.x/chart.png", F::ScreenPng, ""},
      {"C:\\d.x\\chart", F::Svg, "C:\\d.x\\chart.svg", F::Svg, ""},
      {"/d/chart.PDF", F::ScreenPng, "/d/chart.PDF", F::Pdf, ""},
      {"/d/chart", F::Pdf, "/d/chart.pdf", F::Pdf, ""},
      {"/d/chart.pdf", F::Svg, "/d/chart.pdf", F::Pdf, ""},
      {"/d/named.jpg", F::PrintPng, "", F::ScreenPng, ".jpg"},
      {"/d/chart.png.JPEG", F::ScreenPng, "", F::ScreenPng, ".JPEG"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PictureFileDecision d = DecidePictureFile(c.name, c.filter);
    EXPECT_EQ(d.accepted, *c.path != 0);
    EXPECT_EQ(d.path, c.path);
    EXPECT_EQ(d.refusedExtension, c.refused);
    if (d.accepted) {
      EXPECT_EQ(d.format, c.format);
      EXPECT_EQ(d.extensionAdded, d.path != c.name);
    }
  }
  // The paper follows LC_PAPER, then LC_ALL, then LANG; A4 unless a territory
  // that uses Letter is named.
  const struct {
    const char *paper, *all, *lang;
    Paper expected;
  } papers[] = {
      {nullptr, nullptr, nullptr, Paper::A4},         {"en_US.UTF-8", "de_DE.UTF-8", nullptr, Paper::Letter},
      {"", "en_CA", "de_DE", Paper::Letter},          {nullptr, nullptr, "es_MX.UTF-8@x", Paper::Letter},
      {"en_GB.UTF-8", "en_US", "en_US", Paper::A4},   {"C", "en_US", nullptr, Paper::A4},
      {nullptr, nullptr, "fil_PH", Paper::Letter},    {nullptr, nullptr, "en_USA", Paper::A4},
  };
  for (const auto& p : papers) {
    EXPECT_EQ(PaperOfLocale(p.paper, p.all, p.lang), p.expected)
        << (p.paper ? p.paper : "-") << " " << (p.all ? p.all : "-") << " " << (p.lang ? p.lang : "-");
  }
}

// The SVG holds one line per aspect of each kind, in the kind's colour.
TEST(SavedPicture, SvgHoldsOneLinePerAspectInItsColour) {
  SkyChart sky;
  sky.Place(test::kBusySky);
  const ChartInput input = sky.Compute(Mode::WorldTransits);
  Canvas chart, composed;
  const ChartResult drawn = DrawChart(chart, input);
  ComposeSavedPicture(chart, Caption(1), composed);
  QTemporaryDir dir;
  const QString path = dir.filePath("chart.svg");
  ASSERT_EQ(SaveSvg(composed, path.toStdString(), "Chart"), "");

  std::map<QString, int> linesByStroke;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&file);
  std::vector<QString> strokes{QString()};
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement()) {
      const QString stroke = xml.attributes().value("stroke").toString();
      strokes.push_back(stroke.isEmpty() ? strokes.back() : stroke);
      if (xml.name() == QLatin1String("polyline")) ++linesByStroke[strokes.back()];
    } else if (xml.isEndElement()) {
      strokes.pop_back();
    }
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();

  int total = 0;
  for (int k = 1; k <= kNumKinds; ++k) {
    int expected = 0;
    for (const TableCell& cell : input.table->Cells) {
      expected += cell.Role == CellRole::Aspect && cell.Text.find(Aspect(k).Abbrev) != std::string::npos;
    }
    const QString colour = QColor(ToArgb(input.aspectColours[static_cast<size_t>(k)])).name();
    EXPECT_EQ(linesByStroke[colour], expected) << Aspect(k).Abbrev;
    total += expected;
  }
  EXPECT_EQ(total, drawn.linesDrawn);
  EXPECT_GT(total, 20);
}

// Output of one of poppler's tools, or nullopt when it is not installed.
std::optional<QString> Poppler(const QString& tool, const QStringList& arguments) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (program.isEmpty()) return std::nullopt;
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return QString("<failed>");
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The PDF holds the composed chart as vectors on one page of its paper: no
// image, the caption strip and the legend as text, and each aspect line in
// its kind's colour where the recording puts it (the page rendered without
// smoothing, as poppler's pdftoppm draws it).
TEST(SavedPicture, PdfIsVectorsOnOnePageOfItsPaper) {
  if (!Poppler("pdfinfo", {"-v"})) GTEST_SKIP() << "poppler-utils (pdfinfo, pdfimages, pdftotext, pdftoppm) missing";
  SkyChart sky;
  sky.Place(test::kBusySky);
  const ChartInput input = sky.Compute(Mode::WorldTransits);
  Canvas chart, composed;
  ASSERT_GT(DrawChart(chart, input).linesDrawn, 20);
  const PictureCaption caption = Caption(1);
  ComposeSavedPicture(chart, caption, composed);
  QTemporaryDir dir;
  for (const auto& [paper, size] : {std::pair{Paper::A4, "595 x 842 pts (A4)"},
                                    std::pair{Paper::Letter, "612 x 792 pts (letter)"}}) {
    SCOPED_TRACE(size);
    const QString path = dir.filePath(paper == Paper::A4 ? "a4.pdf" : "letter.pdf");
    ASSERT_EQ(SavePdf(composed, path.toStdString(), "Chart", paper), "");
    const QString info = Poppler("pdfinfo", {path}).value();
    EXPECT_TRUE(info.contains(QRegularExpression("Pages: +1\n"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size: +" + QRegularExpression::escape(size))))
        << info.toStdString();
    // pdfimages lists a heading of two lines and then one line per image.
    EXPECT_EQ(Poppler("pdfimages", {"-list", path}).value().trimmed().count('\n'), 1);
    const QString text = Poppler("pdftotext", {"-layout", path, "-"}).value();
    for (const std::string& words : {caption.title, caption.dateLines[0], input.legendLines[0]}) {
      EXPECT_TRUE(text.simplified().contains(QString::fromStdString(words).simplified())) << words;
    }
  }

  // Where a twip of the recording lands on the A4 page rendered at 96 dpi:
  // inside the margins, at the scale that fits the width, centred across.
  const QString prefix = dir.filePath("page");
  ASSERT_TRUE(Poppler("pdftoppm", {"-r", "96", "-aa", "no", "-aaVector", "no", "-png", "-singlefile",
                                   dir.filePath("a4.pdf"), prefix}));
  const QImage page = QImage(prefix + ".png").convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(page.isNull());
  const QRect room = PageLayoutOf(Paper::A4).paintRectPixels(1200);
  const double perTwip = std::min(room.width() / double(composed.WidthTwips()),
                                  room.height() / double(composed.HeightTwips()));
  const double left = room.left() + (room.width() - composed.WidthTwips() * perTwip) / 2.0;
  int lines = 0, found = 0;
  for (const Operation& op : chart.Operations()) {
    if (op.kind != Operation::Kind::Line || op.dotted) continue;
    const QRgb colour = ToArgb(op.colour);
    bool isKind = false;
    for (int k = 1; k <= kNumKinds; ++k) isKind = isKind || ToArgb(input.aspectColours[static_cast<size_t>(k)]) == colour;
    if (!isKind) continue;
    ++lines;
    const QPoint at(static_cast<int>((left + (op.x1 + op.x2) / 2.0 * perTwip) * 96.0 / 1200.0),
                    static_cast<int>((room.top() + (op.y1 + op.y2) / 2.0 * perTwip) * 96.0 / 1200.0));
    bool seen = false;
    for (int dy = -2; dy <= 2 && !seen; ++dy) {
      for (int dx = -2; dx <= 2 && !seen; ++dx) seen = page.pixel(at + QPoint(dx, dy)) == colour;
    }
    found += seen;
  }
  EXPECT_GT(lines, 20);
  EXPECT_GE(found * 10, lines * 9) << found << " of " << lines;
}

// A report of many lines on pages: each line once, in order, the title on
// the first page only, and "Page N of M" at the foot of each of M pages.
TEST(SavedPicture, ReportPdfPagesHoldEveryLineOnce) {
  if (!Poppler("pdftotext", {"-v"})) GTEST_SKIP() << "pdftotext (poppler-utils) missing";
  std::vector<std::string> lines;
  for (int i = 1; i <= 150; ++i) {
    lines.push_back("tr.Mars      square   (0\u00B0" + std::to_string(i % 60) + "')   n.Venus   line " +
                    std::to_string(i));
  }
  QTemporaryDir dir;
  const QString path = dir.filePath("report.pdf");
  ASSERT_EQ(SaveReportPdf(path.toStdString(), "World transits on January 1, 2000", lines, Paper::A4), "");
  const QString info = Poppler("pdfinfo", {path}).value();
  const QRegularExpressionMatch pages = QRegularExpression("Pages: +(\\d+)").match(info);
  ASSERT_TRUE(pages.hasMatch()) << info.toStdString();
  const int count = pages.captured(1).toInt();
  EXPECT_GE(count, 3);
  for (int page = 1; page <= count; ++page) {
    SCOPED_TRACE(page);
    const QString text = Poppler("pdftotext", {"-f", QString::number(page), "-l", QString::number(page), "-layout",
                                               path, "-"})
                             .value();
    EXPECT_TRUE(text.contains(QString("Page %1 of %2").arg(page).arg(count)));
    EXPECT_EQ(text.contains("World transits on January 1, 2000"), page == 1);
  }
  const QString all = Poppler("pdftotext", {"-layout", path, "-"}).value().simplified() + " ";
  qsizetype at = 0;
  for (const std::string& line : lines) {
    const QString wanted = QString::fromStdString(line).simplified() + " ";
    const qsizetype found = all.indexOf(wanted, at);
    ASSERT_GE(found, at) << line;
    EXPECT_EQ(all.indexOf(wanted, found + 1), -1) << line;
    at = found + wanted.size();
  }
}

}  // namespace
}  // namespace vemo::chart
