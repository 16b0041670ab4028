// The chart in the main window and clicks on the table's cells, driven as a
// user drives them: the toggle between table and chart, the right click on a
// line, Save as, and what a click on an aspect's cell tells (its days, the
// time graph of a personal transit, the offer of the report).
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <deque>
#include <set>
#include <utility>

#include "app/chart/chart.h"
#include "app/text/program_text.h"
#include "app/ui/chart_view.h"
#include "app/ui/frm_configure.h"
#include "app/ui/frm_durations.h"
#include "platform/pexalune/pexalune.h"
#include "app/ui/window_utils.h"
#include "tests/ui/window_test_support.h"

namespace vemo::ui::testing {
namespace {

// Clicks on the cells of the table: when an aspect begins and ends.
class AspectCellClickTest : public WindowTest {
 protected:
  void Click(int index) {
    ASSERT_FALSE(w->txbCell[index]->isHidden()) << index;
    QTest::mouseClick(w->txbCell[index], Qt::LeftButton);
  }
  // The first aspect of the table between planets a and b.
  int CellOf(int a, int b) const {
    for (const FoundAspect& f : w->Engine().Aspects) {
      if (f.Planet1 == a && f.Planet2 == b) return f.CellIndex;
    }
    return -1;
  }
};

TEST_F(AspectCellClickTest, WorldTransitAspectTellsItsDaysAndOffersTheReport) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  // Mars sextile Pluto on 15 June 2024, 14:00 GMT+1. At the local midnights
  // Mars and Pluto stand 55.80° (opening 9 June), 56.42° (10 June), 63.87°
  // (22 June) and 64.48° (23 June) apart, so the 4° orb is entered on 9 June
  // and left on 22 June.
  const int cell = CellOf(kMars, kPluto);
  ASSERT_EQ(cell, 53);
  bool timerRanDuringMessage = true;
  std::deque<QMessageBox::StandardButton> replies{QMessageBox::No, QMessageBox::Yes};
  SetMessageBoxHook([&](const MessageBoxRequest& r) {
    boxes.push_back(r);
    timerRanDuringMessage = w->Timer1.isActive();
    const auto reply = replies.front();
    replies.pop_front();
    return reply;
  });
  ASSERT_TRUE(w->Timer1.isActive());
  Click(cell);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].icon, QMessageBox::Question);
  EXPECT_EQ(boxes[0].buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(boxes[0].defaultButton, QMessageBox::No);
  EXPECT_EQ(boxes[0].title, "world transits and their durations");
  // The statement's period gives way to the question mark.
  EXPECT_EQ(boxes[0].text, "Mars sextile to Pluto " + QString::fromStdString(vemo::ProgramText(162)) +
                               "\n\nWith an orb of 4\u00B0 0' this sextile\n"
                               "begins on June 9, 2024\nand ends on June 22, 2024?");
  EXPECT_FALSE(timerRanDuringMessage);
  EXPECT_TRUE(w->Timer1.isActive());
  EXPECT_EQ(w->focusWidget(), w->cmdCompute);
  EXPECT_EQ(w->Durations(), nullptr);  // No: no report
  Click(cell);
  ASSERT_NE(w->Durations(), nullptr);  // Yes: the report of the whole table
  EXPECT_TRUE(w->Durations()->isVisible());
  EXPECT_TRUE(w->Durations()->txbOutput->toPlainText().contains("Mars    sextile (")) << w->Durations()->txbOutput->toPlainText().toStdString();
  EXPECT_TRUE(w->Timer1.isActive());
}

// A personal transit with both dates known draws its course instead of
// telling it; a right click on the curve reads that row.
TEST_F(AspectCellClickTest, PersonalTransitDrawsItsCourseAndReadsItsRows) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  w->optPersonal[0]->click();
  ASSERT_EQ(w->ModeNumber(), 4);
  ASSERT_FALSE(w->Engine().Aspects.empty());
  // Personal transits name the natal planet first in their records.
  const FoundAspect a = w->Engine().Aspects.front();
  Click(a.CellIndex);
  EXPECT_TRUE(boxes.empty());
  ASSERT_TRUE(w->GraphShown);
  EXPECT_TRUE(w->picGraphic->isVisible());
  EXPECT_FALSE(w->picTable->isVisible());
  EXPECT_EQ(PlainCaption(w->cmdToggleGraphic), QString::fromStdString(vemo::ProgramText(41)));
  EXPECT_EQ(w->picGraphic->toolTip(), QString::fromStdString(vemo::ProgramText(351)));
  EXPECT_TRUE(w->lblClickonAspect->text().isEmpty());
  const QString title = w->lblTitle->text();
  EXPECT_TRUE(title.startsWith(QString::fromStdString(vemo::ProgramText(89)))) << title.toStdString();
  EXPECT_TRUE(title.contains(QString::fromStdString(PlanetName(a.Planet2)))) << title.toStdString();
  EXPECT_TRUE(title.contains(QString::fromStdString(PlanetName(a.Planet1)))) << title.toStdString();
  // The step controls rest while the graph is shown.
  w->Timer1_Timer();
  EXPECT_FALSE(w->cmdForwardBack[0]->isEnabled());

  // Right click on a plotted point of the middle grid row.
  const vemo::chart::Canvas& canvas = w->picGraphic->Canvas();
  QPoint hit(-1, -1);
  for (int x = vemo::chart::kGraphGridLeft; x < canvas.WidthTwips() && hit.x() < 0; x += 15) {
    for (int y = 3000; y < 3400 && hit.x() < 0; y += 15) {
      if (canvas.PixelAt(x, y) == w->Engine().Settings.AspectColours[static_cast<size_t>(a.Kind)]) hit = {x, y};
    }
  }
  ASSERT_GE(hit.x(), 0) << "no point of the curve near the middle row";
  QTest::mouseClick(w->picGraphic, Qt::RightButton, {}, QPoint(hit.x() / 15, hit.y() / 15));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].text.startsWith(QString::fromStdString(vemo::ProgramText(349)) + "\n"))
      << boxes[0].text.toStdString();
  // The scale along the top reads in degrees and minutes in both units.
  auto axis = [this] {
    QStringList labels;
    for (const vemo::chart::Operation& op : w->picGraphic->Canvas().Operations()) {
      if (op.kind == vemo::chart::Operation::Kind::Text && op.y1 < vemo::chart::kGraphTop - 120) {
        labels << QString::fromStdString(op.text);
      }
    }
    return labels;
  };
  const QStringList inDegrees = axis();
  ASSERT_GE(inDegrees.size(), 7);
  for (const QString& label : inDegrees) EXPECT_TRUE(label == "0" || label.endsWith("'")) << label.toStdString();
  // The toggle leaves the graph for the table.
  w->cmdToggleGraphic->click();
  EXPECT_FALSE(w->GraphShown);
  w->optRadians->click();
  Click(w->Engine().Aspects.front().CellIndex);
  ASSERT_TRUE(w->GraphShown);
  EXPECT_EQ(axis(), inDegrees);
  w->cmdToggleGraphic->click();
  EXPECT_TRUE(w->picTable->isVisible());
}

TEST_F(AspectCellClickTest, CellsWithoutAnAspectTellNothing) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  const AspectTable& table = w->Engine().Table;
  ASSERT_EQ(table.Cells[0].Role, CellRole::Position);
  ASSERT_EQ(table.Cells[9].Role, CellRole::Glyph);
  ASSERT_EQ(table.Cells[22].Role, CellRole::Empty);
  for (int cell : {0, 9, 22}) {
    SCOPED_TRACE(cell);
    Click(cell);
    EXPECT_TRUE(boxes.empty());
  }
  EXPECT_TRUE(w->Timer1.isActive());
}

TEST_F(AspectCellClickTest, AnExcludedKindTellsNothing) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  const int cell = CellOf(kMars, kPluto);
  ASSERT_EQ(cell, 53);
  // The sextile's colour set to 0 after the table was drawn: the cell still
  // shows it, but the kind is excluded.
  w->Engine().Settings.AspectColours[kSextile] = 0;
  Click(cell);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(AspectCellClickTest, StaticModesTellNothing) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  SetRow(2, "1982", 3, 10, HourEntry(8, 0), kGmtPlus1);
  const std::pair<const char*, QRadioButton*> modes[] = {{"Synastry", w->optSynastry},
                                                           {"Natal1", w->optNatal[0]}};
  for (const auto& [name, option] : modes) {
    SCOPED_TRACE(name);
    option->click();
    ASSERT_FALSE(w->Engine().Aspects.empty());
    w->txbYearCE[0]->setFocus();
    Click(w->Engine().Aspects.front().CellIndex);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(w->focusWidget(), w->cmdCompute);
  }
}

// The chart in place of the table.
class ChartViewTest : public WindowTest {};

TEST_F(ChartViewTest, ToggleShowsTheChartAndStepsRedrawIt) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  ASSERT_TRUE(w->cmdToggleGraphic->isEnabled());
  EXPECT_EQ(w->cmdToggleGraphic->toolTip(), "Ctrl+T");  // its key, not a note that it is missing
  w->cmdToggleGraphic->click();
  ASSERT_TRUE(w->picGraphic->isVisible());
  EXPECT_FALSE(w->picTable->isVisible());
  EXPECT_EQ(PlainCaption(w->cmdToggleGraphic), QString::fromStdString(vemo::ProgramText(41)));
  EXPECT_EQ(w->picGraphic->Canvas().WidthTwips(), 6000);
  EXPECT_TRUE(w->txbReport1->isVisible());
  EXPECT_TRUE(w->txbReport1->toPlainText().contains("aspects in all")) << w->txbReport1->toPlainText().toStdString();
  // A step while the chart is shown draws the chart of the new table.
  const QImage before = w->picGraphic->Canvas().Image();
  const int computed = w->ComputationsDone();
  w->cboForwardBack->setCurrentIndex(4);  // a larger step than a day
  w->cmdForwardBack[0]->click();
  EXPECT_EQ(w->ComputationsDone(), computed + 1);
  EXPECT_TRUE(w->picGraphic->isVisible());
  EXPECT_NE(w->picGraphic->Canvas().Image(), before);
  // Two dates: the two-set chart.
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  SetRow(2, "1970", 1, 1, HourEntry(12, 0), kGmt);
  w->optSynastry->click();
  ASSERT_EQ(w->ModeNumber(), 6);
  EXPECT_TRUE(w->picGraphic->isVisible());
  EXPECT_EQ(w->picGraphic->Canvas().WidthTwips(), 9900);
  w->cmdToggleGraphic->click();
  EXPECT_TRUE(w->picTable->isVisible());
  EXPECT_EQ(PlainCaption(w->cmdToggleGraphic), QString::fromStdString(vemo::ProgramText(37)));
}

TEST_F(ChartViewTest, RightClickNamesTheLineAndFiltersThatConflictDrawNothing) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  w->cmdToggleGraphic->click();
  ASSERT_TRUE(w->picGraphic->isVisible());
  const vemo::chart::Canvas& canvas = w->picGraphic->Canvas();
  // Find a pixel of the square's red anywhere and click it; then the Sun's
  // black ground.
  QPoint red(-1, -1);
  for (int y = 0; y < canvas.HeightTwips() && red.x() < 0; y += 15) {
    for (int x = 0; x < canvas.WidthTwips() && red.x() < 0; x += 15) {
      if (canvas.PixelAt(x, y) == Rgb(255, 0, 0)) red = {x, y};
    }
  }
  ASSERT_GE(red.x(), 0) << "no square line on 15 June 2024";
  QTest::mouseClick(w->picGraphic, Qt::RightButton, {}, QPoint(red.x() / 15, red.y() / 15));
  QTest::mouseClick(w->picGraphic, Qt::LeftButton, {}, QPoint(red.x() / 15, red.y() / 15));
  QTest::mouseClick(w->picGraphic, Qt::RightButton, {}, QPoint(5, 5));  // background
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "This line is a");
  EXPECT_EQ(boxes[0].text, QString::fromUtf8("Square (90°)"));

  // Both filters: a message, and the table comes back.
  w->Configure()->ShowOnlyEarthAspects = true;
  w->Configure()->ShowOnlyOuterPlanets = true;
  boxes.clear();
  w->cmdCompute->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].text.startsWith("'Show only Earth aspects in chart' and\n")) << boxes[0].text.toStdString();
  EXPECT_TRUE(w->picTable->isVisible());
  w->cmdToggleGraphic->click();
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(w->picTable->isVisible());
}

// Save as in the chart view: the chart with its caption through the
// converter (the BMP kept where the message says when the conversion fails),
// as SVG and as PNG for print; the time graph as it stands.
TEST_F(ChartViewTest, SaveAsWritesThePictureAndSaysWhere) {
  QTemporaryDir dir;
  bool failConversion = false;
  converter = [&failConversion](const char* bmp, const char* png, char* message) {
    if (!failConversion) return convert_graphics_file_3(bmp, png, message);
    std::strcpy(message, "Out of ink");
    return 10;
  };
  Start(LocalAJD(2024, 6, 15, 14, 10));
  w->cmdToggleGraphic->click();
  ASSERT_TRUE(w->cmdSaveAs->isEnabled());
  const QStringList filters = FrmMain::PictureFilters();
  const auto text = [](int item) { return QString::fromStdString(vemo::ProgramText(item)); };
  struct Case {
    const char* name;
    int filter;
    bool fail;
    const char* shown;
    int item;
  } cases[] = {{"chart.png", 0, false, "chart.png", 134},
               {"failed.png", 0, true, "failed.bmp", 135},
               {"chart.svg", 1, false, "chart.svg", 134},
               {"print.png", 2, false, "print.png", 134},
               {"", 0, false, "", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.clear();
    saveName = *c.name ? dir.filePath(c.name) : QString();
    saveFilter = filters[c.filter];
    failConversion = c.fail;
    w->cmdSaveAs->click();
    if (c.item == 0) {
      EXPECT_TRUE(boxes.empty());
      continue;
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, QMessageBox::Information);
    EXPECT_EQ(boxes[0].title, PlainCaption(w->cmdSaveAs));
    EXPECT_TRUE(boxes[0].text.startsWith(text(c.item) + "\n" + dir.filePath(c.shown))) << boxes[0].text.toStdString();
  }
  EXPECT_EQ(dialogs.front(), filters.join(";;"));
  EXPECT_TRUE(filters.front().startsWith(text(133) + " (*.png)"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
            QStringList({"chart.png", "chart.svg", "failed.bmp", "print.png"}));
  const QImage png(dir.filePath("chart.png"));
  EXPECT_EQ(png.width(), 400);
  EXPECT_GT(png.height(), 400);  // the caption strip
  EXPECT_EQ(QImage(dir.filePath("print.png")).size(), png.size() * 2);
  EXPECT_EQ(QImage(dir.filePath("print.png")).dotsPerMeterX(), 7559);  // 192 dpi
  EXPECT_EQ(QImage(dir.filePath("failed.bmp")).size(), png.size());

  // The course of a personal transit gets the caption strip too: the mode,
  // the transit with its orb, the two dates.
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  w->optPersonal[0]->click();
  w->cmdToggleGraphic->click();
  ASSERT_FALSE(w->Engine().Aspects.empty());
  w->txbCell_Click(w->Engine().Aspects.front().CellIndex);
  ASSERT_TRUE(w->GraphShown);
  saveName = dir.filePath("graph.png");
  saveFilter.clear();
  w->cmdSaveAs->click();
  const QImage graph = QImage(saveName).convertToFormat(QImage::Format_RGB32);
  const QImage& shown = w->picGraphic->Canvas().Image();
  ASSERT_GT(graph.height(), shown.height());
  EXPECT_EQ(graph.copy(0, 0, shown.width(), shown.height()), shown);
  int lines = 0;
  for (int y = shown.height(), inLine = 0; y < graph.height(); ++y) {
    bool ink = false;
    for (int x = 0; x < graph.width() / 2 && !ink; ++x) ink = graph.pixel(x, y) != graph.pixel(0, graph.height() - 1);
    lines += ink && !inLine;
    inLine = ink;
  }
  EXPECT_EQ(lines, 4);
}

// The name decides what is written (PNG, SVG or PDF): the filter only
// chooses between the two PNGs and gives a name without extension its own; the question about
// replacing a file covers the name with that extension.
TEST_F(ChartViewTest, SaveAsWritesWhatTheNameSays) {
  QTemporaryDir dir;
  Start(LocalAJD(2024, 6, 15, 14, 10));
  w->cmdToggleGraphic->click();
  {
    QFile taken(dir.filePath("taken.png"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("mine");
  }
  const QStringList filters = FrmMain::PictureFilters();
  // What a file holds: "png" and its width, "svg", "mine", "" (no file).
  const auto content = [&dir](const char* name) -> std::string {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) return "";
    const QByteArray bytes = file.readAll();
    if (bytes == "mine" || bytes.startsWith("<?xml")) return bytes == "mine" ? "mine" : "svg";
    if (bytes.startsWith("%PDF-")) return "pdf";
    return "png" + std::to_string(QImage::fromData(bytes, "PNG").width());
  };
  const struct {
    const char* typed;
    int filter;
    QMessageBox::StandardButton answer;  // to the question about replacing
    QMessageBox::Icon firstBox;
    const char* file;
    const char* content;
  } cases[] = {
      {"svg-filter.png", 1, QMessageBox::Ok, QMessageBox::Information, "svg-filter.png", "png400"},
      {"drawing", 1, QMessageBox::Ok, QMessageBox::Information, "drawing.svg", "svg"},
      {"printed", 2, QMessageBox::Ok, QMessageBox::Information, "printed.png", "png800"},
      {"document", 3, QMessageBox::Ok, QMessageBox::Information, "document.pdf", "pdf"},
      {"paper.pdf", 0, QMessageBox::Ok, QMessageBox::Information, "paper.pdf", "pdf"},
      {"named.jpg", 2, QMessageBox::Ok, QMessageBox::Warning, "named.jpg", ""},
      {"taken", 0, QMessageBox::No, QMessageBox::Question, "taken.png", "mine"},
      {"taken", 0, QMessageBox::Yes, QMessageBox::Question, "taken.png", "png400"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.typed << " with filter " << c.filter);
    boxes.clear();
    answers = {c.answer};
    saveName = dir.filePath(c.typed);
    saveFilter = filters[c.filter];
    w->cmdSaveAs->click();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes[0].icon, c.firstBox) << boxes[0].text.toStdString();
    // The question names the file with its extension, the refusal the
    // extension.
    const QString named = c.firstBox == QMessageBox::Warning ? QString("\".jpg\"") : dir.filePath(c.file);
    EXPECT_TRUE(boxes[0].text.contains(named)) << boxes[0].text.toStdString();
    EXPECT_EQ(content(c.file), c.content);
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
            QStringList({"document.pdf", "drawing.svg", "paper.pdf", "printed.png", "svg-filter.png", "taken.png"}));
}

// Ctrl+P prints what is shown, here to a PDF file as the print dialog
// offers it: the table with its title and summary (as the window draws
// them), the chart as its PDF page (vectors, no image), and the report
// window's pages; a cancelled dialog prints nothing.
TEST_F(ChartViewTest, PrintWritesWhatIsShown) {
  QTemporaryDir dir;
  Start(LocalAJD(2024, 6, 15, 14, 10));
  auto run = [](const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
  };
  const bool poppler = !QStandardPaths::findExecutable("pdftotext").isEmpty();
  auto press = [this](QWidget* window) {
    for (QShortcut* s : window->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly)) {
      if (s->key() == QKeySequence(QKeySequence::Print)) emit s->activated();
    }
  };
  printTo = dir.filePath("table.pdf");
  press(w.get());
  ASSERT_TRUE(QFile::exists(printTo));
  // The window's drawing of the table area, at the printer's resolution.
  if (poppler) {
    EXPECT_TRUE(run("pdfinfo", {printTo}).contains(QRegularExpression("Pages: +1\\n")));
  }

  w->cmdToggleGraphic->click();
  printTo = dir.filePath("chart.pdf");
  press(w.get());
  ASSERT_TRUE(QFile::exists(printTo));
  if (poppler) {
    EXPECT_EQ(run("pdfimages", {"-list", printTo}).trimmed().count('\n'), 1);  // the heading only
    EXPECT_TRUE(run("pdftotext", {printTo, "-"}).contains("Heliocentric chart of the world date"));
  }

  w->cmdToggleGraphic->click();
  w->cmdReport->click();
  FrmDurations* report = w->Durations();
  ASSERT_NE(report, nullptr);
  printTo = dir.filePath("report.pdf");
  report->cmdPrint->click();
  ASSERT_TRUE(QFile::exists(printTo));
  if (poppler) {
    const QString text = run("pdftotext", {"-layout", printTo, "-"});
    const QString first = report->txbOutput->toPlainText().split('\n').front().simplified();
    EXPECT_TRUE(text.simplified().contains(first)) << first.toStdString();
    EXPECT_TRUE(text.contains("Page 1 of "));
  }

  printTo.clear();
  report->cmdPrint->click();
  press(w.get());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
            QStringList({"chart.pdf", "report.pdf", "table.pdf"}));
  EXPECT_TRUE(boxes.empty());
}

// On a screen of twice the pixels the chart is drawn again at that
// resolution: every pixel of an aspect line at 1x has its colour in the
// matching 2x2 block at 2x (within a pixel), and the picture is twice the
// size, not the raster scaled. A right click 2 pixels beside a line names it.
TEST_F(ChartViewTest, ChartIsDrawnAtTheScreensOwnResolution) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  w->cmdToggleGraphic->click();
  const QImage one = w->picGraphic->Rendered(1.0).convertToFormat(QImage::Format_RGB32);
  const QImage two = w->picGraphic->Rendered(2.0).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(one, w->picGraphic->Canvas().Image().convertToFormat(QImage::Format_RGB32));
  ASSERT_EQ(two.size(), one.size() * 2);
  EXPECT_EQ(two.devicePixelRatio(), 2.0);
  std::set<QRgb> kinds;
  for (int k = 1; k <= kNumKinds; ++k) kinds.insert(vemo::chart::ToArgb(w->Engine().Settings.AspectColours[k]) | 0xFF000000u);
  int linePixels = 0, matched = 0;
  for (int y = 0; y < one.height(); ++y) {
    for (int x = 0; x < one.width(); ++x) {
      const QRgb c = one.pixel(x, y);
      if (!kinds.count(c)) continue;
      ++linePixels;
      bool seen = false;
      for (int v = 2 * y - 1; v <= 2 * y + 2 && !seen; ++v) {
        for (int u = 2 * x - 1; u <= 2 * x + 2 && !seen; ++u) {
          seen = u >= 0 && v >= 0 && u < two.width() && v < two.height() && two.pixel(u, v) == c;
        }
      }
      matched += seen;
    }
  }
  EXPECT_GT(linePixels, 200);
  EXPECT_GE(matched * 100, linePixels * 95) << matched << " of " << linePixels;
  // The 2x picture is not the 1x one blown up: its lines are thinner than two pixels.
  EXPECT_NE(two, one.scaled(two.size()));

  // A right click 2 pixels to the side of a line pixel (with only the chart's
  // black between) names that line's kind; in an empty corner nothing.
  int tried = 0;
  for (int y = 10; y < one.height() - 10 && tried < 20; y += 7) {
    for (int x = 10; x < one.width() - 10 && tried < 20; ++x) {
      const QRgb c = one.pixel(x, y);
      if (!kinds.count(c) || one.pixel(x + 1, y) != 0xFF000000u || one.pixel(x + 2, y) != 0xFF000000u) continue;
      bool clear = true;  // no other line pixel within 3 of the click
      for (int v = y - 3; v <= y + 3; ++v) {
        for (int u = x + 1; u <= x + 5; ++u) clear = clear && (one.pixel(u, v) == 0xFF000000u || one.pixel(u, v) == c);
      }
      if (!clear) continue;
      ++tried;
      w->picGraphic->SetLastClick(QPointF(x + 2.5, y + 0.5));
      EXPECT_EQ(w->picGraphic->LineKindsNearLastClick(w->Engine().Settings.AspectColours),
                vemo::chart::LineKindsAt(vemo::chart::FromArgb(c), w->Engine().Settings.AspectColours))
          << x << "," << y;
    }
  }
  EXPECT_GT(tried, 5);
  w->picGraphic->SetLastClick(QPointF(2.5, 2.5));
  EXPECT_EQ(w->picGraphic->LineKindsNearLastClick(w->Engine().Settings.AspectColours), "");
}

}  // namespace
}  // namespace vemo::ui::testing
