// vemo-cli table and vemo-cli durations: the aspect table of one mode and the
// duration records of its aspects.
//
// Parsing, the date conversion and the printing are apart from the running
// of the command so that tests can drive each with an engine of their own.
#pragma once

#include <array>
#include <string>

#include "app/aspects/engine.h"
#include "app/time/dates.h"
#include "cli/commands.h"

namespace vemo::cli {

// Parsed command line shared by table and durations.
struct TableOptions {
  bool help = false;
  Mode mode = Mode::WorldTransits;
  bool hasMode = false;
  // Date rows 0 (world), 1 and 2 (birthdates) as given; unset rows are blank.
  std::array<DateRow, 3> rows{};
  std::array<bool, 3> given{false, false, false};
  OrbSettings settings = DefaultOrbSettings();
  bool radians = false;
  bool json = false;
};

// Parses the arguments after the command name. Returns "" or a one-line
// message for a usage error.
std::string ParseTableArguments(const Arguments& args, TableOptions& options);

// Mode names of the command line: world, natal1, natal2, personal1,
// personal2, synastry.
const char* ModeArgumentName(Mode mode);
// Row names in the JSON output: world, birth1, birth2.
const char* RowArgumentName(int row);

// The Compute request for the options: each row the mode uses is converted
// (InputDateToAJDate with the computer's zone for a blank zone); a world date
// not given is the present instant `nowAjd` in the zone `nowZoneMinutes`; a
// birthdate the mode needs but not given counts as an empty row (-1).
// On a refused row returns false with badRow and code set.
bool BuildComputeRequest(const TableOptions& options, int localZoneIndex, double nowAjd,
                         int nowZoneMinutes, ComputeRequest& request, int& badRow, double& code);

// Text output: the grid (planet names for glyphs, cells in aligned columns,
// each cell's two lines on two text lines), then summary, patterns and
// midpoints.
std::string FormatTableText(const AspectEngine& engine);
// JSON output of the table (see the README).
std::string FormatTableJson(const AspectEngine& engine);

// Duration records after engine.GetDurations().
std::string FormatDurationsText(const AspectEngine& engine);
std::string FormatDurationsJson(const AspectEngine& engine);

// Parses the arguments, loads what the program folder holds (planets_vemo,
// program text, Pluto table), converts the dates and computes. Returns the
// exit status to end with (help shown, usage error, refused date, missing
// library), or -1 when `engine` holds the computed table.
int PrepareEngine(const char* command, const char* usage, const Arguments& args,
                  TableOptions& options, AspectEngine& engine);
// Writes the output; exit status 0, or 1 when it cannot be written.
int WriteOutput(const std::string& output);

// Mode as a title ("Personal transits, 1st birthdate") and a day number as
// YYYY-MM-DD ("" for -1).
const char* ModeTitle(Mode mode);
std::string DateOfDay(double day);

// JSON text of a string (quotes, backslashes and control characters escaped).
std::string JsonString(const std::string& text);

// vemo-cli table ... / vemo-cli durations ...
int RunTable(const Arguments& args);
int RunDurations(const Arguments& args);

}  // namespace vemo::cli
