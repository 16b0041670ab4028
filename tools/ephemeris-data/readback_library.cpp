// Reads the data files back through planets_vemo itself (the static build of
// the same sources as the shared library), through its exported function, so
// that a file passes only if the program's own reader gets the right positions.
#include "tools/ephemeris-data/readback.h"

#include "ephemeris/planets_vemo.h"

namespace ephemeris_data {

const char* ReadBackSource() { return "planets_vemo (hc_j2000_long_lat_rv_planet)"; }

void SetReadBackFolder(const std::string& folder) { set_datafiles_folder(folder.c_str()); }

double ReadBackPosition(int library_planet, double jd, int year, double* lat, double* rv) {
    return hc_j2000_long_lat_rv_planet(library_planet, jd, year, lat, rv);
}

}  // namespace ephemeris_data
