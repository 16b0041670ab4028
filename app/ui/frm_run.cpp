#include "app/ui/frm_run.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "app/aspects/vocabulary.h"
#include "app/text/program_text.h"
#include "app/ui/message_box.h"
#include "app/ui/window_utils.h"

namespace vemo::ui {

namespace {

QString Text(int item) { return DisplayText(vemo::ProgramText(item)); }

// Planets 1..9 in the lists; Pluto only when its table was read.
constexpr int kMaxPlanets = 9;

}  // namespace

FrmRun::FrmRun(RunSearchState& shared, QWidget* parent) : QDialog(parent), shared_(shared) {
  setObjectName("frmRun");
  setModal(true);
  BuildControls();
  // The enabled states follow the choices; the clicks update them at once
  // and the timer catches anything else (keyboard changes in a list).
  Timer1.setInterval(250);
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  connect(cmdRun, &QPushButton::clicked, this, [this] { cmdRun_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
  connect(cmdClearAspectPattern, &QPushButton::clicked, this, [this] { cmdClearAspectPattern_Click(); });
  connect(cmdClearAll, &QPushButton::clicked, this, [this] { cmdClearAll_Click(); });
  for (QComboBox* c : {cboAspectPattern, cboSoughtPlanet[0], cboSoughtPlanet[1], cboSoughtPlanet[2], cboNumToFind}) {
    connect(c, &QComboBox::currentIndexChanged, this, [this] { Timer1_Timer(); });
  }
  connect(chkTwoOrMore, &QCheckBox::toggled, this, [this] { Timer1_Timer(); });
  // cboNumToFind is filled once; both boxes start unchecked.
  for (int n = reports::kMinNumToFind; n <= reports::kMaxNumToFind; ++n) cboNumToFind->addItem(QString::number(n));
  cboNumToFind->setCurrentIndex(0);
  FillLists(kMaxPlanets);
  Timer1_Timer();
}

void FrmRun::BuildControls() {
  lblRunUntilFinding = new QLabel(this);
  cboAspectPattern = new QComboBox(this);
  cboAspectPattern->setObjectName("cboAspectPattern");
  cmdClearAspectPattern = new QPushButton(this);
  fraFrame = new QGroupBox(this);
  lblInvolving = new QLabel(fraFrame);
  for (int i = 0; i < reports::kNumSoughtPlanetLists; ++i) {
    cboSoughtPlanet[static_cast<size_t>(i)] = new QComboBox(fraFrame);
    cboSoughtPlanet[static_cast<size_t>(i)]->setObjectName(QStringLiteral("cboSoughtPlanet%1").arg(i));
  }
  cmdClearAll = new QPushButton(fraFrame);
  chkTwoOrMore = new QCheckBox(this);
  cboNumToFind = new QComboBox(this);
  chkRunQuickly = new QCheckBox(this);
  cmdRun = new QPushButton(this);
  cmdCancel = new QPushButton(this);
  cmdRun->setDefault(true);

  auto* patternRow = new QHBoxLayout;
  patternRow->addWidget(cboAspectPattern, 1);
  patternRow->addWidget(cmdClearAspectPattern);

  auto* planets = new QHBoxLayout;
  for (QComboBox* c : cboSoughtPlanet) planets->addWidget(c, 1);
  planets->addWidget(cmdClearAll);
  auto* frameLayout = new QVBoxLayout(fraFrame);
  frameLayout->addWidget(lblInvolving);
  frameLayout->addLayout(planets);

  auto* repeat = new QHBoxLayout;
  repeat->addWidget(chkTwoOrMore);
  repeat->addWidget(cboNumToFind);
  repeat->addStretch(1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdRun);
  buttons->addWidget(cmdCancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(lblRunUntilFinding);
  layout->addLayout(patternRow);
  layout->addWidget(fraFrame);
  layout->addLayout(repeat);
  layout->addWidget(chkRunQuickly);
  layout->addSpacing(6);
  layout->addLayout(buttons);
}

void FrmRun::FillLists(int planetCount) {
  const int patternChoice = cboAspectPattern->currentIndex();
  cboAspectPattern->clear();
  for (int i = 0; i < kNumPatterns; ++i) cboAspectPattern->addItem(QString::fromStdString(PatternName(i)));
  cboAspectPattern->setCurrentIndex(patternChoice < kNumPatterns ? patternChoice : -1);
  const int planetsShown = std::clamp(planetCount, 8, kMaxPlanets);
  for (QComboBox* c : cboSoughtPlanet) {
    const int choice = c->currentIndex();
    c->clear();
    c->addItem(QString());
    for (int p = 1; p <= planetsShown; ++p) c->addItem(QString::fromStdString(PlanetName(p)));
    // A planet no longer in the list (Pluto without its table) goes back to
    // the blank entry.
    c->setCurrentIndex(choice >= 0 && choice <= planetsShown ? choice : 0);
  }
}

void FrmRun::Activate(QWidget* mainWindow, int planetCount) {
  setWindowTitle(Text(36));
  lblRunUntilFinding->setText(Text(423));
  cboAspectPattern->setPlaceholderText(Text(424));
  cmdClearAspectPattern->setText(Text(8));
  lblInvolving->setText(Text(425));
  cmdClearAll->setText(Text(426));
  chkTwoOrMore->setText(Text(121));
  chkRunQuickly->setText(Text(120));
  cmdRun->setText(Text(36));
  cmdCancel->setText(Text(117));
  FillLists(planetCount);
  SetFontNameOfAll(this, QStringLiteral("Arial"));
  Timer1_Timer();
  adjustSize();
  setFixedSize(sizeHint());
  if (mainWindow) {
    const QRect g = mainWindow->frameGeometry();
    move(g.x() + (g.width() - width()) / 2, g.y() + 60);
  }
  cmdRun->setFocus(Qt::OtherFocusReason);
}

void FrmRun::ShowModal(QWidget* mainWindow, int planetCount) {
  // Closing by any way but Run counts as Cancel.
  criteria_.cancelled = true;
  Activate(mainWindow, planetCount);
  Timer1.start();
  if (modalHook_) {
    show();
    modalHook_(*this);
    if (isVisible()) cmdCancel_Click();
  } else {
    exec();
  }
  Timer1.stop();
}

bool FrmRun::RunQuickly() const { return chkRunQuickly->isChecked(); }

std::array<int, reports::kNumSoughtPlanetLists> FrmRun::PlanetSelections() const {
  std::array<int, reports::kNumSoughtPlanetLists> planets{};
  for (size_t i = 0; i < planets.size(); ++i) planets[i] = std::max(0, cboSoughtPlanet[i]->currentIndex());
  return planets;
}

void FrmRun::cmdRun_Click() {
  const std::array<int, reports::kNumSoughtPlanetLists> planets = PlanetSelections();
  if (reports::RepeatedSoughtPlanet(planets) != 0) {
    ShowMessageBox(this, {QMessageBox::Warning, Text(427),
                          Text(428), QMessageBox::Ok, QMessageBox::Ok});
    return;
  }
  // The planet choice belongs to a pattern: without one the run only
  // animates, and left-over planets must not trim its stelliums.
  const int pattern = cboAspectPattern->currentIndex();
  criteria_ = reports::MakeRunCriteria(pattern, pattern >= 0 ? planets : std::array<int, reports::kNumSoughtPlanetLists>{},
                              chkTwoOrMore->isChecked(), cboNumToFind->currentIndex() + reports::kMinNumToFind);
  shared_.AspectPatternToFind = criteria_.patternIndex;
  shared_.SoughtPlanets = criteria_.soughtPlanets;
  shared_.NumPlanetsSought = criteria_.numPlanetsSought;
  shared_.PlanetsSought = criteria_.planetsGiven;
  hide();
  if (isModal()) done(QDialog::Accepted);
}

void FrmRun::cmdCancel_Click() {
  criteria_.cancelled = true;
  criteria_.patternIndex = cboAspectPattern->currentIndex() >= 0 ? cboAspectPattern->currentIndex() : -1;
  hide();
  if (isModal()) done(QDialog::Rejected);
}

void FrmRun::cmdClearAspectPattern_Click() { cboAspectPattern->setCurrentIndex(-1); }

void FrmRun::cmdClearAll_Click() {
  for (QComboBox* c : cboSoughtPlanet) c->setCurrentIndex(0);
}

void FrmRun::Timer1_Timer() {
  fraFrame->setEnabled(cboAspectPattern->currentIndex() >= 0);
  chkTwoOrMore->setEnabled(fraFrame->isEnabled());
  cmdClearAll->setEnabled(false);
  if (fraFrame->isEnabled()) {
    for (const QComboBox* c : cboSoughtPlanet) {
      if (c->currentIndex() >= 1) {
        cmdClearAll->setEnabled(true);
        break;
      }
    }
  }
  // The count is only asked for when "at least this many" is ticked and a
  // pattern is chosen.
  cboNumToFind->setEnabled(chkTwoOrMore->isEnabled() && chkTwoOrMore->isChecked());
  cmdClearAspectPattern->setEnabled(cboAspectPattern->currentIndex() >= 0);
}

void FrmRun::closeEvent(QCloseEvent* event) {
  if (isVisible()) cmdCancel_Click();
  event->accept();
}

void FrmRun::reject() { cmdCancel_Click(); }

}  // namespace vemo::ui
