// Shared set-up of the window tests: the settings store and the per-user
// folders point at a temporary directory, message boxes are answered by the
// test, and the window starts with an injected clock and zone.
#pragma once

#include <QMessageBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/frm_main.h"
#include "app/ui/message_box.h"

namespace vemo::ui::testing {

// Entries of the zone lists: GMT and GMT+1:00.
inline constexpr int kGmt = 24;
inline constexpr int kGmtPlus1 = 26;
// Entry of the hour lists that holds hh:mm (entry h is h - 1 half hours
// after midnight).
inline int HourEntry(int hour, int minute) { return 2 * hour + 1 + (minute >= 30 ? 1 : 0); }

// AJD of a local time on a date at GMT+1:00, the zone the tests give the
// computer: civil date y-m-d, hh:mm local.
double LocalAJD(int year, int month, int day, int hour, int minute, int zoneMinutes = 60);

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates and starts the main window; the present instant is `ajd` and the
  // computer's zone `zoneMinutes` east.
  void Start(double ajd, int zoneMinutes = 60, const std::string& programFolder = "");

  // Sets a date row's controls directly (list positions as in the window).
  void SetRow(int row, const char* year, int month, int day, int hourEntry, int zoneEntry);

  // The message boxes shown so far, and the answers the next ones get
  // (Ok / the default when the queue is empty).
  std::vector<MessageBoxRequest> boxes;
  std::deque<QMessageBox::StandardButton> answers;
  bool ended = false;

  // The answer of the picture's save dialog, the filters it was given, and
  // the graphics converter (the real one when empty); set before Start.
  QString saveName;
  QString saveFilter;
  std::vector<QString> dialogs;
  std::vector<QString> dialogFolders;  // the folder each dialog opened in
  vemo::chart::Converter converter;
  // The answer of the open dialog of "Load from", and the per-user state
  // file (empty: vemo.usr in a folder of settingsDir); set before Start.
  QString openName;
  std::string userStatePath;
  // The print dialog's answer: print to this PDF file; "" cancels.
  QString printTo;
  // The language the window starts in (English unless a test sets another;
  // -1: the stored setting, else the system's); set before Start.
  int language = 0;

  // The pause between two steps of a run returns at once after calling
  // onWait (when set) with the milliseconds asked for; with realPause set
  // before Start, the window's own timer runs instead.
  std::function<void(int milliseconds)> onWait;
  bool realPause = false;

  QTemporaryDir settingsDir;
  std::unique_ptr<FrmMain> w;
};

}  // namespace vemo::ui::testing
