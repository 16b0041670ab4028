// vemo-cli search: its arguments, the first instant it finds against a plain
// day-by-day scan with the engine (Julian dates counted by hand, no date rows,
// no run state), and its exit statuses.

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

TEST(SearchArguments, NamesNumbersAndRanges) {
  const struct {
    Arguments args;
    std::string error;  // "" or a piece of the message
    int pattern = -1;
    std::array<int, 3> planets{0, 0, 0};
    int count = 0;
    ui::StepSize step = ui::StepSize::Day;
  } cases[] = {
      {{"--pattern", "grand-trine", "--from", "2024-01-01"}, "", 0},
      {{"--pattern=Grand Trine", "--from=2024-01-01"}, "", 0},
      {{"--pattern", "t square", "--from", "2024-01-01"}, "", 3},
      {{"--pattern", "YOD-KITE", "--from", "2024-01-01"}, "", 6},
      {{"--pattern", "3 stellium", "--from", "2024-01-01"}, "", 11},
      {{"--pattern", "3-stellium", "--from", "2024-01-01"}, "", 11},
      {{"--pattern", "13", "--from", "2024-01-01"}, "", 13},
      {{"--pattern", "14", "--from", "2024-01-01"}, "--pattern is one of Grand trine, Kite, "},
      {{"--pattern", "grandtrine", "--from", "2024-01-01"}, "Grand sextile, Midpoint (or 0 to 13), not \"grandtrine\""},
      {{"--pattern", "kite", "--planets", "PLUTO,2,mars", "--from", "2024-01-01"}, "", 1, {9, 2, 4}},
      {{"--pattern", "kite", "--planets", "Mars,4", "--from", "2024-01-01"}, "Planet specified more than once."},
      {{"--pattern", "kite", "--planets", "1,2,3,5", "--from", "2024-01-01"}, "one to three planets"},
      {{"--pattern", "kite", "--planets", "0", "--from", "2024-01-01"}, "one to three planets"},
      {{"--pattern", "kite", "--planets", "mars,", "--from", "2024-01-01"}, "one to three planets"},
      {{"--pattern", "kite", "--count", "9", "--from", "2024-01-01"}, "", 1, {}, 9},
      {{"--pattern", "kite", "--count", "1", "--from", "2024-01-01"}, "--count is a whole number 2 to 9"},
      {{"--pattern", "kite", "--count", "10", "--from", "2024-01-01"}, "--count is a whole number 2 to 9"},
      {{"--pattern", "kite", "--step", "year", "--from", "2024-01-01"}, "", 1, {}, 0, ui::StepSize::Year},
      {{"--pattern", "kite", "--step", "halfhour", "--from", "2024-01-01"}, "--step is day, week, month or year"},
      {{"--pattern", "kite", "--to", "2024-01-01"}, "--from is required"},
      {{"--from", "2024-01-01"}, "--pattern is required"},
      {{"--pattern", "kite", "--from", "2024-01-01", "--orbs", "1,2,3"}, "--orbs needs seven"},
  };
  for (const auto& c : cases) {
    SearchOptions o;
    const std::string error = ParseSearchArguments(c.args, o);
    SCOPED_TRACE(c.args[1]);
    if (!c.error.empty()) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
      continue;
    }
    ASSERT_EQ(error, "");
    EXPECT_EQ(o.pattern, c.pattern);
    EXPECT_EQ(o.planets, c.planets);
    EXPECT_EQ(o.count, c.count);
    EXPECT_EQ(o.step, c.step);
  }
}

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
  ASSERT_EQ(Search("--pattern t-square --from 2024-01-01T14:00+01:00", out), 0);
  const std::string head = "World date: 2024-01-06 14:00 GMT+1:00, JD 2460316.041667 (UT)\nT-square found.\n\nT-square: ";
  EXPECT_EQ(out.rfind(head, 0), 0u) << out;
  EXPECT_NE(out.find("\n\n5 steps\n"), std::string::npos) << out;
}

}  // namespace
}  // namespace vemo::cli
