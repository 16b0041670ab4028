// Qt-free rules of the main window, shared with vemo-cli: moving the world
// date by one step, rounding the present instant to the half-hour grid of the
// hour lists, the small mode/row tables that several handlers share, and the
// title line with its orbs. The window reads its controls into these values,
// calls the functions and writes the results back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/aspects/orbs.h"

namespace vemo {

// The world-date row as its controls hold it. List positions follow the
// window's lists: month 1..12, day 1..31, hour entry 1..48 where entry h is
// (h - 1) half hours after local midnight; 0 means "blank entry".
struct StepDate {
  std::string yearText;
  int month = 0;
  int day = 0;
  int hourEntry = 0;
};

// Step sizes in the order of the step list's entries.
enum class StepSize { HalfHour = 0, Day = 1, Week = 2, Month = 3, Year = 4 };

// The calendar the stepping consults. Both default to the proleptic Gregorian
// calendar, which is the calendar of the whole program.
struct StepCalendar {
  // Number of days of month (1..12) in year; the year may be 0 or negative
  // while a carry is in progress.
  std::function<int(int year, int month)> daysInMonth;
  // True when the date exists in the calendar (29 February 1900 does not).
  std::function<bool(int year, int month, int day)> dateExists;
};
StepCalendar GregorianStepCalendar();

// Days of a month of the proleptic Gregorian calendar.
int GregorianDaysInMonth(int year, int month);

// Moves the date by one step forward or back, with every carry:
// half hour -> day -> month -> year. After a month or a year step a day that
// does not exist in the new month is cut back, one day at a time, but never
// below 28 (31 January + 1 month = 28 or 29 February). The year text is
// rewritten only when the year changes. A year text that is not a plain
// number, or a month, day or hour entry out of range, leaves the date as it
// was (the window offers stepping only when all inputs are filled).
// Returns false when nothing was changed for that reason.
bool StepWorldDate(StepDate& date, StepSize size, bool forward,
                   const StepCalendar& calendar = GregorianStepCalendar());

// The present instant on the window's half-hour grid.
struct HalfHourInstant {
  std::int64_t dayNumber = 0;  // civil day number of the local date
  int hourEntry = 0;           // 1..48, as in the hour lists
};

// Rounds a local day value (day number + fraction of the local day since
// midnight) to the nearest half hour. The fraction is first rounded to whole
// minutes; a time exactly 15 minutes past a half hour rounds down, 16 minutes
// past rounds up, and 23:45 or later becomes 00:00 of the next day.
HalfHourInstant RoundToHalfHour(double localDayValue);

// The local day value of the present instant: astronomical Julian date (UT,
// counted from noon) + zone offset in minutes east / 1440 + 0.5.
double LocalDayValueOf(double ajd, int zoneMinutesEast);

// Modes 1..6 as the option buttons number them; 0 when none is set.
// Rows: 0 world date, 1 first birthdate, 2 second birthdate.
bool ModeUsesRow(int mode, int row);
bool IsTwoRowMode(int mode);          // modes 4, 5, 6
bool ModeUsesWorldDate(int mode);     // modes 1, 4, 5

// The window heights of the size rule, in twips.
inline constexpr int kMainWindowWidthTwips = 14400;
inline constexpr int kMinimumHeightTwips = 5000;
inline constexpr int kOneRowHeightTwips = 9565;
inline constexpr int kTwoRowHeightTwips = 10600;
inline constexpr int kCellWidthTwips = 1080;
inline constexpr int kCellHeightTwips = 570;
inline constexpr int kMaxNumCells = 144;
int ModeHeightTwips(int mode);

// The size rule: any width snaps back to the window width; the height stays
// between the minimum and the height of the mode.
struct SizeTwips {
  int width = 0;
  int height = 0;
};
SizeTwips ApplySizeRule(SizeTwips requested, int mode);

// The year box accepts any typing; once a second the window keeps only the
// digits ("19x9" becomes "199").
std::string DigitsOnly(const std::string& text);

// Orb statement of the title line.
struct TitleOrbs {
  bool allOrbsEqual = false;  // judged on the world-transit/natal orbs
  double smallest = 0.0;      // smallest non-zero orb of the set in force, radians
  double largest = 0.0;       // largest orb of the set in force, radians
};
// title + "  " + equalText + " " + orb [+ "."] when all non-zero orbs are
// equal, else title + "  " + rangeText + ": " + smallest + " " + toText + " " +
// largest. formatOrb writes an orb in radians as degrees and minutes.
std::string AddOrbToTitleText(const std::string& title, const TitleOrbs& orbs, bool addPeriod,
                              const std::string& equalText, const std::string& rangeText,
                              const std::string& toText,
                              const std::function<std::string(double)>& formatOrb);

// The orbs a title names: the world-transit/natal set, or the personal set of
// the mode (Synastry's divisor in mode 6, the personal-transit one otherwise).
TitleOrbs TitleOrbsOf(const OrbTable& orbs, bool personal, int mode);

// The title line of mode 1..6 with its orb statement (items 33, 34, 35): for
// modes 1 to 3 item 23 + mode - 1 over the table, 26 + mode - 1 over the
// chart (World transits there with "°" for " degrees"); for modes 4 to 6 item
// 29 + mode - 4. text(n) gives program text item n.
std::string ModeTitleText(int mode, bool chartShown, const OrbTable& orbs,
                          const std::function<std::string(int)>& text);

}  // namespace vemo
