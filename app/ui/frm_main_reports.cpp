// The reports of the main window: the Report button and the report offered
// by a click on an aspect.

#include <QPushButton>
#include <QTimer>

#include "app/reports/report_core.h"
#include "app/text/program_text.h"
#include "app/time/dates.h"
#include "app/ui/frm_durations.h"
#include "app/ui/frm_main.h"
#include "app/ui/frm_view.h"
#include "app/ui/message_box.h"
#include "app/ui/window_utils.h"

namespace vemo::ui {

std::array<std::string, 3> FrmMain::ReportDateTexts(bool shortMonths) const {
  std::array<std::string, 3> texts;
  for (int row = 0; row < 3; ++row) {
    texts[static_cast<size_t>(row)] =
        vemo::InputDateToString(ReadRow(row), shortMonths, vemo::LanguageIndex(), zoneLists_[static_cast<size_t>(row)]);
  }
  return texts;
}

QString FrmMain::ReportCaption() const {
  const vemo::Mode mode = engine_.CurrentMode;
  return QString::fromStdString(
      vemo::reports::MakeReportHeading(mode, ReportDateTexts(vemo::reports::ShortMonthsInReport(mode)),
                                       [](int n) { return vemo::ProgramText(n); },
                                       [this](const std::string& title, bool personal) {
                                         return AddOrbToTitle(title, personal, true);
                                       })
          .caption);
}

void FrmMain::ShowReport() {
  if (durations_ == nullptr) {
    DurationsContext context;
    context.engine = &engine_;
    context.dateTexts = [this](bool shortMonths) { return ReportDateTexts(shortMonths); };
    context.addOrbToTitle = [this](const std::string& title, bool personal) {
      return AddOrbToTitle(title, personal, true);
    };
    context.mainWindow = this;
    context.language = vemo::LanguageIndex();
    context.saveFileName = options_.saveFileName;
    context.printDialog = options_.printDialog;
    durations_ = new FrmDurations(context, this);
  }
  durations_->Report();
}

void FrmMain::cmdReport_Click() {
  if (engine_.GetTotalNumAspects() == 0) {
    const bool personal = engine_.CurrentMode == vemo::Mode::Personal1 || engine_.CurrentMode == vemo::Mode::Personal2;
    ShowMessageBox(this, {QMessageBox::Information, PlainCaption(cmdReport),
                          QString::fromStdString(vemo::ProgramText(personal ? 382 : 383)), QMessageBox::Ok,
                          QMessageBox::Ok});
  }
  // The refresh must not change the controls the report reads while it is
  // made; the searches for slow pairs take a moment.
  const bool ticking = Timer1.isActive();
  Timer1.stop();
  ShowReport();
  if (ticking) Timer1.start();
}

void FrmMain::cmdHelp_Click() {
  if (view_ == nullptr) view_ = new FrmView(this);
  view_->ShowHelp(this, QString::fromStdString(options_.programFolder), PlainCaption(cmdHelp));
}

}  // namespace vemo::ui
