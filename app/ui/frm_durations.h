// frmDurations: the report of the Report button. In World and Personal
// transits the list of the table's aspects with their exactness and, on
// request, the dates they begin and end and their durations, sortable by
// several keys; in Natal aspects and Synastry a description of the chart in
// sentences. The window only shows what the report core writes.
#pragma once

#include <QWidget>

#include <array>
#include <functional>
#include <string>

#include "app/aspects/engine.h"
#include "app/reports/report_core.h"
#include "app/reports/table_export.h"
#include "app/ui/file_dialogs.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vemo::ui {

// What the report takes from the main window.
struct DurationsContext {
  AspectEngine* engine = nullptr;
  // The world date and the two birthdates as InputDateToString writes them.
  std::function<std::array<std::string, 3>(bool shortMonths)> dateTexts;
  // The main window's AddOrbToTitle(title, personal, true).
  std::function<std::string(const std::string&, bool personal)> addOrbToTitle;
  // The main window (its width, its icon).
  QWidget* mainWindow = nullptr;
  int language = 0;
  // The save dialog of Export (see SaveFileDialog). Empty: Qt's dialog.
  SaveFileDialog saveFileName;
  // The print dialog of Print. Empty: Qt's dialog.
  PrintDialog printDialog;
};

class FrmDurations : public QWidget {
  Q_OBJECT
 public:
  explicit FrmDurations(DurationsContext context, QWidget* parent = nullptr);

  // Fills the title, has the engine build the duration records, keeps a copy
  // of them (a later Compute empties the engine's), shows the window and
  // draws the report sorted by the first key. Sorting and Export use that
  // copy until the next Report.
  void Report();

  // The report as Copy puts it on the clipboard: the title, two line breaks
  // and the text.
  QString ClipboardText() const;

  QLabel* lblTitle = nullptr;
  QPlainTextEdit* txbOutput = nullptr;
  QLabel* lblSortBy = nullptr;
  QComboBox* cboSortBy = nullptr;
  QCheckBox* chkShowDuration = nullptr;
  QPushButton* cmdCopy = nullptr;
  QPushButton* cmdSavePdf = nullptr;
  QPushButton* cmdPrint = nullptr;
  QPushButton* cmdExport = nullptr;
  QPushButton* cmdClose = nullptr;

  // Export (transit modes): the aspects of the table with their entering,
  // exact and leaving instants as an iCalendar or CSV file.
  void cmdExport_Click();
  // The two file types Export offers: iCalendar, CSV.
  static QStringList ExportFilters();
  // Save as PDF: the title and the list on pages of the locale's paper.
  void cmdSavePdf_Click();
  // Print: the same pages as the PDF, through the print dialog.
  void cmdPrint_Click();

  // The width of the window, twips, that the durations switch and the
  // resize rule ask for.
  int WantedWidthTwips() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Activate();
  void RefillSortList();
  void cboSortBy_Click();
  void chkShowDuration_Click();
  void cmdCopy_Click();
  void DrawList();
  Mode CurrentMode() const { return shown_.mode; }
  bool TransitMode() const;

  DurationsContext context_;
  reports::ReportedTable shown_;  // what the window shows, as the last Report left it
  std::string description_;       // the static modes' text, made at Report
  std::vector<reports::SortEntry> sortEntries_;
  bool busy_ = false;
  bool resizing_ = false;
};

}  // namespace vemo::ui
