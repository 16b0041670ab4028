#include "app/ui/window_utils.h"

#include <QAbstractButton>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QShortcut>
#include <QSvgRenderer>
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

void ElidingLabel::paintEvent(QPaintEvent* event) {
  const QRect room = contentsRect();
  const QString whole = text();
  if (fontMetrics().horizontalAdvance(whole) <= room.width()) {
    if (!toolTip().isEmpty()) setToolTip(QString());
    QLabel::paintEvent(event);
    return;
  }
  if (toolTip() != whole) setToolTip(whole);
  QPainter painter(this);
  painter.setPen(palette().color(foregroundRole()));
  painter.drawText(room, static_cast<int>(alignment()), fontMetrics().elidedText(whole, Qt::ElideMiddle, room.width()));
}

QImage ApplicationIconImage(int size) {
  QSvgRenderer renderer(QStringLiteral(":/icons/org.tessaly.vemo.svg"));
  if (!renderer.isValid() || size <= 0) return {};
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  renderer.render(&painter);
  return image;
}

const std::vector<int>& ApplicationIconSizes() {
  static const std::vector<int> sizes{16, 22, 24, 32, 48, 64, 128, 256};
  return sizes;
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : ApplicationIconSizes()) {
    const QImage image = ApplicationIconImage(size);
    if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

QString WithAccessKey(const QString& caption, QChar letter) {
  QString text = caption;
  text.replace(QLatin1Char('&'), QStringLiteral("&&"));
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&')) {
      ++i;  // a doubled '&' of the caption
    } else if (text[i].toLower() == letter.toLower()) {
      text.insert(i, QLatin1Char('&'));
      break;
    }
  }
  return text;
}

QString PlainCaption(const QAbstractButton* button) {
  const QString text = button->text();
  QString plain;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
    plain += text[i];
  }
  return plain;
}

void BindKeys(QAbstractButton* button, const std::vector<QKeySequence>& keys) {
  for (const QKeySequence& key : keys) {
    // In the button's window only, so that a second window's keys do not
    // reach through.
    auto* shortcut = new QShortcut(key, button->window());
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, button, [button] {
      if (button->isEnabled() && button->isVisible()) button->click();
    });
  }
  if (!keys.empty()) button->setToolTip(keys.front().toString(QKeySequence::NativeText));
}

}  // namespace vemo::ui
