// vemo-cli search run through the shell: the first instant it finds against a
// plain day-by-day scan with the engine (Julian dates counted by hand, no date
// rows, no run state), and its exit statuses. Its arguments are in
// test_search_arguments.cpp.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/aspects/date_rows.h"
#include "app/aspects/vocabulary.h"
#include "app/text/program_text.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"
#include "cli/search.h"
#include "tests/support/run_command.h"

namespace vemo::cli {
namespace {

int Search(const std::string& args, std::string& out, const char* streams = "2>/dev/null") {
  return vemo::testing::RunCommand("( TZ=UTC0 '" VEMO_CLI_PROGRAM "' search " + args + " " + streams + " )", out);
}

// The "jd" of search's JSON, -1 when there is none.
double FoundJd(const std::string& json) {
  const std::size_t at = json.find("\"jd\": ");
  return at == std::string::npos ? -1.0 : std::stod(json.substr(at + 6));
}

// True when a pattern line of the table names the pattern and every planet.
bool HasPatternWith(const std::string& patternText, int pattern, const std::vector<int>& planets) {
  const std::string head = PatternName(pattern) + ": ";
  for (std::size_t at = 0; (at = patternText.find(head, at)) != std::string::npos; at += head.size()) {
    const std::string line = patternText.substr(at, patternText.find(" (", at) - at);
    bool all = true;
    for (int p : planets) all = all && line.find(PlanetName(p).substr(0, 2), head.size()) != std::string::npos;
    if (all) return true;
  }
  return false;
}

TEST(Search, FindsTheFirstDayAPlainScanFinds) {
  const std::string folder = ProgramFolder();
  ASSERT_EQ(SetUpDataFolder(folder), "");
  LoadProgramText(folder);
  std::string plutoError;
  LoadPlutoTable(kPlutoFileName, plutoError);
  AspectEngine engine(DefaultEngineServices());
  engine.PlutoAvailable = PlutoAvailable();
  constexpr double kNewYear2024 = 2460311.0;  // 2024-01-01 12:00 UT
  const struct {
    int pattern;
    std::vector<int> planets;
    int days;  // the step
    std::string args;
  } cases[] = {
      {0, {}, 1, "--pattern grand-trine --from 2024-01-01T12:00Z"},
      {0, {5, 2}, 1, "--pattern 0 --planets jupiter,mercury --from 2024-01-01T12:00Z"},
      {5, {9, 1}, 7, "--pattern yod --planets pluto,earth --step week --from 2024-01-01T12:00Z"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    double expected = -1.0;
    for (int k = 1; k <= 600 && expected < 0; ++k) {
      ComputeRequest r;
      r.JulianDates[0] = kNewYear2024 + k * c.days;
      r.WorldLocalDay = r.JulianDates[0] + 0.5;
      ASSERT_TRUE(engine.Compute(r, DefaultOrbSettings()).Ok);
      if (HasPatternWith(engine.Table.PatternText, c.pattern, c.planets)) expected = r.JulianDates[0];
    }
    ASSERT_GT(expected, kNewYear2024 + 2 * c.days) << "pick a start further from the pattern";
    std::string out;
    EXPECT_EQ(Search(c.args + " --format json", out), 0) << out;
    EXPECT_EQ(FoundJd(out), expected) << out;
  }
}

TEST(Search, OutputAndExitStatuses) {
  const struct {
    std::string args, streams;
    int status;
    std::string out;  // the whole of the stream kept
  } cases[] = {
      {"--pattern 'grand sextile' --from 2024-01-01T12:00Z --to 2024-03-01T12:00Z", "2>/dev/null", 3,
       "No grand sextile found from 2024-01-01 12:00 GMT to 2024-03-01 12:00 GMT (60 steps).\n"},
      {"--pattern 12 --count 2 --from 2024-01-01T12:00+01:00 --to 2024-01-02T10:30Z --format json", "2>/dev/null",
       3, "{\"found\": false, \"steps\": 0, \"last_jd\": 2460310.9583333335}\n"},
      {"--pattern kite --planets mars,Mars --from 2024-01-01", "2>&1 >/dev/null", 2,
       "vemo-cli search: Planet specified more than once. (try vemo-cli search --help)\n"},
      {"--pattern kite --from 2024-01-01T12:00Z --to 2023-12-31T12:00Z", "2>&1 >/dev/null", 2,
       "vemo-cli search: --to 2023-12-31 12:00 GMT is before --from 2024-01-01 12:00 GMT\n"},
      {"--pattern 'grand sextile' --from 2799-12-01T12:00+05:00", "2>&1", 3,
       "No grand sextile found from 2799-12-01 12:00 GMT+5:00 to 2799-12-31 23:30 GMT+5:00 (30 steps).\n"},
  };
  for (const auto& c : cases) {
    std::string out;
    EXPECT_EQ(Search(c.args, out, c.streams.c_str()), c.status) << c.args;
    EXPECT_EQ(out, c.out) << c.args;
  }
  std::string out;
  EXPECT_EQ(Search("--pattern kite --from 2024-01-01 --jobs 0", out, "2>&1 >/dev/null"), 2);
  EXPECT_NE(out.find("--jobs is a whole number 1 to 64, not \"0\""), std::string::npos) << out;
  ASSERT_EQ(Search("--pattern t-square --from 2024-01-01T14:00+01:00", out), 0);
  const std::string head = "World date: 2024-01-06 14:00 GMT+1:00, JD 2460316.041667 (UT)\nT-square found.\n\nT-square: ";
  EXPECT_EQ(out.rfind(head, 0), 0u) << out;
  EXPECT_NE(out.find("\n\n5 steps\n"), std::string::npos) << out;
}

// Any number of threads finds the same first date after the same steps, and
// ends alike where nothing is found, where a sought planet's positions end
// and where the dates run past the last the program takes.
TEST(Search, SameResultForEveryNumberOfJobs) {
  const std::string cases[] = {
      "--pattern kite --from 2000-01-01 --format json",
      "--pattern yod --count 3 --from 1700-01-01 --step week",
      "--pattern '6-stellium' --from 2100-01-01 --to 2140-01-01",
      "--pattern 't-square' --planets pluto --from 2199-06-01",
      "--pattern 'grand sextile' --from 2799-06-01T12:00+05:00 --step month",
  };
  for (const std::string& args : cases) {
    SCOPED_TRACE(args);
    std::string one, four;
    const int status = Search(args + " --jobs 1", one, "2>&1");
    EXPECT_EQ(Search(args + " --jobs 4", four, "2>&1"), status);
    EXPECT_EQ(four, one);
  }
}

// A sought planet without positions at any date to test is refused at once;
// where its positions end inside the dates the search stops there; a first
// date to test that the program refuses is named. stderr comes first.
TEST(Search, PlanetsWithoutPositionsAndRefusedFirstDates) {
  const struct {
    std::string args;
    int status;
    std::string out;  // stderr and stdout
  } cases[] = {
      {"--pattern midpoint --planets pluto --from 2199-12-31T00:00Z", 2,
       "vemo-cli search: Pluto has positions only from 1600-01-01 00:00 UT to 2200-01-01 00:00 UT, none at the "
       "dates to test (2200-01-01 00:00 GMT to 2799-12-31 23:30 GMT)\n"},
      {"--pattern kite --planets mars,7 --from 1500-01-01 --to 1590-01-01", 2,
       "vemo-cli search: Uranus has positions only from 1600-01-01 00:00 UT to 2800-01-01 00:00 UT, none at the "
       "dates to test (1500-01-02 12:00 GMT to 1590-01-01 12:00 GMT)\n"},
      {"--pattern midpoint --planets pluto --from 2199-12-30T00:00Z", 3,
       "vemo-cli search: Pluto has no positions after 2200-01-01 00:00 UT; the search stopped there (1 step)\n"
       "No midpoint involving Pluto found from 2199-12-30 00:00 GMT to 2199-12-31 00:00 GMT (1 step).\n"},
      {"--pattern yod --planets neptune,pluto --step year --from 2195-01-01 --format json", 3,
       "vemo-cli search: Pluto has no positions after 2200-01-01 00:00 UT; the search stopped there (4 steps)\n"
       "{\"found\": false, \"steps\": 4, \"last_jd\": 2524229}\n"},
      // 2799-12-31 23:30 at GMT-11:30 is 2800-01-01 11:00 UT, past the .dac files.
      {"--pattern kite --planets jupiter --from 2799-12-29T23:30-11:30", 3,
       "vemo-cli search: Jupiter has no positions after 2800-01-01 00:00 UT; the search stopped there (1 step)\n"
       "No kite involving Jupiter found from 2799-12-29 23:30 GMT-11:30 to 2799-12-30 23:30 GMT-11:30 (1 step).\n"},
      {"--pattern midpoint --from 2799-12-31", 3,
       "vemo-cli search: the search stopped before 2800-01-01 12:00 GMT (0 steps): World date is too late: the "
       "last date that can be computed is December 31, 2799.\n"
       "No midpoint found from 2799-12-31 12:00 GMT to 2799-12-31 23:30 GMT (0 steps).\n"},
      // No date to test before --to: nothing is refused or named.
      {"--pattern kite --planets pluto --from 2200-01-01T00:00Z --to 2200-01-01T00:00Z", 3,
       "No kite involving Pluto found from 2200-01-01 00:00 GMT to 2200-01-01 00:00 GMT (0 steps).\n"},
  };
  for (const auto& c : cases) {
    std::string out;
    EXPECT_EQ(Search(c.args, out, "2>&1"), c.status) << c.args;
    EXPECT_EQ(out, c.out) << c.args;
  }
}

// The edges of each planet's positions, found from the positions alone: a
// position at `first` and `last`, none a bracket's width before or after an
// edge inside the span.
TEST(Search, PositionStretchesEndWhereTheDataEnds) {
  ASSERT_EQ(SetUpDataFolder(ProgramFolder()), "");
  std::string plutoError;
  ASSERT_TRUE(LoadPlutoTable(kPlutoFileName, plutoError)) << plutoError;
  constexpr double kYear1 = kFirstDayNumber - 0.5, kYear2800 = kLastDayNumber + 0.5;  // 0h UT
  constexpr double kYear1600 = 2305447.5, kYear2200 = 2524593.5;
  const struct {
    int planet;
    double from, to;
    bool any;
    double first, last;  // the edges: from and to when the positions go on past them
  } cases[] = {
      {9, kYear1, kYear2800 + 1, true, kYear1600, kYear2200},
      {7, kYear1, kYear2800 + 1, true, kYear1600, kYear2800},
      {5, kYear1, kYear2800 + 1, true, kYear1, kYear2800},
      {1, kYear1, kYear2800 + 1, true, kYear1, kYear2800 + 1},
      {9, kYear2200, kYear2800, false, 0, 0},
      {9, kYear1, kYear1600 - 1e-6, false, 0, 0},
      {8, kYear1600 - 30, kYear1600 + 30, true, kYear1600, kYear1600 + 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.planet) + " from " + std::to_string(c.from));
    const PositionStretch s = PositionStretchOf(c.planet, c.from, c.to);
    ASSERT_EQ(s.any, c.any);
    if (!c.any) continue;
    EXPECT_EQ(s.beginsInside, c.first != c.from);
    EXPECT_EQ(s.endsInside, c.last != c.to);
    EXPECT_NEAR(s.first, c.first, 2e-8);
    EXPECT_NEAR(s.last, c.last, 2e-8);
    EXPECT_GE(HelioLongitude(c.planet, s.first), 0);
    EXPECT_GE(HelioLongitude(c.planet, s.last), 0);
    if (s.beginsInside) {
      EXPECT_EQ(HelioLongitude(c.planet, s.first - 2e-8), kBeforeDataRange);
    }
    if (s.endsInside) {
      EXPECT_EQ(HelioLongitude(c.planet, s.last + 2e-8), kAfterDataRange);
    }
  }
}

}  // namespace
}  // namespace vemo::cli
