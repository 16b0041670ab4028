// Time-zone lists, keep/reset of the selection, and the computer's zone.
#include <gtest/gtest.h>

#include "app/time/dates.h"
#include "app/time/timezones.h"

namespace vemo {
namespace {

struct EntryCase {
    int entry;
    const char* text;
    int minutesEast;
};

TEST(TimezoneEntries, HaveOffsetTextsAndMinuteItemData) {
    const auto entries = TimezoneEntries(false);
    ASSERT_EQ(entries.size(), 48u);
    const EntryCase cases[] = {
        {0, "", 0},           {1, "GMT-11:30", -690}, {2, "GMT-11:00", -660}, {5, "GMT-9:30", -570},
        {23, "GMT-0:30", -30}, {24, "GMT", 0},         {25, "GMT+0:30", 30},   {26, "GMT+1:00", 60},
        {35, "GMT+5:30", 330}, {46, "GMT+11:00", 660}, {47, "GMT+11:30", 690},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(entries[c.entry].text, c.text);
        EXPECT_EQ(entries[c.entry].minutesEast, c.minutesEast);
    }
    for (int n = 1; n < 48; ++n) EXPECT_EQ(entries[n].minutesEast, (n - 24) * 30) << n;
}

TEST(TimezoneEntries, NorthAmericanNamesReplaceTenTextsOnly) {
    const auto plain = TimezoneEntries(false);
    const auto named = TimezoneEntries(true);
    const EntryCase cases[] = {
        {4, "HAST", -600},    {6, "AKST/HADT", -540}, {8, "PST/AKDT", -480}, {10, "MST/PDT", -420},
        {12, "CST/MDT", -360}, {14, "EST/CDT", -300},  {16, "AST/EDT", -240}, {17, "NST", -210},
        {18, "ADT", -180},    {19, "NDT", -150},
    };
    int renamed = 0;
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(named[c.entry].text, c.text);
        EXPECT_EQ(named[c.entry].minutesEast, c.minutesEast);
    }
    for (size_t n = 0; n < plain.size(); ++n) {
        EXPECT_EQ(named[n].minutesEast, plain[n].minutesEast);
        if (named[n].text != plain[n].text) ++renamed;
    }
    EXPECT_EQ(renamed, 10);
}

TEST(TimezoneList, KeepsOrResetsTheSelectionWhenRebuilt) {
    TimezoneList list(false);
    list.Select(14);
    list.SetUp(true, true);
    EXPECT_EQ(list.Selected(), 14);
    EXPECT_EQ(list.Text(list.Selected()), "EST/CDT");
    list.SetUp(true, false);
    EXPECT_EQ(list.Text(list.Selected()), "GMT-5:00");
    list.SetUp(false, false);
    EXPECT_EQ(list.Selected(), 0);
    list.Select(99);
    EXPECT_EQ(list.Selected(), 0);
    EXPECT_EQ(list.Text(48), "");
    EXPECT_EQ(list.ItemData(-1), 0);
}

TEST(LocalTimezoneIndex, FindsTheEntryOfTheComputersZone) {
    struct Case {
        const char* name;
        long secondsWest;  // as ordalin's get_timezone reports it
        int expectedIndex;
    };
    const Case cases[] = {
        {"Greenwich", 0, 24},
        {"CentralEurope", -3600, 26},
        {"India", -19800, 35},
        {"NepalGetsTheIndiaEntry", -20700, 35},
        {"Newfoundland", 12600, 17},
        {"NewZealandHasNoEntry", -43200, 0},
        {"ChathamHasNoEntry", -45900, 0},
        {"EasternUS", 18000, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LocalTimezoneIndex(TimezoneMinutesFromSecondsWest(c.secondsWest, true)), c.expectedIndex);
    }
}

TEST(TimezoneMinutesFromSecondsWest, RoundsHalvesToEvenAndMapsNepalOnlyWhenAsked) {
    EXPECT_EQ(TimezoneMinutesFromSecondsWest(-3600, true), 60);
    EXPECT_EQ(TimezoneMinutesFromSecondsWest(18000, true), -300);
    EXPECT_EQ(TimezoneMinutesFromSecondsWest(-20700, true), 330);
    EXPECT_EQ(TimezoneMinutesFromSecondsWest(-20700, false), 345);
    EXPECT_EQ(TimezoneMinutesFromSecondsWest(-30, false), 0);    // +0.5 min -> 0
    EXPECT_EQ(TimezoneMinutesFromSecondsWest(-90, false), 2);    // +1.5 min -> 2
    EXPECT_EQ(TimezoneMinutesFromSecondsWest(-150, false), 2);   // +2.5 min -> 2
    EXPECT_EQ(TimezoneMinutesFromSecondsWest(150, false), -2);   // -2.5 min -> -2
    EXPECT_EQ(TimezoneMinutesFromSecondsWest(-100, false), 2);   // 1.67 min -> 2
}

TEST(InputDateToAJDate, ComputerInNepalDefaultsToTheIndiaEntry) {
    const int local = LocalTimezoneIndex(TimezoneMinutesFromSecondsWest(-20700, true));
    const DateConversion r = InputDateToAJDate(DateRow{"2000", 1, 1, 25, 0}, local);
    EXPECT_EQ(r.row.zoneIndex, 35);
    EXPECT_DOUBLE_EQ(r.value, 2451545.0 - 330.0 / 1440);
}

TEST(ResolveLocalZone, ComputersWithoutAnEntryWorkInGmtAndSayWhich) {
    struct Case {
        const char* name;
        int systemMinutes;
        int index;
        bool listed;
        const char* text;  // the computer's own offset as the status line names it
    };
    const Case cases[] = {
        {"CentralEurope", 60, 26, true, "GMT+1:00"},
        {"Greenwich", 0, 24, true, "GMT"},
        {"NepalMappedToIndia", 330, 35, true, "GMT+5:30"},
        {"NewZealandWinter", 720, 24, false, "GMT+12:00"},
        {"TongaOrNewZealandSummer", 780, 24, false, "GMT+13:00"},
        {"Chatham", 765, 24, false, "GMT+12:45"},
        {"Kiribati", 840, 24, false, "GMT+14:00"},
        {"BakerIsland", -720, 24, false, "GMT-12:00"},
        {"NepalUnmapped", 345, 24, false, "GMT+5:45"},
        {"Marquesas", -570, 5, true, "GMT-9:30"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LocalZone z = ResolveLocalZone(c.systemMinutes);
        EXPECT_EQ(z.index, c.index);
        EXPECT_EQ(z.listed, c.listed);
        EXPECT_EQ(z.minutesEast, c.listed ? c.systemMinutes : 0);
        EXPECT_EQ(ZoneOffsetText(c.systemMinutes), c.text);
    }
    // A blank zone of a row then visibly selects GMT and counts as GMT.
    const DateConversion r = InputDateToAJDate(DateRow{"2000", 1, 1, 25, 0}, ResolveLocalZone(780).index);
    EXPECT_EQ(r.row.zoneIndex, 24);
    EXPECT_DOUBLE_EQ(r.value, 2451545.0);
}

}  // namespace
}  // namespace vemo
