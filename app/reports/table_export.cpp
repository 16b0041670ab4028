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
  double first = std::numeric_limits<double>::infinity();
  double last = -std::numeric_limits<double>::infinity();
  for (const DurationEntry& entry : table.records) {
    // Midpoint lines have no time in orb of their own.
    if (entry.Planet1 < 1 || entry.Planet1 > kMaxPlanets || entry.Planet2 < 1 || entry.Planet2 > kMaxPlanets) continue;
    const bool found = std::any_of(all.windows.begin(), all.windows.end(),
                                   [&](const AspectWindow& w) { return WindowOfEntry(mode, entry, w); });
    if (!found) ++out.missing;
  }
  // The search's order (that of vemo-cli events), not the table's.
  for (const AspectWindow& w : all.windows) {
    const bool inTable = std::any_of(table.records.begin(), table.records.end(),
                                     [&](const DurationEntry& entry) { return WindowOfEntry(mode, entry, w); });
    if (!inTable) continue;
    for (const double t : {w.enters, w.leaves}) {
      if (t >= 0) {
        first = std::min(first, t);
        last = std::max(last, t);
      }
    }
    for (const double t : w.exact) {
      first = std::min(first, t);
      last = std::max(last, t);
    }
    out.result.windows.push_back(w);
  }
  if (first <= last) out.result.events = EventsOfWindows(out.result.windows, first, last);
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
