// Print in the main window: the chart or graph on the page of its PDF, or
// the table area as the window draws it (title, table, summary) fitted to
// the page's width.

#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>

#include <algorithm>

#include "app/chart/saved_picture.h"
#include "app/ui/chart_view.h"
#include "app/ui/file_dialogs.h"
#include "app/ui/frm_main.h"
#include "app/ui/message_box.h"

namespace vemo::ui {

void FrmMain::Print() {
  if (!blnStartupCompleted || intNumCells == 0) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(lblTitle->text());
  if (!AskPrinter(options_.printDialog, printer, this)) return;
  bool printed = false;
  if (!picGraphic->isHidden()) {
    vemo::chart::Canvas picture;
    ComposePictureToSave(picture);
    printed = vemo::chart::PaintPicturePage(picture, printer);
  } else {
    // The part of the window that holds the title, the table and its summary.
    QRect area = lblTitle->geometry().united(picTable->geometry());
    for (QWidget* summary : {static_cast<QWidget*>(txbReport), static_cast<QWidget*>(txbReport1)}) {
      if (!summary->isHidden()) area = area.united(summary->geometry());
    }
    QPainter painter;
    if (painter.begin(&printer)) {
      const QRect room = printer.pageLayout().paintRectPixels(printer.resolution());
      const double scale = std::min(room.width() / double(area.width()), room.height() / double(area.height()));
      painter.scale(scale, scale);
      render(&painter, QPoint(), QRegion(area), QWidget::DrawChildren);
      printed = painter.end();
    }
  }
  if (!printed) {
    ShowMessageBox(this, {QMessageBox::Warning, ItemText(454),
                          ItemText(444), QMessageBox::Ok, QMessageBox::Ok});
  }
}

}  // namespace vemo::ui
