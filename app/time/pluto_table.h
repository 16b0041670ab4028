// Pluto's heliocentric longitude from the shipped daily table
// "hpluto.2199.slx" (1 January 1600 to 1 January 2200, one line a day).
//
// Each kept line encodes Pluto's heliocentric ecliptic longitude at 0h UT of
// its day (mean equinox of J2000) in its first four characters, scrambled with
// the day index k = day number - 2305448:
//   arcminutes = c1 - 60 - (k mod 7)
//   arcseconds = c2 - 60
//   degrees    = (c3 - 58 - (k mod 55)) * 60 + (c4 - 59)
// Lines are trimmed of blanks, tabs and the CR of CR LF; empty lines are
// skipped. Characters after the fourth are ignored.
//
// The whole file is decoded and checked when it is loaded, so that a short or
// corrupt file is refused with its line number and nothing is ever read out of
// range afterwards; each position then costs two lookups and one linear
// interpolation.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vemo {

inline constexpr const char* kPlutoFileName = "hpluto.2199.slx";
inline constexpr int kPlutoFirstDayNumber = 2305448;  // 1 January 1600
inline constexpr int kPlutoLastDayNumber = 2524593;   // 31 December 2199
// Days the file must hold: 1 January 1600 .. 1 January 2200 inclusive, as the
// last accepted day is interpolated towards the next one.
inline constexpr int kPlutoRequiredDays = kPlutoLastDayNumber - kPlutoFirstDayNumber + 2;
// Largest table file read, bytes. The shipped table is about 1.3 MB; anything
// far larger (a wrong file, /dev/zero behind a link) is refused before reading.
inline constexpr long long kPlutoMaxFileBytes = 16LL * 1024 * 1024;

class PlutoTable {
public:
    // Reads and checks a table file. On success returns "" and replaces the
    // table; on failure returns a message (missing file or not a regular file
    // with the reason, a file over kPlutoMaxFileBytes, or what is wrong and at
    // which line) and leaves the table empty.
    std::string Load(const std::string& path);

    // Decodes and checks the text of a whole file; same results as Load.
    // sourceName names the file in messages.
    std::string LoadFromText(std::string_view text, const std::string& sourceName);

    bool Available() const { return !arcseconds_.empty(); }
    int DayCount() const { return static_cast<int>(arcseconds_.size()); }

    // Decoded longitude in degrees of day index k; -99 for k < 0 and -100 for
    // k beyond the table.
    double DegreesOfDay(int k) const;

    // Longitude in radians [0, 2pi) at an AJD (UT), linear between the
    // 0h values of the UT day and the next; -99 before 1 January 1600 0h UT,
    // -100 from 1 January 2200 0h UT on. Without a table: -101 when none was
    // loaded or the file could not be opened, -103 when the file was read
    // but refused as short or corrupt.
    double Longitude(double ajd) const;

private:
    // Takes the decoded days when verdict is "", else empties the table.
    std::string Accept(const std::string& verdict, std::vector<int32_t>& days);

    // Whole arcseconds of each day's longitude: half the memory of degrees
    // as doubles, converted to exactly the same doubles on lookup.
    std::vector<int32_t> arcseconds_;
    double unavailable_ = -101;
};

// Decodes the first four characters of a line for day index k into degrees,
// checking the ranges: returns false when the line is shorter than four
// characters or decodes outside degrees 0..359, minutes or seconds 0..59.
bool DecodePlutoLine(std::string_view line, int k, double* degrees);

// Encodes a longitude in degrees for day index k (whole arcseconds, rounded
// down): the inverse of DecodePlutoLine, for tests and the data tool.
std::string EncodePlutoLine(double degrees, int k);

// The program's table, read once at start-up from DataFolder() + fileName.
// Returns true when it was read; errorText receives "" or the reason.
bool LoadPlutoTable(const std::string& fileName, std::string& errorText);

// The message of the last LoadPlutoTable ("" when it was read).
const std::string& PlutoLoadError();

// Whether the program's table is loaded (Pluto available; PlanetCount 9).
bool PlutoAvailable();

// Longitude of Pluto at an AJD from the program's table (see PlutoTable).
double PlutoLongitude(double ajd);

// Decoded degrees of day index k of the program's table.
double PlutoDegreesOfDay(int k);

}  // namespace vemo
