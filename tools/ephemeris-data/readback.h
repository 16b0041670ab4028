// Reads positions back from the written data files the way the program does,
// so that the tool checks the files and not just its own arithmetic.
#ifndef VEMO_TOOLS_EPHEMERIS_DATA_READBACK_H
#define VEMO_TOOLS_EPHEMERIS_DATA_READBACK_H

#include <string>

namespace ephemeris_data {

// Name of the reader in use, for the tool's report.
const char* ReadBackSource();

// Folder of the data files, with its trailing separator.
void SetReadBackFolder(const std::string& folder);

// Heliocentric longitude referred to J2000 (radians, [0, 2 pi)) of library
// planet 0..8 at jd, choosing the record by `year`, with latitude (radians)
// and radius vector (AU); or an error value <= -99 with lat and rv untouched.
double ReadBackPosition(int library_planet, double jd, int year, double* lat, double* rv);

}  // namespace ephemeris_data

#endif
