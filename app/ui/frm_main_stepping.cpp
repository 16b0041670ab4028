// frmMain: the periodic refresh (Timer1), the run search with its pauses,
// the size rule of the window and stepping the world date through time.
#include "app/ui/frm_main.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

#include "app/text/program_text.h"
#include "app/ui/chart_view.h"
#include "app/ui/frm_run.h"
#include "app/ui/message_box.h"
#include "app/ui/twips.h"
#include "app/ui/window_utils.h"

namespace vemo::ui {

namespace {

QString Text(int item) { return DisplayText(vemo::ProgramText(item)); }

}  // namespace

// ---------------------------------------------------------------- Timer1

bool FrmMain::RowHasInput(int row) const {
  return !txbYearCE[row]->text().isEmpty() || cboMonthCE[row]->currentIndex() > 0 ||
         cboDayCE[row]->currentIndex() > 0 || cboHour[row]->currentIndex() > 0 ||
         cboTimezone[row]->currentIndex() > 0;
}

bool FrmMain::WorldRowComplete() const {
  return !txbYearCE[0]->text().isEmpty() && cboMonthCE[0]->currentIndex() > 0 &&
         cboDayCE[0]->currentIndex() > 0 && cboHour[0]->currentIndex() > 0 &&
         cboTimezone[0]->currentIndex() > 0;
}

void FrmMain::Timer1_Timer() {
  const int checked = CheckedMode();
  const bool tableShown = picGraphic->isHidden();
  lblURL->setVisible(tableShown && !IsTwoRowMode(checked));
  lblUserManual->setVisible(!lblURL->isHidden());  // the link's caption goes with it

  for (int r = 0; r < 3; ++r) {
    const QString text = txbYearCE[r]->text();
    const QString digits = QString::fromStdString(DigitsOnly(text.toStdString()));
    if (digits != text) txbYearCE[r]->setText(digits);
    ShowWeekday(r);
  }
  RefreshEnabledStates();
  cmdToggleGraphic->setText(Caption(tableShown ? 37 : 41));
  lblCopyright->setVisible(tableShown);

  if (!isMinimized()) ApplyModeHeight();

  if (stateJustRead_ && ++ticksSinceStateRead_ >= 5) {
    stateJustRead_ = false;
    ticksSinceStateRead_ = 0;
  }
}

void FrmMain::RefreshEnabledStates() {
  for (QPushButton* b : notYetAvailable_) b->setEnabled(false);
  if (runInProgress_) {
    // Only Run (to stop), Quit and the text boxes; EnableForRun set them.
    cmdRun->setEnabled(true);
    EnableStepControls(false);
    return;
  }
  for (int r = 0; r < 3; ++r) cmdClear[r]->setEnabled(RowHasInput(r));
  // Restore while there is a per-user file to restore; Load from beside the
  // table only.
  SetCommandEnabled(cmdRestore, !userStatePath_.empty() && QFileInfo::exists(QString::fromStdString(userStatePath_)));
  SetCommandEnabled(cmdLoadState, picGraphic->isHidden() && hasResult_);
  UpdateStepControls();
  // The run search is offered only beside the chart, in the modes with a
  // world date and with a step longer than half an hour.
  const bool chartShown = !picGraphic->isHidden() && !GraphShown;
  SetCommandEnabled(cmdRun, chartShown && ModeUsesWorldDate(CheckedMode()) && cboForwardBack->currentIndex() > 0 &&
                                cmdToggleGraphic->isEnabled());
}

// ---------------------------------------------------------------- run

void FrmMain::cmdRun_Click() {
  if (ending_) return;
  if (!runInProgress_ && CheckedMode() == 1) {
    const bool ticking = Timer1.isActive();
    Timer1.stop();
    runWindow_->ShowModal(this, engine_.PlanetCount);
    if (ticking && !ending_) Timer1.start();
    if (ending_ || runWindow_->Cancelled()) return;
  }
  if (runInProgress_) {
    StopRun();
    return;
  }
  // In the personal-transit modes a run only animates: nothing is sought.
  runCriteria_ = CheckedMode() == 1 ? runWindow_->Criteria() : reports::RunCriteria{};
  reports::StartRunState(engine_.Run, runCriteria_);
  runInProgress_ = true;
  cmdRun->setText(Caption(43));
  EnableForRun(false);
  cmdForwardBack_Click(0);
}

void FrmMain::StopRun() {
  runInProgress_ = false;
  reports::EndRunState(engine_.Run);
  cmdRun->setText(Caption(36));
  EnableForRun(true);
}

void FrmMain::EnableForRun(bool enable) {
  SetEnabledOfAll(this, enable);
  if (enable) {
    RefreshEnabledStates();
    SetSaveAsCaption();
    return;
  }
  for (QWidget* c : std::initializer_list<QWidget*>{cmdRun, cmdQuit, txbReport, txbReport1}) c->setEnabled(true);
}

void FrmMain::RunCompletionTest() {
  const int n = reports::RunCompletionCount(engine_, runCriteria_);
  if (n == 0) return;
  const std::string message = reports::RunFoundMessage(runCriteria_, n, [](int item) { return vemo::ProgramText(item); });
  ShowMessageBox(this, {QMessageBox::Information, Text(122), DisplayText(message), QMessageBox::Ok, QMessageBox::Ok});
  StopRun();
  // The run window again, to search on from here or to cancel. When this
  // happens within a step, a run started from it goes on in that step's
  // loop after the pause.
  cmdRun_Click();
}

// ---------------------------------------------------------------- size rule

void FrmMain::ApplyModeHeight() {
  const int mode = CheckedMode();
  resizing_ = true;
  const int w = TwipsToPixelsX(kMainWindowWidthTwips, this);
  setMinimumSize(w, TwipsToPixelsY(kMinimumHeightTwips, this));
  setMaximumSize(w, TwipsToPixelsY(ModeHeightTwips(mode), this));
  resize(w, TwipsToPixelsY(ModeHeightTwips(mode), this));
  resizing_ = false;
}

void FrmMain::ApplySizeRuleNow() {
  if (!blnStartupCompleted || isMinimized() || resizing_) return;
  resizing_ = true;
  const SizeTwips wanted = ApplySizeRule({PixelsToTwipsX(width(), this), PixelsToTwipsY(height(), this)}, CheckedMode());
  const QSize px(TwipsToPixelsX(wanted.width, this), TwipsToPixelsY(wanted.height, this));
  if (px != size()) resize(px);
  resizing_ = false;
}

void FrmMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplySizeRuleNow();
}

// ---------------------------------------------------------------- stepping

StepDate FrmMain::ReadWorldStepDate() const {
  return {txbYearCE[0]->text().toStdString(), cboMonthCE[0]->currentIndex(), cboDayCE[0]->currentIndex(),
          cboHour[0]->currentIndex()};
}

void FrmMain::WriteWorldStepDate(const StepDate& d) {
  const QString year = QString::fromStdString(d.yearText);
  if (txbYearCE[0]->text() != year) txbYearCE[0]->setText(year);
  cboMonthCE[0]->setCurrentIndex(d.month);
  cboDayCE[0]->setCurrentIndex(d.day);
  cboHour[0]->setCurrentIndex(d.hourEntry);
}

void FrmMain::WaitForStepDelay() {
  // The pause between two steps of a run: the event loop keeps running (the
  // user can stop the run) until Timer2 fires once.
  stepDelayPending_ = true;
  Timer2.setInterval((CheckedMode() == 1 && runWindow_->RunQuickly()) ? 100 : 1000);
  if (options_.waitBetweenSteps) {
    options_.waitBetweenSteps(Timer2.interval());
  } else {
    QEventLoop loop;
    const auto c = connect(&Timer2, &QTimer::timeout, &loop, &QEventLoop::quit);
    waitLoop_ = &loop;
    Timer2.start();
    if (stepDelayPending_) loop.exec();
    waitLoop_ = nullptr;
    Timer2.stop();
    disconnect(c);
  }
  stepDelayPending_ = false;
}

void FrmMain::cmdForwardBack_Click(int index) {
  if (steppingInProgress_) return;  // a click re-entered during the pause of a run
  const bool forward = index == 0;
  const StepCalendar calendar = reports::DateLibraryStepCalendar();
  steppingInProgress_ = true;
  QCoreApplication::processEvents();
  do {
    const StepDate previous = ReadWorldStepDate();
    StepDate next = previous;
    const int size = std::clamp(cboForwardBack->currentIndex(), 0, kStepItems - 1);
    if (!StepWorldDate(next, static_cast<StepSize>(size), forward, calendar)) {
      if (runInProgress_) StopRun();
      break;
    }
    WriteWorldStepDate(next);
    // A pattern with the sought planets found at an earlier step must not
    // complete this one.
    if (runInProgress_) reports::BeforeRunCompute(engine_.Run);
    // A refused computation puts the previous date back, whichever row was
    // refused: in Personal transits a bad birthdate leaves the table at the
    // old world date, and the row must not claim otherwise. The date's
    // message has been shown; a run ends there, with its controls usable
    // again.
    if (!cmdCompute_Click() || engine_.JulianDates[0] < 0) {
      WriteWorldStepDate(previous);
      if (runInProgress_) StopRun();
      break;
    }
    if (!forward || !runInProgress_) break;
    WaitForStepDelay();
    engine_.Run.NumPlanetsFound = 0;
  } while (runInProgress_ && !ending_);
  steppingInProgress_ = false;
}

}  // namespace vemo::ui
