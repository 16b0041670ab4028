// The aspects of the current table as windows of time in orb, for the report
// window's Export button: each aspect with its true entering and leaving
// instants and its exact instants, found around the table's world date on
// the positions and orbs the table was computed with.
#pragma once

#include <string>

#include "app/aspects/engine.h"
#include "app/aspects/events.h"
#include "app/reports/event_export.h"

namespace vemo::reports {

struct TableExport {
  EventSearchResult result;   // windows in table order's time order, their events
  EventExportContext context; // span = from the first entering to the last leaving
  int missing = 0;            // aspects of the table whose window was not found
};

// World or Personal transits only (other modes give an empty result).
// dtstamp: the iCalendar DTSTAMP, "YYYYMMDDTHHMMSSZ".
TableExport ExportOfTable(const AspectEngine& engine, const std::string& dtstamp);

}  // namespace vemo::reports
