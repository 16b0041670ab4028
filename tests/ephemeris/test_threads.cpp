// Requests from many threads at once: each answers exactly as the same request
// made alone, bit for bit; a request that overlaps a change of data folder
// uses the old folder or the new one, whole; and a file changed between two
// requests of one thread answers anew at its next, whoever changed it.

#include "dac_writer.h"
#include "ephemeris/outer_files.h"
#include "ephemeris/planets_vemo.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 8;

struct Query {
    int32_t planet;
    double jd;
    int32_t year;
};

// Both exports' answers; the out-parameters start at a marker, so that an
// untouched one compares too.
struct Answer {
    double values[5];
    bool operator==(const Answer &o) const { return std::memcmp(values, o.values, sizeof values) == 0; }
};

Answer Ask(const Query &q) {
    Answer a;
    double lat = -7777.0, rv = -7777.0, rv_only = -7777.0;
    a.values[0] = hc_j2000_long_lat_rv_planet(q.planet, q.jd, q.year, &lat, &rv);
    a.values[1] = lat;
    a.values[2] = rv;
    a.values[3] = hc_j2000_long_rv_planet(q.planet, q.jd, q.year, &rv_only);
    a.values[4] = rv_only;
    return a;
}

// Planets 0..9 (Pluto and the outer planets' limits give error values) at
// dates from 1500 to 2900, from a fixed linear congruential sequence.
std::vector<Query> Queries(int count, int32_t first_planet, int32_t last_planet, double first_jd,
                           double span) {
    std::vector<Query> queries;
    uint64_t x = 20261208;
    const int32_t planets = last_planet + 1 - first_planet;
    for (int i = 0; i < count; ++i) {
        x = x * 6364136223846793005ull + 1442695040888963407ull;
        const int32_t planet = first_planet + static_cast<int32_t>((x >> 33) % static_cast<uint64_t>(planets));
        const double jd = first_jd + span * static_cast<double>(x >> 11) / 9007199254740992.0;
        queries.push_back({planet, jd, dac::YearOfJd(jd)});
    }
    return queries;
}

// Each thread asks every query, starting at its own place, while the others do.
template <class Check>
void AskFromThreads(const std::vector<Query> &queries, Check check) {
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&queries, &check, t] {
            const size_t n = queries.size();
            for (size_t i = 0; i < n; ++i) {
                const size_t at = (i + static_cast<size_t>(t) * n / kThreads) % n;
                check(at, Ask(queries[at]));
            }
        });
    }
    for (auto &thread : threads) thread.join();
}

TEST(Threads, ConcurrentAnswersAreTheSerialOnesBitForBit) {
    set_datafiles_folder(VEMO_SHIPPED_DATA_FOLDER);
    // 2305447.5 is 1600-01-01: Uranus and Neptune begin; 2743738.5 ends 2799.
    const std::vector<Query> queries = Queries(3000, 0, 9, 2268923.5, 511000.0);
    std::vector<Answer> serial;
    for (const Query &q : queries) serial.push_back(Ask(q));
    std::atomic<int> wrong{0};
    AskFromThreads(queries, [&](size_t i, const Answer &a) {
        if (!(a == serial[i])) ++wrong;
    });
    EXPECT_EQ(wrong.load(), 0);
    set_datafiles_folder("");
}

// One thread switches among the shipped folder, a folder of test files and
// no folder while the others ask for the outer planets.
TEST(Threads, RequestOverlappingANewFolderUsesOneFolderWhole) {
    dac::TempFolder test_files("threads");
    for (int planet = 5; planet <= 8; ++planet)
        test_files.write(dac::kPlanetFiles[planet - 5], dac::planet_file(planet));
    const std::string folders[3] = {VEMO_SHIPPED_DATA_FOLDER, test_files.folder(), ""};
    const std::vector<Query> queries = Queries(1500, 5, 8, 2305447.5, 438000.0);
    std::vector<Answer> by_folder[3];
    for (int f = 0; f < 3; ++f) {
        set_datafiles_folder(folders[f].c_str());
        for (const Query &q : queries) by_folder[f].push_back(Ask(q));
    }
    for (size_t i = 0; i < queries.size(); ++i) ASSERT_FALSE(by_folder[0][i] == by_folder[1][i]);

    std::atomic<bool> done{false};
    std::thread switcher([&] {
        for (int n = 0; !done.load(); ++n) set_datafiles_folder(folders[n % 3].c_str());
    });
    std::atomic<int> mixed{0};
    AskFromThreads(queries, [&](size_t i, const Answer &a) {
        // Each export may see another folder; each one's values come from one.
        for (int part = 0; part < 2; ++part) {
            const int first = part == 0 ? 0 : 3;
            const int count = part == 0 ? 3 : 2;
            bool whole = false;
            for (int f = 0; f < 3 && !whole; ++f)
                whole = std::memcmp(&a.values[first], &by_folder[f][i].values[first],
                                    sizeof(double) * count) == 0;
            if (!whole) ++mixed;
        }
    });
    done = true;
    switcher.join();
    EXPECT_EQ(mixed.load(), 0);
    set_datafiles_folder("");
}

// A thread that keeps Uranus' record sees a rewrite that another thread made
// in place (same size) before its next request.
TEST(Threads, ChangeByOneThreadAnswersAtAnotherThreadsNextRequest) {
    dac::TempFolder dir("threads-change");
    dir.write("uranus.dac", dac::planet_file(7));
    set_datafiles_folder(dir.folder().c_str());
    const int k = 80;
    const Query q{7, dac::jd0_of(1600, k), 1600 + 5 * k};
    std::binary_semaphore asked{0}, changed{0};
    double before = 0, after = 0, expected_after = 0;
    std::thread reader([&] {
        before = Ask(q).values[2];
        asked.release();
        changed.acquire();
        after = Ask(q).values[2];
    });
    asked.acquire();
    auto c = dac::planet_coefficients(7, k);
    c[0][2] += 0.5;
    expected_after = c[0][2];
    std::string text = dac::planet_file(7);
    text.replace(static_cast<size_t>(k) * dac::kRecordBytes, dac::kRecordBytes,
                 dac::record(k, dac::jd0_of(1600, k), c));
    dir.write("uranus.dac", text);
    changed.release();
    reader.join();
    EXPECT_EQ(before, dac::planet_coefficients(7, k)[0][2]);
    EXPECT_EQ(after, expected_after);
    set_datafiles_folder("");
}

}  // namespace
