// Heliocentric longitudes of the program's nine bodies at an instant.
//
// Program planet numbers: 1 Earth, 2 Mercury, 3 Venus, 4 Mars, 5 Jupiter,
// 6 Saturn, 7 Uranus, 8 Neptune, 9 Pluto. Earth to Neptune come from the
// shared library planets_vemo (Bretagnon & Simon 1986 series for Earth to
// Mars, polynomial data files for Jupiter to Neptune), loaded by name from the
// program folder at first use; Pluto comes from the daily table of
// pluto_table.h.
//
// Results are radians in [0, 2pi), heliocentric ecliptic longitude referred
// to the mean equinox of J2000, or an error value <= -99:
//   -99  before the data range of the body, -100 after it,
//   -101 .. -104 a data file (or planets_vemo itself) missing or unreadable,
//   -999 a planet number the library does not serve.
// The instant is an AJD in UT; no Delta T is applied.
#pragma once

#include <string>

namespace vemo {

inline constexpr double kBeforeDataRange = -99;
inline constexpr double kAfterDataRange = -100;
inline constexpr double kDataFileMissing = -101;
inline constexpr double kDataFileUnreadable = -103;
inline constexpr double kDataFolderEmpty = -104;
inline constexpr double kPlanetNotServed = -999;

// The program folder: the folder of the running executable, without a
// trailing separator ("" when it cannot be found).
std::string ProgramFolder();

// The folder with exactly one trailing separator ("/usr/lib/vemo/").
std::string WithTrailingSeparator(const std::string& folder);

// File name of planets_vemo on this system: "libplanets_vemo.so",
// "planets_vemo.dll" or "libplanets_vemo.dylib".
std::string PlanetsVemoFileName();

// Loads planets_vemo from libraryFolder (once per process; later calls return
// the first result while the library stays loaded). Returns "" on success,
// else a message that names the file and the folder and gives the system's
// reason.
std::string BindPlanetsVemo(const std::string& libraryFolder);

// True when planets_vemo is loaded and its three functions are bound.
bool PlanetsVemoBound();

// Start-up: stores programFolder + separator as the data folder (the Pluto
// table is read from it), loads planets_vemo from programFolder and hands it
// the data folder. Returns "" on success, else the message of BindPlanetsVemo.
std::string SetUpDataFolder(const std::string& programFolder);

// Hands a data folder to planets_vemo (a separator is appended when missing)
// and keeps it as the data folder of the Pluto table. Loads planets_vemo from
// the program folder when it is not loaded yet. Returns "" or the load error.
std::string SetDataFolder(const std::string& folder);

// The data folder in force, with its trailing separator ("" before set-up).
const std::string& DataFolder();

// Library planet number of a program planet number: 1 -> 3, 2 -> 1, 3 -> 2,
// every other number unchanged.
int LibraryPlanetNumber(int planet);

// Calendar year (astronomical numbering) of the UT civil day of an AJD, from
// ordalin's juldat. 0 when the date cannot be converted (not finite).
int CalendarYearOfAJD(double ajd);

// Longitude of program planet `planet` at `ajd` (UT), or an error value.
// Pluto (9) comes from the loaded Pluto table; when none is loaded it gives
// -101 (file missing) or -103 (file refused as short or corrupt). Without planets_vemo, Earth to Neptune give -101.
double HelioLongitude(int planet, double ajd);

// Longitude, latitude (radians, as the theory gives it) and radius vector (AU)
// of a program planet, for the command line. On an error value lat and rv are
// left alone. Pluto gives its longitude only (lat and rv untouched, hasLatRv
// false).
double HelioLongitudeLatRv(int planet, double ajd, double* lat, double* rv,
                           bool* hasLatRv = nullptr);

// Where a program planet has positions within [fromAjd, toAjd] (UT). A
// planet's positions cover one stretch of time (a data file's years, the
// Pluto table's days), with -99 before it and -100 after it, so its edges
// are found by bisection on those values, to within a millisecond. An error
// value of another kind at either end (a data file that cannot be used)
// counts as no positions at all.
struct PositionStretch {
    bool any = false;           // a position somewhere within [fromAjd, toAjd]
    double first = 0.0;         // the first instant with a position
    double last = 0.0;          // the last instant with a position
    bool beginsInside = false;  // positions begin after fromAjd, at `first`
    bool endsInside = false;    // positions end before toAjd, just after `last`
};
PositionStretch PositionStretchOf(int planet, double fromAjd, double toAjd);

}  // namespace vemo
