// Runs in the main window: the run window's choices, a World-transits run
// that stops at its pattern and reopens the run window, a personal-transit
// run stopped by the user, a run that reaches a refused date, and Quit
// during the pause between two steps.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/aspects/date_rows.h"
#include "app/aspects/vocabulary.h"
#include "app/text/program_text.h"
#include "app/ui/frm_run.h"
#include "app/ui/window_utils.h"
#include "tests/ui/window_test_support.h"

namespace vemo::ui::testing {
namespace {

constexpr int kNoon = 25;  // hour entry of 12:00

class RunTest : public WindowTest {
 protected:
  // World date 15 June 2024 12:00 GMT+1, steps of a day, the chart shown.
  void StartWithChart(const char* year = "2024", int month = 6, int day = 15) {
    Start(LocalAJD(2024, 6, 15, 14, 10));
    SetRow(0, year, month, day, kNoon, kGmtPlus1);
    w->cboForwardBack->setCurrentIndex(1);
    ASSERT_TRUE(w->cmdCompute_Click());
    w->cmdToggleGraphic_Click();
    w->Timer1_Timer();
    ASSERT_TRUE(w->cmdRun->isEnabled());
    w->RunWindow()->SetModalHook([this](FrmRun& r) {
      ++runWindowShown;
      if (onRunWindow) onRunWindow(r);
    });
  }
  // The run window's answer: choose and press Run, or leave it (Cancel).
  std::function<void(FrmRun&)> onRunWindow;
  int runWindowShown = 0;

  void ExpectIdle() {
    EXPECT_FALSE(w->RunInProgress());
    EXPECT_FALSE(w->Engine().Run.InProgress);
    EXPECT_EQ(PlainCaption(w->cmdRun).toStdString(), ProgramText(36));
    for (QWidget* c : {static_cast<QWidget*>(w->cmdCompute), static_cast<QWidget*>(w->cmdForwardBack[0]),
                       static_cast<QWidget*>(w->cmdToggleGraphic), static_cast<QWidget*>(w->cmdRun)}) {
      EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    }
  }
};

TEST_F(RunTest, RunIsOfferedBesideTheChartInModesWithAWorldDateAndStepsOfADayOrMore) {
  StartWithChart();
  SetRow(1, "1969", 7, 20, kNoon, kGmt);
  struct Case {
    QRadioButton* mode;
    int step;
    bool offered;
  } const cases[] = {{w->optPlanetary, 1, true},   {w->optPlanetary, 0, false}, {w->optPersonal[1], 3, true},
                     {w->optPersonal[0], 4, true}, {w->optNatal[0], 2, false},  {w->optSynastry, 2, false}};
  SetRow(2, "1982", 3, 10, kNoon, kGmt);
  for (const Case& c : cases) {
    c.mode->click();
    w->cboForwardBack->setCurrentIndex(c.step);
    w->Timer1_Timer();
    EXPECT_EQ(w->cmdRun->isEnabled(), c.offered) << c.mode->text().toStdString() << " step " << c.step;
  }
}

TEST_F(RunTest, RunWindowEnablesByChoiceRefusesARepeatedPlanetAndKeepsCriteriaOnCancel) {
  StartWithChart();
  FrmRun& r = *w->RunWindow();
  onRunWindow = [&](FrmRun& f) {
    EXPECT_FALSE(f.fraFrame->isEnabled());  // no pattern yet
    EXPECT_FALSE(f.chkTwoOrMore->isEnabled());
    EXPECT_EQ(f.cboAspectPattern->count(), kNumPatterns);
    EXPECT_EQ(f.cboSoughtPlanet[0]->count(), 1 + w->Engine().PlanetCount);
    EXPECT_EQ(f.cboNumToFind->itemText(0), "2");
    EXPECT_EQ(f.cboNumToFind->itemText(7), "9");
    f.cboAspectPattern->setCurrentIndex(kKite);
    EXPECT_TRUE(f.fraFrame->isEnabled());
    EXPECT_FALSE(f.cmdClearAll->isEnabled());
    EXPECT_FALSE(f.cboNumToFind->isEnabled());
    f.chkTwoOrMore->setChecked(true);
    EXPECT_TRUE(f.cboNumToFind->isEnabled());
    f.cboSoughtPlanet[0]->setCurrentIndex(kMars);
    f.cboSoughtPlanet[2]->setCurrentIndex(kMars);
    EXPECT_TRUE(f.cmdClearAll->isEnabled());
    f.cmdRun_Click();  // Mars twice
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Input error");
    EXPECT_EQ(boxes[0].text, "Planet specified more than once.");
    EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(f.isVisible());
    f.cboSoughtPlanet[2]->setCurrentIndex(kSaturn);
    f.cboNumToFind->setCurrentIndex(1);  // 3
    f.cmdRun_Click();
    EXPECT_FALSE(f.isVisible());
  };
  // Run accepted: the criteria are kept and the engine's table has them;
  // the run is stopped at once (Run pressed during the first pause).
  onWait = [this](int) { w->cmdRun_Click(); };
  w->cmdRun_Click();
  EXPECT_FALSE(r.Cancelled());
  EXPECT_EQ(r.Criteria().patternIndex, kKite);
  EXPECT_EQ(r.Criteria().numToFind, 3);
  EXPECT_EQ(w->Engine().Run.SoughtPlanets, (std::array<int, 3>{kMars, 0, kSaturn}));
  EXPECT_EQ(w->Engine().Run.NumPlanetsSought, 2);
  ExpectIdle();

  // Cancel: no run; the planets stay, the pattern choice is what the window
  // showed, and the lists still show the earlier choice when it reopens.
  const int computations = w->ComputationsDone();
  onRunWindow = [](FrmRun& f) {
    EXPECT_EQ(f.cboAspectPattern->currentIndex(), kKite);
    EXPECT_EQ(f.cboSoughtPlanet[2]->currentIndex(), kSaturn);
    f.cmdClearAll_Click();
    f.cmdClearAspectPattern_Click();
    EXPECT_FALSE(f.fraFrame->isEnabled());
    f.cmdCancel_Click();
  };
  w->cmdRun_Click();
  EXPECT_TRUE(r.Cancelled());
  EXPECT_EQ(r.Criteria().patternIndex, -1);
  EXPECT_EQ(r.Criteria().soughtPlanets, (std::array<int, 3>{kMars, 0, kSaturn}));
  EXPECT_EQ(w->ComputationsDone(), computations);
  ExpectIdle();
}

TEST_F(RunTest, WorldTransitRunStopsAtItsPatternAndOpensTheRunWindowAgain) {
  StartWithChart();
  const DateRow start = w->ReadRow(0);
  struct Case {
    const char* name;
    int pattern;
    std::array<int, 3> planets;
    long steps;  // days from 15 June 2024 to the first one with the pattern
  } const cases[] = {{"GrandTrine", kGrandTrine, {0, 0, 0}, 17}, {"TSquareWithMars", kTSquare, {kMars, 0, 0}, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w->WriteRow(0, start);
    ASSERT_TRUE(w->cmdCompute_Click());
    // What the search without a window finds from the same date.
    AspectEngine engine(DefaultEngineServices());
    engine.PlutoAvailable = w->Engine().PlutoAvailable;
    reports::RunSearchOptions o;
    o.criteria = reports::MakeRunCriteria(c.pattern, c.planets, false, 2);
    o.lastAjd = w->Engine().JulianDates[0] + 3000;
    o.localZoneIndex = w->LocalTimezoneIndex();
    o.settings = w->Engine().Settings;
    const reports::RunSearchResult expected = reports::SearchForPattern(engine, start, o, ProgramText);
    ASSERT_EQ(expected.end, reports::RunSearchEnd::Found);
    EXPECT_EQ(expected.steps, c.steps);

    boxes.clear();
    runWindowShown = 0;
    std::vector<int> waits;
    onWait = [&waits](int ms) { waits.push_back(ms); };
    onRunWindow = [&](FrmRun& f) {
      if (runWindowShown > 1) return;  // reopened after the find: Cancel
      f.cboAspectPattern->setCurrentIndex(c.pattern);
      for (size_t i = 0; i < 3; ++i) f.cboSoughtPlanet[i]->setCurrentIndex(c.planets[i]);
      f.chkRunQuickly->setChecked(true);
      f.cmdRun_Click();
    };
    w->cmdRun->click();
    EXPECT_EQ(w->ReadRow(0), expected.row);
    EXPECT_EQ(static_cast<long>(waits.size()) + 1, expected.steps);
    EXPECT_EQ(waits.empty() ? 100 : waits.front(), 100);  // "Run quickly"
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title.toStdString(), ProgramText(122));
    EXPECT_EQ(boxes[0].icon, QMessageBox::Information);
    EXPECT_EQ(boxes[0].text.toStdString(), c.planets[0] ? PatternName(c.pattern) + " found\ninvolving Mars."
                                                         : PatternName(c.pattern) + " found.");
    EXPECT_EQ(runWindowShown, 2);
    ExpectIdle();
  }
}

TEST_F(RunTest, PersonalTransitRunAnimatesUntilStoppedAfterThePause) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetRow(0, "2024", 6, 15, kNoon, kGmtPlus1);
  SetRow(1, "1969", 7, 20, 42, kGmt);
  w->cboForwardBack->setCurrentIndex(1);
  w->optPersonal[0]->click();
  w->cmdToggleGraphic_Click();
  w->Timer1_Timer();
  std::vector<int> waits;
  onWait = [&](int ms) {
    waits.push_back(ms);
    // During the pause the periodic refresh keeps Run usable and the rest not.
    w->Timer1_Timer();
    EXPECT_TRUE(w->cmdRun->isEnabled());
    EXPECT_EQ(PlainCaption(w->cmdRun).toStdString(), ProgramText(43));
    for (const QPushButton* b : w->findChildren<QPushButton*>()) {
      if (b->window() != w.get()) continue;
      EXPECT_EQ(b->isEnabled(), b == w->cmdRun || b == w->cmdQuit) << b->text().toStdString();
    }
    EXPECT_FALSE(w->optPlanetary->isEnabled());
    EXPECT_TRUE(w->RunWindow()->isEnabled());  // the windows it owns are not its controls
    if (waits.size() == 3) w->cmdRun_Click();
  };
  w->cmdRun_Click();
  EXPECT_EQ(w->cboDayCE[0]->currentIndex(), 18);  // three steps, the last one's pause finished
  EXPECT_EQ(waits, (std::vector<int>{1000, 1000, 1000}));
  EXPECT_TRUE(boxes.empty());
  ExpectIdle();
}

TEST_F(RunTest, ARefusedStepEndsTheRunWithOneMessage) {
  StartWithChart("2799", 12, 30);
  onWait = [](int) {};
  onRunWindow = [](FrmRun& f) { f.cmdRun_Click(); };  // no pattern: a plain run
  w->cmdRun_Click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title.toStdString(), ProgramText(153));
  EXPECT_EQ(w->txbYearCE[0]->text(), "2799");
  EXPECT_EQ(w->cboDayCE[0]->currentIndex(), 31);
  EXPECT_EQ(runWindowShown, 1);
  ExpectIdle();
}

TEST_F(RunTest, QuitDuringThePauseEndsTheProgramAndTheLoop) {
  realPause = true;
  StartWithChart();
  onRunWindow = [](FrmRun& f) { f.cmdRun_Click(); };
  // The real timer: Quit a moment into the first one-second pause. Should
  // the pause not end with it, a guard ends it after three seconds.
  bool guardFired = false;
  QTimer::singleShot(50, [this] { w->cmdQuit->click(); });
  QTimer::singleShot(3000, [&] {
    guardFired = true;
    w->Timer2.start(0);
  });
  w->cmdRun_Click();
  EXPECT_TRUE(ended);
  EXPECT_FALSE(guardFired);
  EXPECT_EQ(w->cboDayCE[0]->currentIndex(), 16);
  EXPECT_FALSE(w->RunInProgress());
}

TEST_F(RunTest, CellClicksDuringThePauseAreIgnored) {
  StartWithChart();
  onRunWindow = [](FrmRun& f) { f.cmdRun_Click(); };
  onWait = [this](int) {
    ASSERT_FALSE(w->Engine().Aspects.empty());
    w->txbCell_Click(w->Engine().Aspects.front().CellIndex);
    w->cmdRun_Click();
  };
  w->cmdRun_Click();
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace vemo::ui::testing
