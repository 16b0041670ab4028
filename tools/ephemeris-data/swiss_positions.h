// Heliocentric positions from the Swiss Ephemeris (Astrodienst, Zurich), read
// from its compressed JPL DE431 files sepl_*.se1 / seplm*.se1 as Debian ships
// them in /usr/share/libswe/ephe (packages swe-basic-data, 1800-2400, and
// swe-standard-data, -5400..+5400).
//
// Positions are heliocentric and geometric (no light time, no aberration, no
// light deflection), on the mean ecliptic and equinox of date without
// nutation. The Julian date is the ephemeris' own time argument (TT); no
// Delta T is applied, like every position in vemo.
//
// The library quietly falls back to Moshier's analytical theory when a file
// is missing; every call here checks that the returned flags still say
// SEFLG_SWIEPH and reports an error otherwise.
#ifndef VEMO_TOOLS_EPHEMERIS_DATA_SWISS_POSITIONS_H
#define VEMO_TOOLS_EPHEMERIS_DATA_SWISS_POSITIONS_H

#include <string>

namespace ephemeris_data {

struct OfDatePosition {
    double longitude_deg = 0.0;  // [0, 360)
    double latitude_deg = 0.0;
    double radius_au = 0.0;
};

// Points the Swiss Ephemeris at the folder of its files.
void OpenSwissEphemeris(const std::string& ephemeris_folder);
void CloseSwissEphemeris();

// Version text of the linked Swiss Ephemeris library.
std::string SwissEphemerisVersion();

// Position of body (Swiss Ephemeris numbering: 5 Jupiter .. 9 Pluto) at a
// Julian date. Returns "" on success, else the reason (including a fallback
// away from the Swiss Ephemeris files).
std::string SwissPosition(int body, double jd, OfDatePosition& out);

}  // namespace ephemeris_data

#endif
