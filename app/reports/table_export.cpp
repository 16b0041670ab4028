#include "app/reports/table_export.h"

#include <algorithm>

namespace vemo::reports {

TableExport ExportOfTable(const AspectEngine& engine, const std::string& dtstamp) {
  TableExport out;
  const Mode mode = engine.CurrentMode;
  if (mode != Mode::WorldTransits && !IsPersonalMode(mode)) return out;
  const double world = engine.TableJulianDates[kRowWorld];
  EventSearchRequest request;
  request.mode = mode;
  request.fromAJD = world;
  request.toAJD = world;
  request.settings = engine.Settings;
  request.planetCount = engine.PlanetCount;
  if (IsPersonalMode(mode)) request.birthAJD = engine.TableJulianDates[static_cast<size_t>(BirthRowOfMode(mode))];

  double first = world;
  double last = world;
  for (const DurationEntry& entry : engine.DurationRecords) {
    // Midpoint lines have no time in orb of their own.
    if (entry.Planet1 < 1 || entry.Planet1 > kMaxPlanets || entry.Planet2 < 1 || entry.Planet2 > kMaxPlanets) continue;
    const WindowAtResult found = FindWindowAt(engine.Services, request, entry.Planet1, entry.Planet2, entry.Kind, world);
    if (!found.ok) {
      ++out.missing;
      continue;
    }
    const AspectWindow& w = found.window;
    if (w.enters >= 0) first = std::min(first, w.enters);
    if (w.leaves >= 0) last = std::max(last, w.leaves);
    out.result.windows.push_back(w);
  }
  std::stable_sort(out.result.windows.begin(), out.result.windows.end(),
                   [](const AspectWindow& a, const AspectWindow& b) { return a.enters < b.enters; });
  out.result.events = EventsOfWindows(out.result.windows, first, last);
  out.result.ok = true;
  out.context.mode = mode;
  out.context.birthAJD = request.birthAJD;
  out.context.fromAJD = first;
  out.context.toAJD = last;
  out.context.zoneMinutes = engine.WorldZoneMinutes;
  out.context.dtstamp = dtstamp;
  out.context.services = &engine.Services;
  return out;
}

}  // namespace vemo::reports
