#include "tools/ephemeris-data/swiss_positions.h"

#include <swephexp.h>

#include <cstdio>
#include <vector>

namespace ephemeris_data {

namespace {
constexpr int32 kFlags = SEFLG_SWIEPH | SEFLG_HELCTR | SEFLG_TRUEPOS | SEFLG_NONUT |
                         SEFLG_NOABERR | SEFLG_NOGDEFL;
}

void OpenSwissEphemeris(const std::string& ephemeris_folder) {
    swe_set_ephe_path(ephemeris_folder.c_str());
}

void CloseSwissEphemeris() { swe_close(); }

std::string SwissEphemerisVersion() {
    char version[AS_MAXCH] = {};
    swe_version(version);
    return version;
}

std::string SwissPosition(int body, double jd, OfDatePosition& out) {
    double x[6] = {};
    char error[AS_MAXCH] = {};
    const int32 flags = swe_calc(jd, body, kFlags, x, error);
    if (flags < 0 || (flags & SEFLG_SWIEPH) == 0) {
        char where[96];
        std::snprintf(where, sizeof where, "swe_calc(body %d, JD %.5f): ", body, jd);
        return std::string(where) + (error[0] != '\0' ? error : "Swiss Ephemeris files not used");
    }
    out.longitude_deg = x[0];
    out.latitude_deg = x[1];
    out.radius_au = x[2];
    return {};
}

}  // namespace ephemeris_data
