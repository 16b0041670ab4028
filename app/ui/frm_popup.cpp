#include "app/ui/frm_popup.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace vemo::ui {

FrmPopUp::FrmPopUp(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      label_(new QLabel(this)) {
  setObjectName("frmPopUp");
  label_->setAlignment(Qt::AlignCenter);
  label_->setMargin(12);
  label_->setFrameStyle(QFrame::Box | QFrame::Plain);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(label_);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(255, 255, 225));
  setPalette(p);
  setAutoFillBackground(true);
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &QWidget::hide);
}

void FrmPopUp::PopUp(const QString& text, int milliseconds, QWidget* over) {
  label_->setText(text);
  adjustSize();
  QRect area;
  if (over && over->isVisible()) {
    // A window by its frame; a control (a button) by where it is on screen.
    area = over->isWindow() ? over->frameGeometry() : QRect(over->mapToGlobal(QPoint(0, 0)), over->size());
  } else if (const QScreen* s = QGuiApplication::primaryScreen()) {
    area = s->availableGeometry();
  }
  if (area.isValid()) move(area.center() - rect().center());
  show();
  raise();
  repaint();
  timer_.stop();
  if (milliseconds > 0) timer_.start(milliseconds);
}

void FrmPopUp::PopUpCenterScreen(const QString& text, int milliseconds) {
  PopUp(text, milliseconds, nullptr);
}

void FrmPopUp::PopUpInForm2(const QString& text, int milliseconds, QWidget* form) {
  PopUp(text, milliseconds, form);
}

QString FrmPopUp::Text() const { return label_->text(); }

}  // namespace vemo::ui
