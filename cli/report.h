// vemo-cli report: the aspect report of the durations window for the table of
// one mode: the transit list (World and Personal transits) sorted by one of
// the mode's keys, or the description of a natal or synastry chart.
#pragma once

#include <string>

#include "app/aspects/engine.h"
#include "app/chart/picture_file.h"
#include "cli/commands.h"
#include "cli/table.h"

namespace vemo::cli {

// The report's own options; everything else goes to the table's parser.
struct ReportOptions {
  bool help = false;
  bool sortGiven = false;
  std::string sort;          // --sort KEY
  bool noDurations = false;  // --no-durations
  std::string out;           // --out FILE ("" standard output)
  bool pdf = false;          // --format pdf (the other formats go to the table's parser)
  chart::Paper paper = chart::PaperFromEnvironment();
  bool paperGiven = false;   // --paper a4|letter
};

// Takes --sort, --no-durations, --out, --paper, --format pdf and --help out
// of args and leaves the table's arguments in rest. Returns "" or a one-line message for a usage error.
std::string ParseReportArguments(const Arguments& args, ReportOptions& options, Arguments& rest);

// The sort key and the durations switch for `mode`: the given key or the
// mode's first; the durations on unless --no-durations, and always for a key
// that orders by dates (the window's rule). Returns "" or the message for a
// key the mode does not have, any key in Natal aspects and Synastry, or
// --no-durations with a key that needs the dates.
std::string ResolveReportSort(Mode mode, const ReportOptions& options, std::string& key, bool& durations);

// RunReport (vemo-cli report ...) is declared with the table's commands in
// cli/table.h.

}  // namespace vemo::cli
