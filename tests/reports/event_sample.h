// Search results built by hand for the tests of the event formats: AJDs of
// UT dates, aspect windows and the world-transit sample of late 2020.
#pragma once

#include <string>
#include <vector>

#include "app/reports/event_export.h"
#include "platform/ordalin/ordalin.h"

namespace vemo::reports::testing {

// AJD of a UT date and time (day numbers from ordalin, the AJD from its
// definition: the day number counts from noon).
inline double At(int year, int month, int day, int hour = 0, int minute = 0, double second = 0) {
  EuroDate date{year, month, day, ORDALIN_GREGORIAN, 0, 0};
  return euro_date_to_jdn(&date) - 0.5 + (hour * 3600 + minute * 60 + second) / 86400.0;
}

constexpr double kDegree = kFullCircle / 360.0;

inline AspectWindow Window(int p1, int p2, int kind, double orbDegrees, double enters, std::vector<double> exact,
                    double leaves) {
  AspectWindow w;
  w.planet1 = p1;
  w.planet2 = p2;
  w.kind = kind;
  w.orb = orbDegrees * kDegree;
  w.enters = enters;
  w.exact = std::move(exact);
  w.leaves = leaves;
  return w;
}

// World transits from 2020-12-15 to 2021-01-31: Jupiter trine Saturn entered
// the day before; Mars square Pluto enters and stays in orb until Pluto's
// positions stop on 2021-01-20.
struct Sample {
  EventExportContext context;
  EventSearchResult result;
};

inline Sample WorldSample() {
  Sample s;
  s.context.mode = Mode::WorldTransits;
  s.context.fromAJD = At(2020, 12, 15);
  s.context.toAJD = At(2021, 1, 31);
  s.context.zoneMinutes = 60;
  s.context.dtstamp = "20240102T030405Z";
  EventSearchResult& r = s.result;
  r.ok = true;
  r.windows.push_back(Window(kJupiter, kSaturn, kTrine, 7, At(2020, 12, 14, 10, 3, 10),
                             {At(2020, 12, 21, 18, 20, 35)}, At(2020, 12, 28, 3, 9, 45)));
  r.windows[0].entersBeforeSpan = true;
  r.windows.push_back(Window(kMars, kPluto, kSquare, 6, At(2021, 1, 10, 23, 59, 50), {}, -1));
  r.windows[1].leavesAfterSpan = true;
  r.gaps.push_back({kPluto, At(2021, 1, 20), At(2021, 1, 31)});
  r.events = EventsOfWindows(r.windows, s.context.fromAJD, s.context.toAJD);
  return s;
}

inline std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + separator.size()) {
    parts.push_back(text.substr(start, at - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace vemo::reports::testing
