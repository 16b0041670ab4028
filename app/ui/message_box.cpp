#include "app/ui/message_box.h"

namespace vemo::ui {

namespace {
MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}
}  // namespace

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const MessageBoxRequest& request) {
  if (Hook()) return Hook()(request);
  QMessageBox box(request.icon, request.title, request.text, request.buttons, parent);
  // A box the program leaves without a title must show none. The window
  // systems put the application's name in place of an empty title (Qt's
  // QPlatformWindow::formatWindowTitle does so on X11 and Windows), but a
  // single blank is kept as it stands and reads as no title.
  if (request.title.isEmpty()) box.setWindowTitle(QStringLiteral(" "));
  if (request.defaultButton != QMessageBox::NoButton) box.setDefaultButton(request.defaultButton);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

QString DisplayText(const std::string& text) {
  QString s = QString::fromStdString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}

}  // namespace vemo::ui
