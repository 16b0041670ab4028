// The aspects of a table as windows of time in orb, for the report window's
// Export button: each aspect with its true entering and leaving instants and
// its exact instants, found around the table's world date on the positions
// and orbs the table was computed with.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/aspects/engine.h"
#include "app/aspects/events.h"
#include "app/reports/event_export.h"

namespace vemo::reports {

// What a report shows, kept apart from the engine from the moment the report
// is made: a later Compute empties the engine's duration records, while the
// report window goes on sorting and exporting the aspects it shows.
struct ReportedTable {
  Mode mode = Mode::WorldTransits;
  std::array<double, 3> julianDates{-1.0, -1.0, -1.0};  // the table's rows, AJD (UT)
  OrbSettings settings = DefaultOrbSettings();
  int planetCount = 9;
  int worldZoneMinutes = 0;
  int aspectCount = 0;  // aspects of the table
  std::vector<DurationEntry> records;
};

// The engine's current table and duration records (GetDurations first).
ReportedTable KeepReportedTable(const AspectEngine& engine);

struct TableExport {
  EventSearchResult result;    // the table's windows in the order of vemo-cli events, their events
  EventExportContext context;  // span: the table's world date, as vemo-cli events --from W --to W
};

// World or Personal transits only (other modes give an empty result). The
// windows and stretches without positions are those of vemo-cli events over
// the single instant of the table's world date, narrowed to the table's
// aspects, so that the two calendars agree apart from DTSTAMP; the events
// (the rows of CSV) are every entering, exact and leaving instant of those
// windows. dtstamp: the iCalendar DTSTAMP, "YYYYMMDDTHHMMSSZ".
TableExport ExportOfTable(const EngineServices& services, const ReportedTable& table, const std::string& dtstamp);

}  // namespace vemo::reports
