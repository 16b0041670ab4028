#include "app/ui/window_utils.h"

#include <QPalette>
#include <QWidget>

namespace vemo::ui {

bool SetFocusIfPossible(QWidget* control) {
  if (!control || !control->isEnabled() || !control->isVisible()) return false;
  control->setFocus(Qt::OtherFocusReason);
  return true;
}

void SetFontNameOfAll(QWidget* window, const QString& fontName) {
  if (!window) return;
  QFont f = window->font();
  f.setFamily(fontName);
  window->setFont(f);
  for (QWidget* w : window->findChildren<QWidget*>()) {
    QFont cf = w->font();
    cf.setFamily(fontName);
    w->setFont(cf);
  }
}

void SetEnabledOfAll(QWidget* window, bool enabled) {
  if (!window) return;
  // The window's own controls: the other windows it owns (dialogs, the
  // pop-up, the report window) keep their state.
  for (QWidget* w : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!w->isWindow()) w->setEnabled(enabled);
  }
}

void SetBackColorOfAll(QWidget* window, const QColor& colour) {
  if (!window) return;
  auto paint = [&](QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setAutoFillBackground(true);
    w->setPalette(p);
  };
  paint(window);
  for (QWidget* w : window->findChildren<QWidget*>()) paint(w);
}

QColor ColourFromValue(unsigned value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

}  // namespace vemo::ui
