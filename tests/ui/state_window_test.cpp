// Saved states through the main window: every control through a file and
// back, files that must change nothing, Quit's question, and the per-user
// file at start-up.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

#include <fstream>
#include <functional>

#include "app/settings/state_file.h"
#include "app/text/program_text.h"
#include "app/ui/frm_configure.h"
#include "app/ui/frm_popup.h"
#include "tests/support/file_bytes.h"
#include "app/ui/window_utils.h"
#include "tests/ui/window_test_support.h"

namespace vemo::ui::testing {
namespace {

QString Item(int n) { return QString::fromStdString(vemo::ProgramText(n)); }

using vemo::testing::FileBytes;

void WriteAll(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

class StateTest : public WindowTest {
 protected:
  // Everything a state holds or touches, one "name=value" per control.
  std::vector<std::string> Snapshot() const {
    std::vector<std::string> out;
    auto add = [&out](const std::string& name, long long value) { out.push_back(name + "=" + std::to_string(value)); };
    for (int r = 0; r < 3; ++r) {
      const std::string row = "row" + std::to_string(r);
      add(row + ".month", w->cboMonthCE[r]->currentIndex());
      add(row + ".day", w->cboDayCE[r]->currentIndex());
      out.push_back(row + ".year=" + w->txbYearCE[r]->text().toStdString());
      add(row + ".hour", w->cboHour[r]->currentIndex());
      add(row + ".zone", w->cboTimezone[r]->currentIndex());
    }
    add("mode", w->CheckedMode());
    add("step", w->cboForwardBack->currentIndex());
    const FrmConfigure& c = *w->Configure();
    for (int i = 0; i < 8; ++i) {
      add("cboOrb" + std::to_string(i), c.cboOrb[i]->currentIndex());
      add("OrbListIndex" + std::to_string(i), c.OrbListIndex[i]);
    }
    for (int k = 1; k <= 7; ++k) add("colour" + std::to_string(k), c.AspectColours[k]);
    add("midpoint", c.cboOrbForMidpoints->currentIndex());
    add("proportion0", c.cboPersonalOrbsProportion[0]->currentIndex());
    add("proportion1", c.cboPersonalOrbsProportion[1]->currentIndex());
    add("boldfaceFactor", c.cboBoldfaceFactor->currentIndex());
    add("useBoldface", c.chkUseBoldface->isChecked());
    add("oneDegree", c.opt1DegOfOrb->isChecked());
    add("useColor", c.chkUseColor->isChecked());
    add("whiteBackground", c.chkSaveGraphicWithWhiteBackground->isChecked());
    add("outerPlanets", c.chkShowOnlyOuterPlanets->isChecked());
    add("earthAspects", c.chkShowOnlyEarthAspects->isChecked());
    add("zoneNames", c.chkDisplayNATZabbr->isChecked());
    return out;
  }

  // Two clearly different set-ups of every control; `mode` 1..6.
  void SetControls(bool first, int mode) {
    SetRow(0, first ? "2024" : "1999", first ? 6 : 1, first ? 15 : 2, HourEntry(first ? 14 : 3, 30), first ? 26 : kGmt);
    SetRow(1, first ? "1969" : "1950", first ? 7 : 3, first ? 20 : 4, HourEntry(first ? 20 : 5, 0), first ? kGmt : 30);
    SetRow(2, first ? "1980" : "1961", first ? 12 : 5, first ? 31 : 6, HourEntry(first ? 8 : 7, 30), first ? 20 : 28);
    w->cboForwardBack->setCurrentIndex(first ? 3 : 1);
    FrmConfigure& c = *w->Configure();
    settings::ConfigureValues v = c.ControlValues();
    v.orbs.OrbListIndex = first ? std::array<int, 8>{12, 8, 5, 0, 2, 1, 1, 3} : std::array<int, 8>{9, 9, 6, 6, 4, 3, 3, 2};
    v.orbs.ProportionListIndex = first ? std::array<int, 2>{0, 4} : std::array<int, 2>{3, 1};
    v.orbs.MidpointOrbListIndex = first ? 7 : 0;
    v.orbs.UseBoldface = !first;
    v.orbs.BoldfaceOneDegree = !first;
    v.orbs.BoldfaceFactorListIndex = first ? 8 : 1;
    v.orbs.AspectColours[3] = first ? 0x123456 : 0x00FF00;
    v.useColor = !first;
    v.saveGraphicWithWhiteBackground = first;
    v.showOnlyOuterPlanets = false;
    v.showOnlyEarthAspects = first;
    v.displayNATZabbr = !first;
    c.SetControlValues(v);
    c.OrbListIndex = v.orbs.OrbListIndex;
    c.AspectColours = v.orbs.AspectColours;
    QRadioButton* options[] = {w->optPlanetary, w->optNatal[0],    w->optNatal[1],
                               w->optPersonal[0], w->optPersonal[1], w->optSynastry};
    options[mode - 1]->setChecked(true);
  }
};

TEST_F(StateTest, EveryControlComesBackThroughAFile) {
  QTemporaryDir dir;
  const std::string file = dir.filePath(QStringLiteral("state.qel")).toStdString();
  // Load from brings the personal-transit and synastry modes back as World
  // transits; Restore keeps every mode.
  struct Case {
    const char* name;
    int mode;
    bool restore;
    int modeAfter;
  } cases[] = {{"Natal2ByLoad", 3, false, 3},
               {"Personal1ByLoad", 4, false, 1},
               {"SynastryByLoad", 6, false, 1},
               {"SynastryByRestore", 6, true, 6},
               {"WorldByRestore", 1, true, 1}};
  Start(LocalAJD(2024, 6, 15, 14, 10));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetControls(true, c.mode);
    std::vector<std::string> expected = Snapshot();
    boxes.clear();
    if (c.restore) {
      w->cmdSave->click();
    } else {
      saveName = QString::fromStdString(file);
      w->cmdSaveAs->click();
      EXPECT_EQ(w->lblCopyright->text(), Item(129) + " " + saveName);
    }
    ASSERT_TRUE(boxes.empty()) << boxes.front().text.toStdString();
    EXPECT_EQ(w->PopUpWindow()->Text(), Item(128));
    SetControls(false, 2);
    if (c.restore) {
      w->cmdRestore->click();
      EXPECT_EQ(w->PopUpWindow()->Text(), Item(399));
    } else {
      openName = QString::fromStdString(file);
      w->cmdLoadState->click();
      EXPECT_EQ(w->lblCopyright->text(), Item(387) + " " + openName);
    }
    ASSERT_TRUE(boxes.empty()) << boxes.front().text.toStdString();
    for (std::string& e : expected) {
      if (e == "whiteBackground=1") e = "whiteBackground=0";
      if (e.rfind("mode=", 0) == 0) e = "mode=" + std::to_string(c.modeAfter);
    }
    EXPECT_EQ(Snapshot(), expected);
    // The table stands for the state read.
    EXPECT_EQ(w->ModeNumber(), c.modeAfter);
    EXPECT_TRUE(w->StateJustRead());
  }
  // Both file dialogs offer the state files only.
  ASSERT_FALSE(dialogs.empty());
  for (const QString& filter : dialogs) EXPECT_EQ(filter, Item(131) + " (*.qel)");
}

TEST_F(StateTest, AFileThatCannotBeUsedChangesNothing) {
  QTemporaryDir dir;
  Start(LocalAJD(2024, 6, 15, 14, 10));
  SetControls(true, 3);
  saveName = dir.filePath(QStringLiteral("good.qel"));
  w->cmdSaveAs->click();
  const std::string good = FileBytes(saveName.toStdString());
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < good.size();) {
    const std::size_t end = good.find("\r\n", at);
    lines.push_back(good.substr(at, end - at));
    at = end + 2;
  }
  ASSERT_EQ(lines.size(), 51u);
  auto joined = [&lines](std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count; ++i) out += lines[i] + "\r\n";
    return out;
  };
  std::vector<std::string> wordAt20 = lines;
  wordAt20[19] = "abc";
  std::string wordText;
  for (const std::string& l : wordAt20) wordText += l + "\r\n";
  struct Case {
    const char* name;
    std::string text;  // empty: no such file
    const char* said;
  } cases[] = {{"WordAtLine20", wordText, "Line 20:"},
               {"EndsBeforeLine20", joined(19), "Line 20:"},
               {"Missing", "", ""}};
  SetControls(false, 1);
  w->cmdCompute->click();
  const std::vector<std::string> before = Snapshot();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    openName = dir.filePath(QString::fromLatin1(c.name) + ".qel");
    if (!c.text.empty()) WriteAll(openName.toStdString(), c.text);
    boxes.clear();
    w->cmdLoadState->click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
    EXPECT_EQ(boxes[0].title, Item(385));
    EXPECT_TRUE(boxes[0].text.startsWith(Item(386) + "\n\n" + QString::fromLatin1(c.said))) << boxes[0].text.toStdString();
    EXPECT_TRUE(boxes[0].text.endsWith(openName));
    EXPECT_EQ(Snapshot(), before);
  }
  // A folder that cannot be written to: the error, and the file kept.
  const QString blocker = dir.filePath(QStringLiteral("not-a-folder"));
  WriteAll(blocker.toStdString(), "x");
  saveName = blocker + "/state.qel";
  boxes.clear();
  w->cmdSaveAs->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, PlainCaption(w->cmdSaveAs));
  EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
  EXPECT_EQ(FileBytes(blocker.toStdString()), "x");
  // Cancelling either dialog does nothing.
  boxes.clear();
  saveName.clear();
  openName.clear();
  w->cmdSaveAs->click();
  w->cmdLoadState->click();
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(StateTest, QuitAsksWhetherToSaveUnlessAStateWasJustWrittenOrRead) {
  struct Case {
    const char* name;
    std::function<void(FrmMain&)> before;
    std::vector<QMessageBox::StandardButton> answers;
    bool asked, written, ended;
  } cases[] = {
      {"Yes", {}, {QMessageBox::Yes}, true, true, true},
      {"No", {}, {QMessageBox::No}, true, false, true},
      {"Cancel", {}, {QMessageBox::Cancel}, true, false, false},
      {"RightAfterSave", [](FrmMain& m) { m.cmdSave->click(); }, {}, false, true, true},
      {"FiveTicksAfterSave",
       [](FrmMain& m) {
         m.cmdSave->click();
         for (int i = 0; i < 5; ++i) m.Timer1_Timer();
       },
       {QMessageBox::No}, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    userStatePath.clear();
    settingsDir.remove();
    ASSERT_TRUE(QDir().mkpath(settingsDir.path()));
    Start(LocalAJD(2024, 6, 15, 14, 10));
    if (c.before) c.before(*w);
    boxes.clear();
    answers.assign(c.answers.begin(), c.answers.end());
    w->cmdQuit->click();
    ASSERT_EQ(boxes.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_EQ(boxes[0].text, Item(149));
      EXPECT_EQ(boxes[0].title, PlainCaption(w->cmdQuit));
      EXPECT_EQ(boxes[0].defaultButton, QMessageBox::No);
    }
    EXPECT_EQ(QFile::exists(QString::fromStdString(userStatePath)), c.written);
    EXPECT_EQ(ended, c.ended);
    ended = false;
  }
}

TEST_F(StateTest, AFailingWriteAtQuitKeepsTheProgramRunning) {
  QTemporaryDir dir;
  const QString blocker = dir.filePath(QStringLiteral("not-a-folder"));
  WriteAll(blocker.toStdString(), "x");
  userStatePath = (blocker + "/vemo.usr").toStdString();
  Start(LocalAJD(2024, 6, 15, 14, 10));
  answers = {QMessageBox::Yes};
  w->cmdQuit->click();
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].icon, QMessageBox::Warning);
  // What happened, to which file, and why.
  EXPECT_TRUE(boxes[1].text.startsWith("The state was not saved; nothing was written.")) << boxes[1].text.toStdString();
  EXPECT_TRUE(boxes[1].text.contains("\"" + QString::fromStdString(userStatePath) +
                                     "\": its folder could not be created: Not a directory."))
      << boxes[1].text.toStdString();
  EXPECT_FALSE(ended);
  answers = {QMessageBox::No};
  w->cmdQuit->click();
  EXPECT_TRUE(ended);
}

// The folder Tessaly removed while the program runs: Save and Quit make it
// again, and the registry flags written with the state get their store back.
TEST_F(StateTest, SaveAndQuitMakeARemovedUserFolderAgain) {
  struct Case {
    const char* name;
    const char* removed;  // below the settings folder
    std::function<void(FrmMain&)> save;
    std::size_t boxesShown;  // Quit asks first
  } cases[] = {
      {"Save", "Tessaly", [](FrmMain& m) { m.cmdSave->click(); }, 0},
      {"QuitYes", "Tessaly", [](FrmMain& m) { m.cmdQuit->click(); }, 1},
      {"SaveWithParentGone", "", [](FrmMain& m) { m.cmdSave->click(); }, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString removed = settingsDir.filePath(QString::fromLatin1(c.removed));
    ASSERT_TRUE(QDir(settingsDir.filePath("Tessaly")).removeRecursively());  // a fresh user: Quit asks
    userStatePath.clear();
    Start(LocalAJD(2024, 6, 15, 14, 10));
    ASSERT_TRUE(QDir(removed).removeRecursively());
    ASSERT_FALSE(QFile::exists(QString::fromStdString(userStatePath)));
    boxes.clear();
    answers = {QMessageBox::Yes};
    c.save(*w);
    EXPECT_EQ(boxes.size(), c.boxesShown);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(userStatePath)));
    EXPECT_NE(FileBytes(userStatePath).find("2024"), std::string::npos);
    // On disk, not only in the settings cache of this process.
    const QSettings registry("Tessaly", "VEMO");
    EXPECT_NE(FileBytes(registry.fileName().toStdString()).find("IPAD="), std::string::npos) << registry.fileName().toStdString();
    for (const char* name : {"IPAD", "SOEA", "TZDisp"}) EXPECT_TRUE(registry.contains(name)) << name;
    w.reset();
  }
}

TEST_F(StateTest, StartUpRestoresThePerUserFileOrSetsABrokenOneAside) {
  settings::SavedState natal;
  natal.rows[0] = {6, 15, "2024", HourEntry(14, 0), 26};
  natal.rows[1] = {7, 20, "1969", HourEntry(20, 0), kGmt};
  natal.modes = {false, true, false, false, false, false};
  settings::SavedState blankWorld = natal;
  blankWorld.rows[0].year = "";
  blankWorld.modes = {false, false, false, true, false, false};  // back as World transits
  const std::string broken = "not a state\r\n";
  // A year line that would recolour and retitle a terminal if quoted raw.
  std::string hostile = settings::FormatStateFile(natal);
  hostile.replace(hostile.find("2024"), 4, "20\x1b[31m24\x1b]0;owned\x07");
  struct Case {
    const char* name;
    std::string file;
    int mode;
    const char* setAsideAs;  // nullptr: read, not set aside
  } cases[] = {{"Natal", settings::FormatStateFile(natal), 2, nullptr},
               {"WorldDateBlank", settings::FormatStateFile(blankWorld), 1, nullptr},
               {"Broken", broken, 1, "vemo.usr.bad"},
               // An earlier set-aside file is never replaced.
               {"BrokenAgain", hostile, 1, "vemo.usr.bad.2"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    userStatePath = settingsDir.filePath(QStringLiteral("Tessaly/vemo.usr")).toStdString();
    ASSERT_TRUE(QDir().mkpath(settingsDir.filePath(QStringLiteral("Tessaly"))));
    WriteAll(userStatePath, c.file);
    ::testing::internal::CaptureStderr();
    Start(LocalAJD(2024, 6, 15, 14, 10));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(w->ModeNumber(), c.mode);
    EXPECT_TRUE(boxes.empty());
    // No chart filter stored yet: both read as on, which would leave no
    // chart; neither is used.
    EXPECT_FALSE(w->Configure()->chkShowOnlyOuterPlanets->isChecked());
    EXPECT_FALSE(w->Configure()->chkShowOnlyEarthAspects->isChecked());
    if (c.mode == 2) {
      EXPECT_EQ(w->Engine().JulianDates[1], LocalAJD(1969, 7, 20, 20, 0, 0));
    }
    // The present moment: 15 June 2024, 14:00.
    if (c.mode == 1) {
      EXPECT_EQ(w->txbYearCE[0]->text(), QStringLiteral("2024"));
    }
    const bool setAside = c.setAsideAs != nullptr;
    EXPECT_EQ(w->lblCopyright->text().contains(Item(402)), setAside);
    EXPECT_EQ(QFile::exists(QString::fromStdString(userStatePath)), !setAside);
    // Nothing of the file reaches the terminal raw; the set-aside name is told.
    EXPECT_EQ(err.find('\x1b'), std::string::npos) << err;
    EXPECT_EQ(err.find('\x07'), std::string::npos) << err;
    if (setAside) {
      EXPECT_EQ(FileBytes(userStatePath + ".bad"), broken);
      EXPECT_EQ(FileBytes(settingsDir.filePath("Tessaly/").toStdString() + c.setAsideAs), c.file);
      EXPECT_TRUE(w->lblCopyright->text().endsWith(Item(403) + " " + c.setAsideAs + ".")) << w->lblCopyright->text().toStdString();
      EXPECT_NE(err.find(std::string(c.setAsideAs) + "\n"), std::string::npos) << err;
      EXPECT_FALSE(w->cmdRestore->isEnabled());
    } else {
      EXPECT_TRUE(w->cmdRestore->isEnabled());
      EXPECT_TRUE(w->StateJustRead());
    }
  }
}

// A path too long for the status line is shortened in the middle, and the
// whole text is the tooltip.
TEST_F(StateTest, ALongStatusLineIsShortenedNotCut) {
  Start(LocalAJD(2024, 6, 15, 14, 10));
  const QString longText = Item(387) + " /" + QString("folder/").repeated(60) + "state.qel";
  for (const QString& text : {longText, Item(128)}) {
    w->lblCopyright->setText(text);
    w->lblCopyright->grab();
    EXPECT_EQ(w->lblCopyright->toolTip(), text == longText ? longText : QString());
  }
}

}  // namespace
}  // namespace vemo::ui::testing
