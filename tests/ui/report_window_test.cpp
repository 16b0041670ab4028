// The Report button and the report window: its two faces, the sort list and
// the durations switch, copying, and a table without aspects.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRadioButton>
#include <QUrl>

#include <functional>

#include "app/aspects/date_rows.h"
#include "app/settings/dialog_folders.h"
#include "app/text/program_text.h"
#include "app/ui/frm_configure.h"
#include "app/ui/frm_durations.h"
#include "app/ui/frm_view.h"
#include "app/ui/weblink.h"
#include "app/ui/window_utils.h"
#include "tests/ui/window_test_support.h"

namespace vemo::ui::testing {
namespace {

QStringList Lines(const FrmDurations* d) {
  return d->txbOutput->toPlainText().split('\n', Qt::SkipEmptyParts);
}

class ReportTest : public WindowTest {};

TEST_F(ReportTest, TransitListSortsAndHidesDurations) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  w->cmdReport->click();
  FrmDurations* d = w->Durations();
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(d->isVisible());
  EXPECT_EQ(d->windowTitle(), "world transits and their durations");
  EXPECT_TRUE(d->lblTitle->text().startsWith("World transits on June 15, 2024")) << d->lblTitle->text().toStdString();
  EXPECT_TRUE(d->lblTitle->text().endsWith("   "));
  ASSERT_EQ(d->cboSortBy->count(), 6);
  EXPECT_TRUE(d->cboSortBy->isEnabled());
  EXPECT_TRUE(d->chkShowDuration->isChecked());
  const QStringList byExactness = Lines(d);
  ASSERT_EQ(byExactness.size(), static_cast<int>(w->Engine().DurationRecords.size()));
  for (const QString& line : byExactness) {
    EXPECT_TRUE(line.contains(" from ") || line.contains("midpoint")) << line.toStdString();
  }
  // By ending: the midpoint lines go; by beginning they stay, first.
  d->cboSortBy->setCurrentIndex(4);
  int midpoints = 0;
  for (const DurationEntry& r : w->Engine().DurationRecords) midpoints += r.Planet2 == 10;
  EXPECT_EQ(Lines(d).size(), byExactness.size() - midpoints);
  d->cboSortBy->setCurrentIndex(3);
  EXPECT_EQ(Lines(d).size(), byExactness.size());
  if (midpoints > 0) {
    EXPECT_TRUE(Lines(d).front().contains("midpoint"));
  }
  // Without durations the lines end after the second planet.
  d->chkShowDuration->click();
  EXPECT_FALSE(d->chkShowDuration->isChecked());
  for (const QString& line : Lines(d)) EXPECT_FALSE(line.contains(" from ")) << line.toStdString();
  // Sorting by duration turns them on again.
  d->cboSortBy->setCurrentIndex(5);
  EXPECT_TRUE(d->chkShowDuration->isChecked());

  d->cmdCopy->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), d->lblTitle->text() + "\n\n" + d->txbOutput->toPlainText());
  d->close();
  EXPECT_FALSE(d->isVisible());
}

// Export writes every aspect of the table (not the midpoint lines) with the
// instants of its time in orb, as iCalendar or CSV; a place that cannot be
// written says so and leaves nothing behind.
// Save as PDF writes the shown report on PDF pages, by the name's
// extension (or .pdf added); another extension is refused and nothing written.
TEST_F(ReportTest, SaveAsPdfWritesThePages) {
  QTemporaryDir dir;
  Start(LocalAJD(2024, 6, 15, 14, 10));
  w->cmdReport->click();
  FrmDurations* d = w->Durations();
  ASSERT_NE(d, nullptr);
  const struct {
    const char* typed;
    const char* written;  // "" nothing
    QMessageBox::Icon icon;
  } cases[] = {{"report", "report.pdf", QMessageBox::Information},
               {"named.PDF", "named.PDF", QMessageBox::Information},
               {"report.txt", "", QMessageBox::Warning}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    boxes.clear();
    saveName = dir.filePath(c.typed);
    d->cmdSavePdf->click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, c.icon) << boxes[0].text.toStdString();
    EXPECT_EQ(boxes[0].title, d->cmdSavePdf->text());
    if (*c.written == 0) continue;
    QFile file(dir.filePath(c.written));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF-"));
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), QStringList({"named.PDF", "report.pdf"}));
}

TEST_F(ReportTest, ExportWritesTheAspectsWithTheirInstants) {
  QTemporaryDir dir;
  Start(LocalAJD(2024, 6, 15, 14, 10));
  w->cmdReport->click();
  FrmDurations* d = w->Durations();
  ASSERT_NE(d, nullptr);
  EXPECT_TRUE(d->cmdExport->isVisible());
  int aspects = 0;
  for (const DurationEntry& r : w->Engine().DurationRecords) aspects += r.Planet2 <= 9;
  ASSERT_GT(aspects, 0);
  const QString blocker = dir.filePath("not-a-folder");
  QFile(blocker).open(QIODevice::WriteOnly);
  const QStringList filters = FrmDurations::ExportFilters();
  struct Case {
    const char* name;
    QString path;
    int filter;
    const char* starts;  // "" when the export must fail
    int records;         // lines or events expected
  } cases[] = {{"Calendar", dir.filePath("aspects.ics"), 0, "BEGIN:VCALENDAR\r\n", aspects},
               {"Csv", dir.filePath("aspects.csv"), 1, "event,utc,jd,planet1,planet2,kind,", -1},
               {"Unwritable", blocker + "/aspects.ics", 0, "", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    boxes.clear();
    saveName = c.path;
    saveFilter = filters[c.filter];
    d->cmdExport->click();
    ASSERT_EQ(boxes.size(), 1u);
    QFile file(c.path);
    if (!*c.starts) {
      EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
      EXPECT_TRUE(boxes[0].text.startsWith(QString::fromStdString(vemo::ProgramText(409))));
      EXPECT_FALSE(file.exists());
      continue;
    }
    EXPECT_EQ(boxes[0].icon, QMessageBox::Information);
    EXPECT_TRUE(boxes[0].text.endsWith(c.path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith(QLatin1String(c.starts))) << text.left(80).toStdString();
    if (c.records > 0) {
      EXPECT_EQ(text.count("BEGIN:VEVENT"), c.records);
    } else {
      // Every aspect enters and leaves once around the table's date.
      EXPECT_GE(text.count("\r\nenters,"), aspects - 2);
      EXPECT_GE(text.count("\r\nleaves,"), aspects - 2);
    }
  }
  // Cancelling the dialog writes nothing.
  boxes.clear();
  saveName.clear();
  d->cmdExport->click();
  EXPECT_TRUE(boxes.empty());
}

// The window's Export writes the calendar of vemo-cli events over the
// instant of the table, byte for byte: at both ends of the positions (where
// bounds that are not known end at the edge of the data, not at another
// aspect's instant) and in Personal transits. The report keeps what it
// showed: a Compute at another date afterwards changes neither its sorting
// nor its Export.
TEST_F(ReportTest, ExportEqualsTheCommandLineAndOutlivesACompute) {
  QTemporaryDir dir;
  qputenv("VEMO_DTSTAMP", "20240101T000000Z");
  Start(LocalAJD(2024, 6, 15, 14, 10));
  const struct Case {
    const char* name;
    const char* year;
    int month, day, hour;
    bool personal;
    QStringList arguments;
  } cases[] = {
      {"End of Pluto", "2199", 12, 20, 17, false, {"--from", "2199-12-20T17:00Z", "--to", "2199-12-20T17:00Z"}},
      {"Start of the outer planets", "1600", 1, 10, 12, false, {"--from", "1600-01-10T12:00Z", "--to", "1600-01-10T12:00Z"}},
      {"Personal transits", "2024", 6, 15, 14, true,
       {"--mode", "personal1", "--birth1", "1969-07-20T20:30Z", "--from", "2024-06-15T14:00Z", "--to",
        "2024-06-15T14:00Z"}},
  };
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetRow(0, c.year, c.month, c.day, HourEntry(c.hour, 0), kGmt);
    (c.personal ? w->optPersonal[0] : w->optPlanetary)->click();
    w->cmdCompute->click();
    w->cmdReport->click();
    FrmDurations* d = w->Durations();
    ASSERT_NE(d, nullptr);
    const QString listed = d->txbOutput->toPlainText();
    ASSERT_FALSE(listed.isEmpty());
    // Another table under the open report.
    SetRow(0, "2050", 3, 1, HourEntry(6, 0), kGmt);
    w->cmdCompute->click();
    ASSERT_TRUE(w->Engine().DurationRecords.empty());
    d->cboSortBy->setCurrentIndex(1);
    d->cboSortBy->setCurrentIndex(0);
    EXPECT_EQ(d->txbOutput->toPlainText(), listed);

    boxes.clear();
    saveName = dir.filePath("window.ics");
    saveFilter = FrmDurations::ExportFilters()[0];
    d->cmdExport->click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, QMessageBox::Information);
    QFile exported(saveName);
    ASSERT_TRUE(exported.open(QIODevice::ReadOnly));
    const QByteArray calendar = exported.readAll();

    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VEMO_DTSTAMP", "20240101T000000Z");
    cli.setProcessEnvironment(environment);
    cli.start(VEMO_CLI_PROGRAM, QStringList{"events", "--format", "ics"} + c.arguments);
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QByteArray expected = cli.readAllStandardOutput();
    EXPECT_GT(calendar.count("BEGIN:VEVENT"), 3);
    EXPECT_EQ(calendar.toStdString(), expected.toStdString());
  }
  qunsetenv("VEMO_DTSTAMP");
}

// Every file dialog opens where a file of its kind was last chosen (the
// documents or home folder the first time), whatever the other kinds did.
// Export's name decides the format: no extension gets the chosen type's
// (asking before replacing that file), another extension is refused.
TEST_F(ReportTest, FileDialogsStartWhereTheirKindWasLastUsed) {
  QTemporaryDir dir;
  const QString first = QString::fromStdString(settings::DialogStartFolder(settings::DialogKind::Export));
  ASSERT_TRUE(QDir(dir.path()).mkpath("states") && QDir(dir.path()).mkpath("pictures") &&
              QDir(dir.path()).mkpath("exports"));
  Start(LocalAJD(2024, 6, 15, 14, 10));
  const QStringList exportFilters = FrmDurations::ExportFilters();
  const struct Step {
    const char* name;
    std::function<void()> act;
    QString chosen;       // the name the dialog answers
    QString filter;       // "" for the first filter
    QString openedIn;     // the folder the dialog must open in
    QString written;      // the file that must exist afterwards ("" for none)
    int boxes;            // message boxes shown
  } steps[] = {
      {"Save as", [this] { w->cmdSaveAs->click(); }, dir.filePath("states/a.qel"), "", first, dir.filePath("states/a.qel"), 0},
      {"Load from", [this] { w->cmdLoadState->click(); }, dir.filePath("states/a.qel"), "", dir.filePath("states"), "", 0},
      {"Save chart as", [this] {
         w->cmdToggleGraphic->click();
         w->cmdSaveAs->click();
       }, dir.filePath("pictures/c.svg"), "", first, dir.filePath("pictures/c.svg"), 1},
      {"Save chart as again", [this] { w->cmdSaveAs->click(); }, dir.filePath("pictures/d.svg"), "",
       dir.filePath("pictures"), dir.filePath("pictures/d.svg"), 1},
      {"Export without extension", [this] {
         w->cmdReport->click();
         w->Durations()->cmdExport->click();
       }, dir.filePath("exports/e"), exportFilters[1], first, dir.filePath("exports/e.csv"), 1},
      {"Export of another kind", [this] { w->Durations()->cmdExport->click(); }, dir.filePath("exports/e.txt"), "",
       dir.filePath("exports"), "", 1},
      {"Export over the file the extension names", [this] { w->Durations()->cmdExport->click(); },
       dir.filePath("exports/e"), exportFilters[1], dir.filePath("exports"), dir.filePath("exports/e.csv"), 1},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    boxes.clear();
    dialogFolders.clear();
    saveName = openName = step.chosen;
    saveFilter = step.filter;
    step.act();
    ASSERT_EQ(dialogFolders.size(), 1u);
    EXPECT_EQ(dialogFolders[0], step.openedIn);
    EXPECT_EQ(static_cast<int>(boxes.size()), step.boxes);
    if (!step.written.isEmpty()) {
      EXPECT_TRUE(QFile::exists(step.written));
    }
  }
  EXPECT_FALSE(QFile::exists(dir.filePath("exports/e.txt")));
  // The last step asked before replacing e.csv, and No (the default) kept it.
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].icon, QMessageBox::Question);
  EXPECT_TRUE(boxes[0].text.contains("e.csv"));
}

TEST_F(ReportTest, NatalFaceDescribesTheChart) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  w->optNatal[0]->click();
  w->cmdReport->click();
  FrmDurations* d = w->Durations();
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->cboSortBy->count(), 0);
  EXPECT_FALSE(d->chkShowDuration->isEnabled());
  EXPECT_TRUE(d->lblTitle->text().endsWith(QString::fromStdString(vemo::ProgramText(51))));
  const QString text = d->txbOutput->toPlainText();
  EXPECT_TRUE(text.startsWith("In this natal chart there are ")) << text.toStdString();
  EXPECT_TRUE(text.trimmed().endsWith(QString::fromStdString(vemo::ProgramText(87))));
}

TEST_F(ReportTest, ATableWithoutAspectsSaysSoAndShowsAnEmptyList) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  w->Configure()->OrbListIndex.fill(0);
  w->cmdCompute->click();
  ASSERT_EQ(w->Engine().GetTotalNumAspects(), 0);
  w->cmdReport->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, QString::fromStdString(vemo::ProgramText(383)));
  ASSERT_NE(w->Durations(), nullptr);
  EXPECT_TRUE(w->Durations()->txbOutput->toPlainText().isEmpty());
  EXPECT_FALSE(w->Durations()->cboSortBy->isEnabled());
}

TEST_F(ReportTest, HelpShowsTheHelpFileAndTheLinkOpensTheManual) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  EXPECT_TRUE(w->cmdHelp->isEnabled());
  w->cmdHelp->click();
  FrmView* v = w->HelpViewer();
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(v->isVisible());
  EXPECT_EQ(v->windowTitle(), PlainCaption(w->cmdHelp));
  EXPECT_TRUE(v->txbText1->toPlainText().contains("heliocentric"));
  EXPECT_FALSE(v->cmdCopyToClipboard->isVisible());

  std::vector<QUrl> opened;
  bool opens = true;
  SetUrlOpenerForTesting([&](const QUrl& url) {
    opened.push_back(url);
    return opens;
  });
  emit w->lblURL->linkActivated(w->ManualUrl());
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].toLocalFile(), QUrl(w->ManualUrl()).toLocalFile());
  EXPECT_TRUE(boxes.empty());
  opens = false;
  emit w->lblURL->linkActivated(w->ManualUrl());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Cannot launch web browser");
  EXPECT_TRUE(boxes[0].text.contains("'html'")) << boxes[0].text.toStdString();
  SetUrlOpenerForTesting({});
}

}  // namespace
}  // namespace vemo::ui::testing
