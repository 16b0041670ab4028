// Every caption shows whole, in English and in German: the controls of the
// main window in each mode beside the table and beside the chart, the cells
// of each table with their corner captions, the settings window, the run
// window, the report in its two faces and the help viewer. CTest runs the
// same checks once more with the windows scaled to 150 %.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>

#include <string>
#include <vector>

#include "app/ui/frm_configure.h"
#include "app/ui/frm_durations.h"
#include "app/ui/frm_run.h"
#include "app/ui/frm_view.h"
#include "tests/ui/window_test_support.h"

namespace vemo::ui::testing {
namespace {

QString Name(const QWidget* c) {
  return c->objectName().isEmpty() ? QString::fromLatin1(c->metaObject()->className()) : c->objectName();
}

// The size a control's text takes, against the room the control gives it
// ("" when it fits or there is no text). A label's room is its contents; a
// button's, what the style leaves beside the box or mark; a list's, its edit
// field, which must hold each entry and the placeholder.
QString Misfit(const QWidget* c) {
  const QFontMetrics fm(c->font());
  auto tooSmall = [c](const QString& text, QSize needed, QSize room) {
    if (needed.width() <= room.width() && needed.height() <= room.height()) return QString();
    return QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6")
        .arg(Name(c), text)
        .arg(needed.width())
        .arg(needed.height())
        .arg(room.width())
        .arg(room.height());
  };
  if (const auto* b = qobject_cast<const QAbstractButton*>(c); b != nullptr && !b->text().isEmpty()) {
    QStyleOptionButton option;
    option.initFrom(b);
    option.text = b->text();
    const auto element = qobject_cast<const QRadioButton*>(b)  ? QStyle::SE_RadioButtonContents
                         : qobject_cast<const QCheckBox*>(b) ? QStyle::SE_CheckBoxContents
                                                             : QStyle::SE_PushButtonContents;
    return tooSmall(b->text(), fm.size(Qt::TextShowMnemonic, b->text()),
                    b->style()->subElementRect(element, &option, b).size());
  }
  if (const auto* l = qobject_cast<const QLabel*>(c); l != nullptr && !l->text().isEmpty()) {
    const QRect room = l->contentsRect();
    const int flags = static_cast<int>(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0) |
                      (l->buddy() != nullptr ? Qt::TextShowMnemonic : 0);
    const QSize needed = l->textFormat() == Qt::RichText ? l->sizeHint() : fm.boundingRect(room, flags, l->text()).size();
    return tooSmall(l->text(), needed, room.size());
  }
  if (const auto* box = qobject_cast<const QComboBox*>(c)) {
    QStyleOptionComboBox option;
    option.initFrom(box);
    const QRect room = box->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, box);
    QStringList entries{box->placeholderText()};
    for (int i = 0; i < box->count(); ++i) entries.push_back(box->itemText(i));
    for (const QString& entry : entries) {
      if (QString m = tooSmall(entry, fm.size(0, entry), room.size()); !m.isEmpty()) return m;
    }
  }
  return {};
}

// What of a shown window does not fit: a text wider or taller than its room,
// a control reaching out of the control that holds it, two controls on top
// of each other.
std::vector<std::string> Misfits(QWidget* window) {
  QApplication::processEvents();  // the layouts follow changed captions on the next round
  std::vector<std::string> found;
  std::vector<const QWidget*> shown;
  for (const QWidget* c : window->findChildren<QWidget*>()) {
    if (c->window() != window || !c->isVisible() || c->parentWidget()->inherits("QComboBox")) continue;
    if (!qobject_cast<const QAbstractButton*>(c) && !qobject_cast<const QLabel*>(c) &&
        !qobject_cast<const QComboBox*>(c) && !qobject_cast<const QGroupBox*>(c)) {
      continue;
    }
    shown.push_back(c);
    if (const QString m = Misfit(c); !m.isEmpty()) found.push_back(m.toStdString());
    if (!c->parentWidget()->rect().contains(c->geometry())) {
      found.push_back(Name(c).toStdString() + " reaches out of " + Name(c->parentWidget()).toStdString());
    }
  }
  for (size_t i = 0; i < shown.size(); ++i) {
    for (size_t j = i + 1; j < shown.size(); ++j) {
      if (shown[i]->parentWidget() == shown[j]->parentWidget() && shown[i]->geometry().intersects(shown[j]->geometry())) {
        found.push_back(Name(shown[i]).toStdString() + " overlaps " + Name(shown[j]).toStdString());
      }
    }
  }
  return found;
}

// The language the windows start in, and the one they are switched to
// while running (the layout must follow a switch as it follows a start).
struct Languages {
  const char* name;
  int start;
  int shown;
};

class CaptionFitTest : public WindowTest, public ::testing::WithParamInterface<Languages> {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    language = GetParam().start;
    Start(LocalAJD(2024, 6, 15, 14, 10));
    w->SetLanguage(GetParam().shown);
    SetRow(1, "1969", 7, 20, HourEntry(20, 30), kGmt);
    SetRow(2, "1982", 3, 10, HourEntry(8, 0), kGmtPlus1);
  }
};

TEST_P(CaptionFitTest, MainWindowInEveryModeBesideTheTableAndTheChart) {
  for (QRadioButton* mode : {w->optPlanetary, w->optNatal[0], w->optNatal[1], w->optPersonal[0], w->optPersonal[1],
                             w->optSynastry}) {
    mode->click();
    for (const bool chart : {false, true}) {
      SCOPED_TRACE(mode->text().toStdString() + (chart ? ", chart" : ", table"));
      if (chart) w->cmdToggleGraphic_Click();
      w->Timer1_Timer();
      EXPECT_EQ(Misfits(w.get()), std::vector<std::string>{});
      if (chart) w->cmdToggleGraphic_Click();
    }
  }
}

TEST_P(CaptionFitTest, LaterWindows) {
  FrmConfigure* configure = w->Configure();
  configure->Activate();
  configure->show();
  EXPECT_EQ(Misfits(configure), std::vector<std::string>{}) << "settings";
  configure->hide();

  FrmRun* run = w->RunWindow();
  run->Activate(w.get(), w->Engine().PlanetCount);
  run->show();
  EXPECT_EQ(Misfits(run), std::vector<std::string>{}) << "run, no pattern";
  run->cboAspectPattern->setCurrentIndex(0);
  EXPECT_EQ(Misfits(run), std::vector<std::string>{}) << "run, a pattern";
  run->hide();

  for (QRadioButton* mode : {w->optPlanetary, w->optNatal[0], w->optSynastry}) {
    mode->click();
    w->cmdReport_Click();
    FrmDurations* report = w->Durations();
    EXPECT_EQ(Misfits(report), std::vector<std::string>{}) << "report " << mode->text().toStdString();
    if (report->chkShowDuration->isEnabled()) {
      report->chkShowDuration->click();
      EXPECT_EQ(Misfits(report), std::vector<std::string>{}) << "report without durations";
    }
    report->hide();
  }

  w->cmdHelp_Click();
  FrmView* viewer = w->HelpViewer();
  EXPECT_EQ(Misfits(viewer), std::vector<std::string>{}) << "help";
  // The copy button the viewer shows for other texts, in both its captions.
  viewer->hide();
  viewer->blnCopyToClipboardInvisible = false;
  viewer->blnFileDisplayed = false;
  viewer->show();
  EXPECT_EQ(Misfits(viewer), std::vector<std::string>{}) << "viewer";
  viewer->txbText1->selectAll();
  EXPECT_EQ(Misfits(viewer), std::vector<std::string>{}) << "viewer, text selected";
}

INSTANTIATE_TEST_SUITE_P(Languages, CaptionFitTest,
                         ::testing::Values(Languages{"English", 0, 0}, Languages{"German", 1, 1},
                                           Languages{"GermanAfterEnglish", 0, 1},
                                           Languages{"EnglishAfterGerman", 1, 0}),
                         [](const ::testing::TestParamInfo<Languages>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vemo::ui::testing
