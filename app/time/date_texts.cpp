#include "app/time/date_texts.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "app/time/system_calls.h"
#include "app/time/timezones.h"
#include "platform/ordalin/ordalin.h"

namespace vemo {

namespace {

constexpr const char* kMonthsEnglish[12] = {"January", "February", "March",     "April",
                                            "May",     "June",     "July",      "August",
                                            "September", "October", "November", "December"};
constexpr const char* kMonthsEnglishShort[12] = {"Jan.", "Feb.",  "Mar.", "Apr.", "May",  "June",
                                                 "July", "Aug.", "Sept.", "Oct.", "Nov.", "Dec."};
constexpr const char* kMonthsGerman[12] = {"Januar", "Februar", "M\u00e4rz",  "April",
                                           "Mai",    "Juni",    "Juli",       "August",
                                           "September", "Oktober", "November", "Dezember"};
constexpr const char* kMonthsGermanShort[12] = {"Jan.", "Feb.",  "M\u00e4rz", "Apr.", "Mai",  "Juni",
                                                "Juli", "Aug.", "Sept.",      "Okt.", "Nov.", "Dez."};
constexpr const char* kWeekdaysEnglish[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                             "Thursday", "Friday", "Saturday"};
constexpr const char* kWeekdaysGerman[7] = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                                            "Donnerstag", "Freitag", "Samstag"};

constexpr double kSecondsPerDay = 86400.0;

EuroDate DateOfDayNumber(int jdn) {
    EuroDate date{0, 0, 0, ORDALIN_GREGORIAN, jdn, 0};
    jdn_to_euro_date(&date);
    return date;
}

std::string TwoDigits(int v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", v);
    return buffer;
}

// Year without padding; beyond four digits grouped by thousands ("." German,
// "," otherwise), which this program's years 1..2799 never reach.
std::string YearText(int year, int language) {
    std::string digits = std::to_string(year);
    if (year >= -9999 && year <= 9999) return digits;
    char grouped[ORDALIN_THOUSANDS_BUFFER] = {};
    if (separate_thousands(digits.c_str(), language == kGerman ? '.' : ',', grouped) < 0) return digits;
    return grouped;
}

}  // namespace

std::string MonthName(int month, bool shortName, int language) {
    if (month < 1 || month > 12) return "";
    if (language == kGerman) return shortName ? kMonthsGermanShort[month - 1] : kMonthsGerman[month - 1];
    return shortName ? kMonthsEnglishShort[month - 1] : kMonthsEnglish[month - 1];
}

std::string WeekdayName(int dayOfWeek, int language) {
    if (dayOfWeek < 0 || dayOfWeek > 6) return "";
    return language == kGerman ? kWeekdaysGerman[dayOfWeek] : kWeekdaysEnglish[dayOfWeek];
}

std::string WeekdayNameOfDayNumber(int jdn, int language) {
    if (jdn <= 0) return "";
    return WeekdayName(euro_day_of_week(jdn), language);
}

std::string JdnToDateText(int jdn, bool shortMonths, int language) {
    const EuroDate date = DateOfDayNumber(jdn);
    const std::string month = MonthName(date.month, shortMonths, language);
    const std::string year = YearText(date.year, language);
    if (language == kGerman) return std::to_string(date.day) + "." + month + " " + year;
    return month + " " + std::to_string(date.day) + ", " + year;
}

std::string JdnToNumericDate(int jdn) {
    const EuroDate date = DateOfDayNumber(jdn);
    return std::to_string(date.year) + "-" + TwoDigits(date.month) + "-" + TwoDigits(date.day);
}

std::string JdnToIsoDate(int jdn) {
    const EuroDate date = DateOfDayNumber(jdn);
    if (date.year >= 0 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
        date.day <= 31) {
        // The usual case by hand: event exports write millions of dates.
        const int y = static_cast<int>(date.year);
        const int m = static_cast<int>(date.month);
        const int d = static_cast<int>(date.day);
        const char text[10] = {static_cast<char>('0' + y / 1000),     static_cast<char>('0' + y / 100 % 10),
                               static_cast<char>('0' + y / 10 % 10),  static_cast<char>('0' + y % 10),
                               '-',
                               static_cast<char>('0' + m / 10),       static_cast<char>('0' + m % 10),
                               '-',
                               static_cast<char>('0' + d / 10),       static_cast<char>('0' + d % 10)};
        return std::string(text, sizeof text);
    }
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", static_cast<int>(date.year),
                  static_cast<int>(date.month), static_cast<int>(date.day));
    return buffer;
}

std::string DayFractionToTimeText(double f, bool withSeconds) {
    if (!(f >= 0.0 && f < 1.0)) return "XX:XX:XX";
    // A hundred-millionth of a day (0.86 ms) lifts values that are a hair
    // below a whole second, the usual result of AJD arithmetic, onto it.
    if (f > 0.0 && f < 0.99999999) f += 0.00000001;
    int s = static_cast<int>(f * kSecondsPerDay);
    if (s == 86400) s = 86399;
    std::string text = TwoDigits(s / 3600) + ":" + TwoDigits(s / 60 % 60);
    if (withSeconds) text += ":" + TwoDigits(s % 60);
    return text;
}

double AJDFromLocalClock(const LocalClockReading& now) {
    EuroDate date{now.year, now.month, now.day, ORDALIN_GREGORIAN, 0, 0};
    const int32_t jdn = euro_date_to_jdn(&date);
    return jdn + (now.hour * 3600.0 + now.minute * 60.0 + now.second - now.zoneMinutesEast * 60.0) /
                     kSecondsPerDay -
           0.5;
}

LocalClockReading ReadLocalClock() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    LocalTimeOf(t, &local);  // fails only for a clock far outside any calendar; the fields then stay zero
    LocalClockReading now;
    now.year = local.tm_year + 1900;
    now.month = local.tm_mon + 1;
    now.day = local.tm_mday;
    now.hour = local.tm_hour;
    now.minute = local.tm_min;
    now.second = local.tm_sec > 59 ? 59 : local.tm_sec;  // a leap second reads as :59
    // The zone as it stands now, without the +5:45 replacement of the lists.
    now.zoneMinutesEast = TimezoneMinutesFromSecondsWest(get_timezone(), false);
    return now;
}

double CurrentAJD() { return AJDFromLocalClock(ReadLocalClock()); }

}  // namespace vemo
