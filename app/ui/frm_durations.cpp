#include "app/ui/frm_durations.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

#include "app/chart/report_pages.h"
#include "app/reports/table_export.h"
#include "app/reports/weblink_core.h"
#include "app/settings/state_file.h"
#include "app/text/program_text.h"
#include "app/time/date_texts.h"
#include "app/ui/message_box.h"
#include "app/ui/twips.h"
#include "app/ui/window_utils.h"

namespace vemo::ui {

namespace {

constexpr int kMinimumHeightTwips = 3000;
constexpr int kNarrowWidthTwips = 8500;
// Export: caption, dialog title, the two file types, the messages.
constexpr int kExportItem = 404;
constexpr int kExportTitleItem = 405;
constexpr int kCalendarFilesItem = 406;
constexpr int kCsvFilesItem = 407;
constexpr int kExportedItem = 408;
constexpr int kExportFailedItem = 409;

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string Text(int item) { return ProgramText(item); }

// CR LF of the report as the line ends of this system's plain text.
QString NativeLines(const std::string& text) {
  QString s = Q(text);
#ifdef Q_OS_WIN
  return s;
#else
  return s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
#endif
}

}  // namespace

FrmDurations::FrmDurations(DurationsContext context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(std::move(context)) {
  setObjectName(QStringLiteral("frmDurations"));
  lblTitle = new QLabel(this);
  lblTitle->setWordWrap(true);
  lblTitle->setTextInteractionFlags(Qt::TextSelectableByMouse);
  txbOutput = new QPlainTextEdit(this);
  txbOutput->setReadOnly(true);
  txbOutput->setLineWrapMode(QPlainTextEdit::NoWrap);
  lblSortBy = new QLabel(this);
  cboSortBy = new QComboBox(this);
  cboSortBy->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  // The narrow window (durations hidden) would squeeze the list below its
  // longest entry; the window stays a little wider instead.
  cboSortBy->setSizePolicy(QSizePolicy::Fixed, cboSortBy->sizePolicy().verticalPolicy());
  chkShowDuration = new QCheckBox(this);
  cmdCopy = new QPushButton(this);
  cmdSavePdf = new QPushButton(Q(Text(414)), this);
  cmdPrint = new QPushButton(Q(Text(415)), this);
  cmdExport = new QPushButton(this);
  cmdClose = new QPushButton(this);
  lblSortBy->setBuddy(cboSortBy);

  // The controls in Arial as elsewhere in the program; the list itself in a
  // fixed-pitch face, since its lines are columns padded with blanks.
  SetFontNameOfAll(this, QStringLiteral("Arial"));
  QFont fixed(QStringLiteral("DejaVu Sans Mono"));
  fixed.setStyleHint(QFont::Monospace);
  fixed.setPointSize(9);
  txbOutput->setFont(fixed);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblSortBy);
  buttons->addWidget(cboSortBy);
  buttons->addSpacing(12);
  buttons->addWidget(chkShowDuration);
  buttons->addStretch(1);
  buttons->addWidget(cmdCopy);
  buttons->addWidget(cmdSavePdf);
  buttons->addWidget(cmdPrint);
  buttons->addWidget(cmdExport);
  buttons->addWidget(cmdClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblTitle);
  layout->addWidget(txbOutput, 1);
  layout->addLayout(buttons);

  if (context_.mainWindow != nullptr) setWindowIcon(context_.mainWindow->windowIcon());
  setMinimumHeight(TwipsToPixelsY(kMinimumHeightTwips, this));

  connect(cboSortBy, &QComboBox::currentIndexChanged, this, [this] { cboSortBy_Click(); });
  connect(chkShowDuration, &QCheckBox::clicked, this, [this] { chkShowDuration_Click(); });
  connect(cmdCopy, &QPushButton::clicked, this, [this] { cmdCopy_Click(); });
  connect(cmdSavePdf, &QPushButton::clicked, this, [this] { cmdSavePdf_Click(); });
  connect(cmdPrint, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
  connect(cmdExport, &QPushButton::clicked, this, [this] { cmdExport_Click(); });
  connect(cmdClose, &QPushButton::clicked, this, &QWidget::hide);
  BindKeys(cmdExport, {QKeySequence(Qt::CTRL | Qt::Key_E)});
  BindKeys(cmdPrint, {QKeySequence(QKeySequence::Print)});
}

bool FrmDurations::TransitMode() const {
  const Mode m = CurrentMode();
  return m == Mode::WorldTransits || m == Mode::Personal1 || m == Mode::Personal2;
}

void FrmDurations::Report() {
  AspectEngine& engine = *context_.engine;
  const Mode mode = engine.CurrentMode;
  const std::array<std::string, 3> dates = context_.dateTexts ? context_.dateTexts(reports::ShortMonthsInReport(mode))
                                                              : std::array<std::string, 3>{};
  const reports::ReportHeading heading = reports::MakeReportHeading(mode, dates, Text, context_.addOrbToTitle);
  setWindowTitle(Q(heading.caption));
  lblTitle->setText(Q(heading.title));
  txbOutput->clear();
  engine.GetDurations();
  shown_ = reports::KeepReportedTable(engine);
  description_.clear();
  if (!TransitMode()) description_ = reports::NatalDescription(engine, mode, Text);
  if (!isVisible()) {
    resize(width(), TwipsToPixelsY(6000, this));
    if (context_.mainWindow != nullptr) move(context_.mainWindow->pos() + QPoint(40, 60));
  }
  show();
  raise();
  activateWindow();
  // The sort list and the text follow the new table. Done here, not on every
  // activation of the window, so that returning to the window keeps the
  // order the user chose.
  Activate();
}

void FrmDurations::Activate() {
  lblSortBy->setText(Q(Text(59)));
  cmdCopy->setText(Q(Text(185)));
  cmdClose->setText(Q(Text(184)));
  cmdExport->setText(Q(Text(kExportItem)));
  cmdExport->setVisible(TransitMode());
  chkShowDuration->setText(Q(Text(416)));
  cmdSavePdf->setText(Q(Text(414)));
  cmdPrint->setText(Q(Text(415)));
  txbOutput->clear();
  RefillSortList();
  if (TransitMode()) {
    chkShowDuration->setChecked(true);
    chkShowDuration->setEnabled(true);
    busy_ = true;
    cboSortBy->setCurrentIndex(-1);
    busy_ = false;
    cboSortBy->setCurrentIndex(0);  // sorts by the first key and draws
  } else {
    chkShowDuration->setEnabled(false);
    // The static modes have no dates to hide: their text uses the wide window.
    chkShowDuration->setChecked(true);
    DrawList();
  }
  if (!isMaximized()) resize(TwipsToPixelsX(WantedWidthTwips(), this), height());
}

void FrmDurations::RefillSortList() {
  busy_ = true;
  cboSortBy->clear();
  sortEntries_ = reports::SortEntries(CurrentMode(), Text);
  for (const reports::SortEntry& e : sortEntries_) cboSortBy->addItem(Q(e.label));
  if (!sortEntries_.empty()) cboSortBy->setCurrentIndex(0);
  cboSortBy->setEnabled(shown_.aspectCount >= 2);
  lblSortBy->setEnabled(cboSortBy->isEnabled());
  busy_ = false;
}

void FrmDurations::cboSortBy_Click() {
  const int position = cboSortBy->currentIndex();
  if (busy_ || position < 0 || position >= static_cast<int>(sortEntries_.size())) return;
  reports::SortRecords(shown_.records, sortEntries_[static_cast<size_t>(position)].keyStart);
  txbOutput->clear();
  // The dates are what these keys sort by.
  if (position >= 4 && !chkShowDuration->isChecked()) {
    chkShowDuration->setChecked(true);
    chkShowDuration_Click();
  }
  DrawList();
  SetFocusIfPossible(cmdClose);
}

void FrmDurations::chkShowDuration_Click() {
  txbOutput->clear();
  if (!isMaximized()) resize(TwipsToPixelsX(WantedWidthTwips(), this), height());
  DrawList();
}

int FrmDurations::WantedWidthTwips() const {
  const int mainWidth = context_.mainWindow != nullptr ? PixelsToTwipsX(context_.mainWindow->width(), this)
                                                       : kNarrowWidthTwips;
  return chkShowDuration->isChecked() ? mainWidth : kNarrowWidthTwips;
}

void FrmDurations::DrawList() {
  // The list is columns and must not wrap; the description is sentences.
  txbOutput->setLineWrapMode(TransitMode() ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
  if (!TransitMode()) {
    txbOutput->setPlainText(NativeLines(description_));
    return;
  }
  reports::TransitListOptions options;
  options.mode = CurrentMode();
  options.showDurations = chkShowDuration->isChecked();
  const int position = cboSortBy->currentIndex();
  if (position >= 0 && position < static_cast<int>(sortEntries_.size())) {
    options.sortKey = sortEntries_[static_cast<size_t>(position)].key;
  }
  for (size_t k = 0; k < 7; ++k) options.orbListIndex[k] = shown_.settings.OrbListIndex[k];
  options.language = context_.language;
  const int language = context_.language;
  txbOutput->setPlainText(NativeLines(reports::TransitList(shown_.records, options, Text, [language](int day) {
    return JdnToDateText(day, false, language);
  })));
}

QString FrmDurations::ClipboardText() const {
#ifdef Q_OS_WIN
  const QString breaks = QStringLiteral("\r\n\r\n");
#else
  const QString breaks = QStringLiteral("\n\n");
#endif
  return lblTitle->text() + breaks + txbOutput->toPlainText();
}

void FrmDurations::cmdCopy_Click() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  clipboard->setText(ClipboardText());
}

// The report's lines as the window shows them.
static std::vector<std::string> ShownLines(const QPlainTextEdit* text) {
  std::vector<std::string> lines;
  for (const QString& line : text->toPlainText().split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
  return lines;
}

void FrmDurations::cmdPrint_Click() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(windowTitle());
  if (!AskPrinter(context_.printDialog, printer, this)) return;
  if (!chart::PaintReport(printer, lblTitle->text().trimmed().toStdString(), ShownLines(txbOutput))) {
    ShowMessageBox(this, {QMessageBox::Warning, PlainCaption(cmdPrint), ItemText(433),
                          QMessageBox::Ok, QMessageBox::Ok});
  }
}

void FrmDurations::cmdSavePdf_Click() {
  const QString caption = PlainCaption(cmdSavePdf);
  const QStringList filters{ItemText(434) + QStringLiteral(" (*.pdf)")};
  QString selected = filters.front();
  const QString name = AskSaveFileName(context_.saveFileName, this, caption, settings::DialogKind::Export, filters,
                                       {QStringLiteral("pdf")}, &selected);
  if (name.isEmpty()) return;
  QString chosen = name;
  const std::string extension = reports::FileExtension(name.toStdString(), true);
  if (extension.empty()) {
    chosen = (name.endsWith(QLatin1Char('.')) ? name.chopped(1) : name) + QStringLiteral(".pdf");
    if (!MayReplaceAddedName(this, caption, chosen.toStdString())) return;
  } else if (extension != "pdf") {
    SayExtensionRefused(this, caption, ItemText(435), "." + extension);
    return;
  }
  const std::string path = FileSystemName(this, caption, chosen);
  if (path.empty()) return;
  const std::string error = chart::SaveReportPdf(path, lblTitle->text().trimmed().toStdString(),
                                                 ShownLines(txbOutput), chart::PaperFromEnvironment());
  MessageBoxRequest box{QMessageBox::Information, caption,
                        ItemText(436) + QStringLiteral("\n") + OutsideText(path), QMessageBox::Ok,
                        QMessageBox::Ok};
  if (!error.empty()) {
    box.icon = QMessageBox::Warning;
    box.text = DisplayText(error);
  }
  ShowMessageBox(this, box);
}

QStringList FrmDurations::ExportFilters() {
  return {Q(Text(kCalendarFilesItem)) + QStringLiteral(" (*.ics)"), Q(Text(kCsvFilesItem)) + QStringLiteral(" (*.csv)")};
}

void FrmDurations::cmdExport_Click() {
  if (!TransitMode()) return;
  const QStringList filters = ExportFilters();
  QString selected = filters.front();
  const QString name = AskSaveFileName(context_.saveFileName, this, Q(Text(kExportTitleItem)), settings::DialogKind::Export,
                                       filters, {QStringLiteral("ics"), QStringLiteral("csv")}, &selected);
  if (name.isEmpty()) return;
  // The name's extension decides, as for pictures; a name without one gets
  // that of the type chosen (Qt's dialog adds it itself and asks about the
  // full name; a dialog that does not is asked about here).
  const bool csvChosen = selected == filters[1];
  QString chosen = name;
  const std::string extension = reports::FileExtension(name.toStdString(), true);
  if (extension.empty()) {
    chosen = (name.endsWith(QLatin1Char('.')) ? name.chopped(1) : name) +
             (csvChosen ? QStringLiteral(".csv") : QStringLiteral(".ics"));
    if (!MayReplaceAddedName(this, PlainCaption(cmdExport), chosen.toStdString())) return;
  } else if (extension != "ics" && extension != "csv") {
    SayExtensionRefused(this, PlainCaption(cmdExport),
                        ItemText(437),
                        "." + extension);
    return;
  }
  const std::string path = FileSystemName(this, PlainCaption(cmdExport), chosen);
  if (path.empty()) return;
  const bool csv = extension == "csv" || (extension.empty() && csvChosen);

  // The searches past the table's date take a moment for the slow planets.
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  const char* stamp = std::getenv("VEMO_DTSTAMP");
  const reports::TableExport table = reports::ExportOfTable(
      context_.engine->Services, shown_,
      stamp != nullptr && *stamp != '\0' ? std::string(stamp) : reports::IcsDateTime(CurrentAJD()));
  const std::string text = reports::FormatEvents(csv ? reports::EventFormat::Csv : reports::EventFormat::Ics,
                                                 table.result, table.context);
  const FileWriteResult written = WriteFileWhole(path, text);
  QGuiApplication::restoreOverrideCursor();

  MessageBoxRequest box{QMessageBox::Information, PlainCaption(cmdExport), Q(Text(kExportedItem)) + QStringLiteral("\n") + OutsideText(path),
                        QMessageBox::Ok, QMessageBox::Ok};
  if (!written.ok) {
    box.icon = QMessageBox::Warning;
    box.text = WriteFailureText(Q(Text(kExportFailedItem)), path, written);
  }
  ShowMessageBox(this, box);
}

void FrmDurations::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!isVisible() || resizing_ || isMaximized() || isMinimized()) return;
  // The static modes have no dates to hide: their text uses the wide window.
  if (!TransitMode() && !chkShowDuration->isChecked()) chkShowDuration->setChecked(true);
  const int wanted = TwipsToPixelsX(WantedWidthTwips(), this);
  if (width() != wanted) {
    resizing_ = true;
    resize(wanted, height());
    resizing_ = false;
  }
}

void FrmDurations::closeEvent(QCloseEvent* event) {
  event->ignore();
  cmdClose->click();
}

void FrmDurations::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace vemo::ui
