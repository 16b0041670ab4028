// frmRun: the criteria of a run in World transits. The main window's Run
// button shows it modally; Run keeps the criteria and hides the window, which
// stays loaded so that the criteria and "Run quickly" remain readable while
// the run goes on. The rules (repeated planets, the criteria, the completion
// test) are in run_core.h.
#pragma once

#include <QDialog>
#include <QTimer>

#include <array>
#include <functional>

#include "app/aspects/engine.h"
#include "app/reports/run_core.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace vemo::ui {

class FrmRun : public QDialog {
  Q_OBJECT
 public:
  // shared: the aspect engine's run state, which receives the pattern and
  // the sought planets when Run is pressed.
  explicit FrmRun(RunSearchState& shared, QWidget* parent = nullptr);

  // Shows the window modally (activation first) and returns when Run or
  // Cancel hid it; Cancelled() tells which. mainWindow places it;
  // planetCount is 8 or 9 (Pluto).
  void ShowModal(QWidget* mainWindow, int planetCount);
  // Activation: placed over the main window, captions, the lists refilled
  // (their selections kept), enabled states.
  void Activate(QWidget* mainWindow, int planetCount);

  // Instead of running the modal loop, ShowModal activates the window, shows
  // it and calls the hook, which presses its buttons (tests).
  void SetModalHook(std::function<void(FrmRun&)> hook) { modalHook_ = std::move(hook); }

  // The criteria kept by the last Run (cancelled set by Cancel or closing).
  const reports::RunCriteria& Criteria() const { return criteria_; }
  bool Cancelled() const { return criteria_.cancelled; }
  bool RunQuickly() const;

  // Handlers (public: the tests call them as a click would).
  void cmdRun_Click();
  void cmdCancel_Click();
  void cmdClearAspectPattern_Click();
  void cmdClearAll_Click();
  void Timer1_Timer();

  // ---- controls (named as in the window's design) ----
  QLabel* lblRunUntilFinding = nullptr;
  QComboBox* cboAspectPattern = nullptr;
  QPushButton* cmdClearAspectPattern = nullptr;
  QGroupBox* fraFrame = nullptr;
  QLabel* lblInvolving = nullptr;
  std::array<QComboBox*, reports::kNumSoughtPlanetLists> cboSoughtPlanet{};
  QPushButton* cmdClearAll = nullptr;
  QCheckBox* chkTwoOrMore = nullptr;
  QComboBox* cboNumToFind = nullptr;
  QCheckBox* chkRunQuickly = nullptr;
  QPushButton* cmdRun = nullptr;
  QPushButton* cmdCancel = nullptr;
  QTimer Timer1;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Escape

 private:
  void BuildControls();
  void FillLists(int planetCount);
  std::array<int, reports::kNumSoughtPlanetLists> PlanetSelections() const;

  RunSearchState& shared_;
  reports::RunCriteria criteria_;
  std::function<void(FrmRun&)> modalHook_;
};

}  // namespace vemo::ui
