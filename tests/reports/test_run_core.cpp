// The run search without a window: its messages, and runs over made-up skies
// (one sky per day) that catch a found flag kept from an earlier step and the
// 3-stellium rule for sought planets.
#include "app/reports/run_core.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/aspects/vocabulary.h"

namespace vemo::reports {
namespace {

std::string Text(int item) { return item == 7 ? "found" : ""; }

TEST(RunFoundMessage, NamesThePatternTheCountAndThePlanets) {
  struct Case {
    int pattern;
    std::array<int, 3> planets;
    bool twoOrMore;
    int count;
    const char* expected;
  } const cases[] = {
      {kGrandTrine, {0, 0, 0}, false, 1, "Grand trine found."},
      {kGrandTrine, {0, 0, 0}, true, 3, "Three grand trines found."},
      {kTSquare, {0, 0, 0}, true, 2, "Two T-squares found."},
      {kStellium3, {0, 0, 0}, true, 2, "Two 3-stelliums found."},
      {kYodKite, {0, 4, 6}, false, 1, "Yod-kite found\r\ninvolving Mars Saturn."},
  };
  for (const Case& c : cases) {
    const RunCriteria criteria = MakeRunCriteria(c.pattern, c.planets, c.twoOrMore, 2);
    EXPECT_EQ(RunFoundMessage(criteria, c.count, Text), c.expected);
  }
}

TEST(RunCriteria, CountsThePlanetsAndFindsOneNamedTwice) {
  const RunCriteria c = MakeRunCriteria(kKite, {4, 0, 9}, true, 12);
  EXPECT_EQ(c.numPlanetsSought, 2);
  EXPECT_TRUE(c.planetsGiven);
  EXPECT_EQ(c.numToFind, kMaxNumToFind);
  EXPECT_EQ(RepeatedSoughtPlanet({4, 0, 9}), 0);
  EXPECT_EQ(RepeatedSoughtPlanet({0, 0, 0}), 0);
  EXPECT_EQ(RepeatedSoughtPlanet({5, 4, 5}), 5);
}

// Longitudes in degrees of planets 1..9 (Earth .. Pluto), one sky a day.
using Sky = std::array<double, 9>;

// Earth, Mars and Jupiter in a grand trine; the rest free of trines.
constexpr Sky kTrineWithMars{0, 45, 100, 120, 240, 190, 200, 300, 330};
// Two grand trines without Mars (Earth, Jupiter, Saturn; Venus, Uranus,
// Neptune).
constexpr Sky kTwoTrinesWithoutMars{0, 200, 30, 75, 120, 240, 150, 270, 340};
// Two grand trines, one of them with Mars.
constexpr Sky kTwoTrinesOneWithMars{0, 200, 30, 120, 240, 75, 150, 270, 340};
// Earth, Mercury and Venus in conjunction; Mars, Jupiter and Saturn in
// conjunction far from them.
constexpr Sky kStelliumWithoutMars{0, 3, 6, 90, 200, 250, 300, 330, 160};
constexpr Sky kStelliumWithMars{0, 40, 80, 180, 183, 186, 270, 300, 330};

struct RunCase {
  const char* name;
  RunCriteria criteria;
  std::vector<Sky> days;  // the sky of step 1, 2, ...; the last one stays
  RunSearchEnd end;
  long steps;
  const char* message;
};

void PrintTo(const RunCase& c, std::ostream* os) { *os << c.name; }

class SkyRunTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(SkyRunTest, StopsWhereThePatternWithItsPlanetsIs) {
  const RunCase& c = GetParam();
  // 1 January 2000, 12:00 at GMT: the world row as the window holds it.
  const DateRow start{"2000", 1, 1, 25, 24};
  const double startAjd = 2451544.5 + 0.5;
  EngineServices services;
  services.HelioLongitude = [&c, startAjd](int planet, double ajd) {
    const auto day = static_cast<size_t>(std::lround(ajd - startAjd));
    const Sky& sky = c.days[std::clamp(day, size_t{1}, c.days.size()) - 1];
    return sky[static_cast<size_t>(planet - 1)] * kFullCircle / 360.0;
  };
  AspectEngine engine(services);
  RunSearchOptions options;
  options.criteria = c.criteria;
  options.lastAjd = startAjd + 10;
  const RunSearchResult r = SearchForPattern(engine, start, options, Text);
  EXPECT_EQ(r.end, c.end);
  EXPECT_EQ(r.steps, c.steps);
  EXPECT_EQ(r.message, c.message);
  EXPECT_FALSE(engine.Run.InProgress);
  // Steps leave out the marks and texts; the table left behind is still the
  // one Compute gives for that date.
  AspectEngine fresh(services);
  fresh.PlutoAvailable = engine.PlutoAvailable;
  ComputeRequest request;
  request.JulianDates = engine.JulianDates;
  request.WorldZoneMinutes = engine.WorldZoneMinutes;
  request.WorldLocalDay = engine.WorldLocalDay;
  fresh.Compute(request, options.settings);
  ASSERT_EQ(fresh.Table.Cells.size(), engine.Table.Cells.size());
  for (size_t i = 0; i < fresh.Table.Cells.size(); ++i) {
    EXPECT_EQ(engine.Table.Cells[i].Text, fresh.Table.Cells[i].Text) << "cell " << i;
    EXPECT_EQ(engine.Table.Cells[i].Bold, fresh.Table.Cells[i].Bold) << "cell " << i;
  }
  EXPECT_EQ(engine.Table.Summary, fresh.Table.Summary);
  EXPECT_EQ(engine.Table.PatternText, fresh.Table.PatternText);
  EXPECT_FALSE(engine.Table.Summary.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Skies, SkyRunTest,
    ::testing::Values(
        RunCase{"FirstGrandTrine", MakeRunCriteria(kGrandTrine, {}, false, 2), {kTrineWithMars}, RunSearchEnd::Found,
                1, "Grand trine found."},
        // A trine with Mars at step 1 must not make step 2's two trines
        // without Mars count.
        RunCase{"FoundFlagDoesNotOutliveItsStep",
                MakeRunCriteria(kGrandTrine, {4, 0, 0}, true, 2),
                {kTrineWithMars, kTwoTrinesWithoutMars, kTwoTrinesOneWithMars},
                RunSearchEnd::Found,
                3,
                "Two grand trines found\r\ninvolving Mars."},
        RunCase{"StelliumWithoutTheSoughtPlanetGoesOn",
                MakeRunCriteria(kStellium3, {0, 4, 0}, false, 2),
                {kStelliumWithoutMars, kStelliumWithMars},
                RunSearchEnd::Found,
                2,
                "3-Stellium found\r\ninvolving Mars."},
        RunCase{"NeverFoundStopsAtTheLastInstant", MakeRunCriteria(kGrandSextile, {}, false, 2),
                {kTrineWithMars}, RunSearchEnd::PastLast, 10, ""}),
    [](const ::testing::TestParamInfo<RunCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace vemo::reports
