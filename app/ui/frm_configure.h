// frmConfigure: the configuration window. It is created once at start-up,
// kept hidden, and shown modally by the main window's Configure button. Its
// controls are the live settings: orbs, proportions, midpoint orb, boldface
// rule, aspect colours, chart options and the time-zone list style. Four of
// them are also kept per user in the registry ("TZDisp", "Zodiac sectors",
// "IPAD", "SOEA").
//
// The window only wires controls to the rules of configure_core.h and to the
// registry store; the main window is reached through ConfigureHost.
#pragma once

#include <QDialog>
#include <QLabel>

#include <array>
#include <functional>

#include "app/aspects/orbs.h"
#include "app/settings/configure_core.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace vemo::ui {

// What the configuration window needs from the main window.
struct ConfigureHost {
  // The main window's *loaded* flag: Reset asks its question only then.
  std::function<bool()> startupCompleted;
  // SetUpTimezoneComboBoxes keeping the selections (after Accept).
  std::function<void()> setUpTimezoneComboBoxesKeep;
  // cmdCompute_Click of the main window.
  std::function<void()> compute;
  // The computer's zone offset in minutes east (default of "TZDisp").
  std::function<int()> systemTimezoneMinutes;
  // The main window, to place this window and to restore it when minimised.
  std::function<QWidget*()> mainWindow;
  // Shows the program in another language (0 English, 1 German) at once.
  std::function<void(int language)> setLanguage;
};

// A colour sample: the line "------------------------------" in the kind's
// colour, answering mouse presses.
class ColourSample : public QLabel {
  Q_OBJECT
 public:
  explicit ColourSample(QWidget* parent = nullptr);
 signals:
  void pressed(Qt::MouseButton button);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

class FrmConfigure : public QDialog {
  Q_OBJECT
 public:
  explicit FrmConfigure(ConfigureHost host, QWidget* parent = nullptr);

  // Window load, once, while hidden: fill the lists, reset to the defaults,
  // read "TZDisp" and "Zodiac sectors", clear both chart filters.
  void WindowLoad();
  // Captions from the program text; windowCaption is the main window's
  // Configure caption.
  void SetLanguageDependentText(const QString& windowCaption);

  // Shows the window modally (activation first). Returns the *changed* flag:
  // true when Accept was used while it was open.
  bool ShowModal();
  // Activation: orb lists from OrbListIndex, colour copy from the shared
  // colours, Cancel copy saved, "Zodiac sectors" re-read, focus on Cancel.
  void Activate();

  // Button handlers (public: the main window and the tests call them).
  void cmdReset_Click();
  void cmdAccept_Click();
  void cmdCancel_Click();
  void cmdHide_Click();
  void cmdSetAllNonzeroOrbsToConjunctionOrb_Click();
  // A mouse button pressed on the colour sample of kind 1..7.
  void lblAspectColor_MouseDown(int kind, Qt::MouseButton button);

  // Registry procedures.
  void SetTZDisp();
  void SetDisplayZodiacSectors();
  void SetInnerPlanetAspectDisplay();
  void SetShowOnlyEarthAspects();
  void WriteTZDispToRegistry();
  void WriteDisplayZodiacSectorsToRegistry();
  void WriteInnerPlanetAspectDisplayToRegistry();
  void WriteShowOnlyEarthAspectsToRegistry();
  // After "IPAD" and "SOEA" were read back with a state: both chart filters
  // on (both default to "1" where no state was written yet) would leave no
  // chart at all, so neither is used, and the registry says so.
  void ClearConflictingChartFilters();

  // The settings a Compute uses: the accepted orbs (OrbListIndex) and colours
  // (the shared colour table), and the proportion, midpoint and boldface
  // controls as they stand.
  OrbSettings SettingsForCompute() const;

  // The controls as values, and back (saved states use these).
  settings::ConfigureValues ControlValues() const;
  void SetControlValues(const settings::ConfigureValues& values);

  // Module-wide values read by the chart and the time-zone lists.
  bool DisplayZodiacSectors = true;
  bool ShowOnlyOuterPlanets = false;
  bool ShowOnlyEarthAspects = false;
  // OrbListIndex(0..7) and the shared colour table (slots 1..7).
  std::array<int, 8> OrbListIndex = DefaultOrbSettings().OrbListIndex;
  std::array<Colour, 8> AspectColours = DefaultOrbSettings().AspectColours;
  bool DisplayNATZabbrChecked() const;

  // The colour copy being edited (shown on the samples).
  const std::array<Colour, 8>& ColourCopy() const { return colourCopy_; }

  // Controls, for the tests and the saved states.
  std::array<QComboBox*, 8> cboOrb{};
  QComboBox* cboOrbForMidpoints = nullptr;
  std::array<QComboBox*, 2> cboPersonalOrbsProportion{};
  QComboBox* cboBoldfaceFactor = nullptr;
  QCheckBox* chkUseBoldface = nullptr;
  QRadioButton* opt1DegOfOrb = nullptr;
  QRadioButton* optProportionOfOrb = nullptr;
  QCheckBox* chkUseColor = nullptr;
  QCheckBox* chkDisplayZodiacSectors = nullptr;
  QCheckBox* chkDisplayNATZabbr = nullptr;
  // The program's language; a choice applies at once (ConfigureHost::setLanguage).
  QComboBox* cboLanguage = nullptr;
  QCheckBox* chkShowOnlyOuterPlanets = nullptr;
  QCheckBox* chkShowOnlyEarthAspects = nullptr;
  QCheckBox* chkSaveGraphicWithWhiteBackground = nullptr;
  std::array<QLabel*, 7> lblAspectName{};
  std::array<ColourSample*, 7> lblAspectColor{};
  QPushButton* cmdSetAllNonzeroOrbsToConjunctionOrb = nullptr;
  QPushButton* cmdReset = nullptr;
  QPushButton* cmdAccept = nullptr;
  QPushButton* cmdCancel = nullptr;
  QPushButton* cmdHide = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Escape: as Cancel
  // Every way out (Hide, Cancel, Escape, the close box) ends here: chart
  // filters left both on go back to the pair the chart uses.
  void done(int result) override;

 private:
  void BuildControls();
  void FillLists();
  void ShowColours();
  void FocusAccept();
  void cboOrb7_Click();
  void chkUseBoldface_Click();
  // Cancel, Escape and the close box: the Cancel copy back into the controls
  // and the stored orb positions.
  void RestoreAtCancel();
  std::string ReadFlag(const char* name, const std::string& fallback);
  void WriteFlag(const char* name, bool checked);

  ConfigureHost host_;
  std::array<Colour, 8> colourCopy_ = DefaultOrbSettings().AspectColours;
  std::array<Colour, 8> rememberedColours_{};
  settings::CancelCopy cancelCopy_;
  bool changed_ = false;
  QLabel* label3_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* lblPersonalTransits_ = nullptr;
  QLabel* lblSynastry_ = nullptr;
  QLabel* lblOrbForMidpoints_ = nullptr;
  QLabel* lblOfOrb_ = nullptr;
  QLabel* lblLanguage_ = nullptr;
};

}  // namespace vemo::ui
