// planets_vemo: positions per second, per planet and for sets of planets.
// The outer planets read small data files that the benchmark writes into a
// temporary folder (one open, one 235-byte read, one close per position).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "ephemeris/planets_vemo.h"

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

// Dates stepping through the years 1900..2100 so each call evaluates afresh.
struct DateStepper {
    double jd = 2415020.5;
    int32_t year() const { return static_cast<int32_t>(1900 + (jd - 2415020.5) / 365.25); }
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

}  // namespace
