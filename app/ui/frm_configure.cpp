#include "app/ui/frm_configure.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/settings/registry.h"
#include "app/text/languages.h"
#include "app/text/program_text.h"
#include "app/ui/message_box.h"
#include "app/ui/window_utils.h"

namespace vemo::ui {

namespace {

QString Text(int item) { return DisplayText(vemo::ProgramText(item)); }

const char* const kColourLine = "------------------------------";

}  // namespace

ColourSample::ColourSample(QWidget* parent) : QLabel(QString::fromLatin1(kColourLine), parent) {
  setCursor(Qt::PointingHandCursor);
}

void ColourSample::mousePressEvent(QMouseEvent* event) {
  emit pressed(event->button());
  event->accept();
}

FrmConfigure::FrmConfigure(ConfigureHost host, QWidget* parent)
    : QDialog(parent), host_(std::move(host)) {
  setObjectName("frmConfigure");
  setWindowTitle(Text(429));
  setModal(true);
  BuildControls();
}

void FrmConfigure::BuildControls() {
  auto* outer = new QVBoxLayout(this);

  label3_ = new QLabel(this);
  label3_->setObjectName("Label3");
  label3_->setWordWrap(true);
  outer->addWidget(label3_);

  // Orbs and colours of the seven kinds.
  auto* orbGrid = new QGridLayout;
  for (int i = 0; i < 7; ++i) {
    lblAspectName[i] = new QLabel(QString::fromStdString(vemo::Aspect(i + 1).Name), this);
    cboOrb[i] = new QComboBox(this);
    lblAspectName[i]->setBuddy(cboOrb[i]);
    cboOrb[i]->setObjectName(QStringLiteral("cboOrb%1").arg(i));
    lblAspectColor[i] = new ColourSample(this);
    lblAspectColor[i]->setObjectName(QStringLiteral("lblAspectColor%1").arg(i));
    orbGrid->addWidget(lblAspectName[i], i, 0);
    orbGrid->addWidget(cboOrb[i], i, 1);
    orbGrid->addWidget(lblAspectColor[i], i, 2);
    const int kind = i + 1;
    connect(lblAspectColor[i], &ColourSample::pressed, this,
            [this, kind](Qt::MouseButton b) { lblAspectColor_MouseDown(kind, b); });
    connect(cboOrb[i], QOverload<int>::of(&QComboBox::activated), this, [this] { FocusAccept(); });
  }
  cmdSetAllNonzeroOrbsToConjunctionOrb = new QPushButton(this);
  cmdSetAllNonzeroOrbsToConjunctionOrb->setObjectName("cmdSetAllNonzeroOrbsToConjunctionOrb");
  cboOrb[7] = new QComboBox(this);
  cboOrb[7]->setObjectName("cboOrb7");
  orbGrid->addWidget(cmdSetAllNonzeroOrbsToConjunctionOrb, 7, 0);
  orbGrid->addWidget(cboOrb[7], 7, 1);
  orbGrid->setColumnStretch(2, 1);
  connect(cboOrb[7], QOverload<int>::of(&QComboBox::activated), this, [this] { cboOrb7_Click(); });
  connect(cmdSetAllNonzeroOrbsToConjunctionOrb, &QPushButton::clicked, this,
          [this] { cmdSetAllNonzeroOrbsToConjunctionOrb_Click(); });

  // Proportions of the orbs in the two-date modes, and the midpoint orb.
  label1_ = new QLabel(this);
  lblPersonalTransits_ = new QLabel(this);
  lblSynastry_ = new QLabel(this);
  lblOrbForMidpoints_ = new QLabel(this);
  cboPersonalOrbsProportion[0] = new QComboBox(this);
  cboPersonalOrbsProportion[1] = new QComboBox(this);
  cboOrbForMidpoints = new QComboBox(this);
  // A label's access key moves to the list it names.
  lblPersonalTransits_->setBuddy(cboPersonalOrbsProportion[0]);
  lblSynastry_->setBuddy(cboPersonalOrbsProportion[1]);
  lblOrbForMidpoints_->setBuddy(cboOrbForMidpoints);
  auto* propGrid = new QGridLayout;
  propGrid->addWidget(label1_, 0, 0, 1, 4);
  propGrid->addWidget(lblPersonalTransits_, 1, 0);
  propGrid->addWidget(cboPersonalOrbsProportion[0], 1, 1);
  propGrid->addWidget(lblSynastry_, 1, 2);
  propGrid->addWidget(cboPersonalOrbsProportion[1], 1, 3);
  propGrid->addWidget(lblOrbForMidpoints_, 2, 0, 1, 3);
  propGrid->addWidget(cboOrbForMidpoints, 2, 3);
  propGrid->setColumnStretch(4, 1);
  for (QComboBox* c : {cboPersonalOrbsProportion[0], cboPersonalOrbsProportion[1], cboOrbForMidpoints}) {
    connect(c, QOverload<int>::of(&QComboBox::activated), this, [this] { FocusAccept(); });
  }

  // Boldface rule.
  chkUseBoldface = new QCheckBox(this);
  chkUseBoldface->setObjectName("chkUseBoldface");
  opt1DegOfOrb = new QRadioButton(this);
  optProportionOfOrb = new QRadioButton(this);
  cboBoldfaceFactor = new QComboBox(this);
  lblOfOrb_ = new QLabel(this);
  auto* boldRow = new QHBoxLayout;
  boldRow->addWidget(chkUseBoldface);
  boldRow->addWidget(opt1DegOfOrb);
  boldRow->addWidget(optProportionOfOrb);
  boldRow->addWidget(cboBoldfaceFactor);
  boldRow->addWidget(lblOfOrb_);
  boldRow->addStretch(1);
  connect(chkUseBoldface, &QCheckBox::clicked, this, [this] { chkUseBoldface_Click(); });
  for (QRadioButton* r : {opt1DegOfOrb, optProportionOfOrb}) {
    connect(r, &QRadioButton::clicked, this, [this] { FocusAccept(); });
  }
  connect(cboBoldfaceFactor, QOverload<int>::of(&QComboBox::activated), this, [this] { FocusAccept(); });

  // Chart and list options.
  chkUseColor = new QCheckBox(this);
  chkDisplayZodiacSectors = new QCheckBox(this);
  chkDisplayNATZabbr = new QCheckBox(this);
  chkShowOnlyOuterPlanets = new QCheckBox(this);
  chkShowOnlyEarthAspects = new QCheckBox(this);
  chkSaveGraphicWithWhiteBackground = new QCheckBox(this);
  chkSaveGraphicWithWhiteBackground->setVisible(false);  // shown without caption; nothing reads it yet
  auto* options = new QGridLayout;
  options->addWidget(chkDisplayZodiacSectors, 0, 0);
  options->addWidget(chkShowOnlyOuterPlanets, 0, 1);
  options->addWidget(chkDisplayNATZabbr, 1, 0);
  options->addWidget(chkShowOnlyEarthAspects, 1, 1);
  options->addWidget(chkUseColor, 2, 0);
  options->addWidget(chkSaveGraphicWithWhiteBackground, 2, 1);
  // Each language is named in its own words, whatever the language shown.
  lblLanguage_ = new QLabel(this);
  cboLanguage = new QComboBox(this);
  cboLanguage->setObjectName("cboLanguage");
  cboLanguage->addItem(QStringLiteral("English"));
  cboLanguage->addItem(QStringLiteral("Deutsch"));
  lblLanguage_->setBuddy(cboLanguage);
  auto* languageRow = new QHBoxLayout;
  languageRow->addWidget(lblLanguage_);
  languageRow->addWidget(cboLanguage);
  languageRow->addStretch(1);
  options->addLayout(languageRow, 3, 0, 1, 2);
  connect(cboLanguage, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
    if (host_.setLanguage) host_.setLanguage(index);
  });
  for (QCheckBox* c : {chkUseColor, chkDisplayZodiacSectors, chkDisplayNATZabbr, chkShowOnlyOuterPlanets,
                       chkShowOnlyEarthAspects, chkSaveGraphicWithWhiteBackground}) {
    connect(c, &QCheckBox::clicked, this, [this] { FocusAccept(); });
  }

  // Buttons. None is a default button: Enter presses the focused one.
  cmdReset = new QPushButton(this);
  cmdAccept = new QPushButton(this);
  cmdCancel = new QPushButton(this);
  cmdHide = new QPushButton(this);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdReset);
  buttons->addStretch(1);
  buttons->addWidget(cmdAccept);
  buttons->addWidget(cmdCancel);
  buttons->addWidget(cmdHide);
  for (QPushButton* b : {cmdSetAllNonzeroOrbsToConjunctionOrb, cmdReset, cmdAccept, cmdCancel, cmdHide}) {
    b->setAutoDefault(true);
    b->setDefault(false);
  }
  connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
  connect(cmdAccept, &QPushButton::clicked, this, [this] { cmdAccept_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
  connect(cmdHide, &QPushButton::clicked, this, [this] { cmdHide_Click(); });

  auto* orbBox = new QGroupBox(this);
  orbBox->setLayout(orbGrid);
  auto* propBox = new QGroupBox(this);
  propBox->setLayout(propGrid);
  auto* boldBox = new QGroupBox(this);
  boldBox->setLayout(boldRow);
  auto* optBox = new QGroupBox(this);
  optBox->setLayout(options);
  outer->addWidget(orbBox);
  outer->addWidget(propBox);
  outer->addWidget(boldBox);
  outer->addWidget(optBox);
  outer->addLayout(buttons);
  outer->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmConfigure::FillLists() {
  for (QComboBox* c : cboOrb) {
    c->clear();
    for (int i = 0; i < kOrbListEntries; ++i) {
      c->addItem(QString::fromStdString(OrbListText(i)), OrbMinutesOfListIndex(i));
    }
  }
  for (QComboBox* c : cboPersonalOrbsProportion) {
    c->clear();
    for (int i = 0; i < kProportionListEntries; ++i) {
      c->addItem(QString::fromStdString(ProportionListText(i)), ProportionDivisorOfListIndex(i));
    }
  }
  cboOrbForMidpoints->clear();
  for (int i = 0; i < kMidpointOrbListEntries; ++i) {
    cboOrbForMidpoints->addItem(QString::fromStdString(MidpointOrbListText(i)));
  }
  cboBoldfaceFactor->clear();
  for (int i = 0; i < kBoldfaceFactorEntries; ++i) {
    cboBoldfaceFactor->addItem(QString::fromStdString(BoldfaceFactorListText(i)),
                               BoldfaceDivisorOfListIndex(i));
  }
}

void FrmConfigure::WindowLoad() {
  FillLists();
  cmdReset_Click();  // hidden: nothing is asked and nothing accepted
  AspectColours = colourCopy_;
  OrbListIndex = ControlValues().orbs.OrbListIndex;
  SetTZDisp();
  SetDisplayZodiacSectors();
  chkShowOnlyOuterPlanets->setChecked(false);
  chkShowOnlyEarthAspects->setChecked(false);
  ShowOnlyOuterPlanets = false;
  ShowOnlyEarthAspects = false;
  SetFontNameOfAll(this, QStringLiteral("Arial"));
  for (ColourSample* s : lblAspectColor) {
    QFont f = s->font();
    f.setFamily(QStringLiteral("MS Sans Serif"));
    f.setBold(true);
    s->setFont(f);
  }
}

void FrmConfigure::SetLanguageDependentText(const QString& windowCaption) {
  setWindowTitle(windowCaption);
  label3_->setText(Text(354) + "\n" + Text(355) + "\n" + Text(356));
  label1_->setText(Text(357));
  // Access keys, none repeated in this window: the seven kinds' orbs
  // (j, p, a, i, x, m, q; "Halbsextil" has no m and takes t), then the
  // other controls.
  const bool german = vemo::LanguageIndex() == vemo::kGerman;
  static constexpr char kKindKeys[7] = {'j', 'p', 'a', 'i', 'x', 'm', 'q'};
  for (int i = 0; i < 7; ++i) {
    const char letter = german && i + 1 == vemo::kSemisextile ? 't' : kKindKeys[i];
    lblAspectName[i]->setText(WithAccessKey(QString::fromStdString(vemo::Aspect(i + 1).Name), QLatin1Char(letter)));
  }
  // The other controls' letters, English and German (the German captions
  // lack some English letters; the kinds' letters are kept in both).
  const auto key = [german](char16_t english, char16_t inGerman) { return QChar(german ? inGerman : english); };
  cmdSetAllNonzeroOrbsToConjunctionOrb->setText(WithAccessKey(Text(358), key(u'S', u'l')));
  lblPersonalTransits_->setText(WithAccessKey(Text(161), key(u'l', u'r')));
  // German nouns keep their capital.
  lblSynastry_->setText(WithAccessKey(german ? Text(14) : Text(14).toLower(), key(u'y', u'y')));
  lblOrbForMidpoints_->setText(WithAccessKey(Text(359), key(u'f', u'f')));
  chkUseBoldface->setText(WithAccessKey(Text(360), key(u'B', u'd')));
  opt1DegOfOrb->setText(WithAccessKey(Text(361), key(u'1', u'1')));
  lblOfOrb_->setText(Text(362));
  chkUseColor->setText(WithAccessKey(Text(411), key(u'o', u'v')));
  chkDisplayZodiacSectors->setText(WithAccessKey(Text(363), key(u'z', u'k')));
  chkDisplayNATZabbr->setText(WithAccessKey(Text(364), key(u'N', u'N')));
  chkShowOnlyOuterPlanets->setText(WithAccessKey(Text(412), key(u't', u'o')));
  chkShowOnlyEarthAspects->setText(WithAccessKey(Text(413), key(u'E', u'E')));
  cmdReset->setText(WithAccessKey(Text(368), key(u'R', u'S')));
  cmdAccept->setText(WithAccessKey(Text(369), key(u'U', u'\u00DC')));
  cmdCancel->setText(WithAccessKey(Text(117), key(u'C', u'b')));
  cmdHide->setText(WithAccessKey(Text(372), key(u'H', u'u')));
  lblLanguage_->setText(WithAccessKey(Text(410), key(u'g', u'c')));
  cboLanguage->setCurrentIndex(vemo::LanguageIndex());
}

bool FrmConfigure::ShowModal() {
  changed_ = false;
  Activate();
  exec();
  return changed_;
}

void FrmConfigure::Activate() {
  if (host_.mainWindow) {
    if (QWidget* main = host_.mainWindow()) {
      const QRect g = main->frameGeometry();
      adjustSize();
      move(g.x() + (g.width() - width()) / 2, g.y() + 40);
    }
  }
  for (int i = 0; i < 8; ++i) cboOrb[i]->setCurrentIndex(OrbListIndex[i]);
  colourCopy_ = AspectColours;
  ShowColours();
  cancelCopy_ = settings::TakeCancelCopy(ControlValues(), OrbListIndex);
  SetDisplayZodiacSectors();
  cmdCancel->setFocus(Qt::OtherFocusReason);
}

void FrmConfigure::ShowColours() {
  for (int i = 0; i < 7; ++i) {
    QPalette p = lblAspectColor[i]->palette();
    p.setColor(QPalette::WindowText, ColourFromValue(colourCopy_[i + 1]));
    lblAspectColor[i]->setPalette(p);
    lblAspectColor[i]->setToolTip(colourCopy_[i + 1] == 0 ? Text(430) : QString());
  }
}

void FrmConfigure::FocusAccept() { SetFocusIfPossible(cmdAccept); }

void FrmConfigure::cboOrb7_Click() {
  if (cboOrb[7]->currentIndex() == 0) {
    ShowMessageBox(this, {QMessageBox::Information, Text(431),
                              Text(432), QMessageBox::Ok,
                              QMessageBox::Ok});
    cboOrb[7]->setCurrentIndex(1);
  }
  FocusAccept();
}

void FrmConfigure::chkUseBoldface_Click() {
  const bool on = chkUseBoldface->isChecked();
  opt1DegOfOrb->setEnabled(on);
  optProportionOfOrb->setEnabled(on);
  cboBoldfaceFactor->setEnabled(on);
  lblOfOrb_->setEnabled(on);
}

void FrmConfigure::cmdSetAllNonzeroOrbsToConjunctionOrb_Click() {
  const int value = cboOrb[7]->currentIndex();
  QString question = Text(391);
  question.replace(QStringLiteral("NEW_ORB"), QString::number(value) + QStringLiteral("°"));
  const auto answer = ShowMessageBox(
      this, {QMessageBox::Question, Text(390), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No});
  if (answer != QMessageBox::Yes) return;
  settings::ConfigureValues v = ControlValues();
  settings::SetAllNonzeroOrbs(v);
  for (int i = 0; i < 7; ++i) cboOrb[i]->setCurrentIndex(v.orbs.OrbListIndex[i]);
  for (int i = 0; i < 8; ++i) OrbListIndex[i] = cboOrb[i]->currentIndex();
}

void FrmConfigure::lblAspectColor_MouseDown(int kind, Qt::MouseButton button) {
  if (kind < 1 || kind > 7) return;
  Colour& c = colourCopy_[kind];
  if (button == Qt::LeftButton) {
    c = vemo::NextPaletteColour(c);
  } else {
    settings::ToggleColourOff(c, rememberedColours_[kind]);
  }
  ShowColours();
}

void FrmConfigure::cmdAccept_Click() {
  if (chkShowOnlyEarthAspects->isChecked() && chkShowOnlyOuterPlanets->isChecked()) {
    ShowMessageBox(this, {QMessageBox::Information, windowTitle(),
                              DisplayText(settings::ChartFiltersConflictMessage()), QMessageBox::Ok,
                              QMessageBox::Ok});
    return;
  }
  AspectColours = colourCopy_;
  for (int i = 0; i < 8; ++i) OrbListIndex[i] = cboOrb[i]->currentIndex();
  if (host_.setUpTimezoneComboBoxesKeep) host_.setUpTimezoneComboBoxesKeep();
  DisplayZodiacSectors = chkDisplayZodiacSectors->isChecked();
  ShowOnlyOuterPlanets = chkShowOnlyOuterPlanets->isChecked();
  ShowOnlyEarthAspects = chkShowOnlyEarthAspects->isChecked();
  // Each activation reads "Zodiac sectors" back from the registry, so an
  // accepted choice is stored here; otherwise it would be lost the next time
  // the window opens. The zone-name choice is stored for the next start.
  WriteDisplayZodiacSectorsToRegistry();
  WriteTZDispToRegistry();
  // What is accepted stays: a later Cancel only drops changes made after.
  cancelCopy_ = settings::TakeCancelCopy(ControlValues(), OrbListIndex);
  changed_ = true;
  if (host_.mainWindow) {
    if (QWidget* main = host_.mainWindow(); main && main->isMinimized()) main->showNormal();
  }
  if (host_.compute) host_.compute();  // SetOrbs runs at the start of every Compute
}

void FrmConfigure::RestoreAtCancel() {
  settings::ConfigureValues v = ControlValues();
  settings::RestoreCancelCopy(v, OrbListIndex, cancelCopy_);
  SetControlValues(v);
}

void FrmConfigure::cmdCancel_Click() {
  RestoreAtCancel();
  done(QDialog::Rejected);  // hides, and ends the modal loop
}

void FrmConfigure::cmdHide_Click() { done(QDialog::Rejected); }

void FrmConfigure::cmdReset_Click() {
  if (isVisible() && host_.startupCompleted && host_.startupCompleted()) {
    const auto answer = ShowMessageBox(
        this, {QMessageBox::Question, PlainCaption(cmdReset), Text(396) + "\n" + Text(395),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No});
    if (answer != QMessageBox::Yes) return;
  }
  settings::ConfigureValues v = ControlValues();
  settings::ResetToDefaults(v);
  SetControlValues(v);
  for (int i = 0; i < 8; ++i) OrbListIndex[i] = cboOrb[i]->currentIndex();
  if (isVisible()) cmdAccept_Click();
}

void FrmConfigure::done(int result) {
  // Hide keeps unaccepted changes, but not a pair of chart filters the chart
  // refuses: it keeps drawing with the accepted pair, and the boxes (which a
  // Save writes to the state file and the registry) must say the same.
  settings::ConfigureValues v = ControlValues();
  settings::KeepAcceptedChartFilters(v, ShowOnlyOuterPlanets, ShowOnlyEarthAspects);
  chkShowOnlyOuterPlanets->setChecked(v.showOnlyOuterPlanets);
  chkShowOnlyEarthAspects->setChecked(v.showOnlyEarthAspects);
  QDialog::done(result);
}

void FrmConfigure::closeEvent(QCloseEvent* event) {
  if (isVisible()) {
    ShowMessageBox(this, {QMessageBox::Information, QStringLiteral("X"),
                              Text(392) + "\n" + Text(393) + "\n" + Text(394), QMessageBox::Ok,
                              QMessageBox::Ok});
    cmdCancel_Click();
  }
  event->accept();
}

void FrmConfigure::reject() {
  // Escape and the window system's close request end like Cancel.
  if (isVisible()) RestoreAtCancel();
  QDialog::reject();
}

settings::ConfigureValues FrmConfigure::ControlValues() const {
  settings::ConfigureValues v;
  for (int i = 0; i < 8; ++i) v.orbs.OrbListIndex[i] = cboOrb[i]->currentIndex();
  v.orbs.ProportionListIndex = {cboPersonalOrbsProportion[0]->currentIndex(),
                                cboPersonalOrbsProportion[1]->currentIndex()};
  v.orbs.MidpointOrbListIndex = cboOrbForMidpoints->currentIndex();
  v.orbs.UseBoldface = chkUseBoldface->isChecked();
  v.orbs.BoldfaceOneDegree = opt1DegOfOrb->isChecked();
  v.orbs.BoldfaceFactorListIndex = cboBoldfaceFactor->currentIndex();
  v.orbs.AspectColours = colourCopy_;
  v.useColor = chkUseColor->isChecked();
  v.displayZodiacSectors = chkDisplayZodiacSectors->isChecked();
  v.showOnlyOuterPlanets = chkShowOnlyOuterPlanets->isChecked();
  v.showOnlyEarthAspects = chkShowOnlyEarthAspects->isChecked();
  v.saveGraphicWithWhiteBackground = chkSaveGraphicWithWhiteBackground->isChecked();
  v.displayNATZabbr = chkDisplayNATZabbr->isChecked();
  return v;
}

void FrmConfigure::SetControlValues(const settings::ConfigureValues& v) {
  for (int i = 0; i < 8; ++i) cboOrb[i]->setCurrentIndex(v.orbs.OrbListIndex[i]);
  cboPersonalOrbsProportion[0]->setCurrentIndex(v.orbs.ProportionListIndex[0]);
  cboPersonalOrbsProportion[1]->setCurrentIndex(v.orbs.ProportionListIndex[1]);
  cboOrbForMidpoints->setCurrentIndex(v.orbs.MidpointOrbListIndex);
  chkUseBoldface->setChecked(v.orbs.UseBoldface);
  opt1DegOfOrb->setChecked(v.orbs.BoldfaceOneDegree);
  optProportionOfOrb->setChecked(!v.orbs.BoldfaceOneDegree);
  cboBoldfaceFactor->setCurrentIndex(v.orbs.BoldfaceFactorListIndex);
  colourCopy_ = v.orbs.AspectColours;
  chkUseColor->setChecked(v.useColor);
  chkDisplayZodiacSectors->setChecked(v.displayZodiacSectors);
  chkShowOnlyOuterPlanets->setChecked(v.showOnlyOuterPlanets);
  chkShowOnlyEarthAspects->setChecked(v.showOnlyEarthAspects);
  chkSaveGraphicWithWhiteBackground->setChecked(v.saveGraphicWithWhiteBackground);
  chkDisplayNATZabbr->setChecked(v.displayNATZabbr);
  chkUseBoldface_Click();
  ShowColours();
}

OrbSettings FrmConfigure::SettingsForCompute() const {
  OrbSettings s = ControlValues().orbs;
  s.OrbListIndex = OrbListIndex;
  s.AspectColours = AspectColours;
  return s;
}

bool FrmConfigure::DisplayNATZabbrChecked() const { return chkDisplayNATZabbr->isChecked(); }

// --- registry ------------------------------------------------------------

std::string FrmConfigure::ReadFlag(const char* name, const std::string& fallback) {
  std::string stored;
  const std::string status = settings::RegistryReadString(settings::RegistryRoot::CurrentUser, settings::kRegistryKey, name, stored);
  return settings::RegistryFlagValue(status, stored, fallback);
}

void FrmConfigure::WriteFlag(const char* name, bool checked) {
  // A failed write is not shown: the setting then simply is not kept.
  (void)settings::RegistryWriteString(settings::RegistryRoot::CurrentUser, settings::kRegistryKey, name, checked ? "1" : "0");
}

void FrmConfigure::SetTZDisp() {
  const int zone = host_.systemTimezoneMinutes ? host_.systemTimezoneMinutes() : 0;
  chkDisplayNATZabbr->setChecked(ReadFlag(settings::kTZDispName, settings::DefaultTZDisp(zone)) == "1");
  WriteTZDispToRegistry();
}

void FrmConfigure::SetDisplayZodiacSectors() {
  chkDisplayZodiacSectors->setChecked(ReadFlag(settings::kZodiacSectorsName, "1") == "1");
  WriteDisplayZodiacSectorsToRegistry();
  DisplayZodiacSectors = chkDisplayZodiacSectors->isChecked();
}

void FrmConfigure::SetInnerPlanetAspectDisplay() {
  chkShowOnlyOuterPlanets->setChecked(ReadFlag(settings::kInnerPlanetAspectDisplayName, "1") == "1");
  WriteInnerPlanetAspectDisplayToRegistry();
  ShowOnlyOuterPlanets = chkShowOnlyOuterPlanets->isChecked();
}

void FrmConfigure::SetShowOnlyEarthAspects() {
  chkShowOnlyEarthAspects->setChecked(ReadFlag(settings::kShowOnlyEarthAspectsName, "1") == "1");
  WriteShowOnlyEarthAspectsToRegistry();
  ShowOnlyEarthAspects = chkShowOnlyEarthAspects->isChecked();
}

void FrmConfigure::ClearConflictingChartFilters() {
  if (!settings::ChartFiltersConflict(ControlValues())) return;
  chkShowOnlyOuterPlanets->setChecked(false);
  chkShowOnlyEarthAspects->setChecked(false);
  ShowOnlyOuterPlanets = false;
  ShowOnlyEarthAspects = false;
  WriteInnerPlanetAspectDisplayToRegistry();
  WriteShowOnlyEarthAspectsToRegistry();
}

void FrmConfigure::WriteTZDispToRegistry() { WriteFlag(settings::kTZDispName, chkDisplayNATZabbr->isChecked()); }
void FrmConfigure::WriteDisplayZodiacSectorsToRegistry() {
  WriteFlag(settings::kZodiacSectorsName, chkDisplayZodiacSectors->isChecked());
}
void FrmConfigure::WriteInnerPlanetAspectDisplayToRegistry() {
  WriteFlag(settings::kInnerPlanetAspectDisplayName, chkShowOnlyOuterPlanets->isChecked());
}
void FrmConfigure::WriteShowOnlyEarthAspectsToRegistry() {
  WriteFlag(settings::kShowOnlyEarthAspectsName, chkShowOnlyEarthAspects->isChecked());
}

}  // namespace vemo::ui
