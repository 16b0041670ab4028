// Small utilities used on any window.
#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QString>

#include <vector>

class QWidget;

class QAbstractButton;

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

// The program's icon (packaging/org.tessaly.vemo.svg, built into the program)
// drawn at size x size pixels; a null image if the drawing is missing.
QImage ApplicationIconImage(int size);

// The pixel sizes the icon is drawn at: those of the freedesktop icon theme
// folders (16x16 .. 256x256), which also cover Windows' title bar and task bar.
const std::vector<int>& ApplicationIconSizes();

// The window icon: the drawing at every size above, so that no size is scaled
// from another.
QIcon ApplicationIcon();

// A caption with an access key (an underlined letter, Alt with it presses
// the control): '&' before the first `letter`, in either case, of the
// caption; a caption without that letter (another language) gets none. A
// '&' of the caption itself is doubled, so that it shows.
QString WithAccessKey(const QString& caption, QChar letter);
// A control's caption as a title or a text shows it: without the marker
// of its access key ("&&" is one '&').
QString PlainCaption(const QAbstractButton* button);

// Keys that press `button` in its window as a click does (once, and nothing
// while the button is disabled or hidden); the button's tooltip names the
// first of them in the system's own words ("Ctrl+S").
void BindKeys(QAbstractButton* button, const std::vector<QKeySequence>& keys);

}  // namespace vemo::ui
