// Date rows of the main window (world date, 1st and 2nd birthdate) turned into
// astronomical Julian dates, and the texts that go with them.
//
// Julian date convention used throughout the program:
//   - a day number (JDN) is the integer number of a civil Gregorian day as the
//     calendar library ordalin gives it: 1 January 1 is 1721426, 1 January 2000
//     is 2451545, 31 December 2799 is 2743738;
//   - an astronomical Julian date (AJD) is a double counting days from noon, in
//     Universal Time: AJD = JDN + minutes after local midnight / 1440
//                              - zone offset in minutes east / 1440 - 0.5,
//     so that 2000 January 1, 12h UT is 2451545.0;
//   - a local day value is JDN + minutes after local midnight / 1440 (no zone,
//     no half-day shift); its integer part is the civil day number.
// No time-scale correction (Delta T) is applied anywhere in the program.
//
// The functions work on plain values: the window reads its controls into a
// DateRow, calls a function, and writes the returned row back, so that the user
// sees the cleaned year and the defaulted hour and zone.
#pragma once

#include <functional>
#include <string>

namespace vemo {

// Error codes returned in place of a date (a valid date is always far above 0).
inline constexpr double kDateIncomplete = -1;  // year empty, or month/day blank
inline constexpr double kDateImpossible = -2;  // e.g. 31 April, 29 February 1900
inline constexpr double kDateTooEarly = -3;    // year < 1 or JDN < 1721426
inline constexpr double kDateTooLate = -4;     // year > 2799 or JDN > 2743738

// Accepted range of years and day numbers (proleptic Gregorian calendar).
inline constexpr int kFirstYear = 1;
inline constexpr int kLastYear = 2799;
inline constexpr int kFirstDayNumber = 1721426;  // 1 January 1
inline constexpr int kLastDayNumber = 2743738;   // 31 December 2799

// Sizes of the lists of a date row; entry 0 of each list is a blank entry that
// means "not chosen".
inline constexpr int kMonthEntries = 13;   // blank + 12 months
inline constexpr int kDayEntries = 32;     // blank + "1".."31"
inline constexpr int kHourEntries = 49;    // blank + 48 half hours 00:00..23:30
inline constexpr int kTimezoneEntries = 48;  // blank + 47 zones GMT-11:30..GMT+11:30
inline constexpr int kNoonHourIndex = kHourEntries / 2 + 1;  // entry 25 = 12:00

// Row numbers of the three date rows.
inline constexpr int kWorldRow = 0;
inline constexpr int kFirstBirthRow = 1;
inline constexpr int kSecondBirthRow = 2;

// One row of date inputs, as list positions (0 = blank entry).
struct DateRow {
    std::string yearText;  // what the year box holds, cleaned or not
    int monthIndex = 0;    // 1..12 = January..December
    int dayIndex = 0;      // 1..31
    int hourIndex = 0;     // k >= 1 means (k - 1) * 30 minutes after midnight
    int zoneIndex = 0;     // k >= 1 means the zone of item data (k - 24) * 30 min east

    bool operator==(const DateRow&) const = default;
};

// Result of a date conversion: the value (AJD or local day value) or an error
// code, and the row as the window must show it afterwards (year text cleaned,
// blank hour moved to 12:00, blank zone moved to the local time-zone index,
// each only where the conversion got that far).
struct DateConversion {
    double value = kDateIncomplete;
    DateRow row;

    bool ok() const { return value > 0; }
};

// The year text reduced to its digits ("-44 BC" -> "44", "19x9" -> "199").
std::string CleanYearText(const std::string& yearText);

// Calendar day number of the row's year, month and day (no hour, no zone), or
// -1..-4. The year text is cleaned first; the row itself is not changed.
// Used for the weekday hint of the day list.
int DateRowDayNumber(const DateRow& row);

// AJD in UT of the row, or -1..-4. localZoneIndex is the entry of the
// time-zone list that matches the computer's zone (0 when none matches); it
// replaces a blank zone only when 0 < localZoneIndex < kTimezoneEntries. A zone
// still blank counts as Greenwich.
DateConversion InputDateToAJDate(const DateRow& row, int localZoneIndex);

// Local day value of the row (the zone is not read), or -1..-4. Cleans the
// year and defaults the hour like InputDateToAJDate.
DateConversion InputDateToLocalJD(const DateRow& row);

// Text of a time-zone list entry as the window shows it, used by
// InputDateToString; see timezones.h.
class TimezoneList;

// The row as text, e.g. "January 12, 2024, 14:30 (GMT+1:00)"; "" when the row
// is not a valid date. language: 1 German, anything else English. The zone
// text is the one the window shows for row.zoneIndex in zones. When rowAfter
// is given it receives the row with the year cleaned and the hour defaulted.
std::string InputDateToString(const DateRow& row, bool shortMonths, int language,
                              const TimezoneList& zones, DateRow* rowAfter = nullptr);

// Text of hour-list entry k: "" for 0, "00:00", "00:30", ... "23:30" for 1..48.
std::string HourEntryText(int hourIndex);

// Program-text items used by the date-error message.
inline constexpr int kRowNameItem[3] = {4, 5, 6};      // names of rows 0, 1, 2
inline constexpr int kDateErrorFirstItem = 145;        // 145..148 for -1..-4
inline constexpr int kDateErrorTitleItem = 153;        // title of the message box

// Looks up a program-text item by number (ProgramText of app/text).
using ProgramTextLookup = std::function<std::string(int)>;

// The message that tells why a row's stored value is an error code: the row
// name (item 4, 5 or 6), a blank and the reason (item 145..148 for -1..-4).
// storedValue is rounded to the nearest integer first. Returns "" for a row
// outside 0..2 or a value that is not one of the four codes.
std::string DateErrorMessage(int row, double storedValue, const ProgramTextLookup& text);

// Item of the notice that the computer's zone is not in the lists; its
// marker "[zone]" stands for the computer's offset.
inline constexpr int kZoneNotListedItem = 401;

// The notice for a computer whose zone offset (minutes east) has no entry:
// item 401 with "[zone]" replaced by the offset, e.g. GMT+13:00.
std::string ZoneNotListedNotice(int systemMinutes, const ProgramTextLookup& text);

}  // namespace vemo
