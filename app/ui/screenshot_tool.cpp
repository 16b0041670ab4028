// vemo-screenshot: starts the main window for a fixed instant and writes
// pictures of it (the six modes, World transits with the darker palette
// colours and a kind left out of the chart, the one-set and two-set charts
// and the time graph of a personal transit, in degrees and in radians), of
// the report window in World transits and Natal aspects, of the
// configuration window and of the run window as PNG files. Used by
// scripts/screenshot for the manual and the README; it runs under
// QT_QPA_PLATFORM=offscreen or a virtual X server.
//
// Usage: vemo-screenshot [--language en|de] OUTPUT_FOLDER [AJD [SUFFIX [ONLY]]]
// AJD is the instant shown as the present (default 2460677.0, which is
// 2025-01-01 12:00 UT); the computer's zone is taken as GMT+1:00. SUFFIX is
// added to every file name (main-world-150.png for a run at 150 %). ONLY
// picks the pictures written: "charts" for every chart and graph, else the
// names separated by commas ("main-world,configure"). The windows speak
// English unless --language names another of the program's languages; the
// computer's own language never counts, so that the pictures stay alike on
// every machine. Settings are read from and written to a temporary folder,
// never the user's own.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <algorithm>
#include <utility>

#include "app/text/languages.h"
#include "app/ui/frm_configure.h"
#include "app/ui/frm_durations.h"
#include "app/ui/frm_main.h"
#include "app/ui/frm_run.h"
#include "app/ui/message_box.h"

namespace {

// Where the pictures go, the end of their names, and those asked for
// (empty: all).
QString outFolder;
QString suffix;
QStringList only;
bool chartsOnly = false;

bool Wanted(const char* name) {
  const QString n = QString::fromLatin1(name);
  if (chartsOnly) return n.startsWith(QStringLiteral("chart-"));
  return only.isEmpty() || only.contains(n);
}

bool Save(QWidget* w, const char* name) {
  if (!Wanted(name)) return true;
  const QString path = QDir(outFolder).filePath(QString::fromLatin1(name) + suffix + QStringLiteral(".png"));
  QApplication::processEvents();
  const bool ok = w->grab().save(path, "PNG");
  std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "cannot write", qPrintable(path));
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  int language = 0;
  if (const qsizetype at = args.indexOf(QStringLiteral("--language")); at >= 0) {
    language = at + 1 < args.size() ? vemo::LanguageOfCode(args[at + 1].toStdString()) : -1;
    args.remove(at, std::min<qsizetype>(2, args.size() - at));
  }
  if (args.isEmpty() || language < 0) {
    std::fprintf(stderr, "usage: vemo-screenshot [--language en|de] OUTPUT_FOLDER [AJD [SUFFIX [ONLY]]]\n");
    return 2;
  }
  outFolder = args[0];
  const double ajd = args.size() > 1 ? args[1].toDouble() : 2460677.0;
  suffix = args.size() > 2 ? args[2] : QString();
  if (args.size() > 3) {
    chartsOnly = args[3] == QStringLiteral("charts");
    if (!chartsOnly) only = args[3].split(QLatin1Char(','), Qt::SkipEmptyParts);
  }
  if (!QDir().mkpath(outFolder)) {
    std::fprintf(stderr, "cannot create %s\n", qPrintable(outFolder));
    return 1;
  }
  QTemporaryDir settingsDir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
  vemo::ui::SetMessageBoxHook([](const vemo::ui::MessageBoxRequest& r) {
    std::fprintf(stderr, "message: %s\n", qPrintable(r.text));
    return QMessageBox::Ok;
  });

  vemo::ui::MainWindowOptions options;
  options.currentAJD = [ajd] { return ajd; };
  options.systemTimezoneMinutes = [] { return 60; };
  options.endProgram = [] {};
  options.language = language;
  // The pictures show the program as a new user meets it, whatever state
  // the person running this tool has saved.
  options.userStatePath = settingsDir.filePath(QStringLiteral("vemo.usr")).toStdString();
  vemo::ui::FrmMain w(options);
  if (!w.StartUp()) return 1;
  bool ok = true;

  // Two birthdates for the modes that use them.
  const struct { int row; const char* year; int month, day, hour, zone; } births[] = {
      {1, "1969", 7, 20, 41, 0}, {2, "1982", 3, 10, 17, 26}};
  for (const auto& b : births) {
    w.txbYearCE[b.row]->setText(QString::fromLatin1(b.year));
    w.cboMonthCE[b.row]->setCurrentIndex(b.month);
    w.cboDayCE[b.row]->setCurrentIndex(b.day);
    w.cboHour[b.row]->setCurrentIndex(b.hour);
    w.cboTimezone[b.row]->setCurrentIndex(b.zone);
  }
  const std::pair<QRadioButton*, const char*> modes[] = {
      {w.optNatal[0], "main-natal1"},       {w.optNatal[1], "main-natal2"},
      {w.optPersonal[0], "main-personal1"}, {w.optPersonal[1], "main-personal2"},
      {w.optSynastry, "main-synastry"},     {w.optPlanetary, "main-world"}};
  for (const auto& [option, name] : modes) {
    option->click();
    w.Timer1_Timer();
    ok = Save(&w, name) && ok;
  }

  // The darker colours of the palette on their light ground, and a kind left
  // out of the chart, which the table still shows in grey.
  {
    auto* configure = w.Configure();
    configure->Activate();
    vemo::settings::ConfigureValues v = configure->ControlValues();
    v.orbs.AspectColours = {0,
                            vemo::Rgb(0, 0, 255),     // conjunction blue
                            vemo::Rgb(128, 64, 0),    // opposition brown
                            vemo::Rgb(192, 0, 255),   // square violet
                            vemo::Rgb(255, 192, 0),   // trine orange
                            0,                        // sextile left out of the chart
                            vemo::Rgb(0, 192, 255),   // semisextile sky blue
                            vemo::Rgb(128, 128, 128)};  // quincunx grey
    configure->SetControlValues(v);
    configure->cmdAccept_Click();
    configure->hide();
    w.Timer1_Timer();
    ok = Save(&w, "main-colours") && ok;
    configure->Activate();
    configure->cmdReset_Click();  // hidden: back to the default colours, nothing asked
    configure->AspectColours = configure->ColourCopy();
    w.cmdCompute_Click();
  }

  // The chart of each kind, and the course of a personal transit.
  const std::pair<QRadioButton*, const char*> charts[] = {
      {w.optPlanetary, "chart-world"}, {w.optPersonal[0], "chart-personal1"}, {w.optSynastry, "chart-synastry"}};
  for (const auto& [option, name] : charts) {
    option->click();
    w.cmdToggleGraphic_Click();
    w.Timer1_Timer();
    ok = Save(&w, name) && ok;
    w.cmdToggleGraphic_Click();
  }
  w.optPersonal[0]->click();
  int graphCell = -1;
  for (const vemo::FoundAspect& a : w.Engine().Aspects) {
    const vemo::AspectClickInfo info = w.Engine().AspectCellClick(a.CellIndex);
    if (info.ShowGraph && vemo::IsInnerPlanet(a.Planet2)) {
      graphCell = a.CellIndex;
      break;
    }
  }
  if (graphCell >= 0) {
    w.txbCell_Click(graphCell);
    w.Timer1_Timer();
    ok = Save(&w, "chart-graph") && ok;
    w.cmdToggleGraphic_Click();
    // The same course with the table in radians: its scale stays in degrees
    // and minutes.
    w.optRadians->click();
    w.txbCell_Click(graphCell);
    w.Timer1_Timer();
    ok = Save(&w, "chart-graph-radians") && ok;
    w.cmdToggleGraphic_Click();
    w.optDegrees->click();
  } else {
    std::fprintf(stderr, "no personal transit of an inner planet to draw\n");
    ok = false;
  }
  w.optPlanetary->click();

  // The report in its two faces: the transit list and a natal description.
  const std::pair<QRadioButton*, const char*> reports[] = {{w.optPlanetary, "report-world"},
                                                          {w.optNatal[0], "report-natal1"}};
  for (const auto& [option, name] : reports) {
    option->click();
    w.cmdReport_Click();
    ok = Save(w.Durations(), name) && ok;
    w.Durations()->hide();
  }
  w.optPlanetary->click();

  auto* configure = w.Configure();
  configure->Activate();
  configure->show();
  ok = Save(configure, "configure") && ok;
  configure->hide();

  // The run window with a search filled in: two grand trines, one with Mars.
  vemo::ui::FrmRun* run = w.RunWindow();
  run->Activate(&w, w.Engine().PlanetCount);
  run->cboAspectPattern->setCurrentIndex(vemo::kGrandTrine);
  run->cboSoughtPlanet[0]->setCurrentIndex(vemo::kMars);
  run->chkTwoOrMore->setChecked(true);
  run->chkRunQuickly->setChecked(true);
  run->Timer1_Timer();
  run->show();
  ok = Save(run, "run") && ok;
  run->hide();
  return ok ? 0 : 1;
}
