// vemo-cli events: the instants at which aspects enter their orb, become
// exact and leave it over a span, as text, CSV, JSON or an iCalendar file.
//
// Parsing is apart from the running so that tests can drive it directly.
#pragma once

#include <array>
#include <string>

#include "app/aspects/engine.h"
#include "app/reports/event_export.h"
#include "app/time/dates.h"
#include "cli/commands.h"

namespace vemo::cli {

using reports::EventFormat;

struct EventsOptions {
  bool help = false;
  Mode mode = Mode::WorldTransits;  // world, personal1 or personal2
  DateRow from, to, birth1, birth2;
  bool hasFrom = false;
  bool hasTo = false;
  bool hasBirth1 = false;
  bool hasBirth2 = false;
  OrbSettings settings = DefaultOrbSettings();
  std::array<bool, 8> kinds{};  // slots 1..7 as --kinds named them
  bool hasKinds = false;
  EventFormat format = EventFormat::Text;
  int zoneMinutes = 0;  // --zone, minutes east
  bool hasZone = false;
  std::string out;  // --out FILE, "" for standard output
  int jobs = 0;     // --jobs, 0: one per core
};

// The widest offsets in use on Earth, minutes east (UTC-14:00 is unused, but
// the range stays symmetric).
inline constexpr int kMaxZoneMinutes = 14 * 60;

// "+05:30", "-09:30", "+14:00" or "Z" into minutes east; false for anything
// else (other forms, minutes 60 and over, beyond 14:00). Leaves minutes
// unchanged then.
bool ParseZoneOffset(const std::string& text, int& minutes);

// A comma list of aspect kinds into slots 1..7: the abbreviations of the
// table (Con, Opp, Sqr, Tri, Sxt, Ssx, Qui) in any case, or the numbers 1..7.
// False (kinds unchanged) for an empty list or item, or anything else.
bool ParseKindList(const std::string& text, std::array<bool, 8>& kinds);

// Parses the arguments after the command name. Returns "" or a one-line
// message for a usage error: unknown or repeated-value problems, a mode other
// than world/personal1/personal2, a missing --from or --to, the birthdate
// that the Personal mode needs, a kind named in --kinds whose orb is 0.
std::string ParseEventsArguments(const Arguments& args, EventsOptions& options);

// The kinds searched: those of --kinds, else every kind whose orb is not 0.
std::array<bool, 8> KindsSearched(const EventsOptions& options);

// iCalendar DTSTAMP: the value of VEMO_DTSTAMP when it is set (`fromEnvironment`
// not null), which must read YYYYMMDDTHHMMSSZ; else `nowAjd` in UTC. Returns
// "" and sets error when the variable's value is not of that form.
std::string DtstampOf(const char* fromEnvironment, double nowAjd, std::string& error);

// vemo-cli events ...
int RunEvents(const Arguments& args);

}  // namespace vemo::cli
