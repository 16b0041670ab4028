// The registry store over QSettings, pointed at a temporary folder so that
// the user's own settings are never touched.
#include "app/settings/registry.h"
#include "app/settings/configure_core.h"
#include "app/settings/dialog_folders.h"

#include <QDir>
#include <QFileInfo>

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace vemo::settings {
namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
  }
  QTemporaryDir dir_;
};

TEST_F(RegistryTest, ReadsFromAMissingKeyReportKeyNotFound) {
  std::string value = "untouched";
  EXPECT_EQ(RegistryReadString(RegistryRoot::CurrentUser, kRegistryKey, "TZDisp", value),
            "1 Key not found or is empty.");
  EXPECT_EQ(value, "untouched");
}

TEST_F(RegistryTest, WriteCreatesTheKeyThenFindsIt) {
  const std::string first = RegistryWriteString(RegistryRoot::CurrentUser, kRegistryKey, "IPAD", "0");
  EXPECT_EQ(first.rfind("0 New key created.  ", 0), 0u) << first;
  const std::string second = RegistryWriteString(RegistryRoot::CurrentUser, kRegistryKey, "SOEA", "1");
  EXPECT_EQ(second.rfind("0 Key already exists.  ", 0), 0u) << second;
  std::string value;
  EXPECT_EQ(RegistryReadString(RegistryRoot::CurrentUser, kRegistryKey, "IPAD", value), "0 OK");
  EXPECT_EQ(value, "0");
  EXPECT_EQ(RegistryReadString(RegistryRoot::CurrentUser, kRegistryKey, "SOEA", value), "0 OK");
  EXPECT_EQ(value, "1");
}

TEST_F(RegistryTest, ReadStatusTexts) {
  RegistryWriteString(RegistryRoot::CurrentUser, kRegistryKey, "Zodiac sectors", "");
  std::string value;
  EXPECT_EQ(RegistryReadString(RegistryRoot::CurrentUser, kRegistryKey, "", value), "2 Name not specified.");
  EXPECT_EQ(RegistryReadString(RegistryRoot::CurrentUser, kRegistryKey, "TZDisp", value), "3 Name not found.");
  EXPECT_EQ(RegistryReadString(RegistryRoot::CurrentUser, kRegistryKey, "Zodiac sectors", value), "0 Empty value");
  EXPECT_EQ(RegistryReadString(RegistryRoot::CurrentUser, "", "TZDisp", value), "1 Key not found or is empty.");
}

TEST_F(RegistryTest, ValuesLiveUnderTessalyVemo) {
  RegistryWriteString(RegistryRoot::CurrentUser, kRegistryKey, "TZDisp", "1");
  QSettings direct("Tessaly", "VEMO");
  EXPECT_EQ(direct.value("TZDisp").toString(), "1");
  EXPECT_TRUE(direct.fileName().startsWith(dir_.path())) << direct.fileName().toStdString();
}

// Each kind of dialog starts where a file of its kind was last chosen, as
// long as that folder is there; else in the documents (or home) folder.
TEST_F(RegistryTest, DialogsStartInTheFolderLastUsedForTheirKind) {
  const std::string fallback = DialogStartFolder(DialogKind::Picture);
  EXPECT_TRUE(QFileInfo(QString::fromStdString(fallback)).isDir()) << fallback;
  QDir root(dir_.path());
  ASSERT_TRUE(root.mkpath("pictures/ünïcode") && root.mkpath("states") && root.mkpath("gone"));
  const struct {
    DialogKind kind;
    QString chosen;    // the file the dialog returned
    QString expected;  // the folder the next dialog of the kind opens in
  } cases[] = {
      {DialogKind::Picture, root.filePath("pictures/ünïcode/chart.png"), root.filePath("pictures/ünïcode")},
      {DialogKind::State, root.filePath("states/a.qel"), root.filePath("states")},
      {DialogKind::Export, root.filePath("gone/aspects.ics"), QString::fromStdString(fallback)},
  };
  for (const auto& c : cases) RememberDialogFolder(c.kind, c.chosen.toStdString());
  // A name without a folder keeps what was kept.
  RememberDialogFolder(DialogKind::State, "bare.qel");
  ASSERT_TRUE(root.rmdir("gone"));
  for (const auto& c : cases) {
    SCOPED_TRACE(DialogFolderValueName(c.kind));
    EXPECT_EQ(QString::fromStdString(DialogStartFolder(c.kind)), c.expected);
  }
}

}  // namespace
}  // namespace vemo::settings

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
