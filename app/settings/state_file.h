// The saved state of the program as a text file of 51 lines (the per-user
// file vemo.usr and the .qel files the user saves): the three date rows, the
// mode, the step size and the configuration settings that the registry does
// not keep. Qt-free: the windows fill a SavedState from their controls and
// apply the one read back.
//
// Format: one value per line, CR LF line ends, text in the system's code page
// (the year texts are digits, so every code page reads them alike). Numbers
// are written in one of two styles: " 5 " / "-1 " (a blank before a number
// that is not negative, one after every number) or "10" without blanks;
// booleans as "#TRUE#" / "#FALSE#". The reader accepts surrounding blanks and
// reads "#TRUE#" / "#FALSE#" as -1 / 0 where a number stands. A file of 50
// lines (written before the synastry proportion existed) is valid. Line ends
// may also be LF or CR alone, and blank lines after the last line are ignored.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "app/aspects/orbs.h"

namespace vemo::settings {

// Larger files and longer lines are refused before they are read in full.
inline constexpr long long kMaxStateFileBytes = 64 * 1024;
inline constexpr std::size_t kMaxStateLineBytes = 1024;
// The year boxes hold six characters; a longer year text is refused.
inline constexpr std::size_t kMaxYearDigits = 6;

// A date row by the positions of its lists and the year text as typed.
struct StateRow {
  int month = 0;     // 0 blank, 1..12
  int day = 0;       // 0 blank, 1..31
  std::string year;  // as typed
  int hour = 0;      // 0 blank, 1..48
  int zone = 0;      // 0 blank, 1.. the row's zone list
  bool operator==(const StateRow&) const = default;
};

struct SavedState {
  std::array<StateRow, 3> rows{};
  // World transits, Natal 1st, Natal 2nd, Personal 1st, Personal 2nd, Synastry.
  std::array<bool, 6> modes{true, false, false, false, false, false};
  int stepSize = 1;  // 0 half hour .. 4 year
  bool useColor = true;
  OrbSettings orbs = DefaultOrbSettings();
  bool operator==(const SavedState&) const = default;
};

// The 51 lines of a state, each ended by CR LF; a year text as its box keeps
// it once cleaned (digits only, at most kMaxYearDigits).
std::string FormatStateFile(const SavedState& state);

// What a read gives: the state, or an error that names the line ("Line 20:
// a whole number was expected, not \"abc\".") and nothing else.
struct StateParse {
  bool ok = false;
  SavedState state;
  std::string error;
};

// Reads a whole state from the file's text and checks every value before
// anything is used: a year text must be blank or up to kMaxYearDigits digits
// (anything else its box would silently change), list positions must lie
// within their lists, except where the file format has a fallback (a
// negative boldface factor, personal proportion or midpoint orb takes 2, 1
// or 3; a zone position beyond the row's list, zoneEntries[row] entries,
// takes 0; a 50-line file gives the synastry proportion the personal one).
// A stored colour 0 keeps currentColours' colour of that kind. File text
// quoted in an error is escaped (EscapedForDisplay).
StateParse ParseStateFile(std::string_view text, const std::array<int, 3>& zoneEntries,
                          const std::array<Colour, 8>& currentColours);

// The file's text, refused when it is not a regular file, is larger than
// kMaxStateFileBytes, or cannot be read. Returns "" or the reason.
std::string ReadStateText(const std::string& path, std::string& text);

}  // namespace vemo::settings
