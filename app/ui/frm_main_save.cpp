// Save as in the chart view: the picture of the chart or of the aspect time
// graph, with the caption that names the program, the mode, the transit of a
// graph and the dates, as a PNG through the graphics converter, as an SVG, as
// a PNG at twice the resolution for print, or as a PDF page (vectors, on the
// paper of the user's locale). The chosen name's extension
// decides the format; the filter decides only between the two PNGs and gives
// a name without extension its own.

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <iterator>

#include "app/chart/picture_file.h"
#include "app/text/program_text.h"
#include "app/ui/chart_view.h"
#include "app/ui/frm_main.h"
#include "app/ui/message_box.h"
#include "app/ui/window_utils.h"

namespace vemo::ui {

namespace {

QString Text(int item) { return QString::fromStdString(vemo::ProgramText(item)); }

// The format of each entry of PictureFilters(), in their order.
constexpr vemo::chart::PictureFormat kFilterFormats[] = {
    vemo::chart::PictureFormat::ScreenPng, vemo::chart::PictureFormat::Svg, vemo::chart::PictureFormat::PrintPng,
    vemo::chart::PictureFormat::Pdf};

}  // namespace

QStringList FrmMain::PictureFilters() {
  return {Text(133) + QStringLiteral(" (*.png)"), ItemText(445) + QStringLiteral(" (*.svg)"),
          ItemText(446) + QStringLiteral(" (*.png)"), ItemText(447) + QStringLiteral(" (*.pdf)")};
}

void FrmMain::ComposePictureToSave(vemo::chart::Canvas& out) const {
  const int mode = static_cast<int>(engine_.CurrentMode);
  vemo::chart::PictureCaption caption = vemo::chart::ProgramCaption();
  caption.title = ModeTitleText(mode, true, engine_.Orbs, [](int n) { return vemo::ProgramText(n); });
  static constexpr int kLabelItem[3] = {4, 95, 96};
  for (int row = 0; row < 3; ++row) {
    if (!ModeUsesRow(engine_.CurrentMode, row)) continue;
    caption.dateLines.push_back(vemo::chart::PictureDateLine(
        vemo::ProgramText(kLabelItem[row]),
        vemo::chart::PictureDateText(txbYearCE[row]->text().toStdString(), cboMonthCE[row]->currentIndex(),
                                     cboDayCE[row]->currentIndex()),
        cboHour[row]->currentText().toStdString(), cboTimezone[row]->currentText().toStdString()));
  }
  if (GraphShown) caption.subject = vemo::chart::GraphTitle(graphInput_, [](int n) { return vemo::ProgramText(n); });
  vemo::chart::ComposeSavedPicture(picGraphic->Canvas(), caption, out);
}

void FrmMain::cmdSaveAs_Click() {
  // Beside the table the button saves the state.
  if (picGraphic->isHidden()) {
    SaveStateAs();
    return;
  }
  const QStringList filters = PictureFilters();
  QString selected = filters.front();
  const QString name = AskSaveFileName(options_.saveFileName, this, Text(132), settings::DialogKind::Picture, filters,
                                       {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("png"),
                                        QStringLiteral("pdf")},
                                       &selected);
  if (name.isEmpty()) return;

  const qsizetype filter = filters.indexOf(selected);
  const vemo::chart::PictureFileDecision decision = vemo::chart::DecidePictureFile(
      name.toStdString(), kFilterFormats[filter >= 0 && filter < std::ssize(kFilterFormats) ? filter : 0]);
  if (!decision.accepted) {
    SayExtensionRefused(this, PlainCaption(cmdSaveAs), ItemText(448),
                        decision.refusedExtension);
    return;
  }
  const QString chosen = QString::fromStdString(decision.path);
  // The dialog asked about the name as typed; the name with the added
  // extension may be another file.
  if (decision.extensionAdded && !MayReplaceAddedName(this, PlainCaption(cmdSaveAs), decision.path)) return;

  vemo::chart::Canvas picture;
  ComposePictureToSave(picture);

  const std::string path = FileSystemName(this, PlainCaption(cmdSaveAs), chosen);
  if (path.empty()) return;
  MessageBoxRequest box{QMessageBox::Information, PlainCaption(cmdSaveAs), QString(), QMessageBox::Ok, QMessageBox::Ok};
  std::string error;
  if (decision.format == vemo::chart::PictureFormat::ScreenPng) {
    const vemo::chart::SaveResult saved = vemo::chart::SaveThroughConverter(
        picture, path, options_.convertBmpToPng ? options_.convertBmpToPng : vemo::chart::DefaultConverter());
    if (saved.ok) {
      box.text = Text(134) + QStringLiteral("\n") + OutsideText(path);
    } else if (saved.conversionFailed && !saved.path.empty()) {
      box.text = Text(135) + QStringLiteral("\n") + OutsideText(saved.path) + QStringLiteral("\n\n") +
                 OutsideText(saved.reason);
    } else {
      error = saved.reason;
    }
  } else {
    const std::string title = lblTitle->text().toStdString();
    switch (decision.format) {
      case vemo::chart::PictureFormat::Svg: error = vemo::chart::SaveSvg(picture, path, title); break;
      case vemo::chart::PictureFormat::Pdf:
        error = vemo::chart::SavePdf(picture, path, title, vemo::chart::PaperFromEnvironment());
        break;
      default: error = vemo::chart::SavePng(picture, path, 2); break;
    }
    if (error.empty()) box.text = Text(134) + QStringLiteral("\n") + OutsideText(path);
  }
  if (!error.empty()) {
    box.icon = QMessageBox::Warning;
    box.text = DisplayText(error);
  }
  ShowMessageBox(this, box);
  SetFocusIfPossible(cmdCompute);
}

}  // namespace vemo::ui
