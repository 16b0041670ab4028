// Date and time texts, month and weekday names, and the present instant.
//
// Languages: 1 is German, every other value English (the program text's
// language flag).
#pragma once

#include <atomic>
#include <string>

namespace vemo {

inline constexpr int kEnglish = 0;
inline constexpr int kGerman = 1;

namespace detail {
inline std::atomic<int> programLanguage{kEnglish};
}  // namespace detail

// The language the program speaks: its program text, the names of planets
// and aspects, and its messages. One for the process (each loaded module has
// its own copy), read by the threads that format events.
inline int ProgramLanguage() { return detail::programLanguage.load(std::memory_order_relaxed); }
inline void SetProgramLanguage(int language) { detail::programLanguage.store(language, std::memory_order_relaxed); }

// A message's words in the program's language, for the layers below the
// program text (file and data-file errors) and for texts that must not
// depend on the program-text file being there.
inline const char* InProgramLanguage(const char* english, const char* german) {
  return ProgramLanguage() == kGerman ? german : english;
}

// Month name of month 1..12: long ("January", "März") or short ("Jan.",
// "Sept.", "May"). "" outside 1..12. Texts are UTF-8.
std::string MonthName(int month, bool shortName, int language);

// Weekday name of ordalin's day-of-week 0..6 (0 Sunday ... 6 Saturday):
// "Sunday" .. "Saturday", "Sonntag" .. "Samstag". "" outside 0..6.
std::string WeekdayName(int dayOfWeek, int language);

// Weekday name of a day number, "" for a day number that is not positive.
std::string WeekdayNameOfDayNumber(int jdn, int language);

// A day number written as a date: "January 12, 2024" (English),
// "12.Januar 2024" (German, no blank after the period). The year carries no
// padding.
std::string JdnToDateText(int jdn, bool shortMonths, int language);

// A day number as year-month-day: "2024-01-12"; the year is not padded
// ("800-03-01").
std::string JdnToNumericDate(int jdn);

// A day number as year-month-day with a four-digit year ("0800-03-01"), the
// form the command line writes so that its output can be typed back in.
std::string JdnToIsoDate(int jdn);

// A fraction of a day [0, 1) as a time of day, "14:30" or "14:30:00";
// "XX:XX:XX" outside [0, 1). A hundred-millionth of a day (< 1 ms) is added
// to values inside (0, 0.99999999) so that e.g. 0.6041666... reads 14:30:00
// and not 14:29:59.
std::string DayFractionToTimeText(double f, bool withSeconds);

// Reading of the local clock: civil date and time of day in the computer's
// zone, and that zone's offset in minutes east.
struct LocalClockReading {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int zoneMinutesEast = 0;
};

// AJD (UT) of a local clock reading:
// JDN + (h * 3600 + m * 60 + s - zone * 60) / 86400 - 0.5.
double AJDFromLocalClock(const LocalClockReading& now);

// The local clock now (whole seconds) with the zone offset from get_timezone.
LocalClockReading ReadLocalClock();

// The present instant as an AJD in UT, from the system clock and zone.
double CurrentAJD();

}  // namespace vemo
