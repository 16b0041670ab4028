// Every message box of the windows goes through ShowMessageBox, so that the
// UI tests can answer them without a person at the keyboard (a hook receives
// the box and returns the button "pressed").
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

namespace vemo::ui {

struct MessageBoxRequest {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString title;
  QString text;
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

using MessageBoxHook = std::function<QMessageBox::StandardButton(const MessageBoxRequest&)>;

// Shows a modal message box (or hands it to the hook) and returns the button
// the user chose. Texts may use CR LF line ends.
QMessageBox::StandardButton ShowMessageBox(QWidget* parent, const MessageBoxRequest& request);

// Whether the windows can be seen: false on the offscreen and minimal platforms.
bool ScreenVisible();

// A message of the program's start-up (fatal errors, warnings about data files):
// also written to stderr ("vemo: " and the text), and shown as a box only where it can
// be seen (or to the hook); without a visible screen the box is skipped and the
// default button (else Ok) is the answer, so that nothing waits for a person.
QMessageBox::StandardButton ShowStartUpMessage(QWidget* parent, const MessageBoxRequest& request);

// Installs a hook in place of the real boxes; an empty hook restores them.
void SetMessageBoxHook(MessageBoxHook hook);

// Converts the program's CR LF line ends for display.
QString DisplayText(const std::string& text);

}  // namespace vemo::ui
