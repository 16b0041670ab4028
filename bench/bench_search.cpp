// The run search (vemo-cli search): what one step of SearchForPattern costs
// against the World-transits computation it runs, and what share of that
// computation the planet positions take. Positions come from the program
// folder as in the program.
//
//   BM_SearchStep        a search over a year of days for a grand sextile,
//                        which 2024 does not hold: every step is tested
//   BM_ComputeFromRows   one ComputeFromRows of World transits, a different
//                        day each time (as a search moves on); /1 times
//                        the positions too
//   BM_NinePositions     HelioLongitude of Earth to Pluto at one instant
//   BM_StepTheDate       the world date moved one day, the step's own work
//
// Counters: "per_step" (time of one step or one computation), "steps_per_s",
// "positions" (the positions one operation asked for: a table needs the nine
// of its date and, for each aspect, two more half an hour later for its
// applying/separating sign; a search step, which leaves the signs out, the
// nine) and, with /1, "position_share" (the part of the time spent in
// HelioLongitude). A step costs about a third of one computation;
// BM_NinePositions over BM_SearchStep is the share of the nine positions.
// Compare the two in one run,
//   --benchmark_filter='SearchStep|FromRows/0' --benchmark_repetitions=4
//   --benchmark_enable_random_interleaving=true
// as runs apart can differ by 20% on a machine that is busy otherwise.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <string>

#include "app/aspects/date_rows.h"
#include "app/aspects/vocabulary.h"
#include "app/reports/run_core.h"
#include "app/text/program_text.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"

namespace {

using namespace vemo;

constexpr int kGrandSextile = 12;
constexpr double kNewYear2024 = 2460311.0;  // 2024-01-01 12:00 UT
constexpr int kGmtZoneEntry = 24;           // the "GMT" entry of the zone lists

long g_positions = 0;
// With g_timePositions the engine's positions are timed one by one (the clock
// adds some 50 ns to each), into g_positionSeconds.
bool g_timePositions = false;
double g_positionSeconds = 0.0;

AspectEngine CountingEngine() {
  static const bool ready = [] {
    const std::string folder = ProgramFolder();
    SetUpDataFolder(folder);
    LoadProgramText(folder);
    std::string error;
    LoadPlutoTable(kPlutoFileName, error);
    return true;
  }();
  (void)ready;
  EngineServices s = DefaultEngineServices();
  s.HelioLongitude = [](int planet, double ajd) {
    ++g_positions;
    if (!g_timePositions) return HelioLongitude(planet, ajd);
    const auto t0 = std::chrono::steady_clock::now();
    const double longitude = HelioLongitude(planet, ajd);
    g_positionSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return longitude;
  };
  AspectEngine engine(s);
  engine.PlutoAvailable = PlutoAvailable();
  return engine;
}

DateRow Row(int month, int day) { return DateRow{"2024", month, day, kNoonHourIndex, kGmtZoneEntry}; }

void PerStep(benchmark::State& state, long steps) {
  using benchmark::Counter;
  state.counters["steps_per_s"] = Counter(static_cast<double>(steps), Counter::kIsRate);
  state.counters["per_step"] = Counter(static_cast<double>(steps), Counter::kIsRate | Counter::kInvert);
  state.counters["positions"] = Counter(static_cast<double>(g_positions) / static_cast<double>(steps));
  g_positions = 0;
}

void BM_SearchStep(benchmark::State& state) {
  AspectEngine engine = CountingEngine();
  reports::RunSearchOptions options;
  options.criteria = reports::MakeRunCriteria(kGrandSextile, {0, 0, 0}, false, reports::kMinNumToFind);
  options.lastAjd = kNewYear2024 + 365;
  options.localZoneIndex = kGmtZoneEntry;
  const auto text = [](int item) { return ProgramText(item); };
  g_positions = 0;
  long steps = 0;
  for (auto _ : state) {
    const reports::RunSearchResult r = reports::SearchForPattern(engine, Row(1, 1), options, text);
    if (r.end != reports::RunSearchEnd::PastLast) {
      state.SkipWithError("the search did not run to its last day");
      return;
    }
    steps += r.steps;
  }
  PerStep(state, steps);
}
BENCHMARK(BM_SearchStep)->Unit(benchmark::kMillisecond);

// Arg 1: the positions timed, "position_share" their part of the time.
void BM_ComputeFromRows(benchmark::State& state) {
  AspectEngine engine = CountingEngine();
  std::array<DateRow, 3> rows{};
  g_positions = 0;
  g_positionSeconds = 0.0;
  g_timePositions = state.range(0) == 1;
  long n = 0;
  for (auto _ : state) {
    rows[0] = Row(1 + static_cast<int>(n / 28 % 12), 1 + static_cast<int>(n % 28));
    benchmark::DoNotOptimize(
        ComputeFromRows(engine, Mode::WorldTransits, rows, kGmtZoneEntry, DefaultOrbSettings(), false));
    ++n;
  }
  if (g_timePositions) {
    state.counters["position_share"] =
        benchmark::Counter(g_positionSeconds, benchmark::Counter::kIsRate);
  }
  g_timePositions = false;
  PerStep(state, n);
}
BENCHMARK(BM_ComputeFromRows)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_NinePositions(benchmark::State& state) {
  CountingEngine();
  long n = 0;
  for (auto _ : state) {
    const double ajd = kNewYear2024 + static_cast<double>(n % 365);
    for (int p = 1; p <= kMaxPlanets; ++p) benchmark::DoNotOptimize(HelioLongitude(p, ajd));
    ++n;
  }
  g_positions = 9 * n;
  PerStep(state, n);
}
BENCHMARK(BM_NinePositions)->Unit(benchmark::kMicrosecond);

// What a search step adds to its computation, on its own: the world date
// moved one day with the date library's calendar, as SearchForPattern does.
void BM_StepTheDate(benchmark::State& state) {
  const StepCalendar calendar = reports::DateLibraryStepCalendar();
  StepDate date{"2024", 1, 1, kNoonHourIndex};
  long n = 0;
  for (auto _ : state) {
    if (++n % 36500 == 0) date.yearText = "2024";  // stay within the years the program takes
    benchmark::DoNotOptimize(StepWorldDate(date, StepSize::Day, true, calendar));
  }
  PerStep(state, n);
}
BENCHMARK(BM_StepTheDate)->Unit(benchmark::kMicrosecond);

}  // namespace
