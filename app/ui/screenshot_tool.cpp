// vemo-screenshot: starts the main window for a fixed instant and writes
// pictures of it (World transits and Synastry) and of the configuration
// window as PNG files. Used by scripts/screenshot for the manual and the
// README; it runs under QT_QPA_PLATFORM=offscreen or a virtual X server.
//
// Usage: vemo-screenshot OUTPUT_FOLDER [AJD]
// AJD is the instant shown as the present (default 2460677.0, which is
// 2025-01-01 12:00 UT); the computer's zone is taken as GMT+1:00. Settings are
// read from and written to a temporary folder, never the user's own.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

#include "app/settings/frm_configure.h"
#include "app/ui/frm_main.h"
#include "app/ui/message_box.h"

namespace {

bool Save(QWidget* w, const QString& path) {
  QApplication::processEvents();
  const bool ok = w->grab().save(path, "PNG");
  std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "cannot write", qPrintable(path));
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: vemo-screenshot OUTPUT_FOLDER [AJD]\n");
    return 2;
  }
  const QString out = QString::fromLocal8Bit(argv[1]);
  const double ajd = argc > 2 ? std::atof(argv[2]) : 2460677.0;
  if (!QDir().mkpath(out)) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
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
  vemo::ui::FrmMain w(options);
  if (!w.StartUp()) return 1;
  bool ok = Save(&w, QDir(out).filePath("main-world.png"));

  // Synastry of two birthdates.
  const struct { int row; const char* year; int month, day, hour, zone; } births[] = {
      {1, "1969", 7, 20, 41, 0}, {2, "1982", 3, 10, 17, 26}};
  for (const auto& b : births) {
    w.txbYearCE[b.row]->setText(QString::fromLatin1(b.year));
    w.cboMonthCE[b.row]->setCurrentIndex(b.month);
    w.cboDayCE[b.row]->setCurrentIndex(b.day);
    w.cboHour[b.row]->setCurrentIndex(b.hour);
    w.cboTimezone[b.row]->setCurrentIndex(b.zone);
  }
  w.optSynastry->click();
  w.Timer1_Timer();
  ok = Save(&w, QDir(out).filePath("main-synastry.png")) && ok;

  auto* configure = w.Configure();
  configure->Activate();
  configure->show();
  ok = Save(configure, QDir(out).filePath("configure.png")) && ok;
  configure->hide();
  return ok ? 0 : 1;
}
