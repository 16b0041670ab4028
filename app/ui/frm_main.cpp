// frmMain: start-up, the lists and texts of the controls, the modes and the
// title, and the end of the program. The other concerns of the window live
// beside it: frm_main_compute.cpp (Compute and the command buttons),
// frm_main_chart.cpp (the chart toggle, the time graph and the aspect-cell
// click), frm_main_stepping.cpp (the periodic refresh, the run, the size rule
// and stepping through time), frm_main_layout.cpp, frm_main_reports.cpp,
// frm_main_save.cpp and frm_main_state.cpp.
#include "app/ui/frm_main.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QShortcut>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QUrl>

#include <algorithm>

#include "app/aspects/date_rows.h"
#include "app/settings/configure_core.h"
#include "app/settings/registry.h"
#include "app/text/languages.h"
#include "app/text/program_text.h"
#include "app/time/data_files.h"
#include "app/time/date_texts.h"
#include "app/time/dates.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"
#include "app/ui/chart_view.h"
#include "app/ui/frm_configure.h"
#include "app/ui/frm_durations.h"
#include "app/ui/frm_popup.h"
#include "app/ui/frm_run.h"
#include "app/ui/frm_view.h"
#include "app/ui/message_box.h"
#include "app/ui/weblink.h"
#include "app/ui/window_utils.h"
#include "platform/ordalin/ordalin.h"

namespace vemo::ui {

namespace {

QString Text(int item) { return DisplayText(vemo::ProgramText(item)); }

// Rows of the date inputs: their headings are items 4, 5, 6.
constexpr int kRowHeadingItem[3] = {4, 5, 6};
// Tooltip of a button whose window comes in a later version.
constexpr int kNotAvailableYetItem = 400;
// Step sizes: items 170..174 for half hour, day, week, month, year.
constexpr int kFirstStepItem = 170;

}  // namespace

FrmMain::FrmMain(MainWindowOptions options, QWidget* parent)
    : QWidget(parent), options_(std::move(options)), engine_(vemo::DefaultEngineServices()) {
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
  host.setLanguage = [this](int language) { SetLanguage(language); };
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
  // The usual keys of a desktop program.
  BindKeys(cmdHelp, {QKeySequence(Qt::Key_F1)});
  BindKeys(cmdSave, {QKeySequence(Qt::CTRL | Qt::Key_S)});
  BindKeys(cmdSaveAs, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
  BindKeys(cmdLoadState, {QKeySequence(Qt::CTRL | Qt::Key_O)});
  BindKeys(cmdQuit, {QKeySequence(Qt::CTRL | Qt::Key_Q)});
  BindKeys(cmdCompute, {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
  BindKeys(cmdForwardBack[0], {QKeySequence(Qt::ALT | Qt::Key_Right)});
  BindKeys(cmdForwardBack[1], {QKeySequence(Qt::ALT | Qt::Key_Left)});
  BindKeys(cmdToggleGraphic, {QKeySequence(Qt::CTRL | Qt::Key_T)});
  // Print has no button of its own: the key prints what is shown.
  auto* print = new QShortcut(QKeySequence(QKeySequence::Print), this);
  connect(print, &QShortcut::activated, this, [this] { Print(); });
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
  vemo::SelectLanguage(StartLanguage());
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
    ShowStartUpMessage(nullptr, {QMessageBox::Critical, ItemText(438), DisplayText(libraryError),
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

  popUp_->PopUpCenterScreen(Text(419), 0);
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
    ShowStartUpMessage(this, {QMessageBox::Warning, ItemText(439), DisplayText(missingItems),
                              QMessageBox::Ok, QMessageBox::Ok});
  }
  if (!blnPlutoDataReadOK) {
    ShowStartUpMessage(this, {QMessageBox::Warning, ItemText(438),
                              ItemText(440) + QStringLiteral("\n") + OutsideText(plutoError) + QStringLiteral("\n\n") +
                                  ItemText(441),
                              QMessageBox::Ok, QMessageBox::Ok});
  }
  // Jupiter to Neptune: one warning naming the files that cannot be used
  // (missing, unreadable, refused, or a program folder too long for the
  // library); the other planets are shown as usual.
  if (const std::string dataWarning = vemo::DataFilesWarning(vemo::ProbeDataFiles(), options_.programFolder);
      !dataWarning.empty()) {
    ShowStartUpMessage(this, {QMessageBox::Warning, ItemText(438), DisplayText(dataWarning),
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
  return QStringLiteral("vemo %1 - %2").arg(QStringLiteral(VEMO_VERSION_STRING), ItemText(442));
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

QString FrmMain::Caption(int item) {
  // Now, Compute, Configure, Forward, Back, Quit, Display chart/table, Run,
  // Stop, Report, Help, Save, Save as/Save chart as, Load from, Restore; the
  // three Clear buttons share a caption and have none. German captions have
  // letters of their own (Jetzt, Berechnen, Einstellungen, Vor, Zurück, ...).
  struct Key {
    int item;
    char16_t english;
    char16_t german;
  };
  static constexpr Key kKeys[] = {
      {18, u'N', u'J'}, {19, u'C', u'B'}, {20, u'g', u'E'}, {21, u'F', u'V'}, {22, u'B', u'Z'},  {16, u'Q', u'n'},
      {37, u'D', u'a'}, {41, u'D', u'a'}, {36, u'R', u'c'}, {43, u'o', u't'}, {38, u'p', u'r'},  {17, u'H', u'H'},
      {15, u'S', u'S'}, {39, u'a', u'u'}, {42, u'a', u'u'}, {40, u'L', u'L'}, {398, u'e', u'W'}};
  const bool german = vemo::LanguageIndex() == vemo::kGerman;
  for (const Key& k : kKeys) {
    if (k.item == item) return WithAccessKey(Text(item), QChar(german ? k.german : k.english));
  }
  return Text(item);
}

void FrmMain::SetLanguageDependentText() {
  for (int r = 0; r < 3; ++r) {
    Label1[r]->setText(Text(kRowHeadingItem[r]));
    cmdClear[r]->setText(Text(8));
  }
  cmdNow->setText(Caption(18));
  optPlanetary->setText(Text(9));
  optNatal[0]->setText(Text(10));
  optNatal[1]->setText(Text(11));
  optPersonal[0]->setText(Text(12));
  optPersonal[1]->setText(Text(13));
  optSynastry->setText(Text(14));
  lblUserManual->setText(ItemText(443));
  lblCopyright->setText(StandingStatusText());
  optDegrees->setText(Text(417));
  optRadians->setText(Text(418));
  cmdCompute->setText(Caption(19));
  cmdConfigure->setText(Caption(20));
  cmdForwardBack[0]->setText(Caption(21));
  cmdForwardBack[1]->setText(Caption(22));
  cmdRun->setText(Caption(36));
  cmdReport->setText(Caption(38));
  cmdLoadState->setText(Caption(40));
  cmdSave->setText(Caption(15));
  cmdRestore->setText(Caption(398));
  cmdHelp->setText(Caption(17));
  cmdQuit->setText(Caption(16));
  SetToggleCaption();
  SetSaveAsCaption();
  FillMonthAndStepLists();
  lblURL->setText(QStringLiteral("<a href=\"%1\">manual/index.html</a>").arg(ManualUrl()));
  configure_->SetLanguageDependentText(PlainCaption(cmdConfigure));
  FitLayoutToCaptions();
}

int FrmMain::StartLanguage() const {
  if (options_.language >= 0 && options_.language < vemo::kLanguageCount) return options_.language;
  std::string stored;
  const std::string status = settings::RegistryReadString(settings::RegistryRoot::CurrentUser, settings::kRegistryKey,
                                                          settings::kLanguageName, stored);
  return settings::StoredLanguage(status, stored, vemo::LanguageOfLocaleName(QLocale::system().name().toStdString()));
}

void FrmMain::SetLanguage(int language) {
  if (language < 0 || language >= vemo::kLanguageCount || language == vemo::LanguageIndex()) return;
  vemo::SelectLanguage(language);
  // A failed write is not shown: the window then starts in the system's language.
  (void)settings::RegistryWriteString(settings::RegistryRoot::CurrentUser, settings::kRegistryKey,
                                      settings::kLanguageName, vemo::LanguageCode(language));
  ApplyLanguage();  // captions, the lists with their selections, the settings window
  if (durations_ != nullptr && durations_->isVisible()) ShowReport();
  if (view_ != nullptr && view_->isVisible()) cmdHelp_Click();
}

void FrmMain::ApplyLanguage() {
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

void FrmMain::SetToggleCaption() { cmdToggleGraphic->setText(Caption(picGraphic->isHidden() ? 37 : 41)); }

void FrmMain::SetSaveAsCaption() {
  const bool chartShown = !picGraphic->isHidden();
  cmdSaveAs->setText(Caption(chartShown ? 42 : 39));
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
