#include <QPrinter>
#include "tests/ui/window_test_support.h"

#include "app/aspects/date_rows.h"
#include "app/text/program_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>

#include "platform/ordalin/ordalin.h"

namespace vemo::ui::testing {

double LocalAJD(int year, int month, int day, int hour, int minute, int zoneMinutes) {
  EuroDate d{year, month, day, ORDALIN_GREGORIAN, 0, 0};
  const double jdn = euro_date_to_jdn(&d);
  return jdn + (hour * 60 + minute - zoneMinutes) / 1440.0 - 0.5;
}

void WindowTest::SetUp() {
  ASSERT_TRUE(settingsDir.isValid());
  QStandardPaths::setTestModeEnabled(true);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
  SetMessageBoxHook([this](const MessageBoxRequest& r) {
    boxes.push_back(r);
    if (answers.empty()) return r.defaultButton != QMessageBox::NoButton ? r.defaultButton : QMessageBox::Ok;
    const auto a = answers.front();
    answers.pop_front();
    return a;
  });
}

void WindowTest::TearDown() {
  w.reset();
  vemo::SelectLanguage(0);  // the language is the process's, not the window's
  SetMessageBoxHook({});
}

void WindowTest::Start(double ajd, int zoneMinutes, const std::string& programFolder) {
  MainWindowOptions o;
  o.programFolder = programFolder;
  o.language = language;
  o.currentAJD = [ajd] { return ajd; };
  o.systemTimezoneMinutes = [zoneMinutes] { return zoneMinutes; };
  o.endProgram = [this] { ended = true; };
  // The save dialog answers with saveName and saveFilter (the first filter
  // when empty); no dialog is ever shown.
  o.saveFileName = [this](QWidget*, const QString&, const QString& folder, const QString& filters, QString* selected) {
    dialogs.push_back(filters);
    dialogFolders.push_back(folder);
    *selected = saveFilter.isEmpty() ? filters.split(QStringLiteral(";;")).front() : saveFilter;
    return saveName;
  };
  o.openFileName = [this](QWidget*, const QString&, const QString& folder, const QString& filter) {
    dialogs.push_back(filter);
    dialogFolders.push_back(folder);
    return openName;
  };
  o.printDialog = [this](QPrinter& printer, QWidget*) {
    if (printTo.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printTo);
    return true;
  };
  if (userStatePath.empty()) userStatePath = settingsDir.filePath(QStringLiteral("Tessaly/vemo.usr")).toStdString();
  o.userStatePath = userStatePath;
  o.convertBmpToPng = converter;
  if (!realPause) {
    o.waitBetweenSteps = [this](int ms) {
      if (onWait) onWait(ms);
    };
  }
  w = std::make_unique<FrmMain>(o);
  ASSERT_TRUE(w->StartUp());
  // Start-up may tell about missing data files; the tests look at later boxes.
  boxes.clear();
}

void WindowTest::SetRow(int row, const char* year, int month, int day, int hourEntry, int zoneEntry) {
  w->txbYearCE[row]->setText(QString::fromLatin1(year));
  w->cboMonthCE[row]->setCurrentIndex(month);
  w->cboDayCE[row]->setCurrentIndex(day);
  w->cboHour[row]->setCurrentIndex(hourEntry);
  w->cboTimezone[row]->setCurrentIndex(zoneEntry);
}

}  // namespace vemo::ui::testing
