#include "cli/program_folder.h"

#include <cstdio>

#include "app/text/languages.h"
#include "app/text/program_text.h"
#include "app/time/data_files.h"
#include "app/time/escaped_text.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"
#include "app/time/system_calls.h"
#include "cli/commands.h"

namespace vemo::cli {

namespace {

constexpr int kPluto = 9;

}  // namespace

std::string OneLine(std::string text) {
  for (std::size_t pos; (pos = text.find("\r\n")) != std::string::npos;) text.replace(pos, 2, " ");
  for (char& ch : text) {
    if (ch == '\n' || ch == '\r' || ch == '\t') ch = ' ';
  }
  // What is left of control characters (a file name or content quoted in
  // the message) must not reach the terminal raw.
  return EscapedForDisplay(text);
}

bool StderrIsTerminal() { return IsTerminal(stderr); }

std::vector<std::string> DataFileWarnings(const ProgramFolderState& state) {
  std::vector<std::string> lines;
  // A folder too long is named once, in its own line, not in each file's.
  std::string tooLong = DataFolderTooLongMessage(state.folder);
  const std::string inFolder =
      tooLong.empty() ? InProgramLanguage(" (folder ", " (Ordner ") + Quoted(state.folder) + ")" : "";
  if (!tooLong.empty()) lines.push_back(OneLine(std::move(tooLong)));
  for (const UnusableDataFile& f : state.unusable) {
    if (f.planet == kPluto) {
      // The load error names the file with its folder; other reasons do not.
      const bool named = f.reason.find(f.file) != std::string::npos;
      lines.push_back(OneLine("Pluto: " + (named ? "" : f.file + ": ") + f.reason));
    } else {
      lines.push_back(OneLine(f.file + ": " + f.reason + inFolder));
    }
  }
  return lines;
}

std::string SetUpProgramFolder(const char* command, ProgramFolderState& state) {
  state = ProgramFolderState{};
  state.folder = ProgramFolder();
  if (state.folder.empty()) {
    return InProgramLanguage("the program folder (where ", "der Programmordner (in dem ") + PlanetsVemoFileName() +
           InProgramLanguage(" and the data files lie) cannot be found", " und die Datendateien liegen) ist nicht zu finden");
  }
  if (std::string error = SetUpDataFolder(state.folder); !error.empty()) return OneLine(std::move(error));
  if (std::string error = LoadProgramText(state.folder); !error.empty()) return OneLine(std::move(error));
  // Items an edited or older file lacks read as empty: said once, then on.
  if (const std::string missing = MissingItemsWarning(MissingUsedItems()); !missing.empty()) {
    std::fprintf(stderr, "vemo-cli %s: %s\n", command, missing.c_str());
  }
  std::string plutoError;
  LoadPlutoTable(kPlutoFileName, plutoError);  // a refused table is one of the probe's files
  state.unusable = ProbeDataFiles();
  for (const std::string& line : DataFileWarnings(state)) {
    std::fprintf(stderr, "vemo-cli %s: %s\n", command, line.c_str());
  }
  return "";
}

}  // namespace vemo::cli
