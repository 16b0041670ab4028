#include "app/reports/table_export.h"

#include <algorithm>
#include <limits>

namespace vemo::reports {

namespace {

// The window of a table's aspect: World transits list a pair lower number
// first in either order; Personal transits natal planet first.
bool WindowOfEntry(Mode mode, const DurationEntry& entry, const AspectWindow& w) {
  const bool personal = IsPersonalMode(mode);
  const int p1 = personal ? entry.Planet1 : std::min(entry.Planet1, entry.Planet2);
  const int p2 = personal ? entry.Planet2 : std::max(entry.Planet1, entry.Planet2);
  return w.planet1 == p1 && w.planet2 == p2 && w.kind == entry.Kind;
}

}  // namespace

ReportedTable KeepReportedTable(const AspectEngine& engine) {
  ReportedTable table;
  table.mode = engine.CurrentMode;
  table.julianDates = engine.TableJulianDates;
  table.settings = engine.Settings;
  table.planetCount = engine.PlanetCount;
  table.worldZoneMinutes = engine.WorldZoneMinutes;
  table.aspectCount = engine.GetTotalNumAspects();
  table.records = engine.DurationRecords;
  return table;
}

TableExport ExportOfTable(const EngineServices& services, const ReportedTable& table, const std::string& dtstamp) {
  TableExport out;
  const Mode mode = table.mode;
  if (mode != Mode::WorldTransits && !IsPersonalMode(mode)) return out;
  const double world = table.julianDates[kRowWorld];
  EventSearchRequest request;
  request.mode = mode;
  request.fromAJD = world;
  request.toAJD = world;
  request.settings = table.settings;
  request.planetCount = table.planetCount;
  if (IsPersonalMode(mode)) request.birthAJD = table.julianDates[static_cast<size_t>(BirthRowOfMode(mode))];

  EventSearchResult all = SearchEventsForExport(services, request);
  out.result.ok = all.ok;
  out.result.error = all.error;
  out.result.gaps = all.gaps;
  out.result.positionsComputed = all.positionsComputed;
  // The table's aspects in the search's order (that of vemo-cli events);
  // midpoint lines have no window of their own.
  for (const AspectWindow& w : all.windows) {
    const bool inTable = std::any_of(table.records.begin(), table.records.end(),
                                     [&](const DurationEntry& entry) { return WindowOfEntry(mode, entry, w); });
    if (inTable) out.result.windows.push_back(w);
  }
  // Every known instant of those windows, however far from the table's date.
  out.result.events = EventsOfWindows(out.result.windows, 0.0, std::numeric_limits<double>::infinity());
  out.context.mode = mode;
  out.context.birthAJD = request.birthAJD;
  out.context.fromAJD = world;
  out.context.toAJD = world;
  out.context.zoneMinutes = table.worldZoneMinutes;
  out.context.dtstamp = dtstamp;
  out.context.services = &services;
  return out;
}

}  // namespace vemo::reports
