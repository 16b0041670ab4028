// vemo-cli table and vemo-cli durations: the aspect table of one mode and the
// duration records of its aspects.
//
// Parsing, the date conversion and the printing are apart from the running
// of the command so that tests can drive each with an engine of their own.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/aspects/engine.h"
#include "app/time/data_files.h"
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

// The orb options that table, durations, report and search share: --orbs,
// --personal-divisor, --synastry-divisor, --midpoint-orb, --boldface.
bool IsOrbOption(const std::string& name);
// Reads the value of orb option `name` into settings. Returns false (and
// touches nothing) when name is not an orb option; otherwise error receives
// "" or the one-line message for a bad value.
bool ParseOrbOption(const std::string& name, const std::string& value, OrbSettings& settings,
                    std::string& error);

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

// A position the table could not use: an error value of planets_vemo or the
// Pluto table at the date of its row, or Pluto left out without its table.
struct UnavailablePosition {
  int set = 0;         // position set: index into "positions" of the JSON
  int row = 0;         // date row of the set (kRowWorld, kRowBirth1, kRowBirth2)
  int planet = 0;      // 1..9
  double code = 0.0;   // error value (-99 ...)
  std::string reason;  // PositionErrorReason, or the probe's reason for the file
};

// The unavailable positions of the engine's last table, by set and planet.
// `unusable` (ProbeDataFiles) gives the reason when a file failed the probe
// with the same code, and Pluto's code and reason when its table is missing.
std::vector<UnavailablePosition> UnavailablePositions(const AspectEngine& engine,
                                                      const std::vector<UnusableDataFile>& unusable);

// Text output: the grid (planet names for glyphs, cells in aligned columns,
// each cell's two lines on two text lines), then summary, patterns and
// midpoints, and the positions not available with their reasons.
std::string FormatTableText(const AspectEngine& engine, const std::vector<UnusableDataFile>& unusable = {});
// JSON output of the table (see the README): an unavailable position is null
// in "positions" and an entry of "unavailable".
std::string FormatTableJson(const AspectEngine& engine, const std::vector<UnusableDataFile>& unusable = {});

// Duration records after engine.GetDurations(), with the unavailable
// positions as in the table.
std::string FormatDurationsText(const AspectEngine& engine,
                                const std::vector<UnusableDataFile>& unusable = {});
std::string FormatDurationsJson(const AspectEngine& engine,
                                const std::vector<UnusableDataFile>& unusable = {});

// The unavailable positions as text lines under a heading ("" when none),
// and as the JSON array of {"planet", "code", "reason", "row"}.
std::string UnavailableText(const std::vector<UnavailablePosition>& positions);
std::string UnavailableJson(const std::vector<UnavailablePosition>& positions);

// Parses the arguments, sets up the program folder (SetUpProgramFolder:
// planets_vemo, program text, Pluto table, warnings for unusable data files,
// which land in `unusable`), converts the dates and computes. Returns the
// exit status to end with (help shown, usage error, refused date, missing
// library), or -1 when `engine` holds the computed table.
int PrepareEngine(const char* command, const char* usage, const Arguments& args, TableOptions& options,
                  AspectEngine& engine, std::vector<UnusableDataFile>& unusable);

// Mode as a title ("Personal transits, 1st birthdate") and a day number as
// YYYY-MM-DD ("" for -1).
const char* ModeTitle(Mode mode);
std::string DateOfDay(double day);

// JSON text of a string (quotes, backslashes and control characters escaped).
std::string JsonString(const std::string& text);

// vemo-cli table ... / vemo-cli durations ... / vemo-cli report ... (cli/report.cpp)
int RunTable(const Arguments& args);
int RunDurations(const Arguments& args);
int RunReport(const Arguments& args);

}  // namespace vemo::cli
