// frmMain: the program's main window. Three rows of date inputs (world date,
// 1st and 2nd birthdate), six modes, the command buttons, the aspect table
// (picTable with its cell boxes txbCell) and the text beside it.
//
// The window is thin: handlers read the controls into values (date rows, the
// mode, the settings of frmConfigure), call the core (ComputeFromRows of the
// aspect engine, the stepping and rounding rules of stepping_core.h) and write
// the results back. The engine object it owns is the one the later windows
// (chart, durations, run search) share.
#pragma once

#include <QLabel>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/aspects/date_rows.h"
#include "app/aspects/engine.h"
#include "app/aspects/stepping_core.h"
#include "app/chart/chart.h"
#include "app/chart/saved_picture.h"
#include "app/reports/run_core.h"
#include "app/settings/state_file.h"
#include "app/time/file_writer.h"
#include "app/time/timezones.h"
#include "app/ui/file_dialogs.h"

class QButtonGroup;
class QComboBox;
class QEventLoop;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace vemo::ui {

class FrmConfigure;
class FrmDurations;
class FrmView;
class FrmPopUp;
class FrmRun;
class ChartView;

// What the window takes from outside; the defaults are the real program's.
// Tests inject a clock and a zone, and a program folder with the data files.
struct MainWindowOptions {
  // Folder of qel.dat, planets_vemo and the data files; "" = the folder of
  // the running executable.
  std::string programFolder;
  // The present instant as an astronomical Julian date (UT).
  std::function<double()> currentAJD;
  // The computer's zone offset in minutes east of Greenwich.
  std::function<int()> systemTimezoneMinutes;
  // Ends the program (Quit, the close box, a fatal start-up error).
  std::function<void()> endProgram;
  // The save dialogs (picture, state, export): open in `folder`, return the
  // chosen name ("" when cancelled) and set *selectedFilter to the filter
  // chosen. Empty: Qt's dialog.
  SaveFileDialog saveFileName;
  // The open dialog of "Load from": opens in `folder`, returns the chosen
  // name ("" when cancelled).
  OpenFileDialog openFileName;
  // The per-user state file; "" = vemo.usr in the folder Tessaly of the
  // user's application data (QStandardPaths::GenericDataLocation).
  std::string userStatePath;
  // The graphics converter of saved PNG pictures (BMP in, PNG out).
  vemo::chart::Converter convertBmpToPng;
  // The pause between two steps of a run (milliseconds asked for). Empty:
  // Timer2 with the event loop running until it fires. Tests answer at once
  // and may press buttons meanwhile, as a user could during the pause.
  std::function<void(int milliseconds)> waitBetweenSteps;
  // The print dialog (Print, and the report window's). Empty: Qt's dialog.
  PrintDialog printDialog;
  // The language to start in (0 English, 1 German); -1: the one stored in
  // the settings, else the system's. Tests and the screenshot tool pin it.
  int language = -1;
};

// A cell of the aspect table. Clicks are reported for the beginning/end
// explanation of an aspect.
class CellBox : public QLabel {
  Q_OBJECT
 public:
  CellBox(int index, QWidget* parent);
  int Index() const { return index_; }
 signals:
  void clicked(int index);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int index_;
};

class FrmMain : public QWidget {
  Q_OBJECT
 public:
  explicit FrmMain(MainWindowOptions options = {}, QWidget* parent = nullptr);
  ~FrmMain() override;

  // The load procedure: program text, settings, lists, data folder, Pluto
  // table, the first table for the present moment, then the window is shown.
  // Returns false after a fatal error (already shown to the user).
  bool StartUp();

  // ---- public procedures of the window ----
  // Returns false when a date row of the mode was refused (and reported).
  bool cmdCompute_Click();
  void cmdNow_Click();
  void cmdClear_Click(int row);
  void cmdConfigure_Click();
  void cmdForwardBack_Click(int index);
  // Quit: asks whether to save the state first, unless one was written or
  // read within the last five ticks.
  void cmdQuit_Click();
  // The saved states: Save and Restore use the per-user file, Load from and
  // Save as (table view) a file the user picks.
  void cmdSave_Click();
  void cmdRestore_Click();
  void cmdLoadState_Click();
  // Write or read a state file; "" or the reason it failed. A read changes
  // nothing unless the whole file is sound; then it applies every value and
  // reapplies the three registry flags.
  FileWriteResult WriteStateFile(const std::string& path);
  std::string ReadStateFile(const std::string& path);
  // The full path of the per-user state file (fixed at start-up).
  const std::string& UserStatePath() const { return userStatePath_; }
  // Set while a state is applied to the controls.
  bool Loading() const { return loading_; }
  // Set for five ticks after a state was written or read.
  bool StateJustRead() const { return stateJustRead_; }
  void ModeOption_Click();
  void YearBox_Enter(int row);
  // A click on cell `index` of the table: tells when the aspect in it begins
  // and ends (World and Personal transits).
  void txbCell_Click(int index);
  void Timer1_Timer();
  void SetWorldDateToNow();
  void StartWithNow();
  void SetTitle();
  void SetClickHint();
  void SetToggleCaption();
  void SetSaveAsCaption();
  // The chart button: switches between the table and the chart.
  void cmdToggleGraphic_Click();
  // Report: the aspects of the table with their durations, or the
  // description of a natal or synastry chart.
  void cmdReport_Click();
  // Help: the help file of the program folder in the text viewer.
  void cmdHelp_Click();
  // Save as: in the chart view saves the picture (PNG, SVG or PNG for print).
  void cmdSaveAs_Click();
  // Print (Ctrl+P): what is shown, through the print dialog: the chart or
  // the graph as the page of its PDF, or the table with its title and
  // summary fitted to the page's width.
  void Print();
  // Run: starts a run (in World transits after the run window's criteria),
  // or stops the run in progress.
  void cmdRun_Click();
  // During a run only Run, Quit and the two text boxes stay usable.
  void EnableForRun(bool enable);
  // The filters of the picture's save dialog: PNG (through the converter),
  // SVG, PNG at twice the resolution.
  static QStringList PictureFilters();
  // The caption of program text item `item` for a button of this window,
  // with its access key where the button has one (none repeats here).
  static QString Caption(int item);
  // Places the text beside the table or the chart for the current view.
  void ArrangeForDisplay();
  // A right click on the picture: names the line under the pointer, or reads
  // the time graph at that row.
  void picGraphic_RightClick(int xTwips, int yTwips);
  void EnableStepControls(bool enabled);
  void SetUpTimezoneComboBoxes(bool keepSelection);
  void SetLanguageDependentText();
  void ApplyLanguage();
  // The language of the settings, else of the system, unless the options pin one.
  int StartLanguage() const;
  // Shows every window in `language` (0 English, 1 German) at once and keeps
  // it in the settings: captions, lists with their selections, the table
  // recomputed, an open report or help refreshed.
  void SetLanguage(int language);
  void FillDateLists();
  void FillMonthAndStepLists();
  void ShowWeekday(int row);
  void InputDateChanged(int row);
  void ReportDateError(int row);
  std::string AddOrbToTitle(const std::string& title, bool personal, bool addPeriod = false) const;

  // ---- state other windows read ----
  bool blnStartupCompleted = false;
  bool blnPlutoDataReadOK = false;
  int ModeNumber() const { return modeNumber_; }
  int CheckedMode() const;
  bool RunInProgress() const { return runInProgress_; }
  // The run window (criteria of World-transit runs, "Run quickly").
  FrmRun* RunWindow() { return runWindow_; }
  bool GraphShown = false;  // the aspect time graph is shown (set by the chart)
  int LocalTimezoneIndex() const { return localTimezoneIndex_; }

  // Buttons whose windows come in a later version stay disabled, with a
  // tooltip that says so; every enabling of a command button goes through
  // SetCommandEnabled, which keeps them so.
  bool IsAvailable(const QPushButton* button) const;
  void SetCommandEnabled(QPushButton* button, bool enabled);
  AspectEngine& Engine() { return engine_; }
  FrmConfigure* Configure() { return configure_; }
  // The report window (made at the first report).
  FrmDurations* Durations() { return durations_; }
  // The text viewer of Help (made at the first Help).
  FrmView* HelpViewer() { return view_; }
  FrmPopUp* PopUpWindow() { return popUp_; }

  // The date row as its controls hold it, and back.
  DateRow ReadRow(int row) const;
  void WriteRow(int row, const DateRow& value);

  // ---- controls (named as in the window's design) ----
  std::array<QLabel*, 3> Label1{};
  std::array<QLineEdit*, 3> txbYearCE{};
  std::array<QComboBox*, 3> cboMonthCE{};
  std::array<QComboBox*, 3> cboDayCE{};
  std::array<QComboBox*, 3> cboHour{};
  std::array<QComboBox*, 3> cboTimezone{};
  std::array<QPushButton*, 3> cmdClear{};
  QPushButton* cmdNow = nullptr;
  QRadioButton* optPlanetary = nullptr;
  std::array<QRadioButton*, 2> optNatal{};
  std::array<QRadioButton*, 2> optPersonal{};
  QRadioButton* optSynastry = nullptr;
  QRadioButton* optDegrees = nullptr;
  QRadioButton* optRadians = nullptr;
  QPushButton* cmdCompute = nullptr;
  QPushButton* cmdConfigure = nullptr;
  std::array<QPushButton*, 2> cmdForwardBack{};
  QComboBox* cboForwardBack = nullptr;
  QPushButton* cmdRun = nullptr;
  QPushButton* cmdToggleGraphic = nullptr;
  QPushButton* cmdReport = nullptr;
  QPushButton* cmdSaveAs = nullptr;
  QPushButton* cmdLoadState = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdRestore = nullptr;
  QPushButton* cmdHelp = nullptr;
  QPushButton* cmdQuit = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblClickonAspect = nullptr;
  QLabel* lblCopyright = nullptr;
  QLabel* lblUserManual = nullptr;
  QLabel* lblURL = nullptr;
  QWidget* picTable = nullptr;
  ChartView* picGraphic = nullptr;
  std::array<CellBox*, kMaxNumCells> txbCell{};
  QPlainTextEdit* txbReport = nullptr;
  QPlainTextEdit* txbReport1 = nullptr;
  QTimer Timer1;
  QTimer Timer2;

  // How many tables the window has computed (successful Compute runs).
  int ComputationsDone() const { return computationsDone_; }

  // The table's grid as last drawn.
  int intNumCells = 0;
  int intNumRows = 0;
  int intNumCols = 0;
  int intTotalNumAspects = 0;
  // Cell size in pixels on this screen.
  int CellWidthPixels() const;
  int CellHeightPixels() const;

  // The standing text of the status line.
  static QString StandingStatusText();
  // Address of the manual opened by the link.
  QString ManualUrl() const;

 signals:
  // A left click on a cell of the table; txbCell_Click answers it.
  void aspectCellClicked(int index);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Entries of the step list: half hour, day, week, month, year.
  static constexpr int kStepItems = 5;

  void BuildControls();
  // The six mode options in three columns of two, or in three rows of two.
  void PlaceModeOptions(bool inRows);
  // What the captions of the language need: the widths of the buttons whose
  // caption changes, and the place of the mode options.
  void FitLayoutToCaptions();
  void ConnectHandlers();
  void LayOutTable();
  void DrawTable();
  void ShowSummary();
  void ApplyModeHeight();
  void UpdateStepControls();
  void ApplySizeRuleNow();
  void ReselectModeOption();
  void OpenManual();
  void OnDateInputChanged(int row, bool isDropDown);
  bool RowHasInput(int row) const;
  bool WorldRowComplete() const;
  StepDate ReadWorldStepDate() const;
  void WriteWorldStepDate(const StepDate& d);
  void WaitForStepDelay();
  // The enabled states that follow the view, the mode and the rows (the
  // periodic refresh, and after the controls were all enabled at once).
  void RefreshEnabledStates();
  // The run ends: flag, caption 36, controls usable again.
  void StopRun();
  // The last step of a computation during a run: stops it with a message
  // when the sought pattern is in the new table.
  void RunCompletionTest();
  // The two ways a clicked aspect is explained further.
  void ShowAspectTimeGraph(const AspectClickInfo& info);
  void OfferDurationsReport(const AspectClickInfo& info);
  // Makes the report of the current table and shows its window.
  void ShowReport();
  // The caption of the report of the current table (also the title of the
  // question that offers it).
  QString ReportCaption() const;
  // The world date and the birthdates as the report's title writes them.
  std::array<std::string, 3> ReportDateTexts(bool shortMonths) const;
  // Draws the chart of the current table into picGraphic; false when it was
  // not drawn completely (the message has been shown).
  bool DrawChartOfTable();
  // The chart with the caption of the saved picture: the mode's title and
  // the date lines of the rows the mode uses.
  void ComposePictureToSave(vemo::chart::Canvas& out) const;
  // Shows picGraphic in place of the table, or the table again.
  void ShowPicture(bool show);
  void EndProgram();
  QRadioButton* OptionOfMode(int mode) const;
  // Saved states: the controls as a state and back; Save as in the table
  // view; the first table after a state was read (the mode's deciding row,
  // or the present moment); the per-user file at start-up, whose notice
  // (a broken file set aside) is returned for the status line.
  vemo::settings::SavedState StateOfControls() const;
  void ApplyState(const vemo::settings::SavedState& state);
  void SaveStateAs();
  void ComputeLoadedState();
  std::string RestoreUserState();
  void MarkStateJustRead();
  QString AskStateFileName(bool save, const QString& title);

  // Everything a computation reads: the mode, the three rows, the settings,
  // the unit of the angles and whether Pluto is available.
  struct ComputeInputs {
    int mode = 0;
    std::array<DateRow, 3> rows{};
    OrbSettings settings{};
    bool radians = false;
    bool pluto = false;
    bool operator==(const ComputeInputs&) const = default;
  };
  ComputeInputs CurrentComputeInputs() const;

  MainWindowOptions options_;
  ComputeInputs lastComputeInputs_;
  int computationsDone_ = 0;
  AspectEngine engine_;
  FrmConfigure* configure_ = nullptr;
  FrmPopUp* popUp_ = nullptr;
  FrmDurations* durations_ = nullptr;
  FrmView* view_ = nullptr;
  FrmRun* runWindow_ = nullptr;
  // The criteria of the run in progress (none in the personal-transit modes).
  reports::RunCriteria runCriteria_;
  // The event loop of the pause between two steps, while it runs.
  QEventLoop* waitLoop_ = nullptr;
  QGroupBox* modeBox_ = nullptr;
  QHBoxLayout* middleRow_ = nullptr;
  QButtonGroup* modeGroup_ = nullptr;
  QButtonGroup* unitGroup_ = nullptr;
  std::array<TimezoneList, 3> zoneLists_{TimezoneList(false), TimezoneList(false), TimezoneList(false)};
  int modeNumber_ = 0;
  int localTimezoneIndex_ = 0;
  // Offset of the local time-zone entry (minutes east): the computer's own,
  // or 0 (GMT) when the lists have no entry for it.
  int localZoneMinutes_ = 0;
  std::vector<QPushButton*> notYetAvailable_;
  int systemTimezoneMinutes_ = 0;
  bool resizing_ = false;
  bool suppressOptionEvents_ = false;
  bool revertMode_ = false;
  bool runInProgress_ = false;
  bool steppingInProgress_ = false;
  bool stepDelayPending_ = false;
  bool stateJustRead_ = false;
  int ticksSinceStateRead_ = 0;
  bool loading_ = false;
  std::string userStatePath_;
  bool hasResult_ = false;
  // The time graph on screen: what it was drawn from, for its read-out.
  vemo::chart::GraphInput graphInput_;
  vemo::chart::GraphResult graphResult_;

  bool ending_ = false;
};

}  // namespace vemo::ui
