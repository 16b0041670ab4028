// frmMain: Compute (the date rows read into the core and the table, summary
// and title written back) and the command buttons beside the date rows.
#include "app/ui/frm_main.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

#include "app/text/program_text.h"
#include "app/ui/chart_view.h"
#include "app/ui/frm_configure.h"
#include "app/ui/message_box.h"
#include "app/ui/window_utils.h"

namespace vemo::ui {

namespace {

QString Text(int item) { return DisplayText(vemo::ProgramText(item)); }

// Clear's question: item 342, a blank, and the row's item 343, 344 or 345.
constexpr int kClearQuestionItem = 342;
constexpr int kClearRowItem[3] = {343, 344, 345};

}  // namespace

// ---------------------------------------------------------------- Compute

DateRow FrmMain::ReadRow(int row) const {
  DateRow r;
  r.yearText = txbYearCE[row]->text().toStdString();
  r.monthIndex = std::max(0, cboMonthCE[row]->currentIndex());
  r.dayIndex = std::max(0, cboDayCE[row]->currentIndex());
  r.hourIndex = std::max(0, cboHour[row]->currentIndex());
  r.zoneIndex = std::max(0, cboTimezone[row]->currentIndex());
  return r;
}

void FrmMain::WriteRow(int row, const DateRow& value) {
  const QString year = QString::fromStdString(value.yearText);
  if (txbYearCE[row]->text() != year) txbYearCE[row]->setText(year);
  cboMonthCE[row]->setCurrentIndex(value.monthIndex);
  cboDayCE[row]->setCurrentIndex(value.dayIndex);
  cboHour[row]->setCurrentIndex(value.hourIndex);
  cboTimezone[row]->setCurrentIndex(value.zoneIndex);
}

FrmMain::ComputeInputs FrmMain::CurrentComputeInputs() const {
  return {CheckedMode(), {ReadRow(0), ReadRow(1), ReadRow(2)}, configure_->SettingsForCompute(),
          optRadians->isChecked(), engine_.PlutoAvailable};
}

bool FrmMain::cmdCompute_Click() {
  const int mode = CheckedMode();
  if (mode == 0) return false;
  std::array<DateRow, 3> rows{ReadRow(0), ReadRow(1), ReadRow(2)};
  const ComputeStatus status =
      vemo::ComputeFromRows(engine_, static_cast<Mode>(mode), rows, localTimezoneIndex_,
                            configure_->SettingsForCompute(), optRadians->isChecked());
  for (int r = 0; r < 3; ++r) {
    if (ModeUsesRow(mode, r)) WriteRow(r, rows[r]);
  }
  if (!status.Ok) {
    ReportDateError(status.BadRow);
    return false;
  }
  // Read after the rows were written back: the cleaned year and the
  // defaulted hour and zone are what the table stands for.
  lastComputeInputs_ = CurrentComputeInputs();
  ++computationsDone_;
  modeNumber_ = mode;
  hasResult_ = true;
  DrawTable();
  ShowSummary();
  intTotalNumAspects = engine_.GetTotalNumAspects();
  // During a run only Run and Quit stay usable (EnableForRun).
  SetCommandEnabled(cmdToggleGraphic, !runInProgress_);
  SetCommandEnabled(cmdLoadState, picGraphic->isHidden() && !runInProgress_);
  // The view stays as it is: a chart on screen (or the time graph, which
  // belonged to the table just replaced) shows the chart of the new table.
  if (!picGraphic->isHidden()) {
    GraphShown = false;
    if (!DrawChartOfTable()) ShowPicture(false);
  }
  ArrangeForDisplay();
  SetTitle();
  SetClickHint();
  if (runInProgress_) RunCompletionTest();
  return true;
}

void FrmMain::ReportDateError(int row) {
  if (row >= 0 && row < 3 && blnStartupCompleted) {
    const std::string message =
        vemo::DateErrorMessage(row, engine_.JulianDates[static_cast<size_t>(row)], [](int n) { return vemo::ProgramText(n); });
    ShowMessageBox(this, {QMessageBox::Information, Text(153), DisplayText(message), QMessageBox::Ok,
                          QMessageBox::Ok});
  }
  revertMode_ = true;
}

// ---------------------------------------------------------------- buttons

void FrmMain::cmdNow_Click() {
  SetWorldDateToNow();
  if (ModeUsesWorldDate(CheckedMode())) cmdCompute_Click();
}

void FrmMain::cmdClear_Click(int row) {
  const auto answer = ShowMessageBox(
      this, {QMessageBox::Question, PlainCaption(cmdClear[row]),
             Text(kClearQuestionItem) + QStringLiteral(" ") + Text(kClearRowItem[row]),
             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::NoButton});
  if (answer != QMessageBox::Yes) return;
  cboMonthCE[row]->setCurrentIndex(0);
  cboDayCE[row]->setCurrentIndex(0);
  cboHour[row]->setCurrentIndex(0);
  cboTimezone[row]->setCurrentIndex(0);
  txbYearCE[row]->clear();
}

void FrmMain::cmdConfigure_Click() {
  Timer1.stop();
  const bool changed = configure_->ShowModal();
  if (!ending_) Timer1.start();
  if (changed) {
    cmdCompute_Click();
    lblCopyright->setText(StandingStatusText());
    SetClickHint();
  }
}

void FrmMain::YearBox_Enter(int row) {
  if (ModeUsesRow(modeNumber_, row)) cmdCompute_Click();
}

void FrmMain::OnDateInputChanged(int row, bool isDropDown) {
  if (loading_ || (isDropDown && !isVisible())) return;
  if (isDropDown) lblCopyright->setText(StandingStatusText());
  InputDateChanged(row);
  if (isDropDown && !steppingInProgress_) SetFocusIfPossible(cmdCompute);
}

void FrmMain::InputDateChanged(int row) {
  if (!picGraphic->isHidden()) return;
  if (ModeUsesRow(CheckedMode(), row)) {
    SetCommandEnabled(cmdToggleGraphic, false);
    SetCommandEnabled(cmdRun, false);
  }
}

}  // namespace vemo::ui
