// Date and time texts, month and weekday names, and the present instant.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include "app/time/date_texts.h"

namespace vemo {
namespace {

TEST(DayFractionToTimeText, WritesTimesOfDayAndMarksOutOfRange) {
    struct Case {
        const char* name;
        double f;
        bool withSeconds;
        const char* expected;
    };
    const Case cases[] = {
        {"Midnight", 0.0, true, "00:00:00"},
        {"Noon", 0.5, true, "12:00:00"},
        {"HalfPastTwoPm", 14.5 / 24, false, "14:30"},
        {"AHairBelowAWholeSecondRoundsUp", 52200.0 / 86400 - 1e-12, true, "14:30:00"},
        {"OneSecondBeforeMidnight", 86399.0 / 86400, true, "23:59:59"},
        {"LastHairOfTheDayStaysInIt", 0.9999999999, true, "23:59:59"},
        {"Negative", -0.0001, true, "XX:XX:XX"},
        {"OneWholeDay", 1.0, false, "XX:XX:XX"},
        {"NotANumber", std::nan(""), true, "XX:XX:XX"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DayFractionToTimeText(c.f, c.withSeconds), c.expected);
    }
}

TEST(JdnToDateText, WritesEnglishAndGermanLongAndShort) {
    struct Case {
        const char* name;
        int jdn;
        bool shortMonths;
        int language;
        const char* expected;
    };
    const Case cases[] = {
        {"EnglishLong", 2460322, false, kEnglish, "January 12, 2024"},
        {"EnglishShort", 2460322, true, kEnglish, "Jan. 12, 2024"},
        {"GermanLongWithoutBlankAfterPeriod", 2460322, false, kGerman, "12.Januar 2024"},
        {"GermanShort", 2460322, true, kGerman, "12.Jan. 2024"},
        {"GermanMarchHasUmlaut", 2415080, false, kGerman, "1.M\u00e4rz 1900"},
        {"EnglishSeptemberShort", 2460559, true, kEnglish, "Sept. 5, 2024"},
        {"OtherLanguagesAreEnglish", 2460559, false, 2, "September 5, 2024"},
        {"YearWithoutPadding", 2013314, false, kEnglish, "March 1, 800"},
        {"FirstDayOfYearOne", 1721426, false, kEnglish, "January 1, 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(JdnToDateText(c.jdn, c.shortMonths, c.language), c.expected);
    }
}

TEST(JdnToNumericDate, PadsMonthAndDayButNotTheYear) {
    EXPECT_EQ(JdnToNumericDate(2460322), "2024-01-12");
    EXPECT_EQ(JdnToNumericDate(2013314), "800-03-01");
    EXPECT_EQ(JdnToNumericDate(1721426), "1-01-01");
    EXPECT_EQ(JdnToIsoDate(2013314), "0800-03-01");
    EXPECT_EQ(JdnToIsoDate(1721426), "0001-01-01");
    EXPECT_EQ(JdnToIsoDate(2743738), "2799-12-31");
}

// The weekday hint: ordalin's day of week (0 Sunday) mapped onto the names.
TEST(WeekdayNameOfDayNumber, NamesTheWeekdayInBothLanguages) {
    EXPECT_EQ(WeekdayNameOfDayNumber(2451545, kEnglish), "Saturday");  // 1 January 2000
    EXPECT_EQ(WeekdayNameOfDayNumber(2451546, kGerman), "Sonntag");    // 2 January 2000
    EXPECT_EQ(WeekdayNameOfDayNumber(2460322, kGerman), "Freitag");    // 12 January 2024
    EXPECT_EQ(WeekdayNameOfDayNumber(-2, kEnglish), "");               // a date error code
    EXPECT_EQ(MonthName(13, false, kEnglish), "");
}

// The first of each month of 2024 (1 January a Monday) and 1 January 2000,
// a Saturday: every German month, long and short, and every weekday.
TEST(JdnToDateText, GermanMonthsAndWeekdaysOfFixedDays) {
    const char* const cases[][4] = {
        {"2451545", "1.Januar 2000", "1.Jan. 2000", "Samstag"}, {"2460342", "1.Februar 2024", "1.Feb. 2024", "Donnerstag"},
        {"2460371", "1.M\u00e4rz 2024", "1.M\u00e4rz 2024", "Freitag"}, {"2460402", "1.April 2024", "1.Apr. 2024", "Montag"},
        {"2460432", "1.Mai 2024", "1.Mai 2024", "Mittwoch"}, {"2460463", "1.Juni 2024", "1.Juni 2024", "Samstag"},
        {"2460493", "1.Juli 2024", "1.Juli 2024", "Montag"}, {"2460524", "1.August 2024", "1.Aug. 2024", "Donnerstag"},
        {"2460555", "1.September 2024", "1.Sept. 2024", "Sonntag"}, {"2460585", "1.Oktober 2024", "1.Okt. 2024", "Dienstag"},
        {"2460616", "1.November 2024", "1.Nov. 2024", "Freitag"}, {"2460646", "1.Dezember 2024", "1.Dez. 2024", "Sonntag"}};
    for (const auto& c : cases) {
        const int jdn = std::atoi(c[0]);
        EXPECT_EQ(JdnToDateText(jdn, false, kGerman) + " " + JdnToDateText(jdn, true, kGerman) + " " +
                      WeekdayNameOfDayNumber(jdn, kGerman), std::string(c[1]) + " " + c[2] + " " + c[3]);
    }
}

TEST(AJDFromLocalClock, SubtractsTheZoneFromTheLocalTime) {
    struct Case {
        const char* name;
        LocalClockReading clock;
        double expected;
    };
    const Case cases[] = {
        {"NoonGreenwich", {2000, 1, 1, 12, 0, 0, 0}, 2451545.0},
        {"OnePmInBerlin", {2000, 1, 1, 13, 0, 0, 60}, 2451545.0},
        {"LocalDateAheadOfUT", {2000, 1, 1, 0, 30, 0, 60}, 2451544.5 - 0.5 / 24},
        {"NewYorkEveningIsNextDayInUT", {1999, 12, 31, 21, 0, 0, -300}, 2451544.5 + 2.0 / 24},
        {"NepalKeepsItsQuarterHour", {2000, 1, 1, 17, 45, 0, 345}, 2451545.0},
        {"Seconds", {2000, 1, 1, 12, 0, 30, 0}, 2451545.0 + 30.0 / 86400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(AJDFromLocalClock(c.clock), c.expected, 1e-9);
    }
}

}  // namespace
}  // namespace vemo
