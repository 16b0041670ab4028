// A sweep of outer-planet positions through the shipped data files, folded
// into one 64-bit FNV-1a hash per planet and span of years, so that a
// reference file of a few lines pins every bit of hundreds of thousands of
// positions. Longitude, latitude and radius vector enter with their exact
// bit patterns, error values included.
#pragma once

#include <cstdint>
#include <cstring>

#include "ephemeris/planets_vemo.h"

namespace sweep {

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

inline void Fold(uint64_t& hash, double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) {
        hash ^= (bits >> (8 * i)) & 0xff;
        hash *= 1099511628211ull;
    }
}

// Hash of library planet `planet` at jd = first, first + step, ... < last.
inline uint64_t Hash(int32_t planet, double first, double last, double step) {
    uint64_t hash = 14695981039346656037ull;
    for (double jd = first; jd < last; jd += step) {
        double lat = -1.0, rv = -1.0;
        const double lon = hc_j2000_long_lat_rv_planet(planet, jd, YearOfJd(jd), &lat, &rv);
        Fold(hash, lon);
        Fold(hash, lat);
        Fold(hash, rv);
    }
    return hash;
}

}  // namespace sweep
