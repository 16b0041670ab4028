// Time and positions: loading the Pluto table (the whole 219 147-line file is
// read once at start-up and should take well under a second), a Pluto
// position from the loaded table, a date row to Julian date, and an inner
// planet through planets_vemo.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/time/dates.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"

namespace {

// A complete table file with a slow, smooth motion, written once.
const std::string& PlutoFilePath() {
    static const std::string path = [] {
        const auto file = std::filesystem::temp_directory_path() / "vemo-bench-hpluto.2199.slx";
        std::ofstream out(file, std::ios::binary);
        for (int k = 0; k < vemo::kPlutoRequiredDays; ++k) {
            double d = 100.0 + k * (360.0 / 90000.0);
            d -= 360.0 * static_cast<int>(d / 360.0);
            out << vemo::EncodePlutoLine(d, k) << "\r\n";
        }
        return file.string();
    }();
    return path;
}

void BM_LoadPlutoTable(benchmark::State& state) {
    const std::string& path = PlutoFilePath();
    for (auto _ : state) {
        vemo::PlutoTable table;
        const std::string error = table.Load(path);
        benchmark::DoNotOptimize(error);
        if (!error.empty()) state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_LoadPlutoTable)->Unit(benchmark::kMillisecond);

void BM_PlutoLongitude(benchmark::State& state) {
    vemo::PlutoTable table;
    if (!table.Load(PlutoFilePath()).empty()) state.SkipWithError("table not loaded");
    double ajd = 2305448.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Longitude(ajd));
        ajd += 0.37;
        if (ajd > 2524593.0) ajd = 2305448.0;
    }
}
BENCHMARK(BM_PlutoLongitude);

void BM_InputDateToAJDate(benchmark::State& state) {
    const vemo::DateRow row{"2024", 1, 12, 30, 26};
    for (auto _ : state) benchmark::DoNotOptimize(vemo::InputDateToAJDate(row, 0));
}
BENCHMARK(BM_InputDateToAJDate);

void BM_HelioLongitudeEarth(benchmark::State& state) {
    if (!vemo::SetUpDataFolder(vemo::ProgramFolder()).empty()) state.SkipWithError("planets_vemo not loaded");
    double ajd = 2451545.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(vemo::HelioLongitude(1, ajd));
        ajd += 0.5;
    }
}
BENCHMARK(BM_HelioLongitudeEarth);

}  // namespace
