// frmMain: start-up, the handlers of the controls, the periodic refresh and
// stepping through time.
#include "app/ui/frm_main.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QUrl>

#include <algorithm>

#include "app/text/program_text.h"
#include "app/time/data_files.h"
#include "app/time/date_texts.h"
#include "app/time/dates.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"
#include "app/ui/chart_view.h"
#include "app/ui/frm_configure.h"
#include "app/ui/frm_popup.h"
#include "app/ui/frm_run.h"
#include "app/ui/message_box.h"
#include "app/ui/twips.h"
#include "app/ui/weblink.h"
#include "app/ui/window_utils.h"
#include "platform/ordalin/ordalin.h"

namespace vemo::ui {

namespace {

QString Text(int item) { return DisplayText(vemo::ProgramText(item)); }

// Rows of the date inputs: their headings are items 4, 5, 6.
constexpr int kRowHeadingItem[3] = {4, 5, 6};
// Clear's question: item 342, a blank, and the row's item 343, 344 or 345.
constexpr int kClearQuestionItem = 342;
constexpr int kClearRowItem[3] = {343, 344, 345};
// Tooltip of a button whose window comes in a later version.
constexpr int kNotAvailableYetItem = 400;
// Step sizes: items 170..174 for half hour, day, week, month, year.
constexpr int kFirstStepItem = 170;
constexpr int kStepItems = 5;

}  // namespace

FrmMain::FrmMain(MainWindowOptions options, QWidget* parent)
    : QWidget(parent), options_(std::move(options)), engine_(vemo::DefaultEngineServices(0)) {
  if (options_.programFolder.empty()) options_.programFolder = vemo::ProgramFolder();
  if (!options_.currentAJD) options_.currentAJD = [] { return vemo::CurrentAJD(); };
  if (!options_.systemTimezoneMinutes) options_.systemTimezoneMinutes = [] { return vemo::SystemTimezoneMinutes(); };
  setAttribute(Qt::WA_DeleteOnClose, false);
  BuildControls();
  popUp_ = new FrmPopUp(this);
  ConfigureHost host;
  host.startupCompleted = [this] { return blnStartupCompleted; };
  host.setUpTimezoneComboBoxesKeep = [this] { SetUpTimezoneComboBoxes(true); };
  host.compute = [this] { cmdCompute_Click(); };
  host.systemTimezoneMinutes = [this] { return options_.systemTimezoneMinutes(); };
  host.mainWindow = [this] { return static_cast<QWidget*>(this); };
  configure_ = new FrmConfigure(std::move(host), this);
  runWindow_ = new FrmRun(engine_.Run, this);
  Timer1.setInterval(1000);
  Timer2.setInterval(3000);
  Timer2.setSingleShot(false);
  ConnectHandlers();
}

FrmMain::~FrmMain() {
  Timer1.stop();
  Timer2.stop();
}

void FrmMain::ConnectHandlers() {
  for (int r = 0; r < 3; ++r) {
    connect(txbYearCE[r], &QLineEdit::returnPressed, this, [this, r] { YearBox_Enter(r); });
    connect(txbYearCE[r], &QLineEdit::textEdited, this, [this, r] { OnDateInputChanged(r, false); });
    for (QComboBox* c : {cboMonthCE[r], cboDayCE[r], cboHour[r], cboTimezone[r]}) {
      connect(c, QOverload<int>::of(&QComboBox::activated), this, [this, r] { OnDateInputChanged(r, true); });
    }
    connect(cboDayCE[r], QOverload<int>::of(&QComboBox::activated), this, [this, r] { ShowWeekday(r); });
    connect(cmdClear[r], &QPushButton::clicked, this, [this, r] { cmdClear_Click(r); });
  }
  connect(cmdNow, &QPushButton::clicked, this, [this] { cmdNow_Click(); });
  connect(cmdCompute, &QPushButton::clicked, this, [this] { cmdCompute_Click(); });
  connect(cmdConfigure, &QPushButton::clicked, this, [this] { cmdConfigure_Click(); });
  connect(cmdForwardBack[0], &QPushButton::clicked, this, [this] { cmdForwardBack_Click(0); });
  connect(cmdForwardBack[1], &QPushButton::clicked, this, [this] { cmdForwardBack_Click(1); });
  connect(cboForwardBack, QOverload<int>::of(&QComboBox::activated), this, [this] {
    if (isVisible() && cmdForwardBack[0]->isEnabled()) cmdForwardBack[0]->setFocus();
  });
  connect(cmdQuit, &QPushButton::clicked, this, [this] { cmdQuit_Click(); });
  connect(cmdToggleGraphic, &QPushButton::clicked, this, [this] { cmdToggleGraphic_Click(); });
  connect(cmdSaveAs, &QPushButton::clicked, this, [this] { cmdSaveAs_Click(); });
  connect(cmdReport, &QPushButton::clicked, this, [this] { cmdReport_Click(); });
  connect(cmdHelp, &QPushButton::clicked, this, [this] { cmdHelp_Click(); });
  connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
  connect(cmdRestore, &QPushButton::clicked, this, [this] { cmdRestore_Click(); });
  connect(cmdLoadState, &QPushButton::clicked, this, [this] { cmdLoadState_Click(); });
  connect(cmdRun, &QPushButton::clicked, this, [this] { cmdRun_Click(); });
  connect(picGraphic, &ChartView::rightClicked, this, [this](int x, int y) { picGraphic_RightClick(x, y); });
  connect(modeGroup_, &QButtonGroup::idClicked, this, [this] { ModeOption_Click(); });
  connect(unitGroup_, &QButtonGroup::idClicked, this, [this] {
    if (hasResult_) cmdCompute_Click();
  });
  connect(lblURL, &QLabel::linkActivated, this, [this] { OpenManual(); });
  connect(this, &FrmMain::aspectCellClicked, this, [this](int index) { txbCell_Click(index); });
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  connect(&Timer2, &QTimer::timeout, this, [this] { stepDelayPending_ = false; });
}

// ---------------------------------------------------------------- start-up

bool FrmMain::StartUp() {
  Timer1.stop();
  vemo::SetLanguageIndex(0);
  const std::string textError = vemo::LoadProgramText(options_.programFolder);
  if (!textError.empty()) {
    ShowStartUpMessage(nullptr, {QMessageBox::Critical, QString(), DisplayText(textError), QMessageBox::Ok,
                                 QMessageBox::Ok});
    return false;
  }
  // Items missing from an edited or older file read as empty; said once.
  const std::string missingItems = vemo::MissingItemsWarning(vemo::MissingUsedItems());
  SetFontNameOfAll(this, QStringLiteral("Arial"));
  SetClickHint();

  lblCopyright->setText(StandingStatusText());
  FillDateLists();

  configure_->WindowLoad();

  systemTimezoneMinutes_ = options_.systemTimezoneMinutes();
  SetUpTimezoneComboBoxes(false);
  const vemo::LocalZone zone = vemo::ResolveLocalZone(systemTimezoneMinutes_);
  localTimezoneIndex_ = zone.index;
  localZoneMinutes_ = zone.minutesEast;

  const std::string libraryError = vemo::SetUpDataFolder(options_.programFolder);
  if (!libraryError.empty()) {
    ShowStartUpMessage(nullptr, {QMessageBox::Critical, QStringLiteral("Error"), DisplayText(libraryError),
                                 QMessageBox::Ok, QMessageBox::Ok});
    return false;
  }

  // Every command is built; a command of a later version goes into this
  // list, stays disabled and says so.
  notYetAvailable_ = {};
  for (QPushButton* b : notYetAvailable_) b->setToolTip(Text(kNotAvailableYetItem));
  SetCommandEnabled(cmdRun, false);
  for (QPushButton* b : cmdClear) b->setEnabled(false);
  EnableStepControls(false);
  SetCommandEnabled(cmdLoadState, false);
  SetCommandEnabled(cmdSave, false);
  SetCommandEnabled(cmdRestore, false);
  // Enabled again below once the first table stands.
  for (QPushButton* b : {cmdToggleGraphic, cmdReport, cmdSaveAs, cmdHelp}) SetCommandEnabled(b, false);

  ApplyLanguage();
  SetSaveAsCaption();

  popUp_->PopUpCenterScreen(QStringLiteral("Loading data ..."), 0);
  std::string plutoError;
  blnPlutoDataReadOK = vemo::LoadPlutoTable(vemo::kPlutoFileName, plutoError);
  engine_.PlutoAvailable = blnPlutoDataReadOK;
  popUp_->hide();

  // The state the user saved at the last Quit, else the present moment.
  const std::string stateNotice = RestoreUserState();

  SetSaveAsCaption();
  SetCommandEnabled(cmdSave, true);
  SetCommandEnabled(cmdHelp, true);
  SetCommandEnabled(cmdToggleGraphic, true);
  SetCommandEnabled(cmdReport, true);
  cmdQuit->setEnabled(true);
  Timer1.start();
  SetClickHint();

  ApplyModeHeight();
  if (const QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect area = s->availableGeometry();
    move(area.x() + std::max(0, (area.width() - width()) / 2),
         area.y() + std::max(0, (area.height() - height()) / 2));
  }
  show();

  if (!missingItems.empty()) {
    ShowStartUpMessage(this, {QMessageBox::Warning, QStringLiteral("Warning"), DisplayText(missingItems),
                              QMessageBox::Ok, QMessageBox::Ok});
  }
  if (!blnPlutoDataReadOK) {
    ShowStartUpMessage(this, {QMessageBox::Warning, QStringLiteral("Error"),
                              QStringLiteral("Error when reading Pluto data:\n") + QString::fromStdString(plutoError) +
                                  QStringLiteral("\n\nPluto aspects cannot be displayed."),
                              QMessageBox::Ok, QMessageBox::Ok});
  }
  // Jupiter to Neptune: one warning naming the files that cannot be used
  // (missing, unreadable, refused, or a program folder too long for the
  // library); the other planets are shown as usual.
  if (const std::string dataWarning = vemo::DataFilesWarning(vemo::ProbeDataFiles(), options_.programFolder);
      !dataWarning.empty()) {
    ShowStartUpMessage(this, {QMessageBox::Warning, QStringLiteral("Error"), DisplayText(dataWarning),
                              QMessageBox::Ok, QMessageBox::Ok});
  }

  SetCommandEnabled(cmdSaveAs, true);
  SetCommandEnabled(cmdToggleGraphic, true);
  // The table is computed once more before the window counts as loaded, in
  // case something changed while the window was first shown (the Pluto
  // message above is modal, but the refresh runs behind it). When nothing a
  // computation reads has changed the table stands as it is: the same inputs
  // give the same table.
  blnStartupCompleted = false;
  if (computationsDone_ == 0 || CurrentComputeInputs() != lastComputeInputs_) cmdCompute_Click();
  blnStartupCompleted = true;
  // The enabled states of the periodic refresh hold from the first moment.
  Timer1_Timer();
  SetFocusIfPossible(cmdCompute);
  // Said once; the next change of a date input brings the standing text back.
  QStringList notices;
  if (!zone.listed) {
    notices << DisplayText(vemo::ZoneNotListedNotice(systemTimezoneMinutes_, [](int n) { return vemo::ProgramText(n); }));
  }
  if (!stateNotice.empty()) notices << DisplayText(stateNotice);
  if (!notices.isEmpty()) lblCopyright->setText(notices.join(QStringLiteral("  ")));
  return true;
}

bool FrmMain::IsAvailable(const QPushButton* button) const {
  return std::find(notYetAvailable_.begin(), notYetAvailable_.end(), button) == notYetAvailable_.end();
}

void FrmMain::SetCommandEnabled(QPushButton* button, bool enabled) {
  button->setEnabled(enabled && IsAvailable(button));
}

QString FrmMain::StandingStatusText() {
  return QStringLiteral("vemo %1 - heliocentric aspects of the planets").arg(QStringLiteral(VEMO_VERSION_STRING));
}

QString FrmMain::ManualUrl() const {
  const QString path = QDir(QString::fromStdString(options_.programFolder)).filePath(QStringLiteral("manual/index.html"));
  return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString();
}

void FrmMain::OpenManual() {
  const QString path = QDir(QString::fromStdString(options_.programFolder)).filePath(QStringLiteral("manual/index.html"));
  LaunchInBrowser(QFileInfo(path).absoluteFilePath().toStdString(), this);
}

void FrmMain::StartWithNow() {
  SetWorldDateToNow();
  suppressOptionEvents_ = true;
  optPlanetary->setChecked(true);
  suppressOptionEvents_ = false;
  cmdCompute_Click();
  picTable->show();
}

void FrmMain::SetWorldDateToNow() {
  // The local zone's offset: on a computer whose zone has no entry the row
  // shows the present instant in GMT, on the "GMT" entry selected below.
  const HalfHourInstant now = RoundToHalfHour(LocalDayValueOf(options_.currentAJD(), localZoneMinutes_));
  EuroDate d{0, 0, 0, ORDALIN_GREGORIAN, static_cast<int32_t>(now.dayNumber), 0};
  jdn_to_euro_date(&d);
  cboMonthCE[0]->setCurrentIndex(d.month);
  cboDayCE[0]->setCurrentIndex(d.day);
  txbYearCE[0]->setText(QString::number(d.year));
  cboHour[0]->setCurrentIndex(now.hourEntry);
  cboTimezone[0]->setCurrentIndex(localTimezoneIndex_);
}

// ---------------------------------------------------------------- lists and texts

void FrmMain::FillMonthAndStepLists() {
  const int language = vemo::LanguageIndex();
  for (int r = 0; r < 3; ++r) {
    const int kept = std::max(0, cboMonthCE[r]->currentIndex());
    cboMonthCE[r]->clear();
    cboMonthCE[r]->addItem(QString());
    for (int m = 1; m <= 12; ++m) cboMonthCE[r]->addItem(QString::fromStdString(vemo::MonthName(m, false, language)));
    cboMonthCE[r]->setCurrentIndex(kept);
  }
  const int keptStep = cboForwardBack->currentIndex();
  cboForwardBack->clear();
  for (int i = 0; i < kStepItems; ++i) cboForwardBack->addItem(Text(kFirstStepItem + i));
  cboForwardBack->setCurrentIndex(keptStep >= 0 ? keptStep : 1);
}

void FrmMain::FillDateLists() {
  FillMonthAndStepLists();
  for (int r = 0; r < 3; ++r) {
    cboDayCE[r]->clear();
    cboDayCE[r]->addItem(QString());
    for (int d = 1; d <= 31; ++d) cboDayCE[r]->addItem(QString::number(d));
    txbYearCE[r]->clear();
    cboHour[r]->clear();
    for (int h = 0; h < vemo::kHourEntries; ++h) cboHour[r]->addItem(QString::fromStdString(vemo::HourEntryText(h)));
  }
}

void FrmMain::SetUpTimezoneComboBoxes(bool keepSelection) {
  const bool names = configure_->DisplayNATZabbrChecked();
  for (int r = 0; r < 3; ++r) {
    zoneLists_[r].Select(cboTimezone[r]->currentIndex());
    zoneLists_[r].SetUp(keepSelection, names);
    cboTimezone[r]->clear();
    for (const TimezoneEntry& e : zoneLists_[r].Entries()) {
      cboTimezone[r]->addItem(QString::fromStdString(e.text), e.minutesEast);
    }
    cboTimezone[r]->setCurrentIndex(zoneLists_[r].Selected());
  }
}

void FrmMain::SetLanguageDependentText() {
  for (int r = 0; r < 3; ++r) {
    Label1[r]->setText(Text(kRowHeadingItem[r]));
    cmdClear[r]->setText(Text(8));
  }
  cmdNow->setText(Text(18));
  optPlanetary->setText(Text(9));
  optNatal[0]->setText(Text(10));
  optNatal[1]->setText(Text(11));
  optPersonal[0]->setText(Text(12));
  optPersonal[1]->setText(Text(13));
  optSynastry->setText(Text(14));
  cmdCompute->setText(Text(19));
  cmdConfigure->setText(Text(20));
  cmdForwardBack[0]->setText(Text(21));
  cmdForwardBack[1]->setText(Text(22));
  cmdRun->setText(Text(36));
  cmdReport->setText(Text(38));
  cmdLoadState->setText(Text(40));
  cmdSave->setText(Text(15));
  cmdRestore->setText(Text(398));
  cmdHelp->setText(Text(17));
  cmdQuit->setText(Text(16));
  SetToggleCaption();
  SetSaveAsCaption();
  FillMonthAndStepLists();
  lblURL->setText(QStringLiteral("<a href=\"%1\">manual/index.html</a>").arg(ManualUrl()));
  configure_->SetLanguageDependentText(cmdConfigure->text());
}

void FrmMain::ApplyLanguage() {
  vemo::SetLanguageIndex(0);
  SetLanguageDependentText();
  SetTitle();
  if (blnStartupCompleted) {
    for (int r = 0; r < 3; ++r) ShowWeekday(r);
    cmdCompute_Click();
    cmdCompute->setFocus();
  }
}

void FrmMain::ShowWeekday(int row) {
  const int jdn = vemo::DateRowDayNumber(ReadRow(row));
  cboDayCE[row]->setToolTip(jdn > 0 ? QString::fromStdString(vemo::WeekdayNameOfDayNumber(jdn, vemo::LanguageIndex()))
                                    : QString());
}

// ---------------------------------------------------------------- modes, title

int FrmMain::CheckedMode() const {
  const int id = modeGroup_->checkedId();
  return id >= 1 && id <= 6 ? id : 0;
}

QRadioButton* FrmMain::OptionOfMode(int mode) const {
  return qobject_cast<QRadioButton*>(modeGroup_->button(mode));
}

void FrmMain::ReselectModeOption() {
  suppressOptionEvents_ = true;
  if (QRadioButton* o = OptionOfMode(modeNumber_)) o->setChecked(true);
  suppressOptionEvents_ = false;
  revertMode_ = false;
}

void FrmMain::ModeOption_Click() {
  if (suppressOptionEvents_) return;
  revertMode_ = false;
  cmdCompute_Click();
  if (revertMode_) ReselectModeOption();
  ApplyModeHeight();
  // The step controls follow the same rule as in the periodic refresh, so
  // that they are never usable in a mode that does not use the world date.
  UpdateStepControls();
  SetToggleCaption();
  SetClickHint();
  SetTitle();
}

void FrmMain::UpdateStepControls() {
  EnableStepControls(ModeUsesWorldDate(modeNumber_) && WorldRowComplete() && !runInProgress_ && !GraphShown);
}

void FrmMain::SetTitle() {
  lblTitle->setText(DisplayText(
      ModeTitleText(CheckedMode(), !picGraphic->isHidden(), engine_.Orbs, [](int n) { return vemo::ProgramText(n); })));
}

std::string FrmMain::AddOrbToTitle(const std::string& title, bool personal, bool addPeriod) const {
  return AddOrbToTitleText(title, TitleOrbsOf(engine_.Orbs, personal, CheckedMode()), addPeriod,
                           vemo::ProgramText(33), vemo::ProgramText(34), vemo::ProgramText(35),
                           [](double x) { return vemo::FormatAngleDM(x, true); });
}

void FrmMain::SetClickHint() {
  const int mode = CheckedMode();
  lblClickonAspect->setVisible(true);
  const bool tableShown = picGraphic->isHidden();
  lblClickonAspect->setText(tableShown && ModeUsesWorldDate(mode) ? Text(32) : QString());
}

void FrmMain::SetToggleCaption() { cmdToggleGraphic->setText(Text(picGraphic->isHidden() ? 37 : 41)); }

void FrmMain::SetSaveAsCaption() {
  const bool chartShown = !picGraphic->isHidden();
  cmdSaveAs->setText(Text(chartShown ? 42 : 39));
  QFont f = cmdSaveAs->font();
  f.setBold(false);
  cmdSaveAs->setFont(f);
  SetCommandEnabled(cmdSaveAs, hasResult_ && !runInProgress_);
  SetCommandEnabled(cmdLoadState, !chartShown && hasResult_);
}

void FrmMain::EnableStepControls(bool enabled) {
  cmdForwardBack[0]->setEnabled(enabled);
  cmdForwardBack[1]->setEnabled(enabled);
  cboForwardBack->setEnabled(enabled);
}

// ---------------------------------------------------------------- Compute

DateRow FrmMain::ReadRow(int row) const {
  DateRow r;
  r.yearText = txbYearCE[row]->text().toStdString();
  r.monthIndex = std::max(0, cboMonthCE[row]->currentIndex());
  r.dayIndex = std::max(0, cboDayCE[row]->currentIndex());
  r.hourIndex = std::max(0, cboHour[row]->currentIndex());
  r.zoneIndex = std::max(0, cboTimezone[row]->currentIndex());
  return r;
}

void FrmMain::WriteRow(int row, const DateRow& value) {
  const QString year = QString::fromStdString(value.yearText);
  if (txbYearCE[row]->text() != year) txbYearCE[row]->setText(year);
  cboMonthCE[row]->setCurrentIndex(value.monthIndex);
  cboDayCE[row]->setCurrentIndex(value.dayIndex);
  cboHour[row]->setCurrentIndex(value.hourIndex);
  cboTimezone[row]->setCurrentIndex(value.zoneIndex);
}

FrmMain::ComputeInputs FrmMain::CurrentComputeInputs() const {
  return {CheckedMode(), {ReadRow(0), ReadRow(1), ReadRow(2)}, configure_->SettingsForCompute(),
          optRadians->isChecked(), engine_.PlutoAvailable};
}

bool FrmMain::cmdCompute_Click() {
  const int mode = CheckedMode();
  if (mode == 0) return false;
  std::array<DateRow, 3> rows{ReadRow(0), ReadRow(1), ReadRow(2)};
  const ComputeStatus status =
      vemo::ComputeFromRows(engine_, static_cast<Mode>(mode), rows, localTimezoneIndex_,
                            configure_->SettingsForCompute(), optRadians->isChecked());
  for (int r = 0; r < 3; ++r) {
    if (ModeUsesRow(mode, r)) WriteRow(r, rows[r]);
  }
  if (!status.Ok) {
    ReportDateError(status.BadRow);
    return false;
  }
  // Read after the rows were written back: the cleaned year and the
  // defaulted hour and zone are what the table stands for.
  lastComputeInputs_ = CurrentComputeInputs();
  ++computationsDone_;
  modeNumber_ = mode;
  hasResult_ = true;
  DrawTable();
  ShowSummary();
  intTotalNumAspects = engine_.GetTotalNumAspects();
  // During a run only Run and Quit stay usable (EnableForRun).
  SetCommandEnabled(cmdToggleGraphic, !runInProgress_);
  SetCommandEnabled(cmdLoadState, picGraphic->isHidden() && !runInProgress_);
  // The view stays as it is: a chart on screen (or the time graph, which
  // belonged to the table just replaced) shows the chart of the new table.
  if (!picGraphic->isHidden()) {
    GraphShown = false;
    if (!DrawChartOfTable()) ShowPicture(false);
  }
  ArrangeForDisplay();
  SetTitle();
  SetClickHint();
  if (runInProgress_) RunCompletionTest();
  return true;
}

void FrmMain::ReportDateError(int row) {
  if (row >= 0 && row < 3 && blnStartupCompleted) {
    const std::string message =
        vemo::DateErrorMessage(row, engine_.JulianDates[static_cast<size_t>(row)], [](int n) { return vemo::ProgramText(n); });
    ShowMessageBox(this, {QMessageBox::Information, Text(153), DisplayText(message), QMessageBox::Ok,
                          QMessageBox::Ok});
  }
  revertMode_ = true;
}

// ---------------------------------------------------------------- buttons

void FrmMain::cmdNow_Click() {
  SetWorldDateToNow();
  if (ModeUsesWorldDate(CheckedMode())) cmdCompute_Click();
}

void FrmMain::cmdClear_Click(int row) {
  const auto answer = ShowMessageBox(
      this, {QMessageBox::Question, cmdClear[row]->text(),
             Text(kClearQuestionItem) + QStringLiteral(" ") + Text(kClearRowItem[row]),
             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::NoButton});
  if (answer != QMessageBox::Yes) return;
  cboMonthCE[row]->setCurrentIndex(0);
  cboDayCE[row]->setCurrentIndex(0);
  cboHour[row]->setCurrentIndex(0);
  cboTimezone[row]->setCurrentIndex(0);
  txbYearCE[row]->clear();
}

void FrmMain::cmdConfigure_Click() {
  Timer1.stop();
  const bool changed = configure_->ShowModal();
  if (!ending_) Timer1.start();
  if (changed) {
    cmdCompute_Click();
    lblCopyright->setText(StandingStatusText());
    SetClickHint();
  }
}

void FrmMain::YearBox_Enter(int row) {
  if (ModeUsesRow(modeNumber_, row)) cmdCompute_Click();
}

void FrmMain::OnDateInputChanged(int row, bool isDropDown) {
  if (loading_ || (isDropDown && !isVisible())) return;
  if (isDropDown) lblCopyright->setText(StandingStatusText());
  InputDateChanged(row);
  if (isDropDown && !steppingInProgress_) SetFocusIfPossible(cmdCompute);
}

void FrmMain::InputDateChanged(int row) {
  if (!picGraphic->isHidden()) return;
  if (ModeUsesRow(CheckedMode(), row)) {
    SetCommandEnabled(cmdToggleGraphic, false);
    SetCommandEnabled(cmdRun, false);
  }
}

// ---------------------------------------------------------------- chart

void FrmMain::cmdToggleGraphic_Click() {
  QCoreApplication::processEvents();
  GraphShown = false;
  SetEnabledOfAll(this, true);
  // ... except the commands of later versions, and the step controls in a
  // mode without a world date, which the periodic refresh would only catch
  // a second later.
  RefreshEnabledStates();
  if (!picGraphic->isHidden()) {
    ShowPicture(false);
    SetCommandEnabled(cmdRun, false);
  } else {
    ApplyModeHeight();
    if (DrawChartOfTable()) ShowPicture(true);
    cmdRun->setText(Text(36));
    SetCommandEnabled(cmdRun, ModeUsesWorldDate(CheckedMode()) && cboForwardBack->currentIndex() > 0);
  }
  SetTitle();
  ArrangeForDisplay();
  SetClickHint();
  SetSaveAsCaption();
}

bool FrmMain::DrawChartOfTable() {
  vemo::chart::ChartInput in;
  in.mode = engine_.CurrentMode;
  in.table = &engine_.Table;
  in.longitudes = engine_.PlanetLongitudes;
  in.planetCount = engine_.PlanetCount;
  in.aspectColours = engine_.Settings.AspectColours;
  in.displayZodiacSectors = configure_->DisplayZodiacSectors;
  in.showOnlyOuterPlanets = configure_->ShowOnlyOuterPlanets;
  in.showOnlyEarthAspects = configure_->ShowOnlyEarthAspects;
  in.legendLines = {vemo::ProgramText(104), vemo::ProgramText(105), vemo::ProgramText(106)};
  const vemo::chart::ChartResult result = vemo::chart::DrawChart(picGraphic->Canvas(), in);
  picGraphic->CanvasChanged();
  picGraphic->setToolTip(QString());
  switch (result.outcome) {
    case vemo::chart::ChartOutcome::Drawn:
      return true;
    case vemo::chart::ChartOutcome::FilterConflict:
      ShowMessageBox(this, {QMessageBox::Warning, QString(), DisplayText(vemo::chart::kFilterConflictMessage),
                            QMessageBox::Ok, QMessageBox::Ok});
      return false;
    case vemo::chart::ChartOutcome::NoFreeSpot:
      ShowMessageBox(this, {QMessageBox::Warning, QString(),
                            Text(347) + QStringLiteral("\n") + Text(346), QMessageBox::Ok, QMessageBox::Ok});
      return false;
  }
  return false;
}

void FrmMain::ShowPicture(bool show) {
  picGraphic->setVisible(show);
  picTable->setVisible(!show);
  cmdToggleGraphic->setText(Text(show ? 41 : 37));
}

void FrmMain::ArrangeForDisplay() {
  // Table view: the summary (and in the one-date family the patterns) beside
  // the table, in txbReport or, for two dates, txbReport1, as Compute filled
  // them. Chart view: txbReport1 beside the picture with the same text.
  const bool pictureShown = !picGraphic->isHidden();
  const bool twoDate = engine_.Table.TwoDate;
  if (pictureShown && !twoDate) txbReport1->setPlainText(txbReport->toPlainText());
  txbReport->setVisible(!pictureShown && !twoDate);
  txbReport1->setVisible(pictureShown || twoDate);
}

void FrmMain::picGraphic_RightClick(int xTwips, int yTwips) {
  if (GraphShown) {
    const std::string readOut = vemo::chart::GraphReadOut(picGraphic->Canvas(), graphInput_, graphResult_, xTwips,
                                                          yTwips, [](int n) { return vemo::ProgramText(n); });
    if (!readOut.empty()) {
      ShowMessageBox(this, {QMessageBox::Information, QString(), DisplayText(readOut), QMessageBox::Ok,
                            QMessageBox::Ok});
    }
    return;
  }
  const std::string kinds =
      vemo::chart::LineKindsAt(picGraphic->Canvas().PixelAt(xTwips, yTwips), engine_.Settings.AspectColours);
  if (!kinds.empty()) {
    ShowMessageBox(this, {QMessageBox::NoIcon, QString::fromUtf8(vemo::chart::kLineTitle),
                          QString::fromStdString(kinds), QMessageBox::Ok, QMessageBox::Ok});
  }
}

// ---------------------------------------------------------------- aspect-cell click

void FrmMain::txbCell_Click(int index) {
  // A click that slips in during the pause of a step or a run would time an
  // aspect of a table that is about to be replaced.
  if (steppingInProgress_ || runInProgress_ || ending_) return;
  // The searches can take a while for slow pairs, and the refresh must not
  // change the controls under the message that follows them.
  const bool ticking = Timer1.isActive();
  Timer1.stop();
  // The table's own mode decides, not the option checked since: the cell
  // texts belong to the last computation.
  const AspectClickInfo info = engine_.AspectCellClick(index);
  const AspectClickOutcome outcome = OutcomeOfAspectClick(engine_.CurrentMode, info);
  switch (outcome) {
    case AspectClickOutcome::FocusOnly:
    case AspectClickOutcome::Nothing:
      break;
    case AspectClickOutcome::Graph:
      ShowAspectTimeGraph(info);
      break;
    case AspectClickOutcome::Question:
      OfferDurationsReport(info);
      break;
  }
  if (ticking && !ending_) Timer1.start();
  if (outcome != AspectClickOutcome::Nothing) SetFocusIfPossible(cmdCompute);
}

void FrmMain::ShowAspectTimeGraph(const AspectClickInfo& info) {
  lblClickonAspect->setText(QString());
  vemo::chart::GraphInput& g = graphInput_;
  g.natalPlanet = info.PlanetA;
  g.transitingPlanet = info.PlanetB;
  g.kind = info.Kind;
  // Personal transits: set 1 holds the birthdate's planets.
  g.natalLongitude = engine_.PlanetLongitudes[1][static_cast<size_t>(info.PlanetA)];
  g.orb = engine_.Orbs.Orb[static_cast<size_t>(info.Kind)][static_cast<size_t>(info.OrbColumn)];
  g.colour = engine_.Settings.AspectColours[static_cast<size_t>(info.Kind)];
  g.beginning = info.Beginning;
  g.end = info.End;
  g.zoneMinutes = engine_.WorldZoneMinutes;
  g.presentAJD = engine_.TableJulianDates[0];
  g.radians = engine_.Radians;
  g.longitude = [](int planet, double ajd) { return vemo::HelioLongitude(planet, ajd); };
  g.dateText = engine_.Services.DayNumberToDateText;
  graphResult_ = vemo::chart::DrawAspectGraph(picGraphic->Canvas(), g);
  picGraphic->CanvasChanged();
  ShowPicture(true);
  lblTitle->setText(QString::fromStdString(
      vemo::chart::GraphTitle(g, [](int n) { return vemo::ProgramText(n); })));
  picGraphic->setToolTip(Text(351));
  GraphShown = true;
  ArrangeForDisplay();
  SetSaveAsCaption();
  // The configuration window is modal: it cannot be open while a cell is
  // clicked, so there is nothing to hide and bring back here.
}

void FrmMain::OfferDurationsReport(const AspectClickInfo& info) {
  // The click handler has stopped the timer already; it stays stopped while
  // the report is made.
  const auto answer = ShowMessageBox(this, {QMessageBox::Question, ReportCaption(), DisplayText(info.Question),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No});
  if (answer != QMessageBox::Yes) return;
  const bool ticking = Timer1.isActive();
  Timer1.stop();
  ShowReport();
  if (ticking) Timer1.start();
}

// ---------------------------------------------------------------- Timer1

bool FrmMain::RowHasInput(int row) const {
  return !txbYearCE[row]->text().isEmpty() || cboMonthCE[row]->currentIndex() > 0 ||
         cboDayCE[row]->currentIndex() > 0 || cboHour[row]->currentIndex() > 0 ||
         cboTimezone[row]->currentIndex() > 0;
}

bool FrmMain::WorldRowComplete() const {
  return !txbYearCE[0]->text().isEmpty() && cboMonthCE[0]->currentIndex() > 0 &&
         cboDayCE[0]->currentIndex() > 0 && cboHour[0]->currentIndex() > 0 &&
         cboTimezone[0]->currentIndex() > 0;
}

void FrmMain::Timer1_Timer() {
  const int checked = CheckedMode();
  const bool tableShown = picGraphic->isHidden();
  lblURL->setVisible(tableShown && !IsTwoRowMode(checked));
  lblUserManual->setVisible(!lblURL->isHidden());  // the link's caption goes with it

  for (int r = 0; r < 3; ++r) {
    const QString text = txbYearCE[r]->text();
    const QString digits = QString::fromStdString(DigitsOnly(text.toStdString()));
    if (digits != text) txbYearCE[r]->setText(digits);
    ShowWeekday(r);
  }
  RefreshEnabledStates();
  cmdToggleGraphic->setText(Text(tableShown ? 37 : 41));
  lblCopyright->setVisible(tableShown);

  if (!isMinimized()) ApplyModeHeight();

  if (stateJustRead_ && ++ticksSinceStateRead_ >= 5) {
    stateJustRead_ = false;
    ticksSinceStateRead_ = 0;
  }
}

void FrmMain::RefreshEnabledStates() {
  for (QPushButton* b : notYetAvailable_) b->setEnabled(false);
  if (runInProgress_) {
    // Only Run (to stop), Quit and the text boxes; EnableForRun set them.
    cmdRun->setEnabled(true);
    EnableStepControls(false);
    return;
  }
  for (int r = 0; r < 3; ++r) cmdClear[r]->setEnabled(RowHasInput(r));
  // Restore while there is a per-user file to restore; Load from beside the
  // table only.
  SetCommandEnabled(cmdRestore, !userStatePath_.empty() && QFileInfo::exists(QString::fromStdString(userStatePath_)));
  SetCommandEnabled(cmdLoadState, picGraphic->isHidden() && hasResult_);
  UpdateStepControls();
  // The run search is offered only beside the chart, in the modes with a
  // world date and with a step longer than half an hour.
  const bool chartShown = !picGraphic->isHidden() && !GraphShown;
  SetCommandEnabled(cmdRun, chartShown && ModeUsesWorldDate(CheckedMode()) && cboForwardBack->currentIndex() > 0 &&
                                cmdToggleGraphic->isEnabled());
}

// ---------------------------------------------------------------- run

void FrmMain::cmdRun_Click() {
  if (ending_) return;
  if (!runInProgress_ && CheckedMode() == 1) {
    const bool ticking = Timer1.isActive();
    Timer1.stop();
    runWindow_->ShowModal(this, engine_.PlanetCount);
    if (ticking && !ending_) Timer1.start();
    if (ending_ || runWindow_->Cancelled()) return;
  }
  if (runInProgress_) {
    StopRun();
    return;
  }
  // In the personal-transit modes a run only animates: nothing is sought.
  runCriteria_ = CheckedMode() == 1 ? runWindow_->Criteria() : reports::RunCriteria{};
  reports::StartRunState(engine_.Run, runCriteria_);
  runInProgress_ = true;
  cmdRun->setText(Text(43));
  EnableForRun(false);
  cmdForwardBack_Click(0);
}

void FrmMain::StopRun() {
  runInProgress_ = false;
  reports::EndRunState(engine_.Run);
  cmdRun->setText(Text(36));
  EnableForRun(true);
}

void FrmMain::EnableForRun(bool enable) {
  SetEnabledOfAll(this, enable);
  if (enable) {
    RefreshEnabledStates();
    SetSaveAsCaption();
    return;
  }
  for (QWidget* c : std::initializer_list<QWidget*>{cmdRun, cmdQuit, txbReport, txbReport1}) c->setEnabled(true);
}

void FrmMain::RunCompletionTest() {
  const int n = reports::RunCompletionCount(engine_, runCriteria_);
  if (n == 0) return;
  const std::string message = reports::RunFoundMessage(runCriteria_, n, [](int item) { return vemo::ProgramText(item); });
  ShowMessageBox(this, {QMessageBox::Information, Text(122), DisplayText(message), QMessageBox::Ok, QMessageBox::Ok});
  StopRun();
  // The run window again, to search on from here or to cancel. When this
  // happens within a step, a run started from it goes on in that step's
  // loop after the pause.
  cmdRun_Click();
}

// ---------------------------------------------------------------- size rule

void FrmMain::ApplyModeHeight() {
  const int mode = CheckedMode();
  resizing_ = true;
  const int w = TwipsToPixelsX(kMainWindowWidthTwips, this);
  setMinimumSize(w, TwipsToPixelsY(kMinimumHeightTwips, this));
  setMaximumSize(w, TwipsToPixelsY(ModeHeightTwips(mode), this));
  resize(w, TwipsToPixelsY(ModeHeightTwips(mode), this));
  resizing_ = false;
}

void FrmMain::ApplySizeRuleNow() {
  if (!blnStartupCompleted || isMinimized() || resizing_) return;
  resizing_ = true;
  const SizeTwips wanted = ApplySizeRule({PixelsToTwipsX(width(), this), PixelsToTwipsY(height(), this)}, CheckedMode());
  const QSize px(TwipsToPixelsX(wanted.width, this), TwipsToPixelsY(wanted.height, this));
  if (px != size()) resize(px);
  resizing_ = false;
}

void FrmMain::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplySizeRuleNow();
}

// ---------------------------------------------------------------- stepping

StepDate FrmMain::ReadWorldStepDate() const {
  return {txbYearCE[0]->text().toStdString(), cboMonthCE[0]->currentIndex(), cboDayCE[0]->currentIndex(),
          cboHour[0]->currentIndex()};
}

void FrmMain::WriteWorldStepDate(const StepDate& d) {
  const QString year = QString::fromStdString(d.yearText);
  if (txbYearCE[0]->text() != year) txbYearCE[0]->setText(year);
  cboMonthCE[0]->setCurrentIndex(d.month);
  cboDayCE[0]->setCurrentIndex(d.day);
  cboHour[0]->setCurrentIndex(d.hourEntry);
}

void FrmMain::WaitForStepDelay() {
  // The pause between two steps of a run: the event loop keeps running (the
  // user can stop the run) until Timer2 fires once.
  stepDelayPending_ = true;
  Timer2.setInterval((CheckedMode() == 1 && runWindow_->RunQuickly()) ? 100 : 1000);
  if (options_.waitBetweenSteps) {
    options_.waitBetweenSteps(Timer2.interval());
  } else {
    QEventLoop loop;
    const auto c = connect(&Timer2, &QTimer::timeout, &loop, &QEventLoop::quit);
    waitLoop_ = &loop;
    Timer2.start();
    if (stepDelayPending_) loop.exec();
    waitLoop_ = nullptr;
    Timer2.stop();
    disconnect(c);
  }
  stepDelayPending_ = false;
}

void FrmMain::cmdForwardBack_Click(int index) {
  if (steppingInProgress_) return;  // a click re-entered during the pause of a run
  const bool forward = index == 0;
  const StepCalendar calendar = reports::DateLibraryStepCalendar();
  steppingInProgress_ = true;
  QCoreApplication::processEvents();
  do {
    const StepDate previous = ReadWorldStepDate();
    StepDate next = previous;
    const int size = std::clamp(cboForwardBack->currentIndex(), 0, kStepItems - 1);
    if (!StepWorldDate(next, static_cast<StepSize>(size), forward, calendar)) {
      if (runInProgress_) StopRun();
      break;
    }
    WriteWorldStepDate(next);
    // A pattern with the sought planets found at an earlier step must not
    // complete this one.
    if (runInProgress_) reports::BeforeRunCompute(engine_.Run);
    // A refused computation puts the previous date back, whichever row was
    // refused: in Personal transits a bad birthdate leaves the table at the
    // old world date, and the row must not claim otherwise. The date's
    // message has been shown; a run ends there, with its controls usable
    // again.
    if (!cmdCompute_Click() || engine_.JulianDates[0] < 0) {
      WriteWorldStepDate(previous);
      if (runInProgress_) StopRun();
      break;
    }
    if (!forward || !runInProgress_) break;
    WaitForStepDelay();
    engine_.Run.NumPlanetsFound = 0;
  } while (runInProgress_ && !ending_);
  steppingInProgress_ = false;
}

// ---------------------------------------------------------------- the end

void FrmMain::EndProgram() {
  if (ending_) return;
  ending_ = true;
  runInProgress_ = false;
  reports::EndRunState(engine_.Run);
  Timer1.stop();
  Timer2.stop();
  // A run pausing between two steps: its wait ends now, and the step loop
  // sees the end.
  if (waitLoop_) waitLoop_->quit();
  runWindow_->hide();
  configure_->hide();
  popUp_->hide();
  hide();
  if (options_.endProgram) {
    options_.endProgram();
  } else {
    QCoreApplication::quit();
  }
}

void FrmMain::closeEvent(QCloseEvent* event) {
  // The close box ends the program without asking.
  event->accept();
  EndProgram();
}

}  // namespace vemo::ui
