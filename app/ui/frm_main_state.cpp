// The saved states of the main window: the per-user file vemo.usr (read at
// start-up, written by Save and at Quit, read again by Restore) and the .qel
// files of "Save as ..." and "Load from ...". The file format and its checks
// live in app/settings/state_file.h; here the controls become a state and a
// state becomes the controls again.

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/text/program_text.h"
#include "app/time/dates.h"
#include "app/time/escaped_text.h"
#include "app/time/file_writer.h"
#include "app/ui/chart_view.h"
#include "app/ui/frm_configure.h"
#include "app/ui/frm_main.h"
#include "app/ui/frm_popup.h"
#include "app/ui/message_box.h"
#include "app/ui/window_utils.h"

namespace vemo::ui {

namespace {

QString Text(int item) { return DisplayText(vemo::ProgramText(item)); }

constexpr int kSavedItem = 128;            // pop-up after a save
constexpr int kSavedToItem = 129;          // status line after Save as
constexpr int kSaveAsTitleItem = 130;      // title of the save dialog
constexpr int kStateFilesItem = 131;       // name of the file type
constexpr int kQuitQuestionItem = 149;
constexpr int kLoadTitleItem = 384;        // title of the open dialog
constexpr int kLoadErrorTitleItem = 385;
constexpr int kLoadErrorItem = 386;
constexpr int kLoadedFromItem = 387;       // status line after Load from
constexpr int kRestoredItem = 399;         // pop-up after Restore
constexpr int kBrokenUserStateItem = 402;  // status line: vemo.usr unreadable
constexpr int kSetAsideItem = 403;         // ... and where it was moved
constexpr int kPopUpMilliseconds = 2000;

// Lower case, as on systems whose file names are case-sensitive.
constexpr const char* kUserStateFolder = "Tessaly";
constexpr const char* kUserStateFile = "vemo.usr";

QString StateFilter() { return Text(kStateFilesItem) + QStringLiteral(" (*.qel)"); }

// An error of a state file as the message boxes show it: the reason, then
// the file (both may quote what the file holds).
QString FileErrorText(const std::string& error, const std::string& path) {
  return OutsideText(error) + QStringLiteral("\n\n") + OutsideText(path);
}

QString StateNotSavedText(const std::string& path, const FileWriteResult& result) {
  return WriteFailureText(ItemText(449), path, result);
}

// The folder of the per-user file, made again (with any missing parents)
// when it was removed while the program ran; start-up makes it the same way.
// Not ok, with the reason, when it cannot be made.
FileWriteResult MakeFolderOf(const std::string& path) {
  FileWriteResult made;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::u8path(FolderOf(path)), ec);
  made.ok = !ec;
  if (ec) made.reason = "its folder could not be created: " + ec.message();
  return made;
}

}  // namespace

QString FrmMain::AskStateFileName(bool save, const QString& title) {
  if (!save) return AskOpenFileName(options_.openFileName, this, title, settings::DialogKind::State, StateFilter());
  // A name typed without extension gets ".qel", and the overwrite question
  // is asked for the name with it.
  QString selected = StateFilter();
  return AskSaveFileName(options_.saveFileName, this, title, settings::DialogKind::State, {StateFilter()},
                         {QStringLiteral("qel")}, &selected);
}

vemo::settings::SavedState FrmMain::StateOfControls() const {
  vemo::settings::SavedState s;
  for (std::size_t r = 0; r < 3; ++r) {
    const DateRow row = ReadRow(static_cast<int>(r));
    s.rows[r] = {row.monthIndex, row.dayIndex, txbYearCE[r]->text().toStdString(), row.hourIndex, row.zoneIndex};
  }
  for (int m = 1; m <= 6; ++m) s.modes[static_cast<std::size_t>(m - 1)] = OptionOfMode(m)->isChecked();
  s.stepSize = std::max(0, cboForwardBack->currentIndex());
  s.useColor = configure_->ControlValues().useColor;
  s.orbs = configure_->SettingsForCompute();
  return s;
}

void FrmMain::ApplyState(const vemo::settings::SavedState& s) {
  for (std::size_t r = 0; r < 3; ++r) {
    const auto& row = s.rows[r];
    cboMonthCE[r]->setCurrentIndex(row.month);
    txbYearCE[r]->setText(QString::fromStdString(row.year));
    cboHour[r]->setCurrentIndex(row.hour);
    cboDayCE[r]->setCurrentIndex(row.day);
    cboTimezone[r]->setCurrentIndex(row.zone);
  }
  suppressOptionEvents_ = true;
  for (int m = 1; m <= 6; ++m) {
    if (s.modes[static_cast<std::size_t>(m - 1)]) OptionOfMode(m)->setChecked(true);
  }
  suppressOptionEvents_ = false;
  cboForwardBack->setCurrentIndex(s.stepSize);
  // The chart options kept in the registry stay as they are; the white
  // background of saved pictures is always off after a state was read.
  vemo::settings::ConfigureValues values = configure_->ControlValues();
  values.orbs = s.orbs;
  values.useColor = s.useColor;
  values.saveGraphicWithWhiteBackground = false;
  configure_->SetControlValues(values);
  configure_->OrbListIndex = s.orbs.OrbListIndex;
  configure_->AspectColours = s.orbs.AspectColours;
}

void FrmMain::MarkStateJustRead() {
  stateJustRead_ = true;
  ticksSinceStateRead_ = 0;
}

FileWriteResult FrmMain::WriteStateFile(const std::string& path) {
  const FileWriteResult written = WriteFileWhole(path, vemo::settings::FormatStateFile(StateOfControls()));
  if (!written.ok) return written;
  MarkStateJustRead();
  configure_->WriteInnerPlanetAspectDisplayToRegistry();
  configure_->WriteShowOnlyEarthAspectsToRegistry();
  configure_->WriteTZDispToRegistry();
  return written;
}

std::string FrmMain::ReadStateFile(const std::string& path) {
  std::string text;
  if (std::string error = vemo::settings::ReadStateText(path, text); !error.empty()) return error;
  const std::array<int, 3> zoneEntries{cboTimezone[0]->count(), cboTimezone[1]->count(), cboTimezone[2]->count()};
  const vemo::settings::StateParse parsed = vemo::settings::ParseStateFile(text, zoneEntries, configure_->AspectColours);
  if (!parsed.ok) return parsed.error;
  loading_ = true;
  ApplyState(parsed.state);
  configure_->SetShowOnlyEarthAspects();
  configure_->SetInnerPlanetAspectDisplay();
  configure_->SetTZDisp();
  configure_->ClearConflictingChartFilters();
  SetUpTimezoneComboBoxes(true);
  loading_ = false;
  MarkStateJustRead();
  return "";
}

void FrmMain::ComputeLoadedState() {
  // The natal modes come back as stored; any other mode as World transits,
  // since a personal-transit or synastry table needs dates the user has not
  // looked at yet.
  int row = 0;
  if (optNatal[0]->isChecked()) {
    row = 1;
  } else if (optNatal[1]->isChecked()) {
    row = 2;
  } else {
    suppressOptionEvents_ = true;
    optPlanetary->setChecked(true);
    suppressOptionEvents_ = false;
  }
  if (vemo::InputDateToAJDate(ReadRow(row), localTimezoneIndex_).ok()) {
    cmdCompute_Click();
    picTable->show();
  } else {
    StartWithNow();
  }
}

std::string FrmMain::RestoreUserState() {
  userStatePath_ = options_.userStatePath;
  if (userStatePath_.empty()) {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    userStatePath_ =
        QFile::encodeName(QDir(base).filePath(QStringLiteral("%1/%2").arg(kUserStateFolder, kUserStateFile))).toStdString();
  }
  QDir().mkpath(QFileInfo(QString::fromStdString(userStatePath_)).absolutePath());
  std::error_code ec;
  const std::filesystem::path path = std::filesystem::u8path(userStatePath_);
  if (!std::filesystem::exists(path, ec)) {
    StartWithNow();
    return "";
  }
  const std::string error = ReadStateFile(userStatePath_);
  if (error.empty()) {
    ComputeLoadedState();
    return "";
  }
  // Start as a new user would, but keep the broken file where the next Save
  // or Quit cannot overwrite it, so that it can still be repaired: under
  // vemo.usr.bad, or .bad.2, .bad.3 ... when that is taken (an earlier broken
  // file is never replaced).
  StartWithNow();
  std::vector<std::string> names{userStatePath_ + ".bad"};
  for (int n = 2; n <= 99; ++n) names.push_back(userStatePath_ + ".bad." + std::to_string(n));
  std::string moveError;
  const std::string aside = MoveToFreeName(userStatePath_, names, &moveError);
  // The status line names the new file; stderr has the paths and the reason.
  const std::string broken = vemo::ProgramText(kBrokenUserStateItem);
  const std::string setAside = " " + vemo::ProgramText(kSetAsideItem) + " ";
  std::fprintf(stderr, "vemo: %s: %s\n", EscapedForDisplay(userStatePath_).c_str(), EscapedForDisplay(error).c_str());
  if (aside.empty()) {
    std::fprintf(stderr, "vemo: %s (it could not be set aside: %s)\n", broken.c_str(), moveError.c_str());
    return broken;
  }
  std::fprintf(stderr, "vemo: %s%s\n", broken.c_str(), (setAside + EscapedForDisplay(aside)).c_str());
  return broken + setAside + EscapedForDisplay(aside.substr(aside.find_last_of("/\\") + 1)) + ".";
}

void FrmMain::cmdSave_Click() {
  FileWriteResult written = MakeFolderOf(userStatePath_);
  if (written.ok) written = WriteStateFile(userStatePath_);
  if (!written.ok) {
    ShowMessageBox(this, {QMessageBox::Warning, PlainCaption(cmdSave), StateNotSavedText(userStatePath_, written),
                          QMessageBox::Ok, QMessageBox::Ok});
    return;
  }
  popUp_->PopUp(Text(kSavedItem), kPopUpMilliseconds, cmdSave);
  RefreshEnabledStates();
  SetFocusIfPossible(cmdCompute);
}

void FrmMain::cmdRestore_Click() {
  if (const std::string error = ReadStateFile(userStatePath_); !error.empty()) {
    ShowMessageBox(this, {QMessageBox::Warning, PlainCaption(cmdRestore), FileErrorText(error, userStatePath_),
                          QMessageBox::Ok, QMessageBox::Ok});
    return;
  }
  cmdCompute_Click();
  ApplyModeHeight();
  popUp_->PopUp(Text(kRestoredItem), kPopUpMilliseconds, cmdRestore);
}

void FrmMain::SaveStateAs() {
  const QString name = AskStateFileName(true, Text(kSaveAsTitleItem));
  if (name.isEmpty()) return;
  const std::string path = FileSystemName(this, PlainCaption(cmdSaveAs), name);
  if (path.empty()) return;
  if (const FileWriteResult written = WriteStateFile(path); !written.ok) {
    ShowMessageBox(this, {QMessageBox::Warning, PlainCaption(cmdSaveAs), StateNotSavedText(path, written), QMessageBox::Ok,
                          QMessageBox::Ok});
    return;
  }
  popUp_->PopUp(Text(kSavedItem), kPopUpMilliseconds, cmdSaveAs);
  lblCopyright->setText(Text(kSavedToItem) + QStringLiteral(" ") + OutsideText(path));
}

void FrmMain::cmdLoadState_Click() {
  const QString name = AskStateFileName(false, Text(kLoadTitleItem));
  if (name.isEmpty()) return;
  const std::string path = FileSystemName(this, Text(kLoadErrorTitleItem), name);
  if (path.empty()) return;
  if (const std::string error = ReadStateFile(path); !error.empty()) {
    ShowMessageBox(this, {QMessageBox::Warning, Text(kLoadErrorTitleItem),
                          Text(kLoadErrorItem) + QStringLiteral("\n\n") + FileErrorText(error, path),
                          QMessageBox::Ok, QMessageBox::Ok});
    return;
  }
  if (!picGraphic->isHidden()) cmdToggleGraphic_Click();
  ComputeLoadedState();
  ApplyModeHeight();
  SetTitle();
  SetClickHint();
  lblCopyright->setText(Text(kLoadedFromItem) + QStringLiteral(" ") + OutsideText(path));
  MarkStateJustRead();
}

void FrmMain::cmdQuit_Click() {
  if (ending_) return;
  // A state written or read a moment ago is what the user would save.
  if (stateJustRead_) {
    EndProgram();
    return;
  }
  const auto answer =
      ShowMessageBox(this, {QMessageBox::Question, PlainCaption(cmdQuit), Text(kQuitQuestionItem),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No});
  if (answer != QMessageBox::Yes && answer != QMessageBox::No) return;
  if (answer == QMessageBox::Yes) {
    // A state that cannot be written keeps the program running: the user
    // may try again, save elsewhere, or answer No.
    FileWriteResult written = MakeFolderOf(userStatePath_);
    if (written.ok) written = WriteStateFile(userStatePath_);
    if (!written.ok) {
      ShowMessageBox(this, {QMessageBox::Warning, PlainCaption(cmdQuit), StateNotSavedText(userStatePath_, written),
                            QMessageBox::Ok, QMessageBox::Ok});
      return;
    }
  }
  EndProgram();
}

}  // namespace vemo::ui
