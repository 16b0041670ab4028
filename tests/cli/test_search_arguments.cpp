// vemo-cli search: its arguments, read without running the program.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/search.h"

namespace vemo::cli {
namespace {

TEST(SearchArguments, NamesNumbersAndRanges) {
  const struct {
    Arguments args;
    std::string error;  // "" or a piece of the message
    int pattern = -1;
    std::array<int, 3> planets{0, 0, 0};
    int count = 0;
    StepSize step = StepSize::Day;
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
      {{"--pattern", "kite", "--step", "year", "--from", "2024-01-01"}, "", 1, {}, 0, StepSize::Year},
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

}  // namespace
}  // namespace vemo::cli
