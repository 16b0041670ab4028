// frmPopUp: a small frameless window that shows a short text for a given
// time ("Loading data ..." while the Pluto table is read, notices of the
// saved states) and then hides itself.
#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

namespace vemo::ui {

class FrmPopUp : public QWidget {
  Q_OBJECT
 public:
  explicit FrmPopUp(QWidget* parent = nullptr);

  // Shows text for `milliseconds` (0: until hidden by the caller) centred
  // over `over` (the screen when null). The text is painted at once so that it
  // is seen even when the caller then works without returning to the event
  // loop.
  void PopUp(const QString& text, int milliseconds, QWidget* over = nullptr);
  void PopUpCenterScreen(const QString& text, int milliseconds);
  // Centred over the given window.
  void PopUpInForm2(const QString& text, int milliseconds, QWidget* form);

  QString Text() const;

 private:
  QLabel* label_;
  QTimer timer_;
};

}  // namespace vemo::ui
