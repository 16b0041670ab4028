// Calendar stand-in: day numbers, round trips, validity, weekdays, juldat
// years at the new-year boundary, grouping of digits.

#include "platform/ordalin/ordalin.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>

namespace {

EuroDate gregorian(int32_t y, int32_t m, int32_t d) {
    return EuroDate{y, m, d, ORDALIN_GREGORIAN, -1, -1};
}

struct DayNumberRow {
    const char *name;
    int32_t year, month, day;
    int32_t jdn;
};

// Reference day numbers: the Julian date at noon of each day (Meeus,
// Astronomical Algorithms, ch. 7, extended to the proleptic Gregorian calendar).
const DayNumberRow kDayNumbers[] = {
    {"FirstJanuaryYear1", 1, 1, 1, 1721426},
    {"FirstJanuary2000", 2000, 1, 1, 2451545},
    {"LastDecember2799", 2799, 12, 31, 2743738},
    {"UnixEpoch", 1970, 1, 1, 2440588},
    {"LeapDay2000", 2000, 2, 29, 2451604},
    {"LastDecember1BC", 0, 12, 31, 1721425},
    {"FirstJanuary4001BC", -4000, 1, 1, 260090},
};

TEST(DayNumbers, MatchReferenceDates) {
    for (const auto &row : kDayNumbers) {
        SCOPED_TRACE(row.name);
        EuroDate d = gregorian(row.year, row.month, row.day);
        EXPECT_EQ(euro_date_to_jdn(&d), row.jdn);
        EXPECT_EQ(d.jdn, row.jdn);
        EXPECT_NE(d.valid, 0);

        EuroDate back{0, 0, 0, ORDALIN_GREGORIAN, row.jdn, 0};
        jdn_to_euro_date(&back);
        EXPECT_EQ(back.year, row.year);
        EXPECT_EQ(back.month, row.month);
        EXPECT_EQ(back.day, row.day);
    }
}

// Every day from 1 January 4001 BC to 31 December 2799, plus a margin, converts
// back to itself, and consecutive day numbers give adjacent dates.
TEST(DayNumbers, ConsecutiveDaysGiveAdjacentDatesAndRoundTrip) {
    EuroDate first = gregorian(-4001, 1, 1);
    const int32_t start = euro_date_to_jdn(&first);
    EuroDate prev{0, 0, 0, ORDALIN_GREGORIAN, start, 0};
    jdn_to_euro_date(&prev);
    ASSERT_EQ(prev.year, -4001);
    for (int32_t jdn = start + 1; jdn <= 2743738 + 400; ++jdn) {
        EuroDate cur{0, 0, 0, ORDALIN_GREGORIAN, jdn, 0};
        jdn_to_euro_date(&cur);
        const bool next_day = cur.year == prev.year && cur.month == prev.month &&
                              cur.day == prev.day + 1;
        const bool next_month = cur.year == prev.year && cur.month == prev.month + 1 &&
                                cur.day == 1;
        const bool next_year = cur.year == prev.year + 1 && cur.month == 1 && cur.day == 1 &&
                               prev.month == 12 && prev.day == 31;
        ASSERT_TRUE(next_day || next_month || next_year)
            << "jdn " << jdn << ": " << prev.year << "-" << prev.month << "-" << prev.day
            << " then " << cur.year << "-" << cur.month << "-" << cur.day;
        EuroDate again = gregorian(cur.year, cur.month, cur.day);
        ASSERT_EQ(euro_date_to_jdn(&again), jdn);
        ASSERT_NE(again.valid, 0);
        prev = cur;
    }
}

struct ValidityRow {
    const char *name;
    int32_t year, month, day;
    bool valid;
};

const ValidityRow kValidity[] = {
    {"ThirtyFirstApril", 2001, 4, 31, false},
    {"LeapDay1900CenturyNotLeap", 1900, 2, 29, false},
    {"LeapDay2000QuadricentennialLeap", 2000, 2, 29, true},
    {"LeapDay2024", 2024, 2, 29, true},
    {"LeapDay2023", 2023, 2, 29, false},
    {"LeapDayYear0IsLeap", 0, 2, 29, true},
    {"MonthZero", 2000, 0, 1, false},
    {"MonthThirteen", 2000, 13, 1, false},
    {"DayZero", 2000, 1, 0, false},
    {"ThirtySecondJanuary", 2000, 1, 32, false},
    {"YearTooLargeForDayNumbers", 2000000000, 1, 1, false},
};

TEST(DayNumbers, ValidityFlagFollowsTheCalendar) {
    for (const auto &row : kValidity) {
        SCOPED_TRACE(row.name);
        EuroDate d = gregorian(row.year, row.month, row.day);
        const int32_t jdn = euro_date_to_jdn(&d);
        EXPECT_EQ(d.valid != 0, row.valid);
        if (!row.valid) {
            EXPECT_EQ(jdn, 0);
        }
    }
}

TEST(DayNumbers, OtherCalendarCodesAreRefused) {
    EuroDate d{2000, 1, 1, 'J', 0, 1};
    EXPECT_EQ(euro_date_to_jdn(&d), 0);
    EXPECT_EQ(d.valid, 0);
}

TEST(Weekday, KnownDays) {
    EXPECT_EQ(euro_day_of_week(2451545), 6);  // 1 January 2000, Saturday
    EXPECT_EQ(euro_day_of_week(2440588), 4);  // 1 January 1970, Thursday
    EXPECT_EQ(euro_day_of_week(2451546), 0);  // Sunday
    EXPECT_EQ(euro_day_of_week(0), 1);        // JD 0 was a Monday
    EXPECT_EQ(euro_day_of_week(-1), 0);       // negative day numbers stay in 0..6
}

struct JuldatRow {
    const char *name;
    double jd;
    int32_t year, month, day;
};

const JuldatRow kJuldat[] = {
    {"MidnightStarts2000", 2451544.5, 2000, 1, 1},
    {"JustBeforeMidnightIs1999", 2451544.49, 1999, 12, 31},
    {"NoonFirstJanuary2000", 2451545.0, 2000, 1, 1},
    {"LastMomentOf2799", 2743738.499, 2799, 12, 31},
    {"MidnightStarts2800", 2743738.5, 2800, 1, 1},
    {"FirstDayYear1", 1721425.5, 1, 1, 1},
    {"LastDayOf1BC", 1721425.49, 0, 12, 31},
};

TEST(Juldat, YearOfJulianDate) {
    for (const auto &row : kJuldat) {
        SCOPED_TRACE(row.name);
        int32_t y = -7, m = -7, d = -7, dn = -7;
        EXPECT_EQ(juldat(row.jd, "A", &y, &m, &d, &dn), 0);
        EXPECT_EQ(y, row.year);
        EXPECT_EQ(m, row.month);
        EXPECT_EQ(d, row.day);
    }
}

TEST(Juldat, UnusableInputWritesNothing) {
    const double bad[] = {std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity(), 1e300};
    for (double jd : bad) {
        int32_t y = -7;
        EXPECT_EQ(juldat(jd, "A", &y, nullptr, nullptr, nullptr), -1);
        EXPECT_EQ(y, -7);
    }
    int32_t y = -7;
    EXPECT_EQ(juldat(2451545.0, "X", &y, nullptr, nullptr, nullptr), -1);
    EXPECT_EQ(y, -7);
}

struct ThousandsRow {
    const char *name;
    const char *digits;
    int32_t length;
    const char *expected;
};

const ThousandsRow kThousands[] = {
    {"ShortUnchanged", "999", 3, "999"},
    {"FiveDigits", "12345", 6, "12.345"},
    {"SixDigits", "123456", 7, "123.456"},
    {"SevenDigitsNegative", "-1234567", 10, "-1.234.567"},
    {"FillsBufferExactly", "123456789012345", 19, "123.456.789.012.345"},
    {"OneDigitTooMany", "1234567890123456", -1, ""},
    {"NotDigits", "12a45", -1, ""},
    {"Empty", "", -1, ""},
};

TEST(SeparateThousands, GroupsByThreesWithinTheBuffer) {
    for (const auto &row : kThousands) {
        SCOPED_TRACE(row.name);
        char buffer[ORDALIN_THOUSANDS_BUFFER + 4];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(separate_thousands(row.digits, '.', buffer), row.length);
        EXPECT_STREQ(buffer, row.expected);
        for (size_t i = ORDALIN_THOUSANDS_BUFFER; i < sizeof buffer; ++i)
            EXPECT_EQ(buffer[i], '#') << "written past the 20-character buffer";
    }
}

}  // namespace
