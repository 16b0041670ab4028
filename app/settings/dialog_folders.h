// The folder each kind of file dialog opens in: where the user last chose a
// file of that kind, kept in the per-user settings beside the window's other
// values, or the user's documents folder the first time (never the program's
// folder, which a user cannot or should not write to).
#pragma once

#include <string>

namespace vemo::settings {

enum class DialogKind {
  Picture,  // Save chart as: PNG, SVG
  State,    // Save as and Load from: saved states
  Export,   // the report's Export: iCalendar, CSV
};

// The settings value that holds the kind's folder.
const char* DialogFolderValueName(DialogKind kind);

// The remembered folder while it still is a folder; else the documents
// folder, else the home folder. UTF-8.
std::string DialogStartFolder(DialogKind kind);

// Keeps the folder of `chosenFile` (a path the dialog returned, UTF-8) for the
// kind's next dialog. A path without a folder part changes nothing.
void RememberDialogFolder(DialogKind kind, const std::string& chosenFile);

}  // namespace vemo::settings
