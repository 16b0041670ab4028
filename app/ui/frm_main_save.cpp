// Save as in the chart view: the picture of the chart (with the caption that
// names the program, the mode and its dates) or of the aspect time graph, as
// a PNG through the graphics converter, as an SVG, or as a PNG at twice the
// resolution for print.

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>

#include "app/text/program_text.h"
#include "app/ui/chart_view.h"
#include "app/ui/frm_main.h"
#include "app/ui/message_box.h"
#include "app/ui/window_utils.h"

namespace vemo::ui {

namespace {

QString Text(int item) { return QString::fromStdString(vemo::ProgramText(item)); }

enum class PictureKind { ConvertedPng, Svg, PrintPng };

}  // namespace

QStringList FrmMain::PictureFilters() {
  return {Text(133) + QStringLiteral(" (*.png)"), QStringLiteral("SVG pictures (*.svg)"),
          QStringLiteral("PNG for print, twice the resolution (*.png)")};
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
  const auto dialog = options_.saveFileName ? options_.saveFileName
                                            : [](QWidget* parent, const QString& title, const QString& filter,
                                                 QString* chosen) {
                                                return QFileDialog::getSaveFileName(parent, title, QString(), filter,
                                                                                    chosen);
                                              };
  const QString name = dialog(this, Text(132), filters.join(QStringLiteral(";;")), &selected);
  if (name.isEmpty()) return;

  PictureKind kind = PictureKind::ConvertedPng;
  if (selected == filters[1] || name.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) kind = PictureKind::Svg;
  else if (selected == filters[2]) kind = PictureKind::PrintPng;

  // The graph carries its own labels and is saved as it stands.
  vemo::chart::Canvas composed;
  const vemo::chart::Canvas* picture = &picGraphic->Canvas();
  if (!GraphShown) {
    ComposePictureToSave(composed);
    picture = &composed;
  }

  const std::string path = FileSystemName(this, cmdSaveAs->text(), name);
  if (path.empty()) return;
  MessageBoxRequest box{QMessageBox::Information, cmdSaveAs->text(), QString(), QMessageBox::Ok, QMessageBox::Ok};
  std::string error;
  if (kind == PictureKind::ConvertedPng) {
    const vemo::chart::SaveResult saved = vemo::chart::SaveThroughConverter(
        *picture, path, options_.convertBmpToPng ? options_.convertBmpToPng : vemo::chart::DefaultConverter());
    if (saved.ok) {
      box.text = Text(134) + QStringLiteral("\n") + OutsideText(path);
    } else if (saved.conversionFailed && !saved.path.empty()) {
      box.text = Text(135) + QStringLiteral("\n") + OutsideText(saved.path) + QStringLiteral("\n\n") +
                 OutsideText(saved.reason);
    } else {
      error = saved.reason;
    }
  } else {
    error = kind == PictureKind::Svg ? vemo::chart::SaveSvg(*picture, path, lblTitle->text().toStdString())
                                     : vemo::chart::SavePng(*picture, path, 2);
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
