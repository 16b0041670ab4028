// Beginning and end of the aspects of the current table, the duration records
// and the texts of a click on an aspect cell.
//
// The searches step day by day between local midnights of the world date's
// time zone, so beginning and end have a resolution of one day; for two slow
// planets (Uranus, Neptune, Pluto) the step grows up to 11 days while the
// aspect is close to exact, since such pairs stay in orb for years.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/aspects/engine.h"
#include "app/time/date_texts.h"  // kGerman

namespace vemo {

namespace {

// Safety net: a search that neither leaves the orb nor the data range within
// this many steps (about 1100 years of daily steps) gives "not known". Real
// planet pairs leave every orb of at most 15° long before; the net only guards
// against a position source that stands still.
constexpr int kMaxSearchSteps = 400000;

std::string Lower(std::string s) {
  for (char& ch : s) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return s;
}

}  // namespace

std::string MakeDurationRecord(int planet1, int planet2, int kind, double deviation,
                               RecordDates dates, double beginning, double end) {
  char head[64];
  std::snprintf(head, sizeof head, "%2d%2d%2d%2d%.6f ", planet1, planet2, planet1, kind, deviation);
  std::string record = head;
  switch (dates) {
    case RecordDates::Dashes: record += std::string(22, '-'); break;
    case RecordDates::Blanks: record += std::string(22, ' '); break;
    case RecordDates::Searched: {
      const long b = static_cast<long>(std::trunc(beginning));
      const long e = static_cast<long>(std::trunc(end));
      char tail[64];
      if (beginning < 0 || end < 0) {
        std::snprintf(tail, sizeof tail, "%8ld%8ld      ", b, e);
      } else {
        std::snprintf(tail, sizeof tail, "%8ld%8ld%6ld", b, e, e - b + 1);
      }
      record += tail;
      break;
    }
  }
  // The deviation is written with the locale's decimal separator; records
  // always carry a point.
  for (char& ch : record) {
    if (ch == ',') ch = '.';
  }
  return record;
}

double AspectEngine::DayNumberForMidnight(double t, int z) const {
  // t is the UT Julian date of a local midnight; the day number of the local
  // date that begins there is t + z/1440 + 0.5, an integer up to rounding.
  return std::round(t + z / 1440.0 + 0.5);
}

double AspectEngine::SearchFromMidnight(int a, int b, int kind, int c, int z, bool forward) const {
  const bool personal = IsPersonalMode(CurrentMode);
  if (!personal && CurrentMode != Mode::WorldTransits) return -1.0;
  if (a < 1 || a > kMaxPlanets || b < 1 || b > kMaxPlanets || kind < 1 || kind > kNumKinds) return -1.0;
  if (!(WorldLocalDay >= 0)) return -1.0;
  double lonA = 0.0;
  if (personal) {
    // The natal planet stays where it stood at the birthdate.
    lonA = Longitude(a, TableJulianDates[static_cast<size_t>(BirthRowOfMode(CurrentMode))]);
  }
  const bool slowPair = a >= kUranus && b >= kUranus;
  // How fast the deviation can change at most, degrees per day (0: unknown).
  const double speedA = personal ? 0.0 : Services.MaxDailyMotionDegrees[static_cast<size_t>(a)];
  const double speedB = Services.MaxDailyMotionDegrees[static_cast<size_t>(b)];
  const bool bounded = speedB > 0 && (personal || speedA > 0);
  const double maxChange = speedA + speedB;
  const double orbDegrees =
      RadiansToDegrees(Orbs.Orb[static_cast<size_t>(kind)][static_cast<size_t>(c)]);
  // Local midnight opening (backward) or closing (forward) the world date, UT.
  double t = std::floor(WorldLocalDay) + (forward ? 1.0 : 0.0) - z / 1440.0 - 0.5;
  for (int step = 0; step < kMaxSearchSteps; ++step) {
    if (!personal) lonA = Longitude(a, t);
    const double lonB = Longitude(b, t);
    if (lonA < 0 || lonB < 0) return -1.0;
    double e = 0.0;
    if (!AspectExactness(lonA, lonB, kind, c, e)) {
      // Backward: the day that begins at this midnight. Forward: the day that
      // ends at it.
      return DayNumberForMidnight(forward ? t - 1.0 : t, z);
    }
    double days = 1.0;
    if (slowPair) {
      // Close to exact a slow pair moves up to 11 days at a time.
      days = std::floor(10.0 * e + 1.0);
    } else if (bounded) {
      // The deviation is e * orb short of the orb and grows by at most
      // maxChange a day, so the next n - 1 midnights are still in orb for
      // n = floor(margin / maxChange): the first midnight out of orb is not
      // jumped over.
      days = std::max(1.0, std::floor(e * orbDegrees / maxChange));
    }
    t += forward ? days : -days;
  }
  return -1.0;
}

double AspectEngine::BeginningOfAspect(int a, int b, int kind, int c, int z) const {
  return SearchFromMidnight(a, b, kind, c, z, false);
}

double AspectEngine::EndOfAspect(int a, int b, int kind, int c, int z) const {
  return SearchFromMidnight(a, b, kind, c, z, true);
}

void AspectEngine::GetDurations() {
  DurationRecords.clear();
  const int z = WorldZoneMinutes;
  const bool personal = IsPersonalMode(CurrentMode);
  const bool searched = personal || CurrentMode == Mode::WorldTransits;
  const int column = personal ? kOrbColumnPersonal : kOrbColumnOneDate;
  const double world = TableJulianDates[kRowWorld];
  const double birth = BirthRowOfMode(CurrentMode) > 0
                           ? TableJulianDates[static_cast<size_t>(BirthRowOfMode(CurrentMode))]
                           : -1.0;
  // Each aspect cell as Compute filled it: its kind and its planets in the
  // order the records name them, not read back from the cell's words.
  for (const TableCell& cell : Table.Cells) {
    const int k = KindOfCell(cell);
    if (k == 0) continue;
    const int first = cell.Planet1;
    const int second = cell.Planet2;
    double date1 = world;
    double date2 = world;
    switch (CurrentMode) {
      case Mode::WorldTransits: break;
      case Mode::Natal1:
      case Mode::Natal2: date1 = date2 = birth; break;
      case Mode::Personal1:
      case Mode::Personal2: date1 = birth; break;
      case Mode::Synastry:
        date1 = TableJulianDates[kRowBirth1]; date2 = TableJulianDates[kRowBirth2]; break;
    }
    const double lon1 = Longitude(first, date1);
    const double lon2 = Longitude(second, date2);
    const double d = std::fabs(AspectSeparation(lon1, lon2) - AspectAngle(k));
    DurationEntry entry;
    entry.Planet1 = first;
    entry.Planet2 = second;
    entry.Kind = k;
    entry.Deviation = d;
    if (!searched) {
      entry.Record = MakeDurationRecord(first, second, k, d, RecordDates::Dashes);
    } else if (CurrentMode == Mode::WorldTransits && second == 10) {
      entry.Record = MakeDurationRecord(first, second, k, d, RecordDates::Blanks);
    } else {
      entry.Searched = true;
      entry.Beginning = BeginningOfAspect(first, second, k, column, z);
      entry.End = EndOfAspect(first, second, k, column, z);
      entry.Record = MakeDurationRecord(first, second, k, d, RecordDates::Searched,
                                        entry.Beginning, entry.End);
    }
    DurationRecords.push_back(std::move(entry));
  }
}

AspectClickInfo AspectEngine::AspectCellClick(int index) const {
  AspectClickInfo info;
  const bool personal = IsPersonalMode(CurrentMode);
  if (!personal && CurrentMode != Mode::WorldTransits) return info;
  if (index < 0 || index >= Table.NumCells()) return info;
  const TableCell& cell = Table.Cells[static_cast<size_t>(index)];
  const int k = KindOfCell(cell);
  if (k == 0 || Settings.AspectColours[static_cast<size_t>(k)] == 0) return info;
  const int z = WorldZoneMinutes;
  const int column = personal ? kOrbColumnPersonal : kOrbColumnOneDate;
  // World transits: the pair lower number first; Personal transits: natal
  // planet first, then the transiting one.
  const int a = cell.Planet1;
  const int b = cell.Planet2;

  info.Act = true;
  info.PlanetA = a;
  info.PlanetB = b;
  info.Kind = k;
  info.OrbColumn = column;
  if (personal) {
    info.Sentence = Text(155) + " " + PlanetName(b) + " " + Aspect(k).Phrase + " " + Text(156) +
                    " " + PlanetName(a);
  } else {
    info.Sentence = PlanetName(a) + " " + Aspect(k).Phrase + " " + PlanetName(b);
  }
  info.Beginning = BeginningOfAspect(a, b, k, column, z);
  info.End = EndOfAspect(a, b, k, column, z);
  auto dateText = [this](double day) {
    if (Services.DayNumberToDateText) return Services.DayNumberToDateText(day);
    return std::to_string(static_cast<long>(day));
  };
  const std::string orb =
      FormatAngleDM(Orbs.Orb[static_cast<size_t>(k)][static_cast<size_t>(column)], false, true);
  if (NamesLanguage() == kGerman) {
    // The demonstrative agrees with the noun: "diese Konjunktion", "dieses
    // Quadrat", "dieser Quinkunx".
    const CountNoun& noun = KindNoun(k, kGerman);
    const char* these = noun.Genus == Gender::Feminine ? "diese " : noun.Genus == Gender::Masculine ? "dieser " : "dieses ";
    const auto on = [&](double day) {
      return day >= 0 ? "am " + dateText(day) : std::string("an einem unbekannten Tag");
    };
    info.OrbText = "Bei einem Orbis von " + orb + " beginnt " + these + noun.Singular + kCrLf + on(info.Beginning) +
                   kCrLf + "und endet " + on(info.End) + ".";
  } else {
    info.OrbText = "With an orb of " + orb + " this " + Lower(Aspect(k).Name) + kCrLf + "begins on " +
                   (info.Beginning >= 0 ? dateText(info.Beginning) : std::string("an unknown date")) + kCrLf +
                   "and ends on " + (info.End >= 0 ? dateText(info.End) + "." : std::string("an unknown date."));
  }
  if (personal && info.Beginning >= 0 && info.End >= 0) {
    info.ShowGraph = true;
  } else {
    // The orb text is a statement ending in "."; as the end of a question it
    // gives up that period, so the question does not end in ".?".
    std::string statement = info.OrbText;
    if (!statement.empty() && statement.back() == '.') statement.pop_back();
    info.Question = info.Sentence + " " + Text(162) + kCrLf + kCrLf + statement + "?";
  }
  return info;
}

AspectClickOutcome OutcomeOfAspectClick(Mode tableMode, const AspectClickInfo& info) {
  if (!IsPersonalMode(tableMode) && tableMode != Mode::WorldTransits) return AspectClickOutcome::FocusOnly;
  if (!info.Act) return AspectClickOutcome::Nothing;
  return info.ShowGraph ? AspectClickOutcome::Graph : AspectClickOutcome::Question;
}

std::string AspectClickStatement(const AspectClickInfo& info) {
  return info.Sentence + kCrLf + kCrLf + info.OrbText;
}

}  // namespace vemo
