// The start of every vemo-cli command that computes: the program folder with
// planets_vemo, the program text, the Pluto table and the planet data files.
#pragma once

#include <string>
#include <vector>

#include "app/time/data_files.h"

namespace vemo::cli {

struct ProgramFolderState {
  std::string folder;                        // the program folder, no trailing separator
  std::vector<UnusableDataFile> unusable;    // ProbeDataFiles after the set-up
};

// Finds the program folder, loads planets_vemo from it and hands it the data
// folder, loads the program text and the Pluto table, and probes the data
// files. Every unusable data file (and a folder too long for planets_vemo)
// is one warning line on stderr, "vemo-cli <command>: ...": the command goes
// on without those planets. Returns "" or the one-line message for exit
// status 1 (no program folder, no planets_vemo, no program text).
std::string SetUpProgramFolder(const char* command, ProgramFolderState& state);

// The warning lines of SetUpProgramFolder, without the command prefix: the
// too-long message of the folder, then one line per unusable file
// ("jupiter.dac: missing or cannot be opened (folder \"/opt/vemo\")", the
// folder left out when the first line names it; "Pluto: <the load error of
// its table>").
std::vector<std::string> DataFileWarnings(const ProgramFolderState& state);


// text on one line: CR LF, LF, CR and TAB become blanks, and the other
// control characters and bytes that are not UTF-8 are escaped.
std::string OneLine(std::string text);

// True when standard error is a terminal (a console on Windows), where a
// long-running command may show its progress on a line it rewrites.
bool StderrIsTerminal();

}  // namespace vemo::cli
