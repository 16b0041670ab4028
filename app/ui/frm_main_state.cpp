// The saved states of the main window: the per-user file vemo.usr (read at
// start-up, written by Save and at Quit, read again by Restore) and the .qel
// files of "Save as ..." and "Load from ...". The file format and its checks
// live in app/settings/state_file.h; here the controls become a state and a
// state becomes the controls again.

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
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
// the file.
QString FileErrorText(const std::string& error, const std::string& path) {
  return QString::fromStdString(error) + QStringLiteral("\n\n") + QString::fromStdString(path);
}

}  // namespace

QString FrmMain::AskStateFileName(bool save, const QString& title) {
  if (save && options_.saveFileName) {
    QString selected = StateFilter();
    return options_.saveFileName(this, title, StateFilter(), &selected);
  }
  if (!save && options_.openFileName) return options_.openFileName(this, title, StateFilter());
  // A name typed without extension gets ".qel", and the overwrite question
  // is asked for the name with it.
  QFileDialog dialog(this, title, QString(), StateFilter());
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("qel"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().front();
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

std::string FrmMain::WriteStateFile(const std::string& path) {
  const std::string error = vemo::settings::WriteFileReplacing(path, vemo::settings::FormatStateFile(StateOfControls()));
  if (!error.empty()) return error;
  MarkStateJustRead();
  configure_->WriteInnerPlanetAspectDisplayToRegistry();
  configure_->WriteShowOnlyEarthAspectsToRegistry();
  configure_->WriteTZDispToRegistry();
  return "";
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
    userStatePath_ = QDir(base).filePath(QStringLiteral("%1/%2").arg(kUserStateFolder, kUserStateFile)).toStdString();
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
  // or Quit cannot overwrite it, so that it can still be repaired.
  StartWithNow();
  const std::string aside = userStatePath_ + ".bad";
  std::filesystem::rename(path, std::filesystem::u8path(aside), ec);
  // The status line names the new file; stderr has the paths and the reason.
  const std::string broken = vemo::ProgramText(kBrokenUserStateItem);
  const std::string setAside = " " + vemo::ProgramText(kSetAsideItem) + " ";
  std::fprintf(stderr, "vemo: %s: %s\n", userStatePath_.c_str(), error.c_str());
  std::fprintf(stderr, "vemo: %s%s\n", broken.c_str(), ec ? "" : (setAside + aside).c_str());
  if (ec) return broken;
  return broken + setAside + QFileInfo(QString::fromStdString(aside)).fileName().toStdString() + ".";
}

void FrmMain::cmdSave_Click() {
  if (const std::string error = WriteStateFile(userStatePath_); !error.empty()) {
    ShowMessageBox(this, {QMessageBox::Warning, cmdSave->text(), FileErrorText(error, userStatePath_), QMessageBox::Ok,
                          QMessageBox::Ok});
    return;
  }
  popUp_->PopUp(Text(kSavedItem), kPopUpMilliseconds, cmdSave);
  RefreshEnabledStates();
  SetFocusIfPossible(cmdCompute);
}

void FrmMain::cmdRestore_Click() {
  if (const std::string error = ReadStateFile(userStatePath_); !error.empty()) {
    ShowMessageBox(this, {QMessageBox::Warning, cmdRestore->text(), FileErrorText(error, userStatePath_),
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
  const std::string path = name.toStdString();
  if (const std::string error = WriteStateFile(path); !error.empty()) {
    ShowMessageBox(this, {QMessageBox::Warning, cmdSaveAs->text(), FileErrorText(error, path), QMessageBox::Ok,
                          QMessageBox::Ok});
    return;
  }
  popUp_->PopUp(Text(kSavedItem), kPopUpMilliseconds, cmdSaveAs);
  lblCopyright->setText(Text(kSavedToItem) + QStringLiteral(" ") + name);
}

void FrmMain::cmdLoadState_Click() {
  const QString name = AskStateFileName(false, Text(kLoadTitleItem));
  if (name.isEmpty()) return;
  if (const std::string error = ReadStateFile(name.toStdString()); !error.empty()) {
    ShowMessageBox(this, {QMessageBox::Warning, Text(kLoadErrorTitleItem),
                          Text(kLoadErrorItem) + QStringLiteral("\n\n") + FileErrorText(error, name.toStdString()),
                          QMessageBox::Ok, QMessageBox::Ok});
    return;
  }
  if (!picGraphic->isHidden()) cmdToggleGraphic_Click();
  ComputeLoadedState();
  ApplyModeHeight();
  SetTitle();
  SetClickHint();
  lblCopyright->setText(Text(kLoadedFromItem) + QStringLiteral(" ") + name);
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
      ShowMessageBox(this, {QMessageBox::Question, cmdQuit->text(), Text(kQuitQuestionItem),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No});
  if (answer != QMessageBox::Yes && answer != QMessageBox::No) return;
  if (answer == QMessageBox::Yes) {
    // A state that cannot be written keeps the program running: the user
    // may try again, save elsewhere, or answer No.
    if (const std::string error = WriteStateFile(userStatePath_); !error.empty()) {
      ShowMessageBox(this, {QMessageBox::Warning, cmdQuit->text(), FileErrorText(error, userStatePath_),
                            QMessageBox::Ok, QMessageBox::Ok});
      return;
    }
  }
  EndProgram();
}

}  // namespace vemo::ui
