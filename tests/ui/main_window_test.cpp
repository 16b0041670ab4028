// The main window driven as a user drives it: start-up, the six modes, bad
// dates, the Enter key, the year box, Now, Clear, stepping and the size rule
// (the chart and the clicks on the table's cells: chart_window_test.cpp).
#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "app/aspects/date_rows.h"
#include "app/text/program_text.h"
#include "app/time/positions.h"
#include "app/ui/chart_view.h"
#include "app/ui/frm_configure.h"
#include "app/ui/frm_durations.h"
#include "app/ui/frm_popup.h"
#include "app/ui/twips.h"
#include "app/ui/window_utils.h"
#include "tests/ui/window_test_support.h"

#include <cmath>
#include <map>
#include <cstring>
#include <functional>
#include <utility>

namespace vemo::ui::testing {
namespace {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, StartsInWorldTransitsForThePresentMoment) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  EXPECT_TRUE(w->blnStartupCompleted);
  EXPECT_TRUE(w->optPlanetary->isChecked());
  EXPECT_EQ(w->ModeNumber(), 1);
  EXPECT_EQ(w->txbYearCE[0]->text(), "2024");
  EXPECT_EQ(w->cboMonthCE[0]->currentIndex(), 6);
  EXPECT_EQ(w->cboDayCE[0]->currentIndex(), 15);
  EXPECT_EQ(w->cboHour[0]->currentIndex(), HourEntry(14, 0));
  EXPECT_EQ(w->cboTimezone[0]->currentIndex(), kGmtPlus1);
  EXPECT_DOUBLE_EQ(w->Engine().JulianDates[0], LocalAJD(2024, 6, 15, 14, 0));
  EXPECT_EQ(w->intNumCells, 90);
  EXPECT_TRUE(w->lblTitle->text().startsWith(QString::fromStdString(vemo::ProgramText(23))));
  // Row 1 holds the planet glyphs: Earth first.
  EXPECT_EQ(w->txbCell[9]->text(), QString(QChar(0x2295)));
  EXPECT_TRUE(w->isVisible());
  // The Pluto table was read under the pop-up, which is gone again.
  EXPECT_EQ(w->PopUpWindow()->Text(), "Loading data ...");
  EXPECT_FALSE(w->PopUpWindow()->isVisible());
}

struct ModeCase {
  const char* name;
  int mode;
  int cells;
};

TEST_F(MainWindowTest, EachModeShowsTheEnginesTableInItsCells) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  SetRow(2, "1982", 3, 10, HourEntry(8, 0), kGmtPlus1);
  const ModeCase cases[] = {{"WorldTransits", 1, 90}, {"Natal1", 2, 90},     {"Natal2", 3, 90},
                            {"Personal1", 4, 121},    {"Personal2", 5, 121}, {"Synastry", 6, 121}};
  QRadioButton* options[] = {nullptr, w->optPlanetary, w->optNatal[0], w->optNatal[1],
                             w->optPersonal[0], w->optPersonal[1], w->optSynastry};
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(c.name);
    options[c.mode]->click();
    ASSERT_EQ(w->ModeNumber(), c.mode);
    ASSERT_EQ(w->intNumCells, c.cells);
    // An independent engine over the same rows and settings.
    AspectEngine ref(DefaultEngineServices(0));
    ref.PlutoAvailable = w->blnPlutoDataReadOK;
    std::array<DateRow, 3> rows{w->ReadRow(0), w->ReadRow(1), w->ReadRow(2)};
    ASSERT_TRUE(ComputeFromRows(ref, static_cast<Mode>(c.mode), rows, w->LocalTimezoneIndex(),
                                w->Configure()->SettingsForCompute(), false).Ok);
    ASSERT_EQ(ref.Table.NumCells(), c.cells);
    EXPECT_FALSE(ref.Aspects.empty());
    const int cw = w->CellWidthPixels();
    const int ch = w->CellHeightPixels();
    for (const FoundAspect& a : ref.Aspects) {
      const TableCell& cell = ref.Table.Cells[static_cast<size_t>(a.CellIndex)];
      CellBox* box = w->txbCell[a.CellIndex];
      EXPECT_EQ(box->text(), QString::fromStdString(cell.Text).replace("\r\n", "\n")) << a.CellIndex;
      EXPECT_EQ(box->font().bold(), cell.Bold) << a.CellIndex;
      EXPECT_EQ(box->palette().color(QPalette::WindowText), ColourFromValue(cell.TextColour));
      EXPECT_FALSE(box->isHidden());
      const RowCol rc = GetRowCol(a.CellIndex, ref.Table.NumCols);
      EXPECT_EQ(box->geometry().topLeft(), QPoint(rc.Col * cw + 1, rc.Row * ch + 1));
    }
    // Hidden cells of the staircase stay hidden, every other cell shows.
    for (int i = 0; i < c.cells; ++i) {
      EXPECT_EQ(w->txbCell[i]->isHidden(), !ref.Table.Cells[static_cast<size_t>(i)].Visible) << i;
    }
    for (int i = c.cells; i < kMaxNumCells; ++i) EXPECT_TRUE(w->txbCell[i]->isHidden()) << i;
    EXPECT_EQ(w->txbReport1->isHidden(), c.cells == 90);
  }
}

TEST_F(MainWindowTest, OneDateCellOfMercuryVenusIsIndex29AtRow3Column2) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  const int cw = w->CellWidthPixels();
  const int ch = w->CellHeightPixels();
  EXPECT_EQ(w->txbCell[29]->geometry(), QRect(2 * cw + 1, 3 * ch + 1, cw - 1, ch - 1));
}

TEST_F(MainWindowTest, BadBirthdateInSynastryIsReportedAndTheModeReverts) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(1, "1980", 4, 31, HourEntry(12, 0), kGmt);  // 31 April
  SetRow(2, "1982", 3, 10, HourEntry(8, 0), kGmt);
  w->optSynastry->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].icon, QMessageBox::Information);
  EXPECT_EQ(boxes[0].title, QString::fromStdString(vemo::ProgramText(153)));
  EXPECT_TRUE(boxes[0].text.startsWith(QString::fromStdString(vemo::ProgramText(5) + " " + vemo::ProgramText(146))))
      << boxes[0].text.toStdString();
  EXPECT_TRUE(w->optPlanetary->isChecked());
  EXPECT_FALSE(w->optSynastry->isChecked());
  EXPECT_EQ(w->ModeNumber(), 1);
  EXPECT_EQ(w->intNumCells, 90);
}

TEST_F(MainWindowTest, EnterInSecondBirthdateYearBoxComputesOnlyInModesThatUseIt) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  SetRow(2, "1982", 3, 10, HourEntry(8, 0), kGmt);
  const double before = w->Engine().JulianDates[0];
  w->txbYearCE[0]->setText("1990");  // typed, not computed
  QTest::keyClick(w->txbYearCE[2], Qt::Key_Return);
  EXPECT_DOUBLE_EQ(w->Engine().JulianDates[0], before);

  w->optSynastry->click();
  ASSERT_EQ(w->ModeNumber(), 6);
  const double second = w->Engine().JulianDates[2];
  w->txbYearCE[2]->setText("1983");
  QTest::keyClick(w->txbYearCE[2], Qt::Key_Return);
  EXPECT_NEAR(w->Engine().JulianDates[2] - second, 365.0, 1e-9);
}

TEST_F(MainWindowTest, YearBoxKeepsOnlyDigitsAfterATick) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  QTest::keyClicks(w->txbYearCE[1], "19x9");
  EXPECT_EQ(w->txbYearCE[1]->text(), "19x9");
  w->Timer1_Timer();
  EXPECT_EQ(w->txbYearCE[1]->text(), "199");
}

TEST_F(MainWindowTest, NowRoundsToTheHalfHourOfTheLocalClock) {
  struct Row { const char* name; int minute; int hour; int expDay; int expHourEntry; int expYear; int expMonth; };
  const Row rows[] = {
      {"QuarterPastRoundsDown", 15, 10, 31, HourEntry(10, 0), 2023, 12},
      {"SixteenPastRoundsUp", 16, 10, 31, HourEntry(10, 30), 2023, 12},
      {"TenToMidnightIsNextYear", 50, 23, 1, HourEntry(0, 0), 2024, 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Start(LocalAJD(2023, 12, 31, r.hour, r.minute));
    EXPECT_EQ(w->txbYearCE[0]->text().toInt(), r.expYear);
    EXPECT_EQ(w->cboMonthCE[0]->currentIndex(), r.expMonth);
    EXPECT_EQ(w->cboDayCE[0]->currentIndex(), r.expDay);
    EXPECT_EQ(w->cboHour[0]->currentIndex(), r.expHourEntry);
    // The Now button does the same and recomputes in World transits.
    SetRow(0, "2001", 5, 5, HourEntry(5, 0), kGmt);
    w->cmdNow->click();
    EXPECT_EQ(w->cboHour[0]->currentIndex(), r.expHourEntry);
    EXPECT_EQ(w->cboTimezone[0]->currentIndex(), kGmtPlus1);
    EXPECT_EQ(w->txbYearCE[0]->text().toInt(), r.expYear);
  }
}

struct StepCase {
  const char* name;
  const char* year;
  int month, day, hourEntry, stepIndex, button;
  const char* expYear;
  int expMonth, expDay, expHourEntry;
};

TEST_F(MainWindowTest, ForwardAndBackStepTheWorldDate) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  const StepCase cases[] = {
      {"HalfHourIntoNewYear", "2023", 12, 31, 48, 0, 0, "2024", 1, 1, 1},
      {"BackFromMidnight", "2024", 3, 1, 1, 0, 1, "2024", 2, 29, 48},
      {"MonthFromJanuary31", "2023", 1, 31, 25, 3, 0, "2023", 2, 28, 25},
      {"MonthFromJanuary31Leap", "2024", 1, 31, 25, 3, 0, "2024", 2, 29, 25},
      {"YearFromLeapDay", "2024", 2, 29, 25, 4, 0, "2025", 2, 28, 25},
      {"DayBackFromFirstOfMarch", "2023", 3, 1, 25, 1, 1, "2023", 2, 28, 25},
      {"WeekForward", "2024", 12, 28, 25, 2, 0, "2025", 1, 4, 25},
      // Dates the month does not have: a day or half-hour step over their end
      // starts the next month at the 1st.
      {"DayFrom31November", "2024", 11, 31, 25, 1, 0, "2024", 12, 1, 25},
      {"DayFrom30February", "2024", 2, 30, 25, 1, 0, "2024", 3, 1, 25},
      {"HalfHourOverMidnightOf31February", "2023", 2, 31, 48, 0, 0, "2023", 3, 1, 1},
      {"RefusedDateIsPutBack", "2799", 12, 31, 25, 1, 0, "2799", 12, 31, 25},
  };
  for (const StepCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetRow(0, c.year, c.month, c.day, c.hourEntry, kGmtPlus1);
    w->cboForwardBack->setCurrentIndex(c.stepIndex);
    w->Timer1_Timer();  // enables the step controls
    ASSERT_TRUE(w->cmdForwardBack[c.button]->isEnabled());
    w->cmdForwardBack[c.button]->click();
    EXPECT_EQ(w->txbYearCE[0]->text(), c.expYear);
    EXPECT_EQ(w->cboMonthCE[0]->currentIndex(), c.expMonth);
    EXPECT_EQ(w->cboDayCE[0]->currentIndex(), c.expDay);
    EXPECT_EQ(w->cboHour[0]->currentIndex(), c.expHourEntry);
  }
  // The refused step told why (the date is too late) and computed nothing.
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].text.contains(QString::fromStdString(vemo::ProgramText(148))));
}

TEST_F(MainWindowTest, StepRefusedForABadBirthdatePutsTheWorldDateBack) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  w->optPersonal[0]->click();
  ASSERT_EQ(w->ModeNumber(), 4);
  w->cboDayCE[1]->setCurrentIndex(0);  // the birthdate made incomplete, not computed
  w->cboForwardBack->setCurrentIndex(1);
  w->Timer1_Timer();
  w->cmdForwardBack[0]->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].text.startsWith(QString::fromStdString(vemo::ProgramText(5)))) << boxes[0].text.toStdString();
  EXPECT_EQ(w->cboDayCE[0]->currentIndex(), 15);
  EXPECT_DOUBLE_EQ(w->Engine().JulianDates[0], LocalAJD(2024, 6, 15, 14, 0));
}

TEST_F(MainWindowTest, SteppingIsOfferedOnlyInModesThatUseTheWorldDate) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  SetRow(2, "1982", 3, 10, HourEntry(8, 0), kGmt);
  QRadioButton* options[] = {nullptr, w->optPlanetary, w->optNatal[0], w->optNatal[1],
                             w->optPersonal[0], w->optPersonal[1], w->optSynastry};
  for (int mode = 1; mode <= 6; ++mode) {
    options[mode]->click();
    w->Timer1_Timer();
    const bool expected = mode == 1 || mode == 4 || mode == 5;
    EXPECT_EQ(w->cmdForwardBack[0]->isEnabled(), expected) << mode;
    EXPECT_EQ(w->cmdForwardBack[1]->isEnabled(), expected) << mode;
    EXPECT_EQ(w->cboForwardBack->isEnabled(), expected) << mode;
  }
  // An incomplete world date offers no step either.
  w->optPlanetary->click();
  w->cboHour[0]->setCurrentIndex(0);
  w->Timer1_Timer();
  EXPECT_FALSE(w->cmdForwardBack[0]->isEnabled());
}

TEST_F(MainWindowTest, ClearAsksAndOnlyYesClearsTheRow) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  const DateRow before = w->ReadRow(0);
  for (auto answer : {QMessageBox::No, QMessageBox::Cancel}) {
    answers.push_back(answer);
    w->cmdClear_Click(0);
    EXPECT_EQ(w->ReadRow(0), before);
  }
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].title, PlainCaption(w->cmdClear[0]));
  EXPECT_EQ(boxes[0].text, QString::fromStdString(vemo::ProgramText(342) + " " + vemo::ProgramText(343)));
  EXPECT_EQ(boxes[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  answers.push_back(QMessageBox::Yes);
  w->cmdClear_Click(0);
  EXPECT_EQ(w->ReadRow(0), DateRow{});
  w->Timer1_Timer();
  EXPECT_FALSE(w->cmdClear[0]->isEnabled());
}

TEST_F(MainWindowTest, WindowHeightFollowsTheModeAndWidthStaysFixed) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  SetRow(2, "1982", 3, 10, HourEntry(8, 0), kGmt);
  EXPECT_EQ(w->height(), TwipsToPixelsY(kOneRowHeightTwips, w.get()));
  w->optSynastry->click();
  EXPECT_EQ(w->height(), TwipsToPixelsY(kTwoRowHeightTwips, w.get()));
  w->resize(w->width() + 200, w->height() + 300);
  EXPECT_EQ(w->width(), TwipsToPixelsX(kMainWindowWidthTwips, w.get()));
  EXPECT_EQ(w->height(), TwipsToPixelsY(kTwoRowHeightTwips, w.get()));
  w->optPlanetary->click();
  EXPECT_EQ(w->height(), TwipsToPixelsY(kOneRowHeightTwips, w.get()));
}

TEST_F(MainWindowTest, RadiansSwitchTheCellFormat) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  EXPECT_TRUE(w->txbCell[0]->text().contains(QChar(0xB0)));
  w->optRadians->click();
  EXPECT_TRUE(QRegularExpression("^\\d\\.\\d{4}$").match(w->txbCell[0]->text()).hasMatch())
      << w->txbCell[0]->text().toStdString();
  w->optDegrees->click();
  EXPECT_TRUE(w->txbCell[0]->text().contains(QChar(0xB0)));
}

TEST_F(MainWindowTest, StateButtonsFollowTheViewAndThePerUserFile) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  // Whatever enables the other commands: Save and Save as always, Load from
  // beside the table, Restore once there is a per-user file.
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"StartUp", [] {}},
      {"Compute", [this] { w->cmdCompute->click(); }},
      {"Tick", [this] { w->Timer1_Timer(); }},
      {"ModeChange", [this] { w->optPersonal[0]->click(); }},
      {"Step", [this] { w->cmdForwardBack[0]->click(); }},
      {"ChartShown", [this] { w->cmdToggleGraphic->click(); }},
      {"Saved", [this] { w->cmdSave->click(); }},
      {"TableShown", [this] { w->cmdToggleGraphic->click(); }},
  };
  bool saved = false;
  for (const auto& [name, step] : steps) {
    SCOPED_TRACE(name);
    step();
    const bool chart = !w->picGraphic->isHidden();
    saved = saved || std::string(name) == "Saved";
    EXPECT_TRUE(w->cmdSave->isEnabled());
    EXPECT_TRUE(w->cmdSaveAs->isEnabled());
    EXPECT_EQ(w->cmdSaveAs->toolTip(), "Ctrl+Shift+S");  // its key, not a note that it is missing
    EXPECT_EQ(w->cmdLoadState->isEnabled(), !chart);
    EXPECT_EQ(w->cmdRestore->isEnabled(), saved);
    EXPECT_EQ(w->cmdRun->isEnabled(), chart);  // Personal transits, steps of a day
  }
  EXPECT_TRUE(w->cmdQuit->isEnabled());
  EXPECT_TRUE(w->cmdConfigure->isEnabled());
}

TEST_F(MainWindowTest, ComputerZoneWithoutAnEntryWorksInGmtAndSaysSo) {
  // Tonga, GMT+13:00: 15 June 2024, 15:10 local is 02:10 UT.
  Start(LocalAJD(2024, 6, 15, 2, 10, 0), 13 * 60);
  EXPECT_EQ(w->LocalTimezoneIndex(), kGmt);
  EXPECT_EQ(w->cboTimezone[0]->currentIndex(), kGmt);
  EXPECT_EQ(w->cboDayCE[0]->currentIndex(), 15);
  EXPECT_EQ(w->cboHour[0]->currentIndex(), HourEntry(2, 0));
  EXPECT_DOUBLE_EQ(w->Engine().JulianDates[0], LocalAJD(2024, 6, 15, 2, 0, 0));
  EXPECT_TRUE(w->lblCopyright->text().contains("GMT+13:00")) << w->lblCopyright->text().toStdString();
  // Whole on the status line, beside the manual link.
  EXPECT_LE(QFontMetrics(w->lblCopyright->font()).horizontalAdvance(w->lblCopyright->text()),
            w->lblCopyright->width());
  EXPECT_TRUE(boxes.empty());
  // Stepping is offered as on any other computer.
  w->Timer1_Timer();
  EXPECT_TRUE(w->cmdForwardBack[0]->isEnabled());
  // A blank zone of a birthdate selects GMT visibly and counts as GMT.
  SetRow(1, "2000", 1, 1, HourEntry(12, 0), 0);
  w->optNatal[0]->click();
  EXPECT_EQ(w->cboTimezone[1]->currentIndex(), kGmt);
  EXPECT_DOUBLE_EQ(w->Engine().JulianDates[1], 2451545.0);
  // Said once: the next change of a date input brings the standing text back.
  w->cboDayCE[1]->setCurrentIndex(2);
  emit w->cboDayCE[1]->activated(2);
  EXPECT_EQ(w->lblCopyright->text(), FrmMain::StandingStatusText());
}

TEST_F(MainWindowTest, TheCloseBoxEndsTheProgramWithoutAsking) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  w->close();
  EXPECT_TRUE(ended);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, ManualLinkPointsAtTheShippedManual) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  const QUrl url(w->ManualUrl());
  EXPECT_TRUE(url.isLocalFile());
  EXPECT_TRUE(QFile::exists(url.toLocalFile())) << url.toLocalFile().toStdString();
  w->Timer1_Timer();
  EXPECT_FALSE(w->lblURL->isHidden());
}

TEST_F(MainWindowTest, EnterOnAFocusedButtonPressesIt) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(0, "2001", 5, 5, HourEntry(5, 0), kGmt);
  w->cmdNow->setFocus();
  QTest::keyClick(w->cmdNow, Qt::Key_Return);
  EXPECT_EQ(w->txbYearCE[0]->text(), "2024");
  EXPECT_EQ(w->cboDayCE[0]->currentIndex(), 15);
}

// Each key presses its button once, and nothing while the button is
// disabled; the button's tooltip names the key, and a window's keys are its
// own. Ctrl+T, typed, really shows the chart and the table again.
TEST_F(MainWindowTest, KeysPressTheirButtonsOnceAndNothingWhenDisabled) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
  QTest::keyClick(w.get(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_FALSE(w->picGraphic->isHidden());
  QTest::keyClick(w.get(), Qt::Key_T, Qt::ControlModifier);
  EXPECT_TRUE(w->picGraphic->isHidden());

  w->cmdReport->click();
  FrmDurations* report = w->Durations();
  ASSERT_NE(report, nullptr);
  // The window's own keys (not those of the windows it holds) that match.
  auto press = [](QWidget* window, const QKeySequence& key) {
    int matched = 0;
    for (QShortcut* s : window->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly)) {
      if (s->key() == key && s->isEnabled()) ++matched, emit s->activated();
    }
    return matched;
  };
  const struct {
    const char* tip;
    QWidget* window;
    QPushButton* button;
    QKeySequence key;
  } cases[] = {
      {"F1", w.get(), w->cmdHelp, Qt::Key_F1},
      {"Ctrl+S", w.get(), w->cmdSave, Qt::CTRL | Qt::Key_S},
      {"Ctrl+Shift+S", w.get(), w->cmdSaveAs, Qt::CTRL | Qt::SHIFT | Qt::Key_S},
      {"Ctrl+O", w.get(), w->cmdLoadState, Qt::CTRL | Qt::Key_O},
      {"Ctrl+Q", w.get(), w->cmdQuit, Qt::CTRL | Qt::Key_Q},
      {"Ctrl+Return", w.get(), w->cmdCompute, Qt::CTRL | Qt::Key_Return},
      {"Ctrl+Return", w.get(), w->cmdCompute, Qt::CTRL | Qt::Key_Enter},
      {"Alt+Right", w.get(), w->cmdForwardBack[0], Qt::ALT | Qt::Key_Right},
      {"Alt+Left", w.get(), w->cmdForwardBack[1], Qt::ALT | Qt::Key_Left},
      {"Ctrl+T", w.get(), w->cmdToggleGraphic, Qt::CTRL | Qt::Key_T},
      {"Ctrl+E", report, report->cmdExport, Qt::CTRL | Qt::Key_E},
      {"Ctrl+P", report, report->cmdPrint, QKeySequence::Print},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tip);
    // The handlers are left out: only the presses are counted.
    QObject::disconnect(c.button, &QPushButton::clicked, nullptr, nullptr);
    QSignalSpy presses(c.button, &QPushButton::clicked);
    c.button->setEnabled(true);
    ASSERT_TRUE(c.button->isVisible());
    ASSERT_EQ(press(c.window, c.key), 1);
    EXPECT_EQ(presses.count(), 1);
    c.button->setEnabled(false);
    press(c.window, c.key);
    EXPECT_EQ(presses.count(), 1);
    EXPECT_EQ(c.button->toolTip().toStdString(), c.tip);
  }
  EXPECT_EQ(press(w.get(), Qt::CTRL | Qt::Key_E), 0);
  EXPECT_EQ(press(report, Qt::CTRL | Qt::Key_S), 0);
}

// Access keys: every push button of the main window but the three Clear
// buttons (one caption) has one, in the table view and beside the chart (the
// radio buttons of the modes have none), and every control of the
// configuration window that has a caption; within a window none repeats, in
// English and in German. A caption as a title shows no '&'.
TEST_F(MainWindowTest, AccessKeysAreUniqueInEachWindow) {
  for (const int shown : {0, 1}) {
    SCOPED_TRACE(shown == 1 ? "German" : "English");
    language = shown;
    Start(LocalAJD(2024, 6, 15, 14, 10));
    // The access keys of a window's own controls (captions of buttons, and of
    // labels that name a control), and the captions that have none.
    auto keys = [](QWidget* window, std::vector<QString>& without, bool radiosWithout) {
      std::map<QKeySequence, int> count;
      for (QWidget* c : window->findChildren<QWidget*>()) {
        if (c->window() != window || c->isHidden()) continue;
        QString text;
        if (const auto* b = qobject_cast<QAbstractButton*>(c)) {
          text = b->text();
        } else if (const auto* l = qobject_cast<QLabel*>(c); l != nullptr && l->buddy() != nullptr) {
          text = l->text();
        } else {
          continue;
        }
        if (text.isEmpty()) continue;
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty() && !(radiosWithout && qobject_cast<QRadioButton*>(c) != nullptr)) without.push_back(text);
        ++count[key];
      }
      count.erase(QKeySequence());
      return count;
    };
    for (bool chart : {false, true}) {
      SCOPED_TRACE(chart);
      if (chart) w->cmdToggleGraphic->click();
      std::vector<QString> without;
      // The radio buttons of the modes and units have none.
      for (const auto& [key, n] : keys(w.get(), without, true)) EXPECT_EQ(n, 1) << key.toString().toStdString();
      EXPECT_EQ(without, std::vector<QString>(3, PlainCaption(w->cmdClear[0])));
      for (QPushButton* b : {w->cmdNow, w->cmdCompute, w->cmdConfigure, w->cmdForwardBack[0], w->cmdForwardBack[1],
                             w->cmdQuit, w->cmdToggleGraphic, w->cmdRun, w->cmdReport, w->cmdHelp, w->cmdSave,
                             w->cmdSaveAs, w->cmdLoadState, w->cmdRestore}) {
        EXPECT_FALSE(QKeySequence::mnemonic(b->text()).isEmpty()) << b->text().toStdString();
        EXPECT_FALSE(PlainCaption(b).contains('&')) << b->text().toStdString();
      }
    }
    FrmConfigure* c = w->Configure();
    ASSERT_NE(c, nullptr);
    c->Activate();
    std::vector<QString> without;
    for (const auto& [key, n] : keys(c, without, false)) EXPECT_EQ(n, 1) << key.toString().toStdString();
    EXPECT_TRUE(without.empty()) << (without.empty() ? "" : without.front().toStdString());
    EXPECT_EQ(c->windowTitle(), PlainCaption(w->cmdConfigure));
    c->hide();
  }
}

TEST_F(MainWindowTest, DayListTellsTheWeekday) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(1, "2000", 1, 1, 0, 0);  // a Saturday
  w->ShowWeekday(1);
  EXPECT_EQ(w->cboDayCE[1]->toolTip(), "Saturday");
  w->cboDayCE[1]->setCurrentIndex(0);
  w->ShowWeekday(1);
  EXPECT_TRUE(w->cboDayCE[1]->toolTip().isEmpty());
}

TEST_F(MainWindowTest, TitleStatesTheOrbsOfTheMode) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  const std::string range = vemo::ProgramText(34);
  const std::string to = vemo::ProgramText(35);
  EXPECT_TRUE(w->lblTitle->text().endsWith(QString::fromStdString("  " + range + ": 3° " + to + " 10°")))
      << w->lblTitle->text().toStdString();
  SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
  w->optPersonal[0]->click();
  // Personal transits: a third of the orbs, 1° to 3°20'.
  EXPECT_TRUE(w->lblTitle->text().startsWith(QString::fromStdString(vemo::ProgramText(29))));
  EXPECT_TRUE(w->lblTitle->text().endsWith(QString::fromStdString("  " + range + ": 1° " + to + " 3°20'")))
      << w->lblTitle->text().toStdString();
}

TEST_F(MainWindowTest, ConfigureButtonShowsTheWindowModallyAndRecomputesOnAccept) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  QTimer::singleShot(0, [this] {
    auto* c = w->Configure();
    EXPECT_TRUE(c->isVisible());
    EXPECT_FALSE(w->Timer1.isActive());
    for (int i = 0; i < 7; ++i) c->cboOrb[i]->setCurrentIndex(1);
    c->cmdAccept_Click();
    c->cmdHide_Click();
  });
  w->cmdConfigure->click();
  EXPECT_FALSE(w->Configure()->isVisible());
  EXPECT_TRUE(w->Timer1.isActive());
  EXPECT_EQ(w->Engine().Settings.OrbListIndex[0], 1);
  EXPECT_TRUE(w->lblTitle->text().contains(QString::fromStdString(vemo::ProgramText(33) + " 1°")));
}

TEST(MessageBoxTitle, AnEmptyTitleReachesTheWindowSystemAsABlank) {
  // X11 and Windows put the application's name in place of an empty title
  // (seen under Xvfb: "VEMO"); a lone blank is shown as it stands.
  SetMessageBoxHook({});
  const std::pair<QString, QString> cases[] = {{QString(), " "}, {"Date not accepted", "Date not accepted"}};
  for (const auto& [title, expected] : cases) {
    QString shown;
    QTimer::singleShot(0, [&shown] {
      if (QWidget* box = QApplication::activeModalWidget()) {
        shown = box->windowTitle();
        box->close();
      }
    });
    ShowMessageBox(nullptr, {QMessageBox::Critical, title, QStringLiteral("x"), QMessageBox::Ok, QMessageBox::Ok});
    EXPECT_EQ(shown, expected);
  }
}

// Start-up failures: a folder holding only some of the program's files.
class StartUpFailureTest : public WindowTest {
 protected:
  std::string Folder(bool text, bool library) {
    const std::string from = vemo::ProgramFolder() + "/";
    if (text) QFile::copy(QString::fromStdString(from + "qel.dat"), folder_.filePath("qel.dat"));
    if (library) {
      const QString lib = QString::fromStdString(vemo::PlanetsVemoFileName());
      QFile::copy(QString::fromStdString(from) + lib, folder_.filePath(lib));
    }
    return folder_.path().toStdString();
  }
  bool StartIn(const std::string& folder) {
    MainWindowOptions o;
    o.programFolder = folder;
    o.currentAJD = [] { return 2460000.0; };
    o.systemTimezoneMinutes = [] { return 60; };
    o.endProgram = [this] { ended = true; };
    o.userStatePath = settingsDir.filePath(QStringLiteral("vemo.usr")).toStdString();
    w = std::make_unique<FrmMain>(o);
    return w->StartUp();
  }
  QTemporaryDir folder_;
};

TEST_F(StartUpFailureTest, MissingProgramTextEndsStartUpWithACriticalMessage) {
  EXPECT_FALSE(StartIn(Folder(false, true)));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].icon, QMessageBox::Critical);
  EXPECT_TRUE(boxes[0].title.isEmpty());
  EXPECT_TRUE(boxes[0].text.startsWith("Cannot open file containing program text.")) << boxes[0].text.toStdString();
  EXPECT_FALSE(w->isVisible());
}

TEST_F(StartUpFailureTest, MissingEphemerisLibraryIsNamedWithItsFolder) {
  const std::string folder = Folder(true, false);
  EXPECT_FALSE(StartIn(folder));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].text.contains(QString::fromStdString(vemo::PlanetsVemoFileName()))) << boxes[0].text.toStdString();
  EXPECT_TRUE(boxes[0].text.contains(QString::fromStdString(folder))) << boxes[0].text.toStdString();
  EXPECT_FALSE(w->isVisible());
}

TEST_F(StartUpFailureTest, MissingDataFilesAreEachNamedAndThePlanetsLeftOut) {
  // A folder with the text and the library only: the Pluto table and the
  // four .dac files are missing. The window still starts.
  const std::string folder = Folder(true, true);
  EXPECT_TRUE(StartIn(folder));
  ASSERT_EQ(boxes.size(), 2u);
  const MessageBoxRequest& pluto = boxes[0];
  EXPECT_EQ(pluto.title, "Error");
  EXPECT_TRUE(pluto.text.startsWith("Error when reading Pluto data:\n")) << pluto.text.toStdString();
  EXPECT_TRUE(pluto.text.endsWith("\n\nPluto aspects cannot be displayed.")) << pluto.text.toStdString();
  const QString files = boxes[1].text;
  EXPECT_EQ(boxes[1].icon, QMessageBox::Warning);
  EXPECT_TRUE(files.contains(QString::fromStdString(folder))) << files.toStdString();
  for (const char* name : {"jupiter.dac", "saturn.dac", "uranus.dac", "neptune.dac"}) {
    EXPECT_TRUE(files.contains(QStringLiteral("\n%1: missing").arg(QLatin1String(name)))) << files.toStdString();
  }
  EXPECT_FALSE(w->blnPlutoDataReadOK);
  EXPECT_EQ(w->Engine().PlanetCount, 8);
  EXPECT_TRUE(w->isVisible());
}

// The program itself, started where nobody can see a window: a fatal error
// is printed and ends it with status 1 instead of waiting on a hidden box.
TEST_F(StartUpFailureTest, WithoutAScreenAFatalErrorIsPrintedAndEndsTheProgram) {
  const QString program = QString::fromStdString(vemo::ProgramFolder() + "/vemo");
  struct Case {
    bool text, library;
    const char* said;
  } cases[] = {{false, true, "vemo: Cannot open file containing program text."},
               {true, false, "vemo: The planet library"}};
  for (const Case& c : cases) {
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("vemo"));
    ASSERT_TRUE(QFile::copy(program, copy));
    if (c.text) QFile::copy(QString::fromStdString(vemo::ProgramFolder() + "/qel.dat"), dir.filePath("qel.dat"));
    if (c.library) {
      const QString lib = QString::fromStdString(vemo::PlanetsVemoFileName());
      QFile::copy(QString::fromStdString(vemo::ProgramFolder() + "/") + lib, dir.filePath(lib));
    }
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.path());
    p.setProcessEnvironment(env);
    p.start(copy, {});
    const bool finished = p.waitForFinished(30000);
    if (!finished) p.kill();
    ASSERT_TRUE(finished) << c.said;
    EXPECT_EQ(p.exitCode(), 1) << c.said;
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(QLatin1String(c.said))) << err.toStdString();
  }
}

TEST_F(StartUpFailureTest, StartUpComputesAgainOnlyWhenSomethingChangedMeanwhile) {
  // Nothing changes while the Pluto message is up: one table.
  EXPECT_TRUE(StartIn(Folder(true, true)));
  EXPECT_EQ(w->ComputationsDone(), 1);
  // The world date changed behind the message: the table follows it.
  SetMessageBoxHook([this](const MessageBoxRequest& r) {
    boxes.push_back(r);
    w->cboHour[0]->setCurrentIndex(1);  // 00:00
    return QMessageBox::Ok;
  });
  EXPECT_TRUE(StartIn(Folder(true, true)));
  EXPECT_EQ(w->ComputationsDone(), 2);
  EXPECT_EQ(w->Engine().JulianDates[0], w->Engine().TableJulianDates[0]);
  EXPECT_DOUBLE_EQ(w->Engine().JulianDates[0], std::floor(2460000.0 + 60.0 / 1440 + 0.5) - 60.0 / 1440 - 0.5);
}

}  // namespace
}  // namespace vemo::ui::testing
