// planets_vemo against an earlier build of it, in one run: the cost of one
// position of each planet through this tree's library and through the
// earlier one, timed in turn in the same iterations over the shipped data
// files, and the ratio. The earlier libplanets_vemo.so comes from
// bench/build-before; VEMO_BENCH_BEFORE names its folder. Both libraries are
// loaded with dlopen() each into its own scope, so that neither binds the
// other's exports.
//
// Counters: "now_ns" and "before_ns" per position, "ratio" (now / before);
// "differ", the positions whose longitude or radius vector differ in any bit.
#include <benchmark/benchmark.h>

#include <dlfcn.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using SetFolder = void (*)(const char *);
using LongRv = double (*)(int32_t, double, int32_t, double *);

struct Library {
    SetFolder set_folder = nullptr;
    LongRv long_rv = nullptr;
    bool Load(const std::string &path) {
        void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) return false;
        set_folder = reinterpret_cast<SetFolder>(dlsym(handle, "set_datafiles_folder"));
        long_rv = reinterpret_cast<LongRv>(dlsym(handle, "hc_j2000_long_rv_planet"));
        if (set_folder == nullptr || long_rv == nullptr) return false;
        set_folder(VEMO_SHIPPED_DATA_FOLDER);
        return true;
    }
};

// Calendar year of a Julian date, near enough for choosing records here.
int32_t YearOf(double jd) { return static_cast<int32_t>(1900 + (jd - 2415020.5) / 365.25); }

void BM_PlanetNowAndBefore(benchmark::State &state) {
    static Library now, before;
    static const bool loaded = [] {
        const char *folder = std::getenv("VEMO_BENCH_BEFORE");
        return folder != nullptr && now.Load(PV_SHARED_LIBRARY) &&
               before.Load(std::string(folder) + "/libplanets_vemo.so");
    }();
    if (!loaded) {
        state.SkipWithError("VEMO_BENCH_BEFORE must name the folder of an earlier libplanets_vemo.so");
        return;
    }
    const auto planet = static_cast<int32_t>(state.range(0));
    using Clock = std::chrono::steady_clock;
    Clock::duration now_time{}, before_time{};
    long positions = 0, differ = 0;
    double start = 2415020.5;  // 1900; one position a day, as a search steps
    for (auto _ : state) {
        constexpr int kBlock = 256;
        double now_l[kBlock], now_r[kBlock], before_l[kBlock], before_r[kBlock];
        const auto t0 = Clock::now();
        for (int d = 0; d < kBlock; ++d)
            now_l[d] = now.long_rv(planet, start + d, YearOf(start + d), &now_r[d]);
        const auto t1 = Clock::now();
        for (int d = 0; d < kBlock; ++d)
            before_l[d] = before.long_rv(planet, start + d, YearOf(start + d), &before_r[d]);
        const auto t2 = Clock::now();
        for (int d = 0; d < kBlock; ++d) {
            if (std::memcmp(&now_l[d], &before_l[d], sizeof(double)) != 0 ||
                std::memcmp(&now_r[d], &before_r[d], sizeof(double)) != 0)
                ++differ;
        }
        now_time += t1 - t0;
        before_time += t2 - t1;
        positions += kBlock;
        start += kBlock;
        if (start > 2488069.5) start = 2415020.5;
    }
    const double ns = 1e9 * Clock::period::num / Clock::period::den / static_cast<double>(positions);
    state.counters["now_ns"] = static_cast<double>(now_time.count()) * ns;
    state.counters["before_ns"] = static_cast<double>(before_time.count()) * ns;
    state.counters["ratio"] =
        static_cast<double>(now_time.count()) / static_cast<double>(before_time.count());
    state.counters["differ"] = static_cast<double>(differ);
}
// Library numbering: 1 Mercury, 2 Venus, 3 Earth, 4 Mars, 5..8 Jupiter..Neptune.
BENCHMARK(BM_PlanetNowAndBefore)->DenseRange(1, 8)->ArgName("planet");

}  // namespace
