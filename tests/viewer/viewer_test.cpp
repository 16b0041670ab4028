#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <vector>

#include "app/reports/weblink_core.h"
#include "app/text/program_text.h"
#include "app/ui/frm_view.h"
#include "app/ui/message_box.h"
#include "app/ui/twips.h"
#include "app/ui/weblink.h"

namespace vemo::ui {
namespace {

const QString kHead = QStringLiteral(
    "NOTE: This file is too large to display entirely in this textbox.\r\nTo view the entire contents of the "
    "file load it into NotePad,\r\nWordPad or some other text editor.\r\n\r\n");
const QString kTail = QStringLiteral("\r\n\r\nNOTE: Entire contents of file have not been displayed.\r\n");
const qsizetype kBody = 65530 - kHead.size() - (kTail.size() - 4);  // the tail's blank line is not counted

TEST(ViewerText, KeepsShortTextsAndCutsLongOnesOnWholeCharacters) {
  // {length, what stands at kBody-1 and kBody (none when empty), text kept of the file}
  struct Case { qsizetype length; QString pair; qsizetype kept; };
  const std::vector<Case> cases = {
      {65529, {}, 65529},
      {65530, {}, kBody},
      {70000, QString::fromUtf8("\U0001F600"), kBody - 1},  // a surrogate pair across the cut
      {70000, QStringLiteral("\r\n"), kBody - 1},
      {70000, QStringLiteral("\n\r"), kBody},
  };
  for (const Case& c : cases) {
    QString text(c.length, QLatin1Char('a'));
    if (!c.pair.isEmpty()) text.replace(kBody - 1, 2, c.pair);
    const QString shown = ViewerText(text);
    if (c.kept == c.length) {
      EXPECT_EQ(shown, text);
      continue;
    }
    EXPECT_EQ(shown, kHead + text.left(c.kept) + kTail) << c.length << " " << c.pair.size();
    EXPECT_EQ(shown.size(), c.kept == kBody ? 65534 : 65533);
  }
}

TEST(FileExtension, LastComponentOnly) {
  struct Case { const char* path; bool lower; const char* ext; };
  for (const Case& c : std::vector<Case>{{"C:\\a.b\\file", true, ""}, {"x/y.HTM", true, "htm"},
                                         {"x/y.HTM", false, "HTM"}, {"noext", true, ""},
                                         {"/m.d/index.tar.GZ", true, "gz"}, {"dot.", false, ""}}) {
    EXPECT_EQ(reports::FileExtension(c.path, c.lower), c.ext) << c.path;
  }
}

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetMessageBoxHook([this](const MessageBoxRequest& r) { boxes.push_back(r); return QMessageBox::Ok; });
    SetUrlOpenerForTesting([this](const QUrl& u) { opened.push_back(u); return openerAnswer; });
    name = dir.filePath(QStringLiteral("vemo_help.txt"));
    w.strFilename = name.toStdString();
  }
  void TearDown() override {
    SetMessageBoxHook({});
    SetUrlOpenerForTesting({});
  }
  void Write(const QByteArray& bytes) {
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
  int Tw(int twips) { return TwipsToPixelsX(twips, &w); }

  QTemporaryDir dir;
  QString name;
  FrmView w;
  std::vector<MessageBoxRequest> boxes;
  std::vector<QUrl> opened;
  bool openerAnswer = false;
};

TEST_F(ViewerTest, ReadsOnceAndKeepsTheTextWhenShownAgain) {
  Write("one \xC3\xA9\r\ntwo\r\n");
  w.show();
  EXPECT_EQ(w.txbText1->toPlainText(), QString::fromUtf8("one \u00e9\ntwo\n"));
  EXPECT_TRUE(w.blnFileDisplayed);
  EXPECT_EQ(w.txbText1->textCursor().position(), 0);
  Write("changed");
  w.close();
  EXPECT_TRUE(w.isHidden());
  w.show();
  EXPECT_EQ(w.txbText1->toPlainText(), QString::fromUtf8("one \u00e9\ntwo\n"));
  QTest::keyClick(w.txbText1, Qt::Key_Escape);
  EXPECT_TRUE(w.isHidden());
}

TEST_F(ViewerTest, MissingFileShowsOneLineAndIsReadOnceItExists) {
  w.show();
  EXPECT_EQ(w.txbText1->toPlainText(),
            QStringLiteral("The file \"%1\" cannot be read: No such file or directory").arg(name));
  EXPECT_FALSE(w.blnFileDisplayed);
  Write("here now");
  w.cmdClose_Click();
  w.show();
  EXPECT_EQ(w.txbText1->toPlainText(), QStringLiteral("here now"));
  EXPECT_TRUE(w.blnFileDisplayed);
}

TEST_F(ViewerTest, CopiesSelectionOrWholeTextAndSwitchesTheCaption) {
  Write("alpha\r\nbeta\r\n");
  w.show();
  QTextCursor c = w.txbText1->textCursor();
  c.setPosition(2);
  c.setPosition(8, QTextCursor::KeepAnchor);
  w.txbText1->setTextCursor(c);
  EXPECT_EQ(w.cmdCopyToClipboard->text(), QStringLiteral("Copy selected text to clipboard"));
  EXPECT_EQ(w.cmdCopyToClipboard->width(), Tw(4425));
  w.cmdCopyToClipboard->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("pha\r\nbe"));
  EXPECT_EQ(w.cmdCopyToClipboard->text(), QStringLiteral("Copy to clipboard"));
  EXPECT_EQ(w.cmdCopyToClipboard->width(), Tw(3270));
  EXPECT_EQ(w.focusWidget(), w.cmdClose);
  c.clearSelection();
  w.txbText1->setTextCursor(c);
  w.cmdCopyToClipboard_Click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("alpha\r\nbeta\r\n"));
}

TEST_F(ViewerTest, LayoutFollowsTheWindowDownToItsMinimum) {
  w.show();
  w.resize(1000, 700);
  const QRect box = w.txbText1->geometry();
  EXPECT_EQ(box.width(), 1000 - Tw(450));
  EXPECT_EQ(box.height(), 700 - TwipsToPixelsY(1200, &w));
  EXPECT_EQ(w.cmdCopyToClipboard->x(), box.left());
  EXPECT_EQ(w.cmdClose->geometry().right(), box.right());
  EXPECT_EQ(w.cmdClose->y(), box.bottom() + 1 + TwipsToPixelsY(100, &w));
  w.resize(10, 10);
  EXPECT_EQ(w.width(), Tw(8000));
  EXPECT_EQ(w.height(), TwipsToPixelsY(2000, &w));
}

TEST_F(ViewerTest, HelpHidesTheCopyButtonAndSitsOverTheMainWindow) {
  Write("help");
  QWidget main;
  main.setGeometry(100, 80, 1200, 900);
  main.show();
  w.ShowHelp(&main, dir.path(), QStringLiteral("vemo help"));
  EXPECT_TRUE(w.cmdCopyToClipboard->isHidden());
  EXPECT_EQ(w.windowTitle(), QStringLiteral("vemo help"));
  EXPECT_EQ(w.txbText1->toPlainText(), QStringLiteral("help"));
  EXPECT_EQ(w.txbText1->font().family(), QStringLiteral("Arial"));
  EXPECT_EQ(w.size(), QSize(1200 - Tw(200), 900 - TwipsToPixelsY(480, &w)));
  w.txbText1->selectAll();
  EXPECT_EQ(w.cmdCopyToClipboard->text(), QStringLiteral("Copy to clipboard"));
}

TEST_F(ViewerTest, HelpFollowsTheLanguageAndFallsBackToEnglish) {
  Write("help");
  vemo::SetLanguageIndex(1);
  w.ShowHelp(nullptr, dir.path(), QStringLiteral("Hilfe"));
  EXPECT_EQ(w.txbText1->toPlainText(), QStringLiteral("help"));  // no German file yet
  QFile german(dir.filePath(QStringLiteral("vemo_help.de.txt")));
  ASSERT_TRUE(german.open(QIODevice::WriteOnly));
  german.write("Hilfe");
  german.close();
  w.ShowHelp(nullptr, dir.path(), QStringLiteral("Hilfe"));
  EXPECT_EQ(w.txbText1->toPlainText(), QStringLiteral("Hilfe"));
  vemo::SetLanguageIndex(0);
  w.ShowHelp(nullptr, dir.path(), QStringLiteral("Help"));  // shown already: read again
  EXPECT_EQ(w.txbText1->toPlainText(), QStringLiteral("help"));
}

TEST_F(ViewerTest, LaunchNamesTheExtensionOrTheMissingFile) {
  EXPECT_FALSE(LaunchInBrowser("https://example.org/manual", nullptr));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://example.org/manual")));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].icon, QMessageBox::Warning);
  EXPECT_EQ(boxes[0].title, QStringLiteral("Cannot launch web browser"));
  EXPECT_EQ(boxes[0].text, QStringLiteral("Error launching web browser, error code = 31.\r\n\r\n"
                                          "File extension '' is not associated with any application program."));
  Write("<html/>");
  const QString page = dir.filePath(QStringLiteral("Index.HTML"));
  QFile::rename(name, page);
  EXPECT_FALSE(LaunchInBrowser(page.toStdString(), nullptr));
  EXPECT_EQ(opened.back(), QUrl::fromLocalFile(page));
  EXPECT_TRUE(boxes.back().text.contains(QStringLiteral("'html'")));
  openerAnswer = true;
  EXPECT_TRUE(LaunchInBrowser(QUrl::fromLocalFile(page).toString().toStdString(), nullptr));
  EXPECT_EQ(boxes.size(), 2u);
  EXPECT_FALSE(LaunchInBrowser(name.toStdString(), nullptr));
  EXPECT_EQ(opened.size(), 3u);
  EXPECT_TRUE(boxes.back().text.endsWith(QStringLiteral(":\r\n") + name)) << boxes.back().text.toStdString();
}

}  // namespace
}  // namespace vemo::ui
