#include "app/ui/frm_view.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocumentFragment>

#include <algorithm>

#include "app/text/program_text.h"
#include "app/time/date_texts.h"
#include "app/ui/message_box.h"
#include "app/ui/twips.h"
#include "app/ui/window_utils.h"

namespace vemo::ui {

namespace {

// The box keeps at most this many characters; longer files are cut with notes.
constexpr qsizetype kViewerLimit = 65530;

// The notes around a cut file, in the program's language.
QString HeadNote() {
  return QString::fromUtf8(vemo::InProgramLanguage(
      "NOTE: This file is too large to display entirely in this textbox.\r\n"
      "To view the entire contents of the file load it into NotePad,\r\n"
      "WordPad or some other text editor.\r\n\r\n",
      "HINWEIS: Diese Datei ist zu gro\u00DF, um hier ganz angezeigt zu werden.\r\n"
      "Um den ganzen Inhalt zu sehen, \u00F6ffnen Sie sie in NotePad,\r\n"
      "WordPad oder einem anderen Texteditor.\r\n\r\n"));
}
QString TailNote() {
  return QString::fromUtf8(vemo::InProgramLanguage("NOTE: Entire contents of file have not been displayed.\r\n",
                                                   "HINWEIS: Der Inhalt der Datei wurde nicht ganz angezeigt.\r\n"));
}

// Item 451 with the file and the reason in place. Each marker is found in
// the item itself, so a file name holding "[why]" is shown as it stands.
QString CannotReadText(const QString& file, const QString& reason) {
  QString text = ItemText(451);
  const qsizetype at1 = text.indexOf(QStringLiteral("[file]"));
  const qsizetype at2 = text.indexOf(QStringLiteral("[why]"));
  // The later marker first, so the earlier one's place stays right.
  if (at2 > at1) {
    if (at2 >= 0) text.replace(at2, 5, reason);
    if (at1 >= 0) text.replace(at1, 6, file);
  } else {
    if (at1 >= 0) text.replace(at1, 6, file);
    if (at2 >= 0) text.replace(at2, 5, reason);
  }
  return text;
}

// Geometry in twips.
constexpr int kMinWidth = 8000;
constexpr int kMinHeight = 2000;
constexpr int kBoxLeft = 225;  // half of the width the box leaves free
constexpr int kBoxTop = 120;
constexpr int kBoxWidthLess = 450;
constexpr int kBoxHeightLess = 1200;
constexpr int kButtonGap = 100;
constexpr int kButtonHeight = 375;
constexpr int kCopyWidth = 3270;
constexpr int kCopySelectedWidth = 4425;
constexpr int kCloseWidth = 1215;

// Captions: Close, Copy to clipboard, Copy selected text to clipboard.
constexpr int kCloseItem = 450;
constexpr int kCopyItem = 453;
constexpr int kCopySelectedItem = 452;

// A button of `twips` width, or wider when its caption needs it (a longer
// word in another language).
void SizeButton(QPushButton* button, int twips, const QWidget* window) {
  button->resize(std::max(TwipsToPixelsX(twips, window), button->sizeHint().width()),
                 TwipsToPixelsY(kButtonHeight, window));
}

}  // namespace

QString ViewerText(const QString& fileText) {
  if (fileText.size() < kViewerLimit) return fileText;
  const QString head = HeadNote();
  const QString tail = TailNote();
  qsizetype cut = kViewerLimit - head.size() - tail.size();
  // Half a character or half a line end would show as garbage or a stray
  // line break at the end of the text.
  if (fileText[cut - 1].isHighSurrogate() && fileText[cut].isLowSurrogate()) {
    --cut;
  } else if (fileText[cut - 1] == QLatin1Char('\r') && fileText[cut] == QLatin1Char('\n')) {
    --cut;
  }
  return head + fileText.left(cut) + QStringLiteral("\r\n\r\n") + tail;
}

FrmView::FrmView(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName("frmView");
  txbText1 = new QPlainTextEdit(this);
  txbText1->setObjectName("txbText1");
  txbText1->setReadOnly(true);
  cmdCopyToClipboard = new QPushButton(this);
  cmdCopyToClipboard->setObjectName("cmdCopyToClipboard");
  cmdClose = new QPushButton(this);
  cmdClose->setObjectName("cmdClose");
  cmdClose->setText(ItemText(kCloseItem));
  SizeButton(cmdClose, kCloseWidth, this);
  SetCopyCaption(false);
  setMinimumSize(TwipsToPixelsX(kMinWidth, this), TwipsToPixelsY(kMinHeight, this));
  connect(txbText1, &QPlainTextEdit::selectionChanged, this, [this] { txbText1_SelectionChanged(); });
  connect(cmdCopyToClipboard, &QPushButton::clicked, this, [this] { cmdCopyToClipboard_Click(); });
  connect(cmdClose, &QPushButton::clicked, this, [this] { cmdClose_Click(); });
}

void FrmView::Activate() {
  if (blnFileDisplayed) return;
  cmdClose->setText(ItemText(kCloseItem));
  SizeButton(cmdClose, kCloseWidth, this);
  txbText1->clear();
  SetCopyCaption(false);
  cmdCopyToClipboard->setVisible(!blnCopyToClipboardInvisible);
  cmdCopyToClipboard->setEnabled(true);
  LayOut();

  const QString name = QString::fromStdString(strFilename);
  QFile file(name);
  QByteArray bytes;
  QString error;
  if (!file.open(QIODevice::ReadOnly)) {
    error = file.errorString();
  } else {
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) error = file.errorString();
  }
  if (!error.isEmpty()) {
    // An empty box would look like an empty file. The flag stays down so the
    // next showing tries again, e.g. after the file has been put back.
    txbText1->setPlainText(CannotReadText(name, error));
  } else {
    QString shown = ViewerText(QString::fromUtf8(bytes));
    // The box makes a paragraph of each line; a CR left before it would show.
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    txbText1->setPlainText(shown);
    blnFileDisplayed = true;
  }
  txbText1->moveCursor(QTextCursor::Start);
  SetFocusIfPossible(txbText1);
}

void FrmView::ShowHelp(QWidget* mainWindow, const QString& programFolder, const QString& caption) {
  const std::string file = vemo::HelpFilePath(programFolder.toStdString(), vemo::LanguageIndex());
  if (file != strFilename) {
    // Another language's file: read afresh even though a text is shown.
    strFilename = file;
    blnFileDisplayed = false;
  }
  blnCopyToClipboardInvisible = true;
  if (isMinimized()) showNormal();
  if (mainWindow && windowState() == Qt::WindowNoState) {
    const QPoint corner = mainWindow->frameGeometry().topLeft();
    move(corner.x() + TwipsToPixelsX(380, mainWindow), corner.y() + TwipsToPixelsY(100, mainWindow));
    resize(mainWindow->width() - TwipsToPixelsX(200, mainWindow),
           mainWindow->height() - TwipsToPixelsY(480, mainWindow));
  }
  setWindowTitle(caption);
  txbText1->setFont(QFont(QStringLiteral("Arial"), 11));
  const bool wasVisible = isVisible();
  show();
  if (wasVisible) Activate();  // no show event for a window already shown
  raise();
  activateWindow();
}

void FrmView::cmdCopyToClipboard_Click() {
  if (!txbText1->document()->isEmpty()) {
    const QTextCursor cursor = txbText1->textCursor();
    QString text = cursor.hasSelection() ? cursor.selection().toPlainText() : txbText1->toPlainText();
    // The program's texts travel with CR LF line ends, as the reports do.
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
  }
  SetCopyCaption(false);
  SetFocusIfPossible(cmdClose);
}

void FrmView::cmdClose_Click() { hide(); }

void FrmView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Activate();
}

void FrmView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!isMinimized()) LayOut();
}

void FrmView::closeEvent(QCloseEvent* event) {
  // Only hidden: the text stays for the next showing.
  hide();
  event->accept();
}

void FrmView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    cmdClose_Click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void FrmView::LayOut() {
  const int boxWidth = std::max(0, width() - TwipsToPixelsX(kBoxWidthLess, this));
  const int boxHeight = std::max(0, height() - TwipsToPixelsY(kBoxHeightLess, this));
  txbText1->setGeometry(TwipsToPixelsX(kBoxLeft, this), TwipsToPixelsY(kBoxTop, this), boxWidth,
                        boxHeight);
  const int top = txbText1->y() + boxHeight + TwipsToPixelsY(kButtonGap, this);
  cmdCopyToClipboard->move(txbText1->x(), top);
  cmdClose->move(txbText1->x() + boxWidth - cmdClose->width(), top);
}

void FrmView::SetCopyCaption(bool selection) {
  cmdCopyToClipboard->setText(ItemText(selection ? kCopySelectedItem : kCopyItem));
  SizeButton(cmdCopyToClipboard, selection ? kCopySelectedWidth : kCopyWidth, this);
}

void FrmView::txbText1_SelectionChanged() {
  if (cmdCopyToClipboard->isHidden() || !cmdCopyToClipboard->isEnabled()) return;
  SetCopyCaption(txbText1->textCursor().hasSelection());
}

}  // namespace vemo::ui
