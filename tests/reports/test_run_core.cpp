// The run search without a window: its messages, and runs over made-up skies
// (one sky per day) that catch a found flag kept from an earlier step and the
// 3-stellium rule for sought planets.
#include "app/reports/run_core.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/aspects/vocabulary.h"
#include "app/time/date_texts.h"

namespace vemo::reports {
namespace {

std::string Text(int item) { return item == 7 ? "found" : item == 422 ? "involving" : ""; }
std::string GermanText(int item) { return item == 7 ? "gefunden" : item == 422 ? "mit" : ""; }

TEST(RunFoundMessage, NamesThePatternTheCountAndThePlanets) {
  struct Case {
    int language;
    int pattern;
    std::array<int, 3> planets;
    bool twoOrMore;
    int count;
    const char* expected;
  } const cases[] = {
      {0, kGrandTrine, {0, 0, 0}, false, 1, "Grand trine found."},
      {0, kGrandTrine, {0, 0, 0}, true, 3, "Three grand trines found."},
      {0, kTSquare, {0, 0, 0}, true, 2, "Two T-squares found."},
      {0, kStellium3, {0, 0, 0}, true, 2, "Two 3-stelliums found."},
      {0, kGrandCross, {0, 0, 0}, true, 2, "Two grand crosses found."},
      {0, kYodKite, {0, 4, 6}, false, 1, "Yod-kite found\r\ninvolving Mars Saturn."},
      {1, kGrandTrine, {0, 0, 0}, false, 1, "Gro\u00DFes Trigon gefunden."},
      {1, kGrandCross, {0, 0, 0}, true, 2, "Zwei Gro\u00DFe Kreuze gefunden."},
      {1, kKite, {1, 0, 8}, true, 3, "Drei Drachen gefunden\r\nmit Erde Neptun."},
  };
  for (const Case& c : cases) {
    SetNamesLanguage(c.language);
    const RunCriteria criteria = MakeRunCriteria(c.pattern, c.planets, c.twoOrMore, 2);
    EXPECT_EQ(RunFoundMessage(criteria, c.count, c.language == 1 ? GermanText : Text), c.expected);
  }
  SetNamesLanguage(0);
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

// The search and what it leaves in the engine, on 1 to 8 threads.
struct RunOutcome {
  RunSearchResult result;
  AspectEngine engine;
};

RunOutcome RunOnSkies(const RunCase& c, int jobs, long lastDays = 10,
                      std::function<bool(long, double)> progress = {}) {
  // 1 January 2000, 12:00 at GMT: the world row as the window holds it.
  const DateRow start{"2000", 1, 1, 25, 24};
  const double startAjd = 2451544.5 + 0.5;
  EngineServices services;
  services.HelioLongitude = [&c, startAjd](int planet, double ajd) {
    const auto day = static_cast<size_t>(std::lround(ajd - startAjd));
    const Sky& sky = c.days[std::clamp(day, size_t{1}, c.days.size()) - 1];
    return sky[static_cast<size_t>(planet - 1)] * kFullCircle / 360.0;
  };
  RunOutcome out{{}, AspectEngine(services)};
  RunSearchOptions options;
  options.criteria = c.criteria;
  options.lastAjd = startAjd + static_cast<double>(lastDays);
  options.jobs = jobs;
  options.progress = std::move(progress);
  out.result = SearchForPattern(out.engine, start, options, Text);
  // Steps leave out the marks and texts; the table left behind is still the
  // one Compute gives for that date (without the run's sought planets, which
  // shape the pattern lines).
  if (c.criteria.planetsGiven) return out;
  AspectEngine fresh(services);
  fresh.PlutoAvailable = out.engine.PlutoAvailable;
  ComputeRequest request;
  request.JulianDates = out.engine.JulianDates;
  request.WorldZoneMinutes = out.engine.WorldZoneMinutes;
  request.WorldLocalDay = out.engine.WorldLocalDay;
  fresh.Compute(request, options.settings);
  EXPECT_FALSE(out.engine.Table.Summary.empty());
  EXPECT_EQ(out.engine.Table.Summary, fresh.Table.Summary);
  EXPECT_EQ(out.engine.Table.PatternText, fresh.Table.PatternText);
  EXPECT_EQ(out.engine.Table.Cells.size(), fresh.Table.Cells.size());
  for (size_t i = 0; i < fresh.Table.Cells.size() && i < out.engine.Table.Cells.size(); ++i) {
    EXPECT_EQ(out.engine.Table.Cells[i].Text, fresh.Table.Cells[i].Text) << "cell " << i;
    EXPECT_EQ(out.engine.Table.Cells[i].Bold, fresh.Table.Cells[i].Bold) << "cell " << i;
  }
  EXPECT_FALSE(out.engine.Run.InProgress);
  return out;
}

// In German too: the pattern names the finders report are not the ones shown.
TEST_P(SkyRunTest, StopsWhereThePatternWithItsPlanetsIs) {
  const RunCase& c = GetParam();
  for (int language : {kEnglish, kGerman}) {
    SetNamesLanguage(language);
    for (int jobs : {1, 2, 8}) {
      SCOPED_TRACE(std::to_string(jobs) + " jobs, language " + std::to_string(language));
      const RunOutcome r = RunOnSkies(c, jobs, static_cast<long>(std::max<size_t>(10, c.days.size() + 5)));
      EXPECT_EQ(r.result.end, c.end);
      EXPECT_EQ(r.result.steps, c.steps);
      if (language == kEnglish) {
        EXPECT_EQ(r.result.message, c.message);
      }
    }
  }
  SetNamesLanguage(kEnglish);
}

// Over several blocks of steps: the same end, steps, date and engine state on
// any number of threads, and the progress called in order with the same
// steps and instants, also where it stops the search.
TEST(RunOnThreads, SameAsOneThreadOverManyBlocks) {
  RunCase c{"Late", MakeRunCriteria(kStellium3, {0, 4, 0}, false, 2), {}, RunSearchEnd::Found, 0, ""};
  c.days.assign(700, kStelliumWithoutMars);
  c.days.push_back(kStelliumWithMars);
  for (long stopAt : {0L, 512L}) {
    std::vector<std::pair<long, double>> calls[2];
    RunOutcome outcomes[2] = {
        RunOnSkies(c, 1, 800, [&](long s, double t) { calls[0].emplace_back(s, t); return s != stopAt; }),
        RunOnSkies(c, 4, 800, [&](long s, double t) { calls[1].emplace_back(s, t); return s != stopAt; })};
    SCOPED_TRACE(stopAt);
    EXPECT_EQ(outcomes[0].result.end, stopAt ? RunSearchEnd::Stopped : RunSearchEnd::Found);
    EXPECT_EQ(outcomes[0].result.steps, stopAt ? 512 : 701);
    EXPECT_EQ(outcomes[1].result.end, outcomes[0].result.end);
    EXPECT_EQ(outcomes[1].result.steps, outcomes[0].result.steps);
    EXPECT_EQ(outcomes[1].result.lastAjd, outcomes[0].result.lastAjd);
    EXPECT_EQ(outcomes[1].result.row.dayIndex, outcomes[0].result.row.dayIndex);
    EXPECT_EQ(outcomes[1].result.message, outcomes[0].result.message);
    EXPECT_EQ(outcomes[1].engine.JulianDates, outcomes[0].engine.JulianDates);
    EXPECT_EQ(outcomes[1].engine.Table.PatternText, outcomes[0].engine.Table.PatternText);
    EXPECT_EQ(outcomes[1].engine.Table.Summary, outcomes[0].engine.Table.Summary);
    for (size_t i = 0; i < outcomes[0].engine.Table.Cells.size(); ++i)
      EXPECT_EQ(outcomes[1].engine.Table.Cells[i].Text, outcomes[0].engine.Table.Cells[i].Text);
    EXPECT_EQ(calls[1], calls[0]);
  }
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
