// vemo-cli positions: the nine bodies of the program at one Julian date.
//
// Computing (ComputePositions) and printing (FormatPositionsText/Json) are
// apart so that other commands and tests can use either.
#pragma once

#include <array>
#include <string>

#include "app/time/dates.h"
#include "cli/commands.h"

namespace vemo::cli {

// Julian dates the command accepts, days.
inline constexpr double kMinJulianDate = 0.0;
inline constexpr double kMaxJulianDate = 4000000.0;

// One body in the program's numbering (1 Earth ... 9 Pluto).
struct BodyPosition {
    int number = 0;
    const char *name = "";
    double longitude = 0.0;  // rad in [0, 2 pi), J2000; or an error value <= -99
    bool hasLatRv = false;   // latitude and radius are known
    double latitude = 0.0;   // rad, of date
    double radius = 0.0;     // AU
};

struct PositionSet {
    double jd = 0.0;  // astronomical Julian date used, UT
    std::array<BodyPosition, 9> bodies{};
};

// Parsed command line of the positions command.
struct PositionsOptions {
    bool help = false;
    bool hasJd = false;
    double jd = 0.0;
    bool hasDate = false;
    DateRow date;  // --date as a date row, converted like the window's rows
    bool json = false;
};

// Parses the arguments after "positions". Returns "" or a one-line message
// for a usage error.
std::string ParsePositionsArguments(const Arguments &args, PositionsOptions &options);

// The present instant as an astronomical Julian date (UT):
// Unix time / 86400 + 2440587.5.
double JulianDateNow();

// Earth to Neptune through planets_vemo (year of the date from ordalin's
// juldat); Pluto from its table (LoadPlutoTable), without latitude and radius:
// -101 when the table is missing, -103 when it was refused. planets_vemo must have been
// bound with its data folder (vemo::SetUpDataFolder); otherwise the bodies
// through it carry -101.
PositionSet ComputePositions(double jd);

// What an error value means, in a few words ("" for a valid longitude).
std::string ErrorMeaning(double value);

// One line per body with name, longitude in degrees and radians, latitude
// and radius vector, or the error value and its meaning.
std::string FormatPositionsText(const PositionSet &set);

// {"jd": ..., "planets": [{"number": 1, "name": "Earth", "longitude": ...,
// "latitude": ... or null, "radius": ... or null}, ...]}
std::string FormatPositionsJson(const PositionSet &set);

// Shortest text that reads back as the same double ("2451545", "0.25").
std::string JsonNumber(double value);

}  // namespace vemo::cli
