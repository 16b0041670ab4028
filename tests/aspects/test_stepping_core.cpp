// The arithmetic of the Forward/Back buttons, the Now button's rounding and
// the size rule, without a window.
#include "app/aspects/stepping_core.h"

#include <gtest/gtest.h>

#include <string>

namespace vemo {
namespace {

struct StepCase {
  const char* name;
  StepDate from;
  StepSize size;
  bool forward;
  StepDate expected;
};

void PrintTo(const StepCase& c, std::ostream* os) { *os << c.name; }

class StepWorldDateTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepWorldDateTest, MovesWithEveryCarry) {
  const StepCase& c = GetParam();
  StepDate d = c.from;
  ASSERT_TRUE(StepWorldDate(d, c.size, c.forward));
  EXPECT_EQ(d.yearText, c.expected.yearText);
  EXPECT_EQ(d.month, c.expected.month);
  EXPECT_EQ(d.day, c.expected.day);
  EXPECT_EQ(d.hourEntry, c.expected.hourEntry);
}

// Hour entries: 1 = 00:00, 2 = 00:30, 48 = 23:30.
INSTANTIATE_TEST_SUITE_P(
    Steps, StepWorldDateTest,
    ::testing::Values(
        StepCase{"HalfHourPastNewYearsEve", {"2023", 12, 31, 48}, StepSize::HalfHour, true, {"2024", 1, 1, 1}},
        StepCase{"HalfHourBackFromMidnight", {"2024", 3, 1, 1}, StepSize::HalfHour, false, {"2024", 2, 29, 48}},
        StepCase{"HalfHourBackFromNewYear", {"2024", 1, 1, 1}, StepSize::HalfHour, false, {"2023", 12, 31, 48}},
        StepCase{"HalfHourWithinDay", {"2024", 5, 10, 21}, StepSize::HalfHour, true, {"2024", 5, 10, 22}},
        StepCase{"DayPastMonthEnd", {"2024", 4, 30, 25}, StepSize::Day, true, {"2024", 5, 1, 25}},
        StepCase{"DayBackFromFirstOfMarchLeap", {"2024", 3, 1, 25}, StepSize::Day, false, {"2024", 2, 29, 25}},
        StepCase{"DayBackFromFirstOfMarchCommon", {"2023", 3, 1, 25}, StepSize::Day, false, {"2023", 2, 28, 25}},
        StepCase{"DayBackFromFirstOfJanuary", {"2000", 1, 1, 25}, StepSize::Day, false, {"1999", 12, 31, 25}},
        StepCase{"WeekPastMonthEnd", {"2024", 1, 28, 25}, StepSize::Week, true, {"2024", 2, 4, 25}},
        StepCase{"WeekPastYearEnd", {"2024", 12, 29, 25}, StepSize::Week, true, {"2025", 1, 5, 25}},
        StepCase{"WeekBackIntoFebruary", {"2023", 3, 3, 25}, StepSize::Week, false, {"2023", 2, 24, 25}},
        StepCase{"MonthFromJanuary31CommonYear", {"2023", 1, 31, 25}, StepSize::Month, true, {"2023", 2, 28, 25}},
        StepCase{"MonthFromJanuary31LeapYear", {"2024", 1, 31, 25}, StepSize::Month, true, {"2024", 2, 29, 25}},
        StepCase{"MonthFrom31MarchTo30April", {"2024", 3, 31, 25}, StepSize::Month, true, {"2024", 4, 30, 25}},
        StepCase{"MonthBackFrom31MarchCentury", {"1900", 3, 31, 25}, StepSize::Month, false, {"1900", 2, 28, 25}},
        StepCase{"MonthPastDecember", {"2024", 12, 15, 25}, StepSize::Month, true, {"2025", 1, 15, 25}},
        StepCase{"MonthBackFromJanuary", {"2024", 1, 15, 25}, StepSize::Month, false, {"2023", 12, 15, 25}},
        StepCase{"YearFromLeapDay", {"2024", 2, 29, 25}, StepSize::Year, true, {"2025", 2, 28, 25}},
        StepCase{"YearBackFromLeapDay", {"2024", 2, 29, 25}, StepSize::Year, false, {"2023", 2, 28, 25}},
        // Dates the month does not have, left in the lists by the user: a day
        // or half-hour step over their end starts the next month at the 1st;
        // the week step carries the surplus days as from any other date.
        StepCase{"DayFrom31November", {"2024", 11, 31, 25}, StepSize::Day, true, {"2024", 12, 1, 25}},
        StepCase{"DayFrom30FebruaryLeap", {"2024", 2, 30, 25}, StepSize::Day, true, {"2024", 3, 1, 25}},
        StepCase{"DayFrom31FebruaryCommon", {"2023", 2, 31, 25}, StepSize::Day, true, {"2023", 3, 1, 25}},
        StepCase{"HalfHourOverMidnightOf31November", {"2024", 11, 31, 48}, StepSize::HalfHour, true, {"2024", 12, 1, 1}},
        StepCase{"HalfHourOverMidnightOf30February", {"2023", 2, 30, 48}, StepSize::HalfHour, true, {"2023", 3, 1, 1}},
        StepCase{"DayBackFrom31November", {"2024", 11, 31, 25}, StepSize::Day, false, {"2024", 11, 30, 25}},
        StepCase{"WeekFrom31November", {"2024", 11, 31, 25}, StepSize::Week, true, {"2024", 12, 8, 25}},
        StepCase{"YearPastRangeIsLeftToTheDateCheck", {"2799", 6, 1, 25}, StepSize::Year, true, {"2800", 6, 1, 25}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StepWorldDate, KeepsTheYearTextWhenTheYearDoesNotChange) {
  // A year typed with a leading zero stays as typed unless the step changes it.
  StepDate d{"0800", 5, 5, 10};
  ASSERT_TRUE(StepWorldDate(d, StepSize::Day, true));
  EXPECT_EQ(d.yearText, "0800");
  d = {"0800", 12, 31, 10};
  ASSERT_TRUE(StepWorldDate(d, StepSize::Day, true));
  EXPECT_EQ(d.yearText, "801");
}

TEST(StepWorldDate, RefusesIncompleteRowsAndLeavesThemAlone) {
  struct Row { const char* name; StepDate d; };
  const Row rows[] = {{"EmptyYear", {"", 1, 1, 1}},
                      {"YearWithLetters", {"19x9", 1, 1, 1}},
                      {"BlankMonth", {"2000", 0, 1, 1}},
                      {"BlankDay", {"2000", 1, 0, 1}},
                      {"BlankHour", {"2000", 1, 1, 0}},
                      {"HugeYear", {"99999999999", 1, 1, 1}}};
  for (const Row& r : rows) {
    StepDate d = r.d;
    EXPECT_FALSE(StepWorldDate(d, StepSize::Day, true)) << r.name;
    EXPECT_EQ(d.yearText, r.d.yearText) << r.name;
    EXPECT_EQ(d.day, r.d.day) << r.name;
  }
}

TEST(StepWorldDate, EndOfMonthRuleNeverGoesBelow28) {
  // A calendar that refuses every date: the cut-back stops at day 28.
  StepCalendar refusing = GregorianStepCalendar();
  refusing.dateExists = [](int, int, int) { return false; };
  StepDate d{"2024", 1, 31, 25};
  ASSERT_TRUE(StepWorldDate(d, StepSize::Month, true, refusing));
  EXPECT_EQ(d.day, 28);
}

struct NowCase {
  const char* name;
  int minutesAfterMidnight;
  int expectedDayOffset;
  int expectedHourEntry;
};

TEST(RoundToHalfHour, RoundsToTheHourListGrid) {
  const NowCase rows[] = {
      {"QuarterPastRoundsDown", 10 * 60 + 15, 0, 21},  // 10:15 -> 10:00
      {"SixteenPastRoundsUp", 10 * 60 + 16, 0, 22},    // 10:16 -> 10:30
      {"FortyFivePastRoundsDown", 10 * 60 + 45, 0, 22},  // 10:45 -> 10:30
      {"FortySixPastRoundsUp", 10 * 60 + 46, 0, 23},   // 10:46 -> 11:00
      {"MidnightStays", 0, 0, 1},
      {"TenToMidnightIsNextDay", 23 * 60 + 50, 1, 1},  // 23:50 -> 00:00 next day
      {"QuarterToMidnightStays", 23 * 60 + 45, 0, 48},  // 23:45 -> 23:30
  };
  const double day = 2460000.0;
  for (const NowCase& r : rows) {
    const HalfHourInstant h = RoundToHalfHour(day + r.minutesAfterMidnight / 1440.0);
    EXPECT_EQ(h.dayNumber, 2460000 + r.expectedDayOffset) << r.name;
    EXPECT_EQ(h.hourEntry, r.expectedHourEntry) << r.name;
  }
}

TEST(RoundToHalfHour, SecondsRoundToTheNearestMinuteFirst) {
  // 10:15:40 is 10:16 to the minute, so it rounds up to 10:30.
  const HalfHourInstant h = RoundToHalfHour(2460000.0 + (615 + 40.0 / 60) / 1440.0);
  EXPECT_EQ(h.hourEntry, 22);
}

TEST(LocalDayValueOf, AddsZoneAndHalfDay) {
  // 2000-01-01 12:00 UT is AJD 2451545.0; at GMT+1:00 that is 13:00 local.
  EXPECT_DOUBLE_EQ(LocalDayValueOf(2451545.0, 60), 2451545.0 + 13.0 / 24.0);
  EXPECT_DOUBLE_EQ(LocalDayValueOf(2451545.0, -300), 2451545.0 + 7.0 / 24.0);
}

TEST(ModeRules, RowsOfEachMode) {
  // Which rows each mode reads: the Enter key and the input-change handlers
  // act only on these.
  const bool uses[7][3] = {{false, false, false}, {true, false, false}, {false, true, false},
                           {false, false, true},  {true, true, false},  {true, false, true},
                           {false, true, true}};
  for (int mode = 0; mode <= 6; ++mode) {
    for (int row = 0; row < 3; ++row) {
      EXPECT_EQ(ModeUsesRow(mode, row), uses[mode][row]) << "mode " << mode << " row " << row;
    }
  }
}

TEST(SizeRule, SnapsWidthAndClampsHeightToTheMode) {
  EXPECT_EQ(ApplySizeRule({12000, 9000}, 1).width, 14400);
  EXPECT_EQ(ApplySizeRule({16000, 9000}, 1).width, 14400);
  EXPECT_EQ(ApplySizeRule({14400, 10600}, 1).height, 9565);
  EXPECT_EQ(ApplySizeRule({14400, 12000}, 6).height, 10600);
  EXPECT_EQ(ApplySizeRule({14400, 3000}, 4).height, 5000);
  EXPECT_EQ(ApplySizeRule({14400, 7000}, 2).height, 7000);
}

TEST(DigitsOnly, KeepsOnlyDigits) {
  EXPECT_EQ(DigitsOnly("19x9"), "199");
  EXPECT_EQ(DigitsOnly("-44 BC"), "44");
  EXPECT_EQ(DigitsOnly("abc"), "");
}

TEST(AddOrbToTitleText, EqualOrbsOrRange) {
  auto fmt = [](double x) { return std::to_string(static_cast<int>(x * 100 + 0.5)); };
  EXPECT_EQ(AddOrbToTitleText("World transits", {true, 0.05, 0.05}, true, "Orb", "Orbs", "to", fmt),
            "World transits  Orb 5.");
  EXPECT_EQ(AddOrbToTitleText("World transits", {true, 0.05, 0.05}, false, "Orb", "Orbs", "to", fmt),
            "World transits  Orb 5");
  EXPECT_EQ(AddOrbToTitleText("Synastry", {false, 0.02, 0.17}, true, "Orb", "Orbs", "to", fmt),
            "Synastry  Orbs: 2 to 17");
  // Every orb at 0°: no smallest non-zero orb exists (the engine leaves its
  // sentinel of 20 rad), so the equal-orbs statement names 0°.
  EXPECT_EQ(AddOrbToTitleText("World transits", {false, 20.0, 0.0}, true, "All orbs:", "Orbs", "to", fmt),
            "World transits  All orbs: 0.");
}

}  // namespace
}  // namespace vemo
