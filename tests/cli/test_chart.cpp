// vemo-cli chart run as a user would, from a folder of its own: the six modes
// as PNG and SVG, the scale, the options that change the drawing, the refusals
// and failures, and that the other commands never load Qt.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QFile>
#include <QImage>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>

#include "tests/support/run_command.h"

namespace {

namespace fs = std::filesystem;

const std::string kDates =
    " --world 2025-01-01T13:00+01:00 --birth1 1969-07-20T20:00+01:00 --birth2 1982-03-10T08:00+01:00";
const std::string kWorld = "--mode world" + kDates;

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

int Count(const std::string& text, const std::string& piece) {
  int n = 0;
  for (size_t at = 0; (at = text.find(piece, at)) != std::string::npos; ++at) ++n;
  return n;
}

class Chart : public ::testing::Test {
 protected:
  void SetUp() override { Fresh(); }
  void TearDown() override { fs::remove_all(base_); }
  void Fresh() { TearDown(), fs::create_directories(dir_); }  // for each case of a table

  // vemo-cli chart in the working folder; standard error kept outside it.
  int Run(const std::string& args) {
    const int status = vemo::testing::RunCommand(
        "( cd '" + dir_.string() + "' && TZ=UTC0 '" VEMO_CLI_PROGRAM "' chart " + args + " 2>../stderr )", stdout_);
    stderr_ = Contents(base_ / "stderr");
    return status;
  }

  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.insert(entry.path().filename().string());
    return names;
  }

  QImage Png(const std::string& name) const { return QImage(QString::fromStdString((dir_ / name).string()), "PNG"); }

  fs::path base_ = fs::canonical(fs::temp_directory_path()) / ("vemo-cli-chart-" + std::to_string(::getpid()));
  fs::path dir_ = base_ / "work";
  std::string stdout_, stderr_;
};

TEST_F(Chart, EachModeAsPngAndSvg) {
  const struct { const char *mode, *title; int width, height; } modes[] = {  // chart above the caption
      {"world", "Heliocentric chart of the world date", 400, 400},
      {"natal1", "Heliocentric chart of the 1st birthdate", 400, 400},
      {"natal2", "Heliocentric chart of the 2nd birthdate", 400, 400},
      {"personal1", "Personal transits to the 1st birthdate", 660, 440},
      {"personal2", "Personal transits to the 2nd birthdate", 660, 440},
      {"synastry", "Synastry of the 1st and the 2nd birthdate", 660, 440},
  };
  for (const auto& m : modes) {
    SCOPED_TRACE(m.mode);
    Fresh();
    const std::string args = std::string("--mode ") + m.mode + kDates;
    ASSERT_EQ(Run(args + " --out c.png") + Run(args + " --out c.svg"), 0) << stderr_;
    EXPECT_EQ(Files(), (std::set<std::string>{"c.png", "c.svg"}));

    const QImage png = Png("c.png");
    ASSERT_FALSE(png.isNull());
    // The caption strip lies below the chart. A caption line longer than the
    // chart is wide widens the picture by a little, never to the next size.
    EXPECT_GE(png.width(), m.width);
    EXPECT_LT(png.width(), m.width + 40);
    EXPECT_GT(png.height(), m.height);

    QFile file(QString::fromStdString((dir_ / "c.svg").string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader svg(&file);
    QString title, viewBox;
    while (!svg.atEnd()) {
      if (svg.readNext() != QXmlStreamReader::StartElement) continue;
      if (svg.name() == u"svg") viewBox = svg.attributes().value("viewBox").toString();
      if (svg.name() == u"title") title = svg.readElementText();
    }
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_TRUE(title.startsWith(QString::fromUtf8(m.title)) && title.contains("Orbs:")) << title.toStdString();
    // Both files are the same picture, one SVG unit a PNG pixel.
    EXPECT_EQ(viewBox, QString("0 0 %1 %2").arg(png.width()).arg(png.height()));
  }
}

// The attributes of the root element of an SVG file.
QXmlStreamAttributes SvgRoot(const fs::path& path) {
  QFile file(QString::fromStdString(path.string()));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QXmlStreamReader svg(&file);
  while (!svg.atEnd()) {
    if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == u"svg") return svg.attributes();
  }
  return {};
}

// --scale 2: a PNG with twice the pixels each way and 192 dpi in its header
// (so it prints at the screen's size); an SVG twice as wide and high on
// paper, its drawing unchanged.
TEST_F(Chart, ScaleTwoDoublesBothSides) {
  for (const char* scale : {"1", "2"}) {
    ASSERT_EQ(Run(kWorld + " --out s" + scale + ".png --scale " + scale), 0) << stderr_;
    ASSERT_EQ(Run(kWorld + " --out s" + scale + ".svg --scale " + scale), 0) << stderr_;
  }
  const QImage one = Png("s1.png"), two = Png("s2.png");
  ASSERT_FALSE(one.isNull());
  EXPECT_EQ(two.size(), one.size() * 2);
  EXPECT_EQ(std::pair(one.dotsPerMeterX(), one.dotsPerMeterY()), std::pair(3780, 3780));
  EXPECT_EQ(std::pair(two.dotsPerMeterX(), two.dotsPerMeterY()), std::pair(7559, 7559));

  const QXmlStreamAttributes svg1 = SvgRoot(dir_ / "s1.svg"), svg2 = SvgRoot(dir_ / "s2.svg");
  EXPECT_EQ(svg2.value("viewBox"), svg1.value("viewBox"));
  EXPECT_EQ(svg1.value("viewBox"), QString("0 0 %1 %2").arg(one.width()).arg(one.height()));
  for (const char* side : {"width", "height"}) {
    SCOPED_TRACE(side);
    const QString a = svg1.value(side).toString(), b = svg2.value(side).toString();
    ASSERT_TRUE(a.endsWith("mm") && b.endsWith("mm")) << a.toStdString() << " " << b.toStdString();
    EXPECT_NEAR(b.chopped(2).toDouble(), 2 * a.chopped(2).toDouble(), 0.01);
  }
  // 96 pixels an inch at scale 1.
  EXPECT_NEAR(svg1.value("width").chopped(2).toDouble(), one.width() * 25.4 / 96, 0.01);
}

// A PDF: one page of A4 or Letter, by --paper, else by the locale's paper.
TEST_F(Chart, PdfOnThePaperAskedFor) {
  if (vemo::testing::RunCommand("pdfinfo -v", stdout_) != 0) GTEST_SKIP() << "pdfinfo (poppler-utils) missing";
  const struct { std::string environment, args, size; } cases[] = {
      {"LC_PAPER= LC_ALL= LANG=C", "", "595 x 842 pts (A4)"},
      {"LC_PAPER=en_US.UTF-8 LC_ALL= LANG=de_DE.UTF-8", "", "612 x 792 pts (letter)"},
      {"LC_PAPER=en_US.UTF-8", " --paper a4", "595 x 842 pts (A4)"},
      {"LANG=de_DE.UTF-8 LC_ALL=", " --paper letter", "612 x 792 pts (letter)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.environment + c.args);
    const int status = vemo::testing::RunCommand("( cd '" + dir_.string() + "' && env " + c.environment +
                                                     " TZ=UTC0 '" VEMO_CLI_PROGRAM "' chart " + kWorld +
                                                     " --out c.pdf" + c.args + " )",
                                                 stdout_);
    ASSERT_EQ(status, 0) << stdout_;
    std::string info;
    ASSERT_EQ(vemo::testing::RunCommand("pdfinfo '" + (dir_ / "c.pdf").string() + "'", info), 0);
    EXPECT_NE(info.find("Page size:       " + c.size), std::string::npos) << info;
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
  }
}

TEST_F(Chart, RefusalsAndFailuresLeaveNothingBehind) {
  const struct { std::string args, message; int status; } cases[] = {
      {kWorld + " --out missing/c.png", "Cannot write \"missing/c.png\"", 1},
      {kWorld + " --out ro/c.png", "Cannot write \"ro/c.png\"", 1},
      {kWorld + " --out taken.svg", "Cannot write \"taken.svg\"", 1},  // a folder of that name
      {kWorld + " --out c.jpg", "--out FILE must end in .png, .svg or .pdf, not \"c.jpg\"", 2},
      {kWorld + " --out c", "--out FILE must end in .png, .svg or .pdf", 2},
      {kWorld + " --out c.pdf --scale 2", "--scale does not apply to a PDF", 2},
      {kWorld + " --out c.png --paper letter", "--paper applies to a PDF only", 2},
      {kWorld + " --out c.pdf --paper a5", "--paper is a4 or letter, not \"a5\"", 2},
      {kWorld, "--out FILE is required", 2},
      {kWorld + " --out c.png --scale 4", "--scale is 1, 2 or 3, not \"4\"", 2},
      {kWorld + " --out c.png --sectors maybe", "--sectors is on or off", 2},
      {kWorld + " --out c.png --filter x", "--filter is none, earth or outer", 2},
      {kWorld + " --out c.png --format json", "--format does not apply", 2},
      {"--mode world --world 2025-02-30 --out c.png", "World date does not exist", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    Fresh();
    fs::create_directories(dir_ / "ro");
    fs::create_directories(dir_ / "taken.svg");
    fs::permissions(dir_ / "ro", fs::perms::owner_read | fs::perms::owner_exec);
    // Root writes into a read-only folder anyway.
    if (c.args.find("ro/") != std::string::npos && ::access((dir_ / "ro").c_str(), W_OK) == 0) continue;
    const std::set<std::string> before = Files();
    EXPECT_EQ(Run(c.args), c.status);
    EXPECT_EQ(stderr_.find("vemo-cli chart: " + c.message), 0u) << stderr_;
    EXPECT_TRUE(stdout_.empty() && Count(stderr_, "\n") == 1) << stdout_ << stderr_;
    EXPECT_EQ(Files(), before);
    EXPECT_TRUE(fs::is_empty(dir_ / "ro") && fs::is_empty(dir_ / "taken.svg"));
    fs::permissions(dir_ / "ro", fs::perms::owner_all);  // for the next Fresh()
  }
}

TEST_F(Chart, WritingOverAFileReplacesItWhole) {
  std::ofstream(dir_ / "c.png") << std::string(100000, 'x');
  ASSERT_EQ(Run(kWorld + " --out c.png"), 0) << stderr_;
  EXPECT_FALSE(Png("c.png").isNull());
  EXPECT_EQ(Contents(dir_ / "c.png").find("xxxx"), std::string::npos);
}

// The other commands must run where Qt is missing: only the module needs it.
TEST(ChartModule, OnlyTheModuleLinksQt) {
  std::string program, drawing;
  if (vemo::testing::RunCommand("ldd '" VEMO_CLI_PROGRAM "'", program) != 0) GTEST_SKIP() << "no ldd";
  ASSERT_EQ(vemo::testing::RunCommand("ldd '" VEMO_CLI_CHART_MODULE "'", drawing), 0) << drawing;
  EXPECT_EQ(program.find("libQt"), std::string::npos) << program;
  EXPECT_NE(drawing.find("libQt6Gui"), std::string::npos) << drawing;  // the check does see Qt
}

TEST_F(Chart, SectorsAndFiltersChangeTheDrawing) {
  ASSERT_EQ(Run(kWorld + " --out all.svg"), 0) << stderr_;
  const int lines = Count(Contents(dir_ / "all.svg"), "<polyline");
  for (const std::string option : {"--sectors off", "--filter earth"}) {
    SCOPED_TRACE(option);
    ASSERT_EQ(Run(kWorld + " " + option + " --out fewer.svg"), 0) << stderr_;
    EXPECT_LT(Count(Contents(dir_ / "fewer.svg"), "<polyline"), lines);
  }
  ASSERT_EQ(Run(kWorld + " --out on.png") + Run(kWorld + " --sectors off --out off.png"), 0) << stderr_;
  EXPECT_NE(Contents(dir_ / "on.png"), Contents(dir_ / "off.png"));
}

}  // namespace
