// vemo-cli search: the world date run forward step by step, as a run of the
// main window in World transits, until an aspect pattern turns up.
//
// Parsing is apart from the running so that tests can drive it directly.
#pragma once

#include <array>
#include <string>

#include "app/aspects/orbs.h"
#include "app/aspects/stepping_core.h"
#include "app/reports/run_core.h"
#include "app/time/dates.h"
#include "cli/commands.h"

namespace vemo::cli {

// The pattern was not found by --to (or by the last date the program takes).
inline constexpr int kExitNotFound = 3;

struct SearchOptions {
  bool help = false;
  int pattern = -1;                     // 0..13 in PatternName's order
  std::array<int, 3> planets{0, 0, 0};  // 1..9 in the order given, 0 after the last
  int count = 0;                        // 0: at least one; 2..9: that many or more at once
  DateRow from, to;
  bool hasFrom = false;
  bool hasTo = false;
  StepSize step = StepSize::Day;
  OrbSettings settings = DefaultOrbSettings();
  bool json = false;
  int jobs = 0;                         // threads; 0: one per core
};

// A pattern as the command line names it: its name in any case, blanks and
// hyphens alike ("grand-trine", "T square", "3 stellium"), or its index 0..13.
// Returns -1 for anything else.
int PatternOfArgument(const std::string& text);

// A planet by name in any case ("mars") or number 1..9; 0 for anything else.
int PlanetOfArgument(const std::string& text);

// Parses the arguments after the command name. Returns "" or a one-line
// message for a usage error (a planet named twice: "Planet specified more
// than once.").
std::string ParseSearchArguments(const Arguments& args, SearchOptions& options);

// The run window's criteria for the options.
reports::RunCriteria SearchCriteria(const SearchOptions& options);

// vemo-cli search ...
int RunSearch(const Arguments& args);

}  // namespace vemo::cli
