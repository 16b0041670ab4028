// Small outer-planet data files for the tests: 235-byte records in the
// layout that planets_vemo reads, written into a private temporary folder.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace dac {

constexpr int kRecordBytes = 235;

// coef[p][c]: power p (0..6) of coordinate c (0 longitude, 1 latitude, 2 radius).
using Coefficients = std::array<std::array<double, 3>, 7>;

// Record text: number (5), JD0 (10), unused (10), 21 coefficients (10 each,
// four decimals, so test values with at most four decimals are exact).
inline std::string record(int number, double jd0, const Coefficients &coef) {
    char buf[kRecordBytes + 32];
    int n = std::snprintf(buf, sizeof buf, "%5d%10.1f%10.4f", number, jd0, 1826.25);
    for (int c = 0; c < 3; ++c)
        for (int p = 0; p < 7; ++p) n += std::snprintf(buf + n, sizeof buf - n, "%10.4f", coef[p][c]);
    return std::string(buf, n);
}

// The value a four-decimal field holds for v.
inline double as_printed(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.4f", v);
    return std::strtod(buf, nullptr);
}

// The coefficients of record k in the test files: the radius vector's power 0
// term names the record (radius0 + step k AU: 1 + k by default; a planet's own
// distance and a step of 0.0001 AU where the library checks distances), the
// longitude is 1 + k/1000 rad plus a polynomial in t, the latitude a small
// constant.
inline Coefficients coefficients_of(int k, double radius0 = 1.0, double step = 1.0) {
    Coefficients c{};
    c[0] = {as_printed(1.0 + k / 1000.0), 0.01, as_printed(radius0 + step * k)};
    c[1] = {0.5, 0.0, 0.0};
    c[2] = {-0.25, 0.0, 0.0};
    c[6] = {0.125, 0.0, 0.0};
    return c;
}

// JD0 of record k of a file starting in first_year: near the middle of its
// five years, at midnight, so that the text "%10.1f" holds it exactly.
inline double jd0_of(int first_year, int k) {
    return std::floor(2451545.0 + 365.25 * (first_year + 5.0 * k + 2.5 - 2000.0)) + 0.5;
}

inline std::string file_of(int first_year, int records, double radius0 = 1.0, double step = 1.0) {
    std::string text;
    for (int k = 0; k < records; ++k)
        text += record(k, jd0_of(first_year, k), coefficients_of(k, radius0, step));
    return text;
}

// The radius vector a planet's test file gives (5 Jupiter .. 8 Neptune): near
// the planet's mean distance, one step of 0.0001 AU per record.
constexpr double kPlanetRadius[4] = {5.0, 9.5, 19.0, 30.0};
constexpr double kPlanetStep = 0.0001;
inline int first_year_of(int planet) { return planet <= 6 ? -4000 : 1600; }
inline std::string planet_file(int planet) {
    return file_of(first_year_of(planet), planet <= 6 ? 1360 : 240, kPlanetRadius[planet - 5],
                   kPlanetStep);
}
inline Coefficients planet_coefficients(int planet, int k) {
    return coefficients_of(k, kPlanetRadius[planet - 5], kPlanetStep);
}
const char *const kPlanetFiles[4] = {"jupiter.dac", "saturn.dac", "uranus.dac", "neptune.dac"};

// Calendar year (proleptic Gregorian, astronomical numbering) of the civil day
// of an astronomical Julian date; the days-from-civil inverse of
// H. Hinnant's "chrono-compatible low-level date algorithms".
inline int32_t YearOfJd(double jd) {
    const int64_t day = static_cast<int64_t>(jd + 0.5 + 1e6) - 1000000;  // floor for jd > -1e6
    const int64_t z = day - 1721120;  // days from 0000-03-01
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    return static_cast<int32_t>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

// A fresh folder under the system's temporary folder, removed at the end.
class TempFolder {
public:
    explicit TempFolder(const std::string &tag) {
        path_ = std::filesystem::temp_directory_path() /
                ("vemo-" + tag + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    // The folder with its trailing separator, as the library wants it.
    std::string folder() const { return path_.string() + "/"; }
    const std::filesystem::path &path() const { return path_; }

    void write(const std::string &name, const std::string &bytes) const {
        std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

private:
    std::filesystem::path path_;
};

}  // namespace dac
