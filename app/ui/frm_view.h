// frmView: a modeless window showing a text file (the program's help text) in
// a read-only box, with a button that copies the text or the selection to the
// clipboard. The file is read at the first showing and kept; later showings
// only bring the window back.
#pragma once

#include <QString>
#include <QWidget>

#include <string>

class QPlainTextEdit;
class QPushButton;

namespace vemo::ui {

// The box's contents for a file's text: the text itself when it is shorter
// than 65530 characters (UTF-16 units), otherwise a note at the head, as much
// of the text as fits in 65530 characters with both notes, a blank line and a
// note at the tail. The cut never splits a surrogate pair or a CR LF.
QString ViewerText(const QString& fileText);

class FrmView : public QWidget {
  Q_OBJECT
 public:
  explicit FrmView(QWidget* parent = nullptr);

  // Activation: reads and shows strFilename unless a file is already shown.
  // Called by the show event.
  void Activate();

  // The Help button: brings the window over the main window with the help
  // file of the program folder, without the copy button, and activates it.
  void ShowHelp(QWidget* mainWindow, const QString& programFolder, const QString& caption);

  // Button handlers (public: the tests call them).
  void cmdCopyToClipboard_Click();
  void cmdClose_Click();

  std::string strFilename;
  bool blnFileDisplayed = false;
  bool blnCopyToClipboardInvisible = false;

  QPlainTextEdit* txbText1 = nullptr;
  QPushButton* cmdCopyToClipboard = nullptr;
  QPushButton* cmdClose = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void LayOut();
  void SetCopyCaption(bool selection);
  void txbText1_SelectionChanged();
};

}  // namespace vemo::ui
