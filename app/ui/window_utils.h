// Small utilities used on any window.
#pragma once

#include <QColor>
#include <QLabel>
#include <QString>

class QWidget;

namespace vemo::ui {

// Gives the control the focus only when it is enabled and visible; tells
// whether it did.
bool SetFocusIfPossible(QWidget* control);

// Sets the font family of the window and of every control on it.
void SetFontNameOfAll(QWidget* window, const QString& fontName);

// Enables or disables every control of the window (not the windows it owns).
void SetEnabledOfAll(QWidget* window, bool enabled);

// Background colour of the window and of every control on it.
void SetBackColorOfAll(QWidget* window, const QColor& colour);

// A colour value of the program (red + 256 green + 65536 blue) as a QColor.
QColor ColourFromValue(unsigned value);

// A one-line label that shortens its text in the middle ("...") when the
// text is wider than the label, e.g. a status line naming a long path; the
// whole text stays in text() and is the tooltip while shortened (the label
// has no tooltip of its own).
class ElidingLabel : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vemo::ui
