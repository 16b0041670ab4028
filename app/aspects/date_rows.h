// Compute over the main window's date rows, and the engine's default services
// (positions from planets_vemo and the Pluto table, program text, date texts).
#pragma once

#include <array>

#include "app/aspects/engine.h"
#include "app/time/dates.h"

namespace vemo {

// Services of the running program: HelioLongitude, ProgramText and
// JdnToDateText with long month names in `language` (1 German, 0 English;
// -1 the program's language at each call, as ProgramText).
EngineServices DefaultEngineServices(int language = -1);

// The language of the program text, the names tables and the messages (one
// store, ProgramLanguage).
void SelectLanguage(int language);

// Converts the rows the mode uses (in row order, stopping at the first bad
// one), writes the converted rows back into `rows` (cleaned year, defaulted
// hour and zone, as the window shows them) and runs Compute. On a bad row the
// status names it and its code; the engine's Julian-date slot of that row
// holds the code and its table stays as it was (the caller reports the row
// with DateErrorMessage / ReportDateError).
// localZoneIndex: the time-zone list entry of the computer's zone (0 = none).
// marks: as ComputeRequest::Marks (false for a search step).
ComputeStatus ComputeFromRows(AspectEngine& engine, Mode mode, std::array<DateRow, 3>& rows,
                              int localZoneIndex, const OrbSettings& settings, bool radians,
                              bool marks = true);

// Zone offset in minutes east of a time-zone list entry (0 for the blank entry).
int ZoneMinutesOfIndex(int zoneIndex);

}  // namespace vemo
