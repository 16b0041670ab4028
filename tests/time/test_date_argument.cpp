// The command line's date argument read into a date row.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "app/time/date_argument.h"
#include "app/time/date_texts.h"
#include "app/time/dates.h"

namespace vemo {
namespace {

TEST(ParseDateArgument, ReadsDateTimeAndZoneIntoListPositions) {
    struct Case {
        const char* name;
        const char* text;
        DateRow expected;
    };
    const Case cases[] = {
        {"DateOnlyLeavesHourAndZoneBlank", "2000-01-01", {"2000", 1, 1, 0, 0}},
        {"OneDigitYear", "1-01-01", {"1", 1, 1, 0, 0}},
        {"PaddedYear", "0800-03-01", {"0800", 3, 1, 0, 0}},
        {"FullHour", "2000-01-01T12:00", {"2000", 1, 1, 25, 0}},
        {"HalfHour", "2024-01-12T14:30", {"2024", 1, 12, 30, 0}},
        {"LastHalfHour", "2024-01-12T23:30", {"2024", 1, 12, 48, 0}},
        {"ZuluAfterDate", "2000-01-01Z", {"2000", 1, 1, 0, 24}},
        {"PlusOne", "2000-01-01T12:00+01:00", {"2000", 1, 1, 25, 26}},
        {"MinusNineThirty", "2000-01-01T12:00-09:30", {"2000", 1, 1, 25, 5}},
        {"PlusZeroIsGreenwich", "2000-01-01T12:00+00:00", {"2000", 1, 1, 25, 24}},
        {"EdgeOfTheList", "2000-01-01T12:00+11:30", {"2000", 1, 1, 25, 47}},
        {"ImpossibleDayLeftToTheConversion", "1900-02-29", {"1900", 2, 29, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DateRow row;
        EXPECT_EQ(ParseDateArgument(c.text, row), "");
        EXPECT_EQ(row, c.expected);
    }
}

TEST(ParseDateArgument, RefusesMalformedTextsAndLeavesTheRowAlone) {
    struct Case {
        const char* name;
        const char* text;
        const char* mustContain;
    };
    const Case cases[] = {
        {"Empty", "", "Y-MM-DD"},
        {"FiveDigitYear", "20000-01-01", "Y-MM-DD"},
        {"NegativeYear", "-44-03-15", "Y-MM-DD"},
        {"Slashes", "2000/01/01", "Y-MM-DD"},
        {"MonthThirteen", "2000-13-01", "Month 13"},
        {"DayZero", "2000-01-00", "Day 00"},
        {"QuarterHour", "2000-01-01T12:15", "full or half hour"},
        {"HourTwentyFour", "2000-01-01T24:00", "HH:MM"},
        {"TimeWithSeconds", "2000-01-01T12:00:00", "HH:MM"},
        {"ZoneNotInTheList", "2000-01-01T12:00+05:45", "not one of the offsets"},
        {"ZoneBeyondTheList", "2000-01-01T12:00+12:00", "not one of the offsets"},
        {"TrailingText", "2000-01-01T12:00Zx", "Time zone"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DateRow row{"keep", 5, 6, 7, 8};
        const std::string error = ParseDateArgument(c.text, row);
        EXPECT_NE(error.find(c.mustContain), std::string::npos) << error;
        EXPECT_EQ(row, (DateRow{"keep", 5, 6, 7, 8}));
    }
}

TEST(ParseDateArgument, GermanMessagesQuoteEscaped) {
    const std::pair<const char*, const char*> cases[] = {
        {"2000/01/01", "Das Datum \u201E2000/01/01\u201C hat nicht die Form Y-MM-DD"},
        {"2000-13-01", "Der Monat 13 liegt nicht zwischen 01 und 12."},
        {"2000-01-32", "Der Tag 32 liegt nicht zwischen 01 und 31."},
        {"2000-01-01T1\x1b:00", "Die Uhrzeit \u201E1\\x1b:00\u201C hat nicht die Form HH:MM (00:00 bis 23:59)."},
        {"2000-01-01T12:15", "Die Uhrzeit 12:15 liegt nicht auf einer vollen oder halben Stunde."},
        {"2000-01-01T12:00Zx", "Die Zeitzone \u201EZx\u201C hat nicht die Form Z, +HH:MM oder -HH:MM."},
        {"2000-01-01T12:00+05:45", "Die Zeitzone +05:45 geh\u00F6rt nicht zu den Zonen -11:30 bis +11:30"},
    };
    SetProgramLanguage(kGerman);
    for (const auto& [text, message] : cases) {
        DateRow row;
        EXPECT_EQ(ParseDateArgument(text, row).rfind(message, 0), 0u) << ParseDateArgument(text, row);
    }
    SetProgramLanguage(kEnglish);
}

TEST(ParseDateArgument, GoesThroughTheWindowsConversion) {
    DateRow row;
    ASSERT_EQ(ParseDateArgument("2000-01-01T12:00+01:00", row), "");
    EXPECT_DOUBLE_EQ(InputDateToAJDate(row, 0).value, 2451545.0 - 1.0 / 24);
    ASSERT_EQ(ParseDateArgument("0000-01-01", row), "");
    EXPECT_EQ(InputDateToAJDate(row, 0).value, kDateTooEarly);
}

}  // namespace
}  // namespace vemo
