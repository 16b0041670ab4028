// Which planet data files can be used: one probe position per outer planet,
// so that missing, unreadable or refused files are reported once, by name,
// instead of showing up later as blank cells.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vemo {

// File of a program planet number 5..9 ("jupiter.dac" .. "hpluto.2199.slx"),
// "" for the planets computed from series (1..4).
const char* DataFileName(int planet);

// planets_vemo appends the file name to its stored folder and refuses a path
// longer than this many bytes; the folder (with its separator) plus the
// longest of the four .dac names must fit.
inline constexpr std::size_t kLibraryPathLimit = 255;

// Longest folder, with its trailing separator, that leaves room for every
// .dac file name within kLibraryPathLimit.
std::size_t LongestUsableDataFolder();

// "" when folder (with or without a trailing separator) is short enough for
// planets_vemo; else a message that says the folder is too long, with its
// length and the limit. The messages here are in the program's language
// (ProgramLanguage).
std::string DataFolderTooLongMessage(const std::string& folder);

// What a position error value means, for messages: "missing or cannot be
// opened", "unreadable or corrupt", ...
std::string PositionErrorReason(double code);

// The reason ProbeDataFiles gives every .dac when the folder is too long.
std::string FolderTooLongReason();

struct UnusableDataFile {
    int planet = 0;        // program planet number 5..9
    std::string file;      // file name within the data folder
    double code = 0.0;     // error value of the probe position (-101 ...)
    std::string reason;    // why, for a message (the load error for Pluto)
};

// Asks for one position of Jupiter, Saturn, Uranus and Neptune (from
// planets_vemo) and of Pluto (from the loaded table) at 1 January 2000,
// inside every file's range, and lists the files that give an error value.
// A data folder too long for planets_vemo is named as the reason of each .dac.
std::vector<UnusableDataFile> ProbeDataFiles();

// One warning for the window: the data folder and one line per unusable
// .dac file ("jupiter.dac: missing or cannot be opened"), CR LF line ends.
// Pluto is left out: its table has a message of its own. "" when none.
std::string DataFilesWarning(const std::vector<UnusableDataFile>& files, const std::string& folder);

}  // namespace vemo
