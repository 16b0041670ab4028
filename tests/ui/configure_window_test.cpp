// The configuration window over the running main window: Accept, Cancel,
// Reset, the colour samples, "Set all", and the registry flags.
#include <QCheckBox>
#include <QPushButton>
#include <QComboBox>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

#include <functional>
#include <string>
#include <utility>

#include "app/aspects/table_model.h"
#include "app/text/program_text.h"
#include "app/ui/chart_view.h"
#include "app/ui/frm_configure.h"
#include "app/ui/window_utils.h"
#include "tests/ui/window_test_support.h"

namespace vemo::ui::testing {
namespace {

class ConfigureWindowTest : public WindowTest {
 protected:
  FrmConfigure* Open() {
    FrmConfigure* c = w->Configure();
    c->Activate();
    c->show();
    return c;
  }
  static QString Stored(const char* name) { return QSettings("Tessaly", "VEMO").value(name).toString(); }
};

TEST_F(ConfigureWindowTest, AcceptWithBothChartFiltersChangesNothing) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  const QString title = w->lblTitle->text();
  c->cboOrb[0]->setCurrentIndex(5);
  c->chkShowOnlyEarthAspects->setChecked(true);
  c->chkShowOnlyOuterPlanets->setChecked(true);
  c->cmdAccept_Click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].icon, QMessageBox::Information);
  EXPECT_EQ(boxes[0].title, c->windowTitle());
  EXPECT_TRUE(boxes[0].text.endsWith("cannot both be checked.")) << boxes[0].text.toStdString();
  EXPECT_EQ(c->OrbListIndex[0], 10);
  EXPECT_EQ(w->Engine().Settings.OrbListIndex[0], 10);
  EXPECT_FALSE(c->ShowOnlyEarthAspects);
  EXPECT_FALSE(c->ShowOnlyOuterPlanets);
  EXPECT_EQ(w->lblTitle->text(), title);
  EXPECT_TRUE(c->isVisible());
}

TEST_F(ConfigureWindowTest, LeavingAfterTheFilterRefusalShowsTheFiltersTheChartUses) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  struct Row {
    const char* way;
    std::function<void(FrmConfigure*)> leave;
    bool outer, earth;  // the pair accepted before both were ticked
  };
  const Row rows[] = {
      {"Hide", [](FrmConfigure* c) { c->cmdHide_Click(); }, false, false},
      {"HideAfterEarthOnly", [](FrmConfigure* c) { c->cmdHide_Click(); }, false, true},
      {"Escape", [](FrmConfigure* c) { QTest::keyClick(c, Qt::Key_Escape); }, true, false},
      {"CloseBox", [](FrmConfigure* c) { c->close(); }, false, true},
      {"Cancel", [](FrmConfigure* c) { c->cmdCancel_Click(); }, true, false},
  };
  const auto flag = [](bool on) { return QString(on ? "1" : "0"); };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.way);
    FrmConfigure* c = Open();
    c->chkShowOnlyOuterPlanets->setChecked(r.outer);
    c->chkShowOnlyEarthAspects->setChecked(r.earth);
    c->cmdAccept_Click();
    c->chkShowOnlyOuterPlanets->setChecked(true);
    c->chkShowOnlyEarthAspects->setChecked(true);
    boxes.clear();
    c->cmdAccept_Click();
    ASSERT_EQ(boxes.size(), 1u);  // refused
    r.leave(c);
    ASSERT_FALSE(c->isVisible());
    Open();
    EXPECT_EQ(c->chkShowOnlyOuterPlanets->isChecked(), r.outer);
    EXPECT_EQ(c->chkShowOnlyEarthAspects->isChecked(), r.earth);
    EXPECT_EQ(c->ShowOnlyOuterPlanets, r.outer);
    EXPECT_EQ(c->ShowOnlyEarthAspects, r.earth);
    c->cmdHide_Click();
    // A Save stores the same pair, and the chart draws with it.
    w->cmdSave->click();
    EXPECT_EQ(Stored("IPAD"), flag(r.outer));
    EXPECT_EQ(Stored("SOEA"), flag(r.earth));
    boxes.clear();
    w->cmdToggleGraphic->click();
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(w->picGraphic->isHidden());
    w->cmdToggleGraphic->click();
  }
}

TEST_F(ConfigureWindowTest, AcceptAppliesOrbsAndRecomputes) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  for (int i = 0; i < 7; ++i) c->cboOrb[i]->setCurrentIndex(2);
  c->cmdAccept_Click();
  EXPECT_EQ(w->Engine().Settings.OrbListIndex[0], 2);
  // All orbs equal: the title states the one orb (item 33).
  EXPECT_TRUE(w->lblTitle->text().contains(QString::fromStdString(vemo::ProgramText(33) + " 2°")))
      << w->lblTitle->text().toStdString();
  EXPECT_TRUE(c->isVisible());  // Accept leaves the window open
}

TEST_F(ConfigureWindowTest, CancelBringsBackTheAcceptedOrbAndColour) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  c->cboOrb[3]->setCurrentIndex(2);
  QTest::mouseClick(c->lblAspectColor[3], Qt::LeftButton);
  EXPECT_NE(c->ColourCopy()[4], Rgb(0, 255, 0));
  c->cmdCancel_Click();
  EXPECT_FALSE(c->isVisible());
  c->Activate();
  EXPECT_EQ(c->cboOrb[3]->currentIndex(), 7);
  EXPECT_EQ(c->ColourCopy()[4], Rgb(0, 255, 0));
  EXPECT_EQ(w->Engine().Settings.AspectColours[4], Rgb(0, 255, 0));
}

TEST_F(ConfigureWindowTest, ColourSamplesCycleAndSwitchOff) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  // Quincunx grey: a left click moves on to light blue in the palette.
  QTest::mouseClick(c->lblAspectColor[6], Qt::LeftButton);
  EXPECT_EQ(c->ColourCopy()[7], Rgb(128, 128, 255));
  // Right-clicking twice brings the colour back.
  QTest::mouseClick(c->lblAspectColor[1], Qt::RightButton);
  EXPECT_EQ(c->ColourCopy()[2], 0u);
  QTest::mouseClick(c->lblAspectColor[1], Qt::RightButton);
  EXPECT_EQ(c->ColourCopy()[2], Rgb(255, 0, 255));
  // Nothing reaches the table before Accept.
  EXPECT_EQ(w->Engine().Settings.AspectColours[7], Rgb(128, 128, 128));
  c->cmdAccept_Click();
  EXPECT_EQ(w->Engine().Settings.AspectColours[7], Rgb(128, 128, 255));
}

TEST_F(ConfigureWindowTest, SetAllNonzeroOrbsAsksAndKeepsZeroOrbs) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  c->cboOrb[1]->setCurrentIndex(0);
  c->cboOrb[7]->setCurrentIndex(5);
  answers.push_back(QMessageBox::No);
  c->cmdSetAllNonzeroOrbsToConjunctionOrb_Click();
  EXPECT_EQ(c->cboOrb[0]->currentIndex(), 10);
  answers.push_back(QMessageBox::Yes);
  c->cmdSetAllNonzeroOrbsToConjunctionOrb_Click();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(boxes[1].text.contains("5°") || !QString::fromStdString(vemo::ProgramText(391)).contains("NEW_ORB"));
  const int expected[7] = {5, 0, 5, 5, 5, 5, 5};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(c->cboOrb[i]->currentIndex(), expected[i]) << i;
    EXPECT_EQ(c->OrbListIndex[i], expected[i]) << i;
  }
}

TEST_F(ConfigureWindowTest, SetAllValueCannotBeZero) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  c->cboOrb[7]->setCurrentIndex(0);
  emit c->cboOrb[7]->activated(0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Set all");
  EXPECT_EQ(boxes[0].text, "Cannot set all non-zero orbs to zero.");
  EXPECT_EQ(c->cboOrb[7]->currentIndex(), 1);
}

TEST_F(ConfigureWindowTest, ResetAsksWhileShownAndNoKeepsTheSettings) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  c->cboOrb[0]->setCurrentIndex(3);
  answers.push_back(QMessageBox::No);
  c->cmdReset_Click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(c->cboOrb[0]->currentIndex(), 3);
  answers.push_back(QMessageBox::Yes);
  c->cmdReset_Click();
  EXPECT_EQ(c->cboOrb[0]->currentIndex(), 10);
  EXPECT_EQ(w->Engine().Settings.OrbListIndex[0], 10);  // Reset is followed by Accept
}

TEST_F(ConfigureWindowTest, BoldfaceBoxEnablesItsRule) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  QTest::mouseClick(c->chkUseBoldface, Qt::LeftButton);
  EXPECT_FALSE(c->chkUseBoldface->isChecked());
  EXPECT_FALSE(c->opt1DegOfOrb->isEnabled());
  EXPECT_FALSE(c->cboBoldfaceFactor->isEnabled());
  QTest::mouseClick(c->chkUseBoldface, Qt::LeftButton);
  EXPECT_TRUE(c->opt1DegOfOrb->isEnabled());
}

TEST_F(ConfigureWindowTest, CloseBoxTellsAndCancels) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  c->chkUseBoldface->setChecked(false);
  c->close();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "X");
  EXPECT_FALSE(c->isVisible());
  EXPECT_TRUE(c->chkUseBoldface->isChecked());
}

TEST_F(ConfigureWindowTest, EscapeCancels) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  c->chkUseBoldface->setChecked(false);
  QTest::keyClick(c, Qt::Key_Escape);
  EXPECT_FALSE(c->isVisible());
  EXPECT_TRUE(c->chkUseBoldface->isChecked());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ConfigureWindowTest, AcceptedZoneNamesRebuildTheListsKeepingTheirSelection) {
  Start(LocalAJD(2024, 6, 15, 14, 10), 60);
  FrmConfigure* c = Open();
  ASSERT_FALSE(c->chkDisplayNATZabbr->isChecked());
  w->cboTimezone[1]->setCurrentIndex(14);  // GMT-5:00
  EXPECT_EQ(w->cboTimezone[1]->currentText(), "GMT-5:00");
  c->chkDisplayNATZabbr->setChecked(true);
  EXPECT_EQ(w->cboTimezone[1]->currentText(), "GMT-5:00");  // nothing before Accept
  c->cmdAccept_Click();
  EXPECT_EQ(w->cboTimezone[1]->currentIndex(), 14);
  EXPECT_EQ(w->cboTimezone[1]->currentText(), "EST/CDT");
  EXPECT_EQ(w->cboTimezone[0]->currentIndex(), 26);
}

TEST_F(ConfigureWindowTest, AcceptedZodiacSectorsChoiceSurvivesTheNextActivation) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  ASSERT_TRUE(c->chkDisplayZodiacSectors->isChecked());
  c->chkDisplayZodiacSectors->setChecked(false);
  c->cmdAccept_Click();
  c->cmdHide_Click();
  EXPECT_FALSE(c->DisplayZodiacSectors);
  EXPECT_EQ(Stored("Zodiac sectors"), "0");
  c->Activate();
  EXPECT_FALSE(c->chkDisplayZodiacSectors->isChecked());
}

TEST_F(ConfigureWindowTest, BadRegistryValueReadsAsOneAndIsWrittenBack) {
  QSettings("Tessaly", "VEMO").setValue("TZDisp", "maybe");
  Start(LocalAJD(2024, 6, 15, 14, 10), 60);
  EXPECT_TRUE(w->Configure()->chkDisplayNATZabbr->isChecked());
  EXPECT_EQ(Stored("TZDisp"), "1");
  // The time-zone lists then carry the North American names.
  EXPECT_EQ(w->cboTimezone[0]->itemText(14), "EST/CDT");
}

TEST_F(ConfigureWindowTest, FreshUserGetsDefaultsByTheComputersZone) {
  struct Row { const char* name; int zone; bool names; };
  const Row rows[] = {{"NewYork", -300, true}, {"Honolulu", -600, true}, {"Newfoundland", -150, true},
                      {"Brazil", -120, false}, {"Berlin", 60, false}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    QSettings("Tessaly", "VEMO").clear();
    Start(LocalAJD(2024, 6, 15, 14, 10, r.zone), r.zone);
    EXPECT_EQ(w->Configure()->chkDisplayNATZabbr->isChecked(), r.names);
    EXPECT_EQ(Stored("TZDisp"), r.names ? "1" : "0");
    EXPECT_EQ(Stored("Zodiac sectors"), "1");
    EXPECT_FALSE(w->Configure()->chkShowOnlyOuterPlanets->isChecked());
    EXPECT_FALSE(w->Configure()->chkShowOnlyEarthAspects->isChecked());
    w.reset();
  }
}

TEST_F(ConfigureWindowTest, CancelEscapeAndTheCloseBoxDropEveryUnacceptedChange) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  struct Change {
    const char* name;
    std::function<void(FrmConfigure*)> apply;
  };
  const Change changes[] = {
      {"SetAllNonzeroOrbs",
       [this](FrmConfigure* c) {
         answers.push_back(QMessageBox::Yes);
         c->cboOrb[7]->setCurrentIndex(2);
         c->cmdSetAllNonzeroOrbsToConjunctionOrb_Click();
       }},
      {"MidpointOrb", [](FrmConfigure* c) { c->cboOrbForMidpoints->setCurrentIndex(7); }},
      {"BoldfaceProportionOfOrb", [](FrmConfigure* c) { c->optProportionOfOrb->setChecked(true); }},
  };
  const std::pair<const char*, std::function<void(FrmConfigure*)>> ways[] = {
      {"Cancel", [](FrmConfigure* c) { c->cmdCancel_Click(); }},
      {"Escape", [](FrmConfigure* c) { QTest::keyClick(c, Qt::Key_Escape); }},
      {"CloseBox", [](FrmConfigure* c) { c->close(); }},
  };
  for (const auto& [way, cancel] : ways) {
    for (const Change& change : changes) {
      SCOPED_TRACE(std::string(way) + " after " + change.name);
      FrmConfigure* c = Open();
      const OrbSettings before = c->SettingsForCompute();
      const settings::ConfigureValues shown = c->ControlValues();
      change.apply(c);
      ASSERT_NE(c->SettingsForCompute(), before);
      cancel(c);
      EXPECT_FALSE(c->isVisible());
      EXPECT_EQ(c->SettingsForCompute(), before);
      w->cmdCompute->click();
      EXPECT_EQ(w->Engine().Settings, before);
      c->Activate();
      EXPECT_EQ(c->ControlValues(), shown);
    }
  }
  // Once accepted a change stays: Cancel only drops what came after.
  FrmConfigure* c = Open();
  c->cboOrbForMidpoints->setCurrentIndex(7);
  c->cmdAccept_Click();
  c->optProportionOfOrb->setChecked(true);
  c->cmdCancel_Click();
  EXPECT_EQ(c->SettingsForCompute().MidpointOrbListIndex, 7);
  EXPECT_TRUE(c->SettingsForCompute().BoldfaceOneDegree);
}

TEST_F(ConfigureWindowTest, AcceptedZoneNamesSurviveARestart) {
  for (const bool names : {true, false}) {
    SCOPED_TRACE(names);
    Start(LocalAJD(2024, 6, 15, 14, 10), 60);
    FrmConfigure* c = Open();
    c->chkDisplayNATZabbr->setChecked(names);
    c->cmdAccept_Click();
    c->cmdHide_Click();
    w.reset();
    // The next start reads the choice back, whatever the computer's zone.
    Start(LocalAJD(2024, 6, 15, 14, 10), 60);
    EXPECT_EQ(w->Configure()->chkDisplayNATZabbr->isChecked(), names);
    EXPECT_EQ(w->cboTimezone[0]->itemText(14), names ? "EST/CDT" : "GMT-5:00");
    w.reset();
  }
}

TEST_F(ConfigureWindowTest, KindsInDarkOrNoColourStayReadableInTheTable) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  constexpr int kMarsSextilePluto = 53;
  auto cellColours = [this] {
    const QPalette p = w->txbCell[kMarsSextilePluto]->palette();
    return std::make_pair(p.color(QPalette::WindowText), p.color(QPalette::Window));
  };
  FrmConfigure* c = Open();
  // Sextile cyan -> grey -> light blue -> blue, the darkest of the palette.
  for (int i = 0; i < 3; ++i) QTest::mouseClick(c->lblAspectColor[4], Qt::LeftButton);
  ASSERT_EQ(c->ColourCopy()[kSextile], Rgb(0, 0, 255));
  c->cmdAccept_Click();
  EXPECT_EQ(cellColours(), std::make_pair(QColor(0, 0, 255), QColor(255, 255, 255)));
  // Left out of the chart: a neutral grey on black, still counted and shown.
  QTest::mouseClick(c->lblAspectColor[4], Qt::RightButton);
  c->cmdAccept_Click();
  c->cmdHide_Click();
  EXPECT_EQ(cellColours(), std::make_pair(ColourFromValue(kExcludedKindText), QColor(0, 0, 0)));
  EXPECT_TRUE(w->txbCell[kMarsSextilePluto]->text().startsWith("Sxt"));
  // A click on it ends there, as for every kind left out of the chart.
  QTest::mouseClick(w->txbCell[kMarsSextilePluto], Qt::LeftButton);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ConfigureWindowTest, AllOrbsAtZeroAreStatedInTheTitle) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  for (int i = 0; i < 7; ++i) c->cboOrb[i]->setCurrentIndex(0);
  c->cmdAccept_Click();
  EXPECT_TRUE(w->lblTitle->text().endsWith(QString::fromStdString("  " + vemo::ProgramText(33) + " 0°.")))
      << w->lblTitle->text().toStdString();
}

// The language list shows every window in German at once, keeps the
// selections, recomputes the table and is kept for the next start; English
// comes back the same way.
TEST_F(ConfigureWindowTest, LanguageAppliesAtOnceAndIsKeptForTheNextStart) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  FrmConfigure* c = Open();
  w->cboForwardBack->setCurrentIndex(3);
  const double ajd = w->Engine().JulianDates[0];
  const int aspects = w->Engine().GetTotalNumAspects();
  const std::pair<int, const char*> languages[] = {{1, "de"}, {0, "en"}, {1, "de"}};
  for (const auto& [language, code] : languages) {
    SCOPED_TRACE(code);
    emit c->cboLanguage->activated(language);
    EXPECT_EQ(vemo::LanguageIndex(), language);
    EXPECT_EQ(Stored("Language"), code);
    EXPECT_EQ(PlainCaption(w->cmdCompute), language == 1 ? "Berechnen" : "Compute");
    EXPECT_EQ(w->cboMonthCE[0]->currentText(), language == 1 ? "Juni" : "June");
    EXPECT_EQ(w->lblUserManual->text(), language == 1 ? "Handbuch:" : "User manual:");
    EXPECT_EQ(w->lblCopyright->text(), FrmMain::StandingStatusText());
    EXPECT_EQ(w->cboForwardBack->currentIndex(), 3);
    EXPECT_EQ(w->cboForwardBack->currentText(), QString::fromStdString(vemo::ProgramText(173)));
    EXPECT_TRUE(w->lblTitle->text().startsWith(QString::fromStdString(vemo::ProgramText(23))));
    EXPECT_EQ(c->windowTitle(), PlainCaption(w->cmdConfigure));
    EXPECT_EQ(c->cboLanguage->currentIndex(), language);
    EXPECT_EQ(w->Engine().JulianDates[0], ajd);
    EXPECT_EQ(w->Engine().GetTotalNumAspects(), aspects);
  }
  // A window that does not pin its language starts in the stored one.
  w.reset();
  language = -1;
  Start(LocalAJD(2024, 6, 15, 14, 10));
  EXPECT_EQ(vemo::LanguageIndex(), 1);
  EXPECT_EQ(PlainCaption(w->cmdCompute), "Berechnen");
}

}  // namespace
}  // namespace vemo::ui::testing
