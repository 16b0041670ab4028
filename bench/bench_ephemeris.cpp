// planets_vemo: positions per second, per planet and for sets of planets;
// an outer planet against Mars while stepping day by day, for each way the
// library checks its files; and the inner planets' series against plain
// evaluations. The outer planets read data files that the benchmark writes
// into a temporary folder. (bench_library_before weighs the library against
// an earlier build of it.)

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "ephemeris/outer_files.h"
#include "ephemeris/planets_vemo.h"
#include "ephemeris/series.h"

namespace {

// Writes jupiter.dac .. neptune.dac with plain coefficient records and hands
// their folder to the library (once per process).
void EnsureDataFolder() {
    static bool done = false;
    if (done) return;
    done = true;
    namespace fs = std::filesystem;
    static const fs::path folder =
        fs::temp_directory_path() / ("vemo-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    char record[256];
    std::string record_text;
    const struct {
        const char *name;
        int records;
    } files[] = {{"jupiter.dac", 1360}, {"saturn.dac", 1360}, {"uranus.dac", 240}, {"neptune.dac", 240}};
    for (const auto &f : files) {
        std::ofstream out(folder / f.name, std::ios::binary);
        for (int k = 0; k < f.records; ++k) {
            int n = std::snprintf(record, sizeof record, "%5d%10.1f%10.4f", k, 2451545.5, 1826.25);
            for (int i = 0; i < 21; ++i)
                n += std::snprintf(record + n, sizeof record - n, "%10.4f", 0.001 * (i + 1));
            out.write(record, n);
        }
    }
    set_datafiles_folder((folder.string() + "/").c_str());
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(folder, ec);
    });
}

// Calendar year of a Julian date, near enough for choosing records here.
int32_t YearOf(double jd) { return static_cast<int32_t>(1900 + (jd - 2415020.5) / 365.25); }

// Dates stepping through the years 1900..2100 so each call evaluates afresh.
struct DateStepper {
    double jd = 2415020.5;
    int32_t year() const { return YearOf(jd); }
    void next() {
        jd += 7.3;
        if (jd > 2488069.5) jd = 2415020.5;
    }
};

void BM_Planet(benchmark::State &state) {
    EnsureDataFolder();
    const auto planet = static_cast<int32_t>(state.range(0));
    DateStepper d;
    for (auto _ : state) {
        double rv = 0;
        benchmark::DoNotOptimize(hc_j2000_long_rv_planet(planet, d.jd, d.year(), &rv));
        d.next();
    }
    state.SetItemsProcessed(state.iterations());
}
// Library numbering: 1 Mercury, 2 Venus, 3 Earth, 4 Mars, 5..8 Jupiter..Neptune.
BENCHMARK(BM_Planet)->DenseRange(1, 8)->ArgName("planet");

void BM_PlanetSet(benchmark::State &state) {
    EnsureDataFolder();
    const auto first = static_cast<int32_t>(state.range(0));
    const auto last = static_cast<int32_t>(state.range(1));
    DateStepper d;
    for (auto _ : state) {
        for (int32_t p = first; p <= last; ++p) {
            double rv = 0;
            benchmark::DoNotOptimize(hc_j2000_long_rv_planet(p, d.jd, d.year(), &rv));
        }
        d.next();
    }
    state.SetItemsProcessed(state.iterations() * (last - first + 1));
}
BENCHMARK(BM_PlanetSet)->Args({1, 8})->Name("BM_AllEightPlanets");
BENCHMARK(BM_PlanetSet)->Args({1, 4})->Name("BM_InnerPlanets");
BENCHMARK(BM_PlanetSet)->Args({5, 8})->Name("BM_OuterPlanets");

// Mars from the compiled series and one outer planet from its file, timed
// alternately in blocks of 256 days so that both see the same machine state;
// the counter outer_over_mars is the ratio of their costs per position.
// Args: the library planet (5 Jupiter .. 8 Neptune) and how the files are
// checked (2 change notifications, 1 stat and read, 0 opened, read and closed
// for every position).
void BM_OuterVersusMarsSteppingDaily(benchmark::State &state) {
    EnsureDataFolder();
    const auto planet = static_cast<int32_t>(state.range(0));
    pv_set_file_check(static_cast<int>(state.range(1)));
    using Clock = std::chrono::steady_clock;
    Clock::duration mars{}, outer{};
    long positions = 0;
    double start = 2451544.5;  // 1 January 2000, 0h
    for (auto _ : state) {
        constexpr int kBlock = 256;
        const auto t0 = Clock::now();
        for (int d = 0; d < kBlock; ++d) {
            double rv = 0;
            const double jd = start + d;
            benchmark::DoNotOptimize(hc_j2000_long_rv_planet(4, jd, YearOf(jd), &rv));
        }
        const auto t1 = Clock::now();
        for (int d = 0; d < kBlock; ++d) {
            double rv = 0;
            const double jd = start + d;
            benchmark::DoNotOptimize(hc_j2000_long_rv_planet(planet, jd, YearOf(jd), &rv));
        }
        const auto t2 = Clock::now();
        mars += t1 - t0;
        outer += t2 - t1;
        positions += kBlock;
        start += kBlock;
        if (start > 2488069.5) start = 2451544.5;
    }
    pv_set_file_check(PV_CHECK_NOTIFY);
    const double ns = 1e9 * Clock::period::num / Clock::period::den;
    state.counters["mars_ns"] = static_cast<double>(mars.count()) * ns / static_cast<double>(positions);
    state.counters["outer_ns"] = static_cast<double>(outer.count()) * ns / static_cast<double>(positions);
    state.counters["outer_over_mars"] =
        static_cast<double>(outer.count()) / static_cast<double>(mars.count());
}
BENCHMARK(BM_OuterVersusMarsSteppingDaily)
    ->ArgsProduct({{5, 6, 7, 8}, {PV_CHECK_NOTIFY, PV_CHECK_STAT, PV_CHECK_OPEN}})
    ->ArgNames({"planet", "check"});

// The series of Earth (arg 3), Mercury (1), Venus (2) and Mars (4) for the
// longitude and radius vector, against two plain evaluations timed in turn
// in the same iterations: the same number of terms A sin(alpha + nu U) with
// made-up coefficients (what any evaluation of such a series pays to libm),
// and one record of an outer planet's file (a degree-6 polynomial per
// coordinate). Counters: ns per position of each and the ratios.
void BM_SeriesVersusPlain(benchmark::State &state) {
    const auto planet = static_cast<int32_t>(state.range(0));
    // Longitude and radius terms of each series (the publication's table sizes).
    const int terms = planet == 3 ? PV_SUN_TERMS
                      : planet == 1 ? PV_MERCURY_LONGITUDE_TERMS + PV_MERCURY_RADIUS_TERMS
                      : planet == 2 ? PV_VENUS_LONGITUDE_TERMS + PV_VENUS_RADIUS_TERMS
                                    : PV_MARS_LONGITUDE_TERMS + PV_MARS_RADIUS_TERMS;
    pv_outer_record record{};
    record.jd0 = 2451545.0;
    for (int p = 0; p < PV_POWERS; ++p)
        for (int c = 0; c < PV_COORDINATES; ++c) record.coef[p][c] = 0.001 * (p + 1) * (c + 1);
    using Clock = std::chrono::steady_clock;
    Clock::duration series{}, sines{}, polynomial{};
    long positions = 0;
    double jd = 2415020.5;
    for (auto _ : state) {
        constexpr int kBlock = 64;
        const auto t0 = Clock::now();
        for (int i = 0; i < kBlock; ++i) {
            double rv = 0;
            benchmark::DoNotOptimize(hc_j2000_long_rv_planet(planet, jd + i, 2000, &rv));
        }
        const auto t1 = Clock::now();
        for (int i = 0; i < kBlock; ++i) {
            const double u = (jd + i - 2451545.0) / 3652500.0;
            double sum = 0.0;
            for (int k = 0; k < terms; ++k) sum += (k + 1) * std::sin(0.1 * k + (1000.0 * k + 1.0) * u);
            benchmark::DoNotOptimize(sum);
        }
        const auto t2 = Clock::now();
        for (int i = 0; i < kBlock; ++i) {
            double lat = 0, rv = 0;
            benchmark::DoNotOptimize(pv_evaluate_record(&record, jd + i, &lat, &rv));
        }
        const auto t3 = Clock::now();
        series += t1 - t0;
        sines += t2 - t1;
        polynomial += t3 - t2;
        positions += kBlock;
        jd += 7.3 * kBlock;
        if (jd > 2488069.5) jd = 2415020.5;
    }
    const double ns = 1e9 * Clock::period::num / Clock::period::den / static_cast<double>(positions);
    state.counters["series_ns"] = static_cast<double>(series.count()) * ns;
    state.counters["plain_sines_ns"] = static_cast<double>(sines.count()) * ns;
    state.counters["record_ns"] = static_cast<double>(polynomial.count()) * ns;
    state.counters["series_over_sines"] =
        static_cast<double>(series.count()) / static_cast<double>(sines.count());
    state.counters["series_over_record"] =
        static_cast<double>(series.count()) / static_cast<double>(polynomial.count());
}
BENCHMARK(BM_SeriesVersusPlain)->Arg(3)->Arg(1)->Arg(2)->Arg(4)->ArgName("planet");

}  // namespace
