// Date rows to Julian dates: values, error codes and the side effects the
// window shows (cleaned year, hour moved to 12:00, zone moved to the local
// entry).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/time/dates.h"
#include "app/time/timezones.h"
#include "platform/ordalin/ordalin.h"

namespace vemo {
namespace {

constexpr int kGmt = 24;
constexpr int kGmtPlus1 = 26;
constexpr int kNoon = 25;
constexpr int kHour1430 = 30;  // (30 - 1) * 30 min = 14:30

DateRow Row(const std::string& year, int month, int day, int hour = kNoon, int zone = kGmt) {
    return DateRow{year, month, day, hour, zone};
}

struct AjdCase {
    const char* name;
    DateRow row;
    int localZoneIndex;
    double expected;
};

TEST(InputDateToAJDate, GivesJulianDatesAndErrorCodes) {
    const AjdCase cases[] = {
        {"J2000NoonGreenwich", Row("2000", 1, 1), 0, 2451545.0},
        {"OneHourEastIsAnHourEarlierInUT", Row("2000", 1, 1, kNoon, kGmtPlus1), 0, 2451545.0 - 1.0 / 24},
        {"WestZoneHalfHour", Row("2000", 1, 1, kNoon, 23), 0, 2451545.0 + 0.5 / 24},
        {"MidnightIsHalfADayBefore", Row("2000", 1, 1, 1, kGmt), 0, 2451544.5},
        {"LastHalfHourOfTheDay", Row("2000", 1, 1, 48, kGmt), 0, 2451544.5 + 23.5 / 24},
        {"FirstDayOfYearOne", Row("1", 1, 1), 0, 1721426.0},
        {"LastDayOf2799", Row("2799", 12, 31), 0, 2743738.0},
        {"LeapDayOf2000Exists", Row("2000", 2, 29), 0, 2451604.0},
        {"SignAndLettersAreCleanedAway", Row("-44 BC", 3, 15), 0, 1737205.0},
        {"LeadingZerosAreHarmless", Row("0002000", 1, 1), 0, 2451545.0},
        {"EmptyYear", Row("", 1, 1), 0, kDateIncomplete},
        {"YearOfNoDigits", Row("AD", 1, 1), 0, kDateIncomplete},
        {"BlankMonth", Row("2000", 0, 1), 0, kDateIncomplete},
        {"BlankDay", Row("2000", 1, 0), 0, kDateIncomplete},
        {"ThirtyFirstOfApril", Row("2000", 4, 31), 0, kDateImpossible},
        {"LeapDayOf1900DoesNotExist", Row("1900", 2, 29), 0, kDateImpossible},
        {"YearZero", Row("0", 1, 1), 0, kDateTooEarly},
        {"Year2800", Row("2800", 1, 1), 0, kDateTooLate},
        {"YearTooLongForAnInteger", Row("99999999999999999999", 1, 1), 0, kDateTooLate},
        {"YearJustAbove32Bits", Row("4294967297", 1, 1), 0, kDateTooLate},
        {"BlankZoneTakesTheLocalEntry", Row("2000", 1, 1, kNoon, 0), kGmtPlus1, 2451545.0 - 1.0 / 24},
        {"BlankZoneWithoutLocalEntryIsGreenwich", Row("2000", 1, 1, kNoon, 0), 0, 2451545.0},
        {"LocalEntryOutsideTheListIsIgnored", Row("2000", 1, 1, kNoon, 0), kTimezoneEntries, 2451545.0},
    };
    for (const AjdCase& c : cases) {
        SCOPED_TRACE(c.name);
        const DateConversion r = InputDateToAJDate(c.row, c.localZoneIndex);
        EXPECT_DOUBLE_EQ(r.value, c.expected);
        EXPECT_EQ(r.ok(), c.expected > 0);
    }
}

TEST(InputDateToAJDate, ReturnsTheRowWithItsVisibleSideEffects) {
    struct Case {
        const char* name;
        DateRow in;
        int localZoneIndex;
        DateRow out;
    };
    const Case cases[] = {
        {"BlankHourMovesToNoon", Row("2000", 1, 1, 0, kGmt), 0, Row("2000", 1, 1, kNoon, kGmt)},
        {"BlankZoneMovesToLocalEntry", Row("2000", 1, 1, kNoon, 0), 35, Row("2000", 1, 1, kNoon, 35)},
        {"BlankZoneStaysWithoutLocalEntry", Row("2000", 1, 1, kNoon, 0), 0, Row("2000", 1, 1, kNoon, 0)},
        {"ChosenZoneIsKept", Row("2000", 1, 1, kNoon, 3), 35, Row("2000", 1, 1, kNoon, 3)},
        {"YearIsCleanedEvenWhenIncomplete", Row("19x9", 0, 1, 0, 0), 35, Row("199", 0, 1, 0, 0)},
        {"ErrorLeavesHourAndZoneBlank", Row("1900", 2, 29, 0, 0), 35, Row("1900", 2, 29, 0, 0)},
        {"TooEarlyLeavesHourBlank", Row("0", 1, 1, 0, 0), 35, Row("0", 1, 1, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(InputDateToAJDate(c.in, c.localZoneIndex).row, c.out);
    }
}

TEST(InputDateToAJDate, BlankHourGivesTheSameResultAsNoon) {
    const DateConversion blank = InputDateToAJDate(Row("2000", 1, 1, 0, kGmt), 0);
    const DateConversion noon = InputDateToAJDate(Row("2000", 1, 1, kNoon, kGmt), 0);
    EXPECT_EQ(blank.value, noon.value);
    EXPECT_EQ(blank.row.hourIndex, kNoon);
}

TEST(CleanYearText, KeepsOnlyTheDigits) {
    const std::map<std::string, std::string> cases = {
        {"-44 BC", "44"}, {"19x9", "199"}, {"+2000", "2000"}, {"1-2", "12"}, {"", ""}, {"  7 ", "7"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(CleanYearText(in), out) << in;
}

TEST(InputDateToLocalJD, IgnoresTheZoneAndHasNoHalfDayShift) {
    const DateConversion r = InputDateToLocalJD(Row("2000", 1, 1, kHour1430, 0));
    EXPECT_DOUBLE_EQ(r.value, 2451545.0 + 870.0 / 1440);
    EXPECT_EQ(r.row.zoneIndex, 0);
    const DateConversion blankHour = InputDateToLocalJD(Row("2000", 1, 1, 0, kGmtPlus1));
    EXPECT_DOUBLE_EQ(blankHour.value, 2451545.5);
    EXPECT_EQ(blankHour.row.hourIndex, kNoon);
    EXPECT_EQ(InputDateToLocalJD(Row("2800", 1, 1)).value, kDateTooLate);
}

TEST(DateRowDayNumber, IsTheCivilDayOrTheErrorCode) {
    EXPECT_EQ(DateRowDayNumber(Row("2000", 1, 1, 0, 0)), 2451545);
    EXPECT_EQ(DateRowDayNumber(Row("2000", 2, 30)), -2);
    EXPECT_EQ(DateRowDayNumber(Row("", 2, 3)), -1);
}

// Every civil day of the accepted range, entered as a row, gives its own day
// number; consecutive days give consecutive local day values.
TEST(InputDateToLocalJD, WalksTheWholeRangeDayByDay) {
    int failures = 0;
    for (int jdn = kFirstDayNumber; jdn <= kLastDayNumber && failures < 5; ++jdn) {
        EuroDate d{0, 0, 0, ORDALIN_GREGORIAN, jdn, 0};
        jdn_to_euro_date(&d);
        const DateRow row = Row(std::to_string(d.year), d.month, d.day, 1, 0);
        const double v = InputDateToLocalJD(row).value;
        if (v != jdn) {
            ADD_FAILURE() << "day number " << jdn << " came back as " << v;
            ++failures;
        }
    }
}

TEST(InputDateToString, WritesDateHourAndZoneText) {
    TimezoneList zones(false);
    TimezoneList named(true);
    const DateRow row = Row("2024", 1, 12, kHour1430, kGmtPlus1);
    EXPECT_EQ(InputDateToString(row, false, 0, zones), "January 12, 2024, 14:30 (GMT+1:00)");
    EXPECT_EQ(InputDateToString(row, true, 1, zones), "12.Jan. 2024, 14:30 (GMT+1:00)");
    EXPECT_EQ(InputDateToString(Row("2024", 1, 12, kNoon, 14), false, 0, named),
              "January 12, 2024, 12:00 (EST/CDT)");
    DateRow after;
    EXPECT_EQ(InputDateToString(Row("y2024", 9, 5, 0, kGmt), true, 0, zones, &after),
              "Sept. 5, 2024, 12:00 (GMT)");
    EXPECT_EQ(after, Row("2024", 9, 5, kNoon, kGmt));
}

TEST(InputDateToString, IsEmptyForABadDate) {
    TimezoneList zones(false);
    EXPECT_EQ(InputDateToString(Row("1900", 2, 29), false, 0, zones), "");
    EXPECT_EQ(InputDateToString(Row("", 2, 3), false, 0, zones), "");
}

TEST(DateErrorMessage, JoinsRowNameAndReasonFromProgramText) {
    const ProgramTextLookup text = [](int item) { return "<" + std::to_string(item) + ">"; };
    struct Case {
        const char* name;
        int row;
        double stored;
        std::string expected;
    };
    const Case cases[] = {
        {"WorldIncomplete", 0, -1, "<4> <145>"},
        {"FirstBirthImpossible", 1, -2, "<5> <146>"},
        {"SecondBirthTooEarly", 2, -3, "<6> <147>"},
        {"TooLateRoundedFromNearValue", 0, -4.0000001, "<4> <148>"},
        {"ValidDateHasNoMessage", 0, 2451545.0, ""},
        {"OtherNegativeHasNoMessage", 0, -5, ""},
        {"RowOutsideTheWindow", 3, -1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DateErrorMessage(c.row, c.stored, text), c.expected);
    }
}

}  // namespace
}  // namespace vemo
