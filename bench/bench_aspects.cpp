// Aspect engine: Compute of a one-date and a two-date table, GetDurations for
// a busy World-transits table and for Personal transits with slow natal
// planets, and the full pattern and midpoint search. Positions come from the
// program folder (planets_vemo, the .dac files, the Pluto table) as in the
// program; the counter "positions" is the number of positions one operation
// asked for. To weigh a change, build the code before it in a tree of its own
// and run the two bench_aspects one after the other, several times in turn.
// VEMO_BENCH_LIBRARY_FOLDER names another folder to load planets_vemo from
// (an earlier build of it, bench/build-before); bench/compare-before uses it.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "app/aspects/date_rows.h"
#include "app/text/program_text.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"

namespace {

using namespace vemo;

// 2024-04-08 18:30 UT (busy: a stellium of Sun-near planets and several
// outer-planet aspects), a 1969-07-20 20:00 UT birthdate and 1990-06-15.
constexpr double kWorld = 2460409.0 + 1110.0 / 1440 - 0.5;
constexpr double kBirth1 = 2440423.0 + 1200.0 / 1440 - 0.5;
constexpr double kBirth2 = 2448058.0 + 390.0 / 1440 - 0.5;

long g_positions = 0;
long g_outer_positions = 0;  // of them Jupiter to Neptune

void SetUpOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  const std::string folder = ProgramFolder();
  if (const char* library = std::getenv("VEMO_BENCH_LIBRARY_FOLDER")) BindPlanetsVemo(library);
  SetUpDataFolder(folder);
  LoadProgramText(folder);
  std::string error;
  LoadPlutoTable(kPlutoFileName, error);
}

AspectEngine CountingEngine() {
  SetUpOnce();
  EngineServices s = DefaultEngineServices();
  s.HelioLongitude = [](int planet, double ajd) {
    ++g_positions;
    if (planet >= kJupiter && planet <= kNeptune) ++g_outer_positions;
    return HelioLongitude(planet, ajd);
  };
  AspectEngine engine(s);
  engine.PlutoAvailable = PlutoAvailable();
  return engine;
}

ComputeRequest Request(Mode mode) {
  ComputeRequest r;
  r.mode = mode;
  r.JulianDates = {kWorld, kBirth1, kBirth2};
  r.WorldZoneMinutes = 0;
  r.WorldLocalDay = kWorld + 0.5;
  return r;
}

// The duration records folded into 32 bits (FNV-1a; exact as a counter), so
// that two builds can be seen to give the same records.
double RecordsHash(const AspectEngine& engine) {
  uint32_t hash = 2166136261u;
  for (const auto& r : engine.DurationRecords) {
    for (unsigned char c : r.Record) hash = (hash ^ c) * 16777619u;
  }
  return hash;
}

void ReportPositions(benchmark::State& state) {
  state.counters["positions"] =
      benchmark::Counter(static_cast<double>(g_positions), benchmark::Counter::kAvgIterations);
  g_positions = 0;
}

void BM_ComputeWorldTransits(benchmark::State& state) {
  AspectEngine engine = CountingEngine();
  g_positions = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.Compute(Request(Mode::WorldTransits), DefaultOrbSettings()));
  }
  state.counters["aspects"] = engine.GetTotalNumAspects();
  ReportPositions(state);
}
BENCHMARK(BM_ComputeWorldTransits)->Unit(benchmark::kMicrosecond);

void BM_ComputePersonalTransits(benchmark::State& state) {
  AspectEngine engine = CountingEngine();
  g_positions = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.Compute(Request(Mode::Personal1), DefaultOrbSettings()));
  }
  state.counters["aspects"] = engine.GetTotalNumAspects();
  ReportPositions(state);
}
BENCHMARK(BM_ComputePersonalTransits)->Unit(benchmark::kMicrosecond);

// Cost of the check planets_vemo made of a data file at every outer-planet
// position before it learnt of changes from notifications (and still makes
// where they cannot be had): one stat() of the path and one positioned read
// of a 235-byte record, in nanoseconds (0 where not measured).
double StatAndReadNanoseconds() {
#if defined(_WIN32)
  return 0.0;
#else
  static const double ns = [] {
    const std::string path = DataFolder() + "neptune.dac";
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return 0.0;
    char record[235];
    // The fastest of several blocks, as little disturbed as the machine allows.
    constexpr int kBlocks = 10;
    constexpr int kRounds = 2000;
    double best = 0.0;
    for (int b = 0; b < kBlocks; ++b) {
      const auto t0 = std::chrono::steady_clock::now();
      for (int i = 0; i < kRounds; ++i) {
        struct stat st;
        benchmark::DoNotOptimize(::stat(path.c_str(), &st));
        benchmark::DoNotOptimize(::pread(fd, record, sizeof record, 235 * (i % 240)));
      }
      const auto t1 = std::chrono::steady_clock::now();
      const double ns = std::chrono::duration<double, std::nano>(t1 - t0).count() / kRounds;
      if (b == 0 || ns < best) best = ns;
    }
    ::close(fd);
    return best;
  }();
  return ns;
#endif
}

// Arg 0: 2024-04-08 18:30 UT. Arg 1: 1989-03-01 12:00 UT, Saturn, Uranus and
// Neptune conjunct for years and Neptune sextile Pluto for 46 years. Arg 2:
// 1966-09-21 12:00 UT, slightly busier than 1989 and the busiest of the 20th
// century. Arg 3: 1739-01-24 12:00 UT, the slowest table of 1600-2199
// (Neptune trine Pluto lasts 95 years and is walked in steps of 1 to 11 days).
// Counters: "outer", the outer-planet positions (Jupiter to Neptune, each
// read from its data file) of one GetDurations; "floor_ms", what one stat()
// and one 235-byte read for each of them cost on this machine (the check by
// stat; notifications cost one system call a position instead).
void BM_GetDurationsWorldTransits(benchmark::State& state) {
  AspectEngine engine = CountingEngine();
  ComputeRequest r = Request(Mode::WorldTransits);
  static const double kNoon[] = {0.0, 2447587.0, 2439390.0, 2356240.0};
  if (state.range(0) > 0) {
    r.JulianDates[0] = kNoon[state.range(0)];
    r.WorldLocalDay = r.JulianDates[0] + 0.5;
  }
  engine.Compute(r, DefaultOrbSettings());
  g_positions = 0;
  g_outer_positions = 0;
  for (auto _ : state) {
    engine.GetDurations();
    benchmark::DoNotOptimize(engine.DurationRecords.data());
  }
  state.counters["records"] = static_cast<double>(engine.DurationRecords.size());
  state.counters["records_hash"] = RecordsHash(engine);
  const double outer = static_cast<double>(g_outer_positions) / static_cast<double>(state.iterations());
  state.counters["outer"] = outer;
  state.counters["floor_ms"] = outer * StatAndReadNanoseconds() / 1e6;
  ReportPositions(state);
}
BENCHMARK(BM_GetDurationsWorldTransits)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Personal transits one day after the birthdate: every planet is conjunct its
// own natal position, Uranus, Neptune and Pluto for years.
void BM_GetDurationsSlowPersonalTransits(benchmark::State& state) {
  AspectEngine engine = CountingEngine();
  ComputeRequest r = Request(Mode::Personal1);
  r.JulianDates[1] = kWorld - 1.0;
  engine.Compute(r, DefaultOrbSettings());
  g_positions = 0;
  for (auto _ : state) {
    engine.GetDurations();
    benchmark::DoNotOptimize(engine.DurationRecords.data());
  }
  state.counters["records"] = static_cast<double>(engine.DurationRecords.size());
  ReportPositions(state);
}
BENCHMARK(BM_GetDurationsSlowPersonalTransits)->Unit(benchmark::kMillisecond);

// One slow pair on its own, as a cell click runs it: transiting Pluto to
// natal Pluto (both numbers >= 7: long steps) and transiting Pluto to natal
// Mars (daily steps). The birthdate is chosen so that the natal planet stands
// where Pluto stands at the world date.
void BM_ClickSlowPair(benchmark::State& state) {
  AspectEngine engine = CountingEngine();
  const int natal = static_cast<int>(state.range(0));
  const double pluto = HelioLongitude(kPluto, kWorld);
  double birth = kWorld - 1.0;
  // Mars comes back to a longitude every 687 days; search back day by day.
  for (int d = 1; d < 800 && natal != kPluto; ++d) {
    if (AspectSeparation(HelioLongitude(natal, kWorld - d), pluto) < DegreesToRadians(0.6)) {
      birth = kWorld - d;
      break;
    }
  }
  ComputeRequest r = Request(Mode::Personal1);
  r.JulianDates[1] = birth;
  engine.Compute(r, DefaultOrbSettings());
  const int index = engine.Table.NumCols * (natal + 1) + (kPluto + 1);
  if (engine.Table.Cells[static_cast<size_t>(index)].Role != CellRole::Aspect) {
    state.SkipWithError("no aspect in the cell");
    return;
  }
  g_positions = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.AspectCellClick(index));
  }
  ReportPositions(state);
}
BENCHMARK(BM_ClickSlowPair)->Arg(kPluto)->Arg(kMars)->Unit(benchmark::kMillisecond);

// All pattern finders and the midpoint search over a crowded sky: nine planets
// on the corners of two grand trines and a T-square, so that most loops go
// deep.
void BM_PatternsAndMidpoints(benchmark::State& state) {
  AspectEngine engine;
  engine.PlanetCount = 9;
  const double degrees[10] = {0, 0, 120, 240, 60, 180, 300, 90, 2, 122};
  for (int p = 1; p <= 9; ++p) engine.PlanetLongitudes[0][static_cast<size_t>(p)] = DegreesToRadians(degrees[p]);
  int lines = 0;
  for (auto _ : state) {
    const std::string text = engine.FindAllPatterns();
    benchmark::DoNotOptimize(text.data());
    lines = 0;
    for (int i = 0; i < kNumPatterns; ++i) lines += engine.PatternCount[static_cast<size_t>(i)];
  }
  state.counters["patterns"] = lines;
}
BENCHMARK(BM_PatternsAndMidpoints)->Unit(benchmark::kMicrosecond);

}  // namespace
