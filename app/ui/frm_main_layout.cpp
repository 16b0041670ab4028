// frmMain: the controls, their layout and the drawing of the aspect table.
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "app/chart/glyphs.h"
#include "app/text/program_text.h"
#include "app/ui/chart_view.h"
#include "app/ui/frm_main.h"
#include "app/ui/message_box.h"
#include "app/ui/twips.h"
#include "app/ui/window_utils.h"

namespace vemo::ui {

namespace {

// Point sizes: the window's own text and the glyph cells (the glyph font is
// drawn at 14 points).
constexpr int kTextPointSize = 9;
constexpr int kCellPointSize = 8;
// The corner captions of the two-date table ("Transits to 1st birthdate")
// are wrapped onto two or three lines of a smaller size so that they fit the
// 1080-twip cell whole.
constexpr int kCornerPointSize = 7;
constexpr int kGlyphPointSize = 14;

QPushButton* MakeButton(QWidget* parent, const char* name) {
  auto* b = new QPushButton(parent);
  b->setObjectName(QString::fromLatin1(name));
  // Enter on a focused button presses it; the window has no default button.
  b->setAutoDefault(true);
  b->setDefault(false);
  return b;
}

// A layout keeps the sizes it measured until the window lays itself out
// again; this one and those inside it measure afresh when next asked.
void ForgetMeasuredSizes(QLayout* layout) {
  for (int i = 0; i < layout->count(); ++i) {
    if (QLayout* inner = layout->itemAt(i)->layout()) ForgetMeasuredSizes(inner);
  }
  layout->invalidate();
}

}  // namespace

CellBox::CellBox(int index, QWidget* parent) : QLabel(parent), index_(index) {
  setObjectName(QStringLiteral("txbCell%1").arg(index));
  setAlignment(Qt::AlignCenter);
  setAutoFillBackground(true);
  setTextFormat(Qt::PlainText);
}

void CellBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit clicked(index_);
  QLabel::mousePressEvent(event);
}

int FrmMain::CellWidthPixels() const { return TwipsToPixelsX(kCellWidthTwips, this); }
int FrmMain::CellHeightPixels() const { return TwipsToPixelsY(kCellHeightTwips, this); }

void FrmMain::BuildControls() {
  setObjectName("frmMain");
  QFont base(QStringLiteral("Arial"));
  base.setPointSize(kTextPointSize);
  setFont(base);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(8, 6, 8, 4);
  outer->setSpacing(4);

  // --- the three date rows and the command block beside them ---
  auto* top = new QHBoxLayout;
  auto* dates = new QGridLayout;
  dates->setHorizontalSpacing(5);
  dates->setVerticalSpacing(3);
  for (int r = 0; r < 3; ++r) {
    Label1[r] = new QLabel(this);
    txbYearCE[r] = new QLineEdit(this);
    txbYearCE[r]->setObjectName(QStringLiteral("txbYearCE%1").arg(r));
    // Long enough for "-44 BC"; the year is cleaned to digits anyway.
    txbYearCE[r]->setMaxLength(6);
    txbYearCE[r]->setFixedWidth(52);
    cboMonthCE[r] = new QComboBox(this);
    cboMonthCE[r]->setObjectName(QStringLiteral("cboMonthCE%1").arg(r));
    cboMonthCE[r]->setMinimumWidth(100);
    cboDayCE[r] = new QComboBox(this);
    cboDayCE[r]->setObjectName(QStringLiteral("cboDayCE%1").arg(r));
    cboHour[r] = new QComboBox(this);
    cboHour[r]->setObjectName(QStringLiteral("cboHour%1").arg(r));
    cboTimezone[r] = new QComboBox(this);
    cboTimezone[r]->setObjectName(QStringLiteral("cboTimezone%1").arg(r));
    cboTimezone[r]->setMinimumWidth(100);
    cmdClear[r] = MakeButton(this, "cmdClear");
    cmdClear[r]->setObjectName(QStringLiteral("cmdClear%1").arg(r));
    QWidget* rowWidgets[] = {Label1[r], txbYearCE[r], cboMonthCE[r], cboDayCE[r],
                             cboHour[r], cboTimezone[r], cmdClear[r]};
    for (int c = 0; c < 7; ++c) dates->addWidget(rowWidgets[c], r, c);
  }
  top->addLayout(dates);
  top->addSpacing(12);

  auto* commands = new QGridLayout;
  commands->setHorizontalSpacing(5);
  commands->setVerticalSpacing(3);
  cmdNow = MakeButton(this, "cmdNow");
  cmdCompute = MakeButton(this, "cmdCompute");
  cmdConfigure = MakeButton(this, "cmdConfigure");
  cmdForwardBack[0] = MakeButton(this, "cmdForward");
  cmdForwardBack[1] = MakeButton(this, "cmdBack");
  cboForwardBack = new QComboBox(this);
  cboForwardBack->setObjectName("cboForwardBack");
  optDegrees = new QRadioButton(this);
  optRadians = new QRadioButton(this);
  cmdQuit = MakeButton(this, "cmdQuit");
  commands->addWidget(cmdNow, 0, 0);
  commands->addWidget(cmdCompute, 0, 1);
  commands->addWidget(cmdConfigure, 0, 2);
  commands->addWidget(cmdForwardBack[0], 1, 0);
  commands->addWidget(cmdForwardBack[1], 1, 1);
  commands->addWidget(cboForwardBack, 1, 2);
  commands->addWidget(optDegrees, 2, 0);
  commands->addWidget(optRadians, 2, 1);
  commands->addWidget(cmdQuit, 2, 2);
  top->addLayout(commands);
  top->addStretch(1);
  outer->addLayout(top);

  unitGroup_ = new QButtonGroup(this);
  unitGroup_->addButton(optDegrees);
  unitGroup_->addButton(optRadians);
  optDegrees->setChecked(true);

  // --- the six modes and the buttons of the later windows ---
  middleRow_ = new QHBoxLayout;
  modeBox_ = new QGroupBox(this);
  optPlanetary = new QRadioButton(modeBox_);
  optPlanetary->setObjectName("optPlanetary");
  optNatal[0] = new QRadioButton(modeBox_);
  optNatal[1] = new QRadioButton(modeBox_);
  optPersonal[0] = new QRadioButton(modeBox_);
  optPersonal[1] = new QRadioButton(modeBox_);
  optSynastry = new QRadioButton(modeBox_);
  PlaceModeOptions(false);
  modeGroup_ = new QButtonGroup(this);
  modeGroup_->addButton(optPlanetary, 1);
  modeGroup_->addButton(optNatal[0], 2);
  modeGroup_->addButton(optNatal[1], 3);
  modeGroup_->addButton(optPersonal[0], 4);
  modeGroup_->addButton(optPersonal[1], 5);
  modeGroup_->addButton(optSynastry, 6);
  middleRow_->addWidget(modeBox_);
  middleRow_->addSpacing(8);

  auto* later = new QGridLayout;
  later->setHorizontalSpacing(5);
  later->setVerticalSpacing(3);
  cmdRun = MakeButton(this, "cmdRun");
  cmdToggleGraphic = MakeButton(this, "cmdToggleGraphic");
  cmdReport = MakeButton(this, "cmdReport");
  cmdHelp = MakeButton(this, "cmdHelp");
  cmdSaveAs = MakeButton(this, "cmdSaveAs");
  cmdLoadState = MakeButton(this, "cmdLoadState");
  cmdSave = MakeButton(this, "cmdSave");
  cmdRestore = MakeButton(this, "cmdRestore");
  later->addWidget(cmdToggleGraphic, 0, 0);
  later->addWidget(cmdRun, 0, 1);
  later->addWidget(cmdReport, 0, 2);
  later->addWidget(cmdHelp, 0, 3);
  later->addWidget(cmdSave, 1, 0);
  later->addWidget(cmdSaveAs, 1, 1);
  later->addWidget(cmdLoadState, 1, 2);
  later->addWidget(cmdRestore, 1, 3);
  middleRow_->addLayout(later);
  // Beside modes in three rows the buttons stay together, in the middle.
  middleRow_->setAlignment(later, Qt::AlignVCenter);
  middleRow_->addStretch(1);
  outer->addLayout(middleRow_);

  // --- title, table with the text beside it, hint, status line ---
  lblTitle = new QLabel(this);
  lblTitle->setObjectName("lblTitle");
  QFont titleFont = base;
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);
  outer->addWidget(lblTitle);

  auto* tableRow = new QHBoxLayout;
  tableRow->setSpacing(8);
  picTable = new QWidget(this);
  picTable->setObjectName("picTable");
  // No ground of its own: the one-pixel gaps between the cells show the
  // window's colour as grid lines, and hidden cells leave the window's colour.
  picTable->setAutoFillBackground(false);
  for (int i = 0; i < kMaxNumCells; ++i) {
    txbCell[i] = new CellBox(i, picTable);
    txbCell[i]->hide();
    connect(txbCell[i], &CellBox::clicked, this, &FrmMain::aspectCellClicked);
  }
  picGraphic = new ChartView(this);  // the chart and the time graph, in the table's place
  picGraphic->hide();
  tableRow->addWidget(picTable, 0, Qt::AlignTop);
  tableRow->addWidget(picGraphic, 0, Qt::AlignTop);
  txbReport = new QPlainTextEdit(this);
  txbReport->setObjectName("txbReport");
  txbReport1 = new QPlainTextEdit(this);
  txbReport1->setObjectName("txbReport1");
  for (QPlainTextEdit* t : {txbReport, txbReport1}) {
    t->setReadOnly(true);
    t->setFocusPolicy(Qt::ClickFocus);
    tableRow->addWidget(t, 1);
  }
  txbReport1->hide();
  outer->addLayout(tableRow, 1);

  lblClickonAspect = new QLabel(this);
  lblClickonAspect->setObjectName("lblClickonAspect");
  outer->addWidget(lblClickonAspect);

  auto* bottom = new QHBoxLayout;
  lblCopyright = new ElidingLabel(this);
  lblCopyright->setObjectName("lblCopyright");
  lblUserManual = new QLabel(ItemText(443), this);
  lblURL = new QLabel(this);
  lblURL->setObjectName("lblURL");
  lblURL->setTextFormat(Qt::RichText);
  lblURL->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  lblURL->setOpenExternalLinks(false);
  bottom->addWidget(lblCopyright, 1);
  bottom->addWidget(lblUserManual);
  bottom->addWidget(lblURL);
  outer->addLayout(bottom);

  // Tab order follows the rows, then the commands, the modes and the rest.
  QWidget* previous = nullptr;
  auto chain = [&previous](QWidget* w) {
    if (previous) QWidget::setTabOrder(previous, w);
    previous = w;
  };
  for (int r = 0; r < 3; ++r) {
    chain(txbYearCE[r]);
    chain(cboMonthCE[r]);
    chain(cboDayCE[r]);
    chain(cboHour[r]);
    chain(cboTimezone[r]);
    chain(cmdClear[r]);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{
           cmdNow, cmdCompute, cmdConfigure, cmdForwardBack[0], cmdForwardBack[1], cboForwardBack,
           optDegrees, optRadians, cmdQuit, optPlanetary, optSynastry, optNatal[0], optNatal[1],
           optPersonal[0], optPersonal[1], cmdToggleGraphic, cmdRun, cmdReport, cmdHelp, cmdSave,
           cmdSaveAs, cmdLoadState, cmdRestore}) {
    chain(w);
  }
}

void FrmMain::PlaceModeOptions(bool inRows) {
  delete modeBox_->layout();
  auto* grid = new QGridLayout(modeBox_);
  grid->setContentsMargins(6, 2, 6, 2);
  grid->setVerticalSpacing(0);
  // Pairs that belong together: World transits and Synastry, the natal
  // aspects, the personal transits; each pair a column, or a row.
  QRadioButton* const pairs[3][2] = {
      {optPlanetary, optSynastry}, {optNatal[0], optNatal[1]}, {optPersonal[0], optPersonal[1]}};
  for (int pair = 0; pair < 3; ++pair) {
    for (int i = 0; i < 2; ++i) {
      if (inRows) {
        grid->addWidget(pairs[pair][i], pair, i);
      } else {
        grid->addWidget(pairs[pair][i], i, pair);
      }
    }
  }
  // The row around the box measures it afresh (it keeps the size it knew).
  modeBox_->updateGeometry();
}

void FrmMain::FitLayoutToCaptions() {
  // A button whose caption follows the view or a run is as wide as the
  // longer of its captions, so that the buttons beside it stay in place.
  const std::pair<QPushButton*, std::array<int, 2>> changing[] = {
      {cmdToggleGraphic, {37, 41}}, {cmdSaveAs, {39, 42}}, {cmdRun, {36, 43}}};
  for (const auto& [button, items] : changing) {
    const QString shown = button->text();
    int width = 0;
    for (const int item : items) {
      button->setText(Caption(item));
      width = std::max(width, button->sizeHint().width());
    }
    button->setText(shown);
    button->setMinimumWidth(width);
  }
  // The modes stand in three columns of two as long as that row fits the
  // window's fixed width; longer captions (the German ones) put them in
  // three rows of two instead, where the table leaves the height.
  PlaceModeOptions(false);
  ForgetMeasuredSizes(middleRow_);
  const QMargins margins = layout()->contentsMargins();
  const int room = TwipsToPixelsX(kMainWindowWidthTwips, this) - margins.left() - margins.right();
  if (middleRow_->sizeHint().width() > room) PlaceModeOptions(true);
}

void FrmMain::LayOutTable() {
  const int cw = CellWidthPixels();
  const int ch = CellHeightPixels();
  picTable->setFixedSize(intNumCols * cw + 1, intNumRows * ch + 1);
  for (int i = 0; i < kMaxNumCells; ++i) {
    if (i >= intNumCells) {
      txbCell[i]->hide();
      continue;
    }
    const int row = i / intNumCols;
    const int col = i % intNumCols;
    // One pixel of the window between the cells draws the grid.
    txbCell[i]->setGeometry(col * cw + 1, row * ch + 1, cw - 1, ch - 1);
  }
}

void FrmMain::DrawTable() {
  const AspectTable& table = engine_.Table;
  intNumRows = table.NumRows;
  intNumCols = table.NumCols;
  intNumCells = std::min(table.NumCells(), kMaxNumCells);
  LayOutTable();
  QFont cellFont(QStringLiteral("Arial"));
  cellFont.setPointSize(kCellPointSize);
  QFont glyphFont(QString::fromLatin1(chart::kGlyphFontFamily));
  glyphFont.setPointSize(kGlyphPointSize);
  for (int i = 0; i < intNumCells; ++i) {
    const TableCell& cell = table.Cells[static_cast<size_t>(i)];
    CellBox* box = txbCell[i];
    QPalette p = box->palette();
    // Empty aspect cells share the ground of the aspect cells.
    const Colour ground = cell.Role == CellRole::Empty ? kAspectCellBackground : cell.Background;
    p.setColor(QPalette::Window, ColourFromValue(ground));
    p.setColor(QPalette::WindowText, ColourFromValue(cell.TextColour));
    box->setPalette(p);
    if (cell.Role == CellRole::Glyph) {
      box->setFont(glyphFont);
      const char32_t cp = cell.Text.empty() ? 0 : chart::GlyphCodePoint(cell.Text[0]);
      box->setText(cp ? QString::fromUcs4(&cp, 1) : QString());
      box->setToolTip(QString::fromStdString(vemo::PlanetName(cell.GlyphPlanet)));
    } else {
      QFont f = cellFont;
      f.setBold(cell.Bold);
      const bool corner = cell.Role == CellRole::Corner;
      if (corner) f.setPointSize(kCornerPointSize);
      box->setFont(f);
      box->setWordWrap(corner);
      box->setText(DisplayText(cell.Text));
      box->setToolTip(QString());
    }
    box->setVisible(cell.Visible);
  }
  for (int i = intNumCells; i < kMaxNumCells; ++i) txbCell[i]->hide();
}

void FrmMain::ShowSummary() {
  const AspectTable& table = engine_.Table;
  if (table.TwoDate) {
    txbReport1->setPlainText(DisplayText(table.Summary));
    txbReport->hide();
    txbReport1->show();
  } else {
    txbReport->setPlainText(DisplayText(table.ReportText()));
    txbReport1->hide();
    txbReport->show();
  }
}

}  // namespace vemo::ui
