// Every message box of the windows goes through ShowMessageBox, so that the
// UI tests can answer them without a person at the keyboard (a hook receives
// the box and returns the button "pressed").
#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>
#include <string>

#include "app/time/file_writer.h"

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

// Item n of the program text in the current language, for display.
QString ItemText(int item);

// Text from outside the program (a file name, a file's content, an error
// that quotes them) for a message: control characters and bytes that are not
// UTF-8 escaped, so that it stays one line and shows what is there.
QString OutsideText(const std::string& text);

// The bytes the file system knows a chosen name by (QFile::encodeName). A
// name that does not come back the same from those bytes would be written
// under another name: a box titled `title` says so and "" is returned.
std::string FileSystemName(QWidget* parent, const QString& title, const QString& name);

// A file that could not be written: the headline ("The state was not saved")
// with what became of the file, then the file and the system's reason.
QString WriteFailureText(const QString& headline, const std::string& path, const FileWriteResult& result);

}  // namespace vemo::ui
