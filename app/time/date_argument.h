// The date argument of the command line, "Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM]",
// read into a date row so that it goes through the same conversion as the
// window's inputs (InputDateToAJDate).
#pragma once

#include <string>

#include "app/time/dates.h"

namespace vemo {

// Reads text into row: a year of 1 to 4 digits, two-digit month and day, an
// optional time on a full or half hour (hour list entry; absent leaves the
// hour blank, which the conversion turns into 12:00) and an optional zone "Z"
// or +HH:MM / -HH:MM that must be one of the time-zone list's offsets (absent
// leaves the zone blank: the computer's zone). Month and day are not checked
// against the calendar here (that is the conversion's -2); month 1..12 and day
// 1..31 are. Returns "" on success, else a message saying what is wrong, in
// the program's language (ProgramLanguage).
std::string ParseDateArgument(const std::string& text, DateRow& row);

}  // namespace vemo
