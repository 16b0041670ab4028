// frmMain: the chart of the table and the toggle between table and chart,
// the right click on the picture, and the aspect-cell click with the time
// graph of a personal transit or the offer of the report.
#include "app/ui/frm_main.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/text/program_text.h"
#include "app/time/date_texts.h"
#include "app/time/positions.h"
#include "app/ui/chart_view.h"
#include "app/ui/frm_configure.h"
#include "app/ui/message_box.h"
#include "app/ui/window_utils.h"

namespace vemo::ui {

namespace {

QString Text(int item) { return DisplayText(vemo::ProgramText(item)); }

}  // namespace

// ---------------------------------------------------------------- chart

void FrmMain::cmdToggleGraphic_Click() {
  QCoreApplication::processEvents();
  GraphShown = false;
  SetEnabledOfAll(this, true);
  // ... except the commands of later versions, and the step controls in a
  // mode without a world date, which the periodic refresh would only catch
  // a second later.
  RefreshEnabledStates();
  if (!picGraphic->isHidden()) {
    ShowPicture(false);
    SetCommandEnabled(cmdRun, false);
  } else {
    ApplyModeHeight();
    if (DrawChartOfTable()) ShowPicture(true);
    cmdRun->setText(Caption(36));
    SetCommandEnabled(cmdRun, ModeUsesWorldDate(CheckedMode()) && cboForwardBack->currentIndex() > 0);
  }
  SetTitle();
  ArrangeForDisplay();
  SetClickHint();
  SetSaveAsCaption();
}

bool FrmMain::DrawChartOfTable() {
  vemo::chart::ChartInput in;
  in.mode = engine_.CurrentMode;
  in.table = &engine_.Table;
  in.longitudes = engine_.PlanetLongitudes;
  in.planetCount = engine_.PlanetCount;
  in.aspectColours = engine_.Settings.AspectColours;
  in.displayZodiacSectors = configure_->DisplayZodiacSectors;
  in.showOnlyOuterPlanets = configure_->ShowOnlyOuterPlanets;
  in.showOnlyEarthAspects = configure_->ShowOnlyEarthAspects;
  in.legendLines = {vemo::ProgramText(104), vemo::ProgramText(105), vemo::ProgramText(106)};
  const vemo::chart::ChartResult result = vemo::chart::DrawChart(picGraphic->Canvas(), in);
  picGraphic->CanvasChanged();
  picGraphic->setToolTip(QString());
  switch (result.outcome) {
    case vemo::chart::ChartOutcome::Drawn:
      return true;
    case vemo::chart::ChartOutcome::FilterConflict:
      ShowMessageBox(this, {QMessageBox::Warning, QString(), DisplayText(vemo::InProgramLanguage(vemo::chart::kFilterConflictMessage, vemo::chart::kFilterConflictMessageGerman)),
                            QMessageBox::Ok, QMessageBox::Ok});
      return false;
    case vemo::chart::ChartOutcome::NoFreeSpot:
      ShowMessageBox(this, {QMessageBox::Warning, QString(),
                            Text(347) + QStringLiteral("\n") + Text(346), QMessageBox::Ok, QMessageBox::Ok});
      return false;
  }
  return false;
}

void FrmMain::ShowPicture(bool show) {
  picGraphic->setVisible(show);
  picTable->setVisible(!show);
  cmdToggleGraphic->setText(Caption(show ? 41 : 37));
}

void FrmMain::ArrangeForDisplay() {
  // Table view: the summary (and in the one-date family the patterns) beside
  // the table, in txbReport or, for two dates, txbReport1, as Compute filled
  // them. Chart view: txbReport1 beside the picture with the same text.
  const bool pictureShown = !picGraphic->isHidden();
  const bool twoDate = engine_.Table.TwoDate;
  if (pictureShown && !twoDate) txbReport1->setPlainText(txbReport->toPlainText());
  txbReport->setVisible(!pictureShown && !twoDate);
  txbReport1->setVisible(pictureShown || twoDate);
}

void FrmMain::picGraphic_RightClick(int xTwips, int yTwips) {
  if (GraphShown) {
    const std::string readOut = vemo::chart::GraphReadOut(picGraphic->Canvas(), graphInput_, graphResult_, xTwips,
                                                          yTwips, [](int n) { return vemo::ProgramText(n); });
    if (!readOut.empty()) {
      ShowMessageBox(this, {QMessageBox::Information, QString(), DisplayText(readOut), QMessageBox::Ok,
                            QMessageBox::Ok});
    }
    return;
  }
  // The nearest line within 3 pixels of the screen, in its exact colour.
  const std::string kinds = picGraphic->LineKindsNearLastClick(engine_.Settings.AspectColours);
  if (!kinds.empty()) {
    ShowMessageBox(this, {QMessageBox::NoIcon, QString::fromUtf8(vemo::InProgramLanguage(vemo::chart::kLineTitle, vemo::chart::kLineTitleGerman)),
                          QString::fromStdString(kinds), QMessageBox::Ok, QMessageBox::Ok});
  }
}

// ---------------------------------------------------------------- aspect-cell click

void FrmMain::txbCell_Click(int index) {
  // A click that slips in during the pause of a step or a run would time an
  // aspect of a table that is about to be replaced.
  if (steppingInProgress_ || runInProgress_ || ending_) return;
  // The searches can take a while for slow pairs, and the refresh must not
  // change the controls under the message that follows them.
  const bool ticking = Timer1.isActive();
  Timer1.stop();
  // The table's own mode decides, not the option checked since: the
  // cells belong to the last computation.
  const AspectClickInfo info = engine_.AspectCellClick(index);
  const AspectClickOutcome outcome = OutcomeOfAspectClick(engine_.CurrentMode, info);
  switch (outcome) {
    case AspectClickOutcome::FocusOnly:
    case AspectClickOutcome::Nothing:
      break;
    case AspectClickOutcome::Graph:
      ShowAspectTimeGraph(info);
      break;
    case AspectClickOutcome::Question:
      OfferDurationsReport(info);
      break;
  }
  if (ticking && !ending_) Timer1.start();
  if (outcome != AspectClickOutcome::Nothing) SetFocusIfPossible(cmdCompute);
}

void FrmMain::ShowAspectTimeGraph(const AspectClickInfo& info) {
  lblClickonAspect->setText(QString());
  vemo::chart::GraphInput& g = graphInput_;
  g.natalPlanet = info.PlanetA;
  g.transitingPlanet = info.PlanetB;
  g.kind = info.Kind;
  // Personal transits: set 1 holds the birthdate's planets.
  g.natalLongitude = engine_.PlanetLongitudes[1][static_cast<size_t>(info.PlanetA)];
  g.orb = engine_.Orbs.Orb[static_cast<size_t>(info.Kind)][static_cast<size_t>(info.OrbColumn)];
  g.colour = engine_.Settings.AspectColours[static_cast<size_t>(info.Kind)];
  g.beginning = info.Beginning;
  g.end = info.End;
  g.zoneMinutes = engine_.WorldZoneMinutes;
  g.presentAJD = engine_.TableJulianDates[0];
  g.radians = engine_.Radians;
  g.longitude = [](int planet, double ajd) { return vemo::HelioLongitude(planet, ajd); };
  g.dateText = engine_.Services.DayNumberToDateText;
  graphResult_ = vemo::chart::DrawAspectGraph(picGraphic->Canvas(), g);
  picGraphic->CanvasChanged();
  ShowPicture(true);
  lblTitle->setText(QString::fromStdString(
      vemo::chart::GraphTitle(g, [](int n) { return vemo::ProgramText(n); })));
  picGraphic->setToolTip(Text(351));
  GraphShown = true;
  ArrangeForDisplay();
  SetSaveAsCaption();
  // The configuration window is modal: it cannot be open while a cell is
  // clicked, so there is nothing to hide and bring back here.
}

void FrmMain::OfferDurationsReport(const AspectClickInfo& info) {
  // The click handler has stopped the timer already; it stays stopped while
  // the report is made.
  const auto answer = ShowMessageBox(this, {QMessageBox::Question, ReportCaption(), DisplayText(info.Question),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No});
  if (answer != QMessageBox::Yes) return;
  const bool ticking = Timer1.isActive();
  Timer1.stop();
  ShowReport();
  if (ticking) Timer1.start();
}

}  // namespace vemo::ui
