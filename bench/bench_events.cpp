// Aspect events (FindAspectEvents) against the daily scan they replace: a
// Compute of World transits for every day of the same span, whose cost is
// measured here over a year of days. Positions come from the program folder
// as in the program. Ratios, not times, are the point:
//
//   BM_EventsWorld/N     every pair of the nine bodies over N years from 2000
//   BM_EventsOuter/N     only the pairs among Jupiter..Pluto
//   BM_EventsPersonal/N  Personal transits to a birthdate of 1969, N years
//
// Counters: "events", "positions" (of one search), "per_event" (positions per
// event), "vs_daily" (positions of the daily Compute scan over the span
// divided by the positions of the search: above 1 the search is cheaper) and
// "compute_per_day" (positions of one World-transits Compute, the mean over
// 2000's days: the nine of the date and two for each aspect's sign).
#include <benchmark/benchmark.h>

#include <string>

#include "app/aspects/date_rows.h"
#include "app/aspects/events.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"

namespace {

using namespace vemo;

constexpr double kNewYear2000 = 2451544.5;                  // 2000-01-01 0h UT
constexpr double kBirth = 2440423.0 + 1200.0 / 1440 - 0.5;  // 1969-07-20 20:00 UT

long long g_positions = 0;

void SetUpOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  SetUpDataFolder(ProgramFolder());
  std::string error;
  LoadPlutoTable(kPlutoFileName, error);
}

EngineServices Counting() {
  SetUpOnce();
  EngineServices s = DefaultEngineServices();
  s.HelioLongitude = [](int planet, double ajd) {
    ++g_positions;
    return HelioLongitude(planet, ajd);
  };
  return s;
}

// Positions of one World-transits Compute, the mean over the days of 2000.
double ComputePositionsPerDay() {
  static const double perDay = [] {
    AspectEngine engine(Counting());
    engine.PlutoAvailable = PlutoAvailable();
    g_positions = 0;
    constexpr int kDays = 366;
    for (int d = 0; d < kDays; ++d) {
      ComputeRequest r;
      r.mode = Mode::WorldTransits;
      r.JulianDates = {kNewYear2000 + d + 0.5, -1.0, -1.0};
      r.WorldLocalDay = r.JulianDates[0] + 0.5;
      engine.Compute(r, DefaultOrbSettings());
    }
    return static_cast<double>(g_positions) / kDays;
  }();
  return perDay;
}

void Run(benchmark::State& state, EventSearchRequest r) {
  const EngineServices services = Counting();
  const double years = static_cast<double>(state.range(0));
  r.fromAJD = kNewYear2000;
  r.toAJD = kNewYear2000 + years * 365.25;
  EventSearchResult res;
  for (auto _ : state) {
    res = FindAspectEvents(services, r);
    benchmark::DoNotOptimize(res.events.data());
  }
  const double positions = static_cast<double>(res.positionsComputed);
  const double events = static_cast<double>(res.events.size());
  const double daily = (r.toAJD - r.fromAJD) * ComputePositionsPerDay();
  state.counters["events"] = events;
  state.counters["positions"] = positions;
  state.counters["per_event"] = events > 0 ? positions / events : 0.0;
  state.counters["vs_daily"] = positions > 0 ? daily / positions : 0.0;
  state.counters["compute_per_day"] = ComputePositionsPerDay();
}

void BM_EventsWorld(benchmark::State& state) { Run(state, EventSearchRequest{}); }
BENCHMARK(BM_EventsWorld)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_EventsOuter(benchmark::State& state) {
  EventSearchRequest r;
  r.planets.fill(false);
  for (int p = kJupiter; p <= kPluto; ++p) r.planets[static_cast<size_t>(p)] = true;
  Run(state, r);
}
BENCHMARK(BM_EventsOuter)->Arg(10)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_EventsPersonal(benchmark::State& state) {
  EventSearchRequest r;
  r.mode = Mode::Personal1;
  r.birthAJD = kBirth;
  Run(state, r);
}
BENCHMARK(BM_EventsPersonal)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace
