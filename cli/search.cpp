// vemo-cli search --pattern NAME [--planets P1[,P2[,P3]]] [--count N] --from DATE
//                 [--to DATE] [--step day|week|month|year] [orb options] [--format text|json]

#include "cli/search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "app/aspects/date_rows.h"
#include "app/aspects/vocabulary.h"
#include "app/chart/chart_input.h"
#include "app/text/languages.h"
#include "app/text/program_text.h"
#include "app/time/date_texts.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"
#include "app/time/timezones.h"
#include "cli/positions.h"
#include "cli/program_folder.h"
#include "cli/table.h"

namespace vemo::cli {

namespace {

constexpr const char* kSearchUsage =
    "Usage: vemo-cli search --pattern NAME [--planets P1[,P2[,P3]]] [--count N]\n"
    "                       --from DATE [--to DATE] [--step day|week|month|year]\n"
    "                       [orb options] [--format text|json] [--jobs N]\n"
    "Steps the world date forward from --from as a run of the window does in World\n"
    "transits, and stops at the first table that holds the pattern.\n\n"
    "  --pattern NAME     Grand trine, Kite, Rectangle, T-square, Grand cross, Yod,\n"
    "                     Yod-kite, Trapezium, 6-Stellium, 5-Stellium, 4-Stellium,\n"
    "                     3-Stellium, Grand sextile or Midpoint, in any case, with\n"
    "                     blanks or hyphens (\"grand-trine\"), or the index 0..13\n"
    "  --planets P1[,P2[,P3]]  one to three planets the pattern must involve: Earth,\n"
    "                     Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune,\n"
    "                     Pluto, or their numbers 1..9. A planet without positions\n"
    "                     at any date to test is refused; where its positions end\n"
    "                     inside the dates (Pluto's table on January 1, 2200),\n"
    "                     the search ends there\n"
    "  --count N          N or more of the pattern at once, 2..9 (default: one)\n"
    "  --from DATE        where the run starts; the first date tested is one step\n"
    "                     later. DATE as for vemo-cli table: Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM]\n"
    "  --to DATE          the last date to test (default: December 31, 2799, 23:30 in\n"
    "                     the zone of --from)\n"
    "  --step SIZE        day (default), week, month or year\n"
    "  --orbs, --personal-divisor, --synastry-divisor, --midpoint-orb, --boldface\n"
    "                     as for vemo-cli table (see vemo-cli table --help)\n"
    "  --format text|json the date found, the run's message, the pattern lines and\n"
    "                     the steps as text (default), or {\"found\": true, \"jd\",\n"
    "                     \"date\", \"message\", \"patterns\", \"steps\"}; when not found\n"
    "                     one line, or {\"found\": false, \"steps\", \"last_jd\"}\n"
    "  --jobs N           threads that test dates, 1 to 64 (default: one per core);\n"
    "                     any number finds the same first date\n"
    "  --help             this text\n\n"
    "On a terminal a search of more than a second shows the date it has reached on\n"
    "stderr.\n"
    "Exit status: 0 found, 1 planets_vemo, the program text or the program folder\n"
    "cannot be used or the output cannot be written, 2 bad command line, a refused\n"
    "date, or a planet of --planets without positions (or data file) at any date\n"
    "to test, 3 not found by --to, or not found before the positions of a planet\n"
    "of --planets end or a date the program does not take (both named on stderr).\n";

constexpr const char* kSearchUsageGerman =
    "Aufruf: vemo-cli search --pattern NAME [--planets P1[,P2[,P3]]] [--count N]\n"
    "                        --from DATE [--to DATE] [--step day|week|month|year]\n"
    "                        [Orbisoptionen] [--format text|json] [--jobs N]\n"
    "Setzt das Weltdatum von --from an schrittweise vor, wie ein Suchlauf des Fensters\n"
    "bei Welttransiten, und h\u00E4lt bei der ersten Tabelle an, die das Aspektmuster enth\u00E4lt.\n"
    "\n"
    "  --pattern NAME     Grand trine, Kite, Rectangle, T-square, Grand cross, Yod,\n"
    "                     Yod-kite, Trapezium, 6-Stellium, 5-Stellium, 4-Stellium,\n"
    "                     3-Stellium, Grand sextile oder Midpoint, in beliebiger\n"
    "                     Schreibung, mit Leerzeichen oder Bindestrichen (\"grand-trine\"),\n"
    "                     oder die Nummer 0..13\n"
    "  --planets P1[,P2[,P3]]  ein bis drei Planeten, die am Aspektmuster beteiligt\n"
    "                     sein m\u00FCssen: Earth, Mercury, Venus, Mars, Jupiter, Saturn,\n"
    "                     Uranus, Neptune, Pluto oder ihre Nummern 1..9. Ein Planet,\n"
    "                     der an keinem zu pr\u00FCfenden Datum Positionen hat, wird\n"
    "                     abgelehnt; wo seine Positionen innerhalb der Daten enden\n"
    "                     (Plutos Tabelle am 1. Januar 2200), endet dort die Suche\n"
    "  --count N          N oder mehr des Aspektmusters zugleich, 2..9 (Standard: eines)\n"
    "  --from DATE        wo der Suchlauf beginnt; das erste gepr\u00FCfte Datum liegt einen\n"
    "                     Schritt sp\u00E4ter. DATE wie bei vemo-cli table:\n"
    "                     Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM]\n"
    "  --to DATE          das letzte zu pr\u00FCfende Datum (Standard: 31. Dezember 2799,\n"
    "                     23:30 in der Zone von --from)\n"
    "  --step SIZE        day (Standard), week, month oder year\n"
    "  --orbs, --personal-divisor, --synastry-divisor, --midpoint-orb, --boldface\n"
    "                     wie bei vemo-cli table (siehe vemo-cli table --help)\n"
    "  --format text|json das gefundene Datum, die Meldung des Suchlaufs, die Zeilen der\n"
    "                     Aspektmuster und die Schritte als Text (Standard) oder\n"
    "                     {\"found\": true, \"jd\", \"date\", \"message\", \"patterns\", \"steps\"};\n"
    "                     wenn nichts gefunden wird, eine Zeile oder\n"
    "                     {\"found\": false, \"steps\", \"last_jd\"}\n"
    "  --jobs N           Threads, die Daten pr\u00FCfen, 1 bis 64 (Standard: einer je\n"
    "                     Kern); jede Anzahl findet dasselbe erste Datum\n"
    "  --help             dieser Text\n"
    "\n"
    "Auf einem Terminal zeigt eine Suche, die l\u00E4nger als eine Sekunde dauert, auf\n"
    "stderr das erreichte Datum.\n"
    "Exit-Status: 0 gefunden, 1 planets_vemo, der Programmtext oder der Programmordner\n"
    "kann nicht verwendet oder die Ausgabe nicht geschrieben werden, 2 fehlerhafte\n"
    "Kommandozeile, ein abgelehntes Datum oder ein Planet von --planets, der an keinem\n"
    "zu pr\u00FCfenden Datum Positionen (oder keine Datendatei) hat, 3 nicht gefunden bis\n"
    "--to, oder nicht gefunden, bevor die Positionen eines Planeten von --planets\n"
    "enden oder ein Datum kommt, das das Programm nicht annimmt (beides auf stderr\n"
    "genannt).\n";

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// Lower case, hyphens as blanks: "Yod-kite" and "yod kite" compare equal.
std::string Folded(const std::string& text) {
  std::string folded = Lower(text);
  for (char& c : folded) {
    if (c == '-') c = ' ';
  }
  return folded;
}

std::string PatternList() {
  std::string names;
  for (int i = 0; i < kNumPatterns; ++i) names += (i > 0 ? ", " : "") + PatternName(i, kEnglish);
  return names;
}

std::string ZoneText(int zoneIndex) {
  static const TimezoneList zones(false);
  return zones.Text(zoneIndex);
}

// "2024-06-15 14:00 GMT+1:00": a world-date row as the window shows it.
std::string RowText(const DateRow& row) {
  return chart::PictureDateText(row.yearText, row.monthIndex, row.dayIndex) + " " +
         HourEntryText(row.hourIndex) + " " + ZoneText(row.zoneIndex);
}

std::string CrLfToLf(std::string text) {
  for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
  return text;
}

// "No grand trine involving Mars found", "No 3 or more T-squares found":
// lower case inside the sentence as the run's message writes it.
std::string NotFoundText(const reports::RunCriteria& criteria) {
  const std::string& name = PatternName(criteria.patternIndex);
  std::string text = "No ";
  if (criteria.twoOrMore) text += std::to_string(criteria.numToFind) + " or more ";
  text += name == "T-square" ? name : Lower(name);
  if (criteria.twoOrMore) text += "s";
  if (criteria.planetsGiven) {
    text += " involving";
    for (int planet : criteria.soughtPlanets) {
      if (planet > 0) text += " " + PlanetName(planet);
    }
  }
  return text + " found";
}

// "Erde, Mars und Venus": the sought planets in a German sentence.
std::string GermanPlanetList(const reports::RunCriteria& criteria) {
  std::vector<std::string> names;
  for (int planet : criteria.soughtPlanets) {
    if (planet > 0) names.push_back(PlanetName(planet));
  }
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) {
    list += (i == 0 ? "" : i + 1 == names.size() ? " und " : ", ") + names[i];
  }
  return list;
}

std::string StepsText(long steps) {
  return std::to_string(steps) + (steps == 1 ? InProgramLanguage(" step", " Schritt") : InProgramLanguage(" steps", " Schritte"));
}

// "12 steps", in German after "nach": "nach 12 Schritten".
std::string AfterStepsText(long steps) {
  if (LanguageIndex() != kGerman) return StepsText(steps);
  return "nach " + std::to_string(steps) + (steps == 1 ? " Schritt" : " Schritten");
}

// The line of a search that found nothing: "No grand trine involving Mars
// found from A to B (12 steps).", "Von A bis B wurde kein Großes Trigon
// mit Mars gefunden (12 Schritte)."
std::string NotFoundLine(const reports::RunCriteria& criteria, const std::string& from, const std::string& to,
                         long steps) {
  if (LanguageIndex() != kGerman) {
    return NotFoundText(criteria) + " from " + from + " to " + to + " (" + StepsText(steps) + ").\n";
  }
  const CountNoun& noun = PatternNoun(criteria.patternIndex, kGerman);
  std::string text = "Von " + from + " bis " + to;
  if (criteria.twoOrMore) {
    text += " wurden keine " + std::to_string(criteria.numToFind) + " oder mehr " + noun.Plural;
  } else {
    text += std::string(" wurde ") + (noun.Genus == Gender::Feminine ? "keine " : "kein ") + noun.Singular;
  }
  if (criteria.planetsGiven) text += " mit " + GermanPlanetList(criteria);
  return text + " gefunden (" + StepsText(steps) + ").\n";
}

// "2200-01-01 00:00 UT": an instant to the nearest minute.
std::string UtText(double ajd) {
  const double minutes = std::floor((ajd + 0.5) * 1440.0 + 0.5);
  const double day = std::floor(minutes / 1440.0);
  return JdnToIsoDate(static_cast<int>(day)) + " " +
         DayFractionToTimeText((minutes - day * 1440.0) / 1440.0, false) + " UT";
}

// The world-date row one step after `row` and its instant, as a run steps
// and converts it; value < 0 when the date is refused (or cannot be stepped).
DateConversion StepAfter(const DateRow& row, StepSize step, int localZoneIndex) {
  StepDate date{row.yearText, row.monthIndex, row.dayIndex, row.hourIndex};
  DateRow next = row;
  if (!StepWorldDate(date, step, true, reports::DateLibraryStepCalendar())) return {kDateIncomplete, next};
  next.yearText = date.yearText;
  next.monthIndex = date.month;
  next.dayIndex = date.day;
  next.hourIndex = date.hourEntry;
  DateConversion converted = InputDateToAJDate(next, localZoneIndex);
  if (!converted.ok()) converted.row = next;
  return converted;
}

// Where a planet's positions begin and end among the program's dates
// (1 January 1 to 31 December 2799 in any zone, so a day more on either side
// in UT): "positions only from 1600-01-01 00:00 UT to 2200-01-01 00:00 UT".
std::string PositionsOnlyText(int planet) {
  const PositionStretch s = PositionStretchOf(planet, kFirstDayNumber - 1.5, kLastDayNumber + 1.5);
  if (LanguageIndex() == kGerman) {
    if (!s.any) return "an keinem Datum, das das Programm annimmt, Positionen";
    if (s.beginsInside && s.endsInside) return "Positionen nur von " + UtText(s.first) + " bis " + UtText(s.last);
    if (s.beginsInside) return "Positionen nur ab " + UtText(s.first);
    if (s.endsInside) return "Positionen nur bis " + UtText(s.last);
    return "Positionen an jedem Datum, das das Programm annimmt";
  }
  if (!s.any) return "no positions at any date the program takes";
  if (s.beginsInside && s.endsInside) return "positions only from " + UtText(s.first) + " to " + UtText(s.last);
  if (s.beginsInside) return "positions only from " + UtText(s.first) + " on";
  if (s.endsInside) return "positions only up to " + UtText(s.last);
  return "positions at every date the program takes";
}

// What the sought planets allow of the dates to be tested.
struct SoughtSpan {
  std::string refusal;  // a sought planet has no position at any of them
  int endingPlanet = 0; // a sought planet whose positions end inside: the first to end
  double lastAjd = 0.0; // the last instant with positions of all sought planets
};

// A sought planet without a usable data file, or without positions at any
// date to be tested, leaves nothing to search for; one whose positions end
// inside the dates ends the search there (the engine would go on without it,
// and the pattern could never involve it again).
SoughtSpan CheckSoughtPlanets(const reports::RunCriteria& criteria, const std::vector<UnusableDataFile>& unusable,
                              const DateConversion& firstStep, const DateConversion& to) {
  SoughtSpan span;
  span.lastAjd = to.value;
  for (int planet : criteria.soughtPlanets) {
    if (planet <= 0) continue;
    for (const UnusableDataFile& f : unusable) {
      if (f.planet != planet) continue;
      const std::string file =
          planet == kMaxPlanets
              ? InProgramLanguage(" is not available: its table ", " ist nicht verf\u00FCgbar: die Tabelle ") +
                    std::string(kPlutoFileName)
              : InProgramLanguage(" is not available: its data file ", " ist nicht verf\u00FCgbar: die Datendatei ") + f.file;
      span.refusal = PlanetName(planet) + file + InProgramLanguage(" cannot be used", " kann nicht verwendet werden");
      return span;
    }
    // No date to test (the first is refused or later than --to): the search
    // ends at once and says why.
    if (!firstStep.ok() || firstStep.value > to.value) continue;
    const PositionStretch s = PositionStretchOf(planet, firstStep.value, to.value);
    if (!s.any) {
      span.refusal = PlanetName(planet) + InProgramLanguage(" has ", " hat ") + PositionsOnlyText(planet) +
                     InProgramLanguage(", none at the dates to test (", ", keine an den Daten der Suche (") +
                     RowText(firstStep.row) + InProgramLanguage(" to ", " bis ") + RowText(to.row) + ")";
      return span;
    }
    if (s.endsInside && s.last < span.lastAjd) {
      span.endingPlanet = planet;
      span.lastAjd = s.last;
    }
  }
  return span;
}

std::string FoundText(const AspectEngine& engine, const reports::RunSearchResult& result) {
  const DateRow& r = result.row;
  char jd[48];
  std::snprintf(jd, sizeof jd, ", JD %.6f (UT)\n", result.lastAjd);
  const std::string jdLine = ReadableNumber(jd);
  return chart::PictureDateLine(ProgramText(kRowNameItem[kWorldRow]),
                                chart::PictureDateText(r.yearText, r.monthIndex, r.dayIndex),
                                HourEntryText(r.hourIndex), ZoneText(r.zoneIndex)) +
         jdLine + CrLfToLf(result.message) + "\n\n" + CrLfToLf(engine.Table.PatternText) + StepsText(result.steps) +
         "\n";
}

std::string FoundJson(const AspectEngine& engine, const reports::RunSearchResult& result) {
  std::string out = "{\"found\": true, \"jd\": " + JsonNumber(result.lastAjd) + ", \"date\": " +
                    JsonString(RowText(result.row)) + ", \"message\": " +
                    JsonString(CrLfToLf(result.message)) + ", \"patterns\": [";
  const std::string& text = engine.Table.PatternText;
  bool first = true;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find("\r\n", start), text.size());
    if (end > start) {
      out += (first ? "" : ", ") + JsonString(text.substr(start, end - start));
      first = false;
    }
    start = end + 2;
  }
  return out + "], \"steps\": " + std::to_string(result.steps) + "}\n";
}

}  // namespace

int PatternOfArgument(const std::string& text) {
  int index = -1;
  if (ParseWholeNumber(text, 0, kNumPatterns - 1, index)) return index;
  for (int i = 0; i < kNumPatterns; ++i) {
    if (Folded(text) == Folded(PatternName(i, kEnglish))) return i;
  }
  return -1;
}

int PlanetOfArgument(const std::string& text) {
  int planet = 0;
  if (ParseWholeNumber(text, 1, kMaxPlanets, planet)) return planet;
  for (int p = 1; p <= kMaxPlanets; ++p) {
    if (Folded(text) == Folded(PlanetName(p, kEnglish))) return p;
  }
  return 0;
}

std::string ParseSearchArguments(const Arguments& args, SearchOptions& options) {
  options = SearchOptions{};
  const std::string walked = WalkOptions(
      args, {"--help", "-h"}, {"--pattern", "--planets", "--count", "--from", "--to", "--step", "--format", "--jobs"}, true,
      [&options](const std::string& arg, const std::string& value) -> std::string {
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--pattern") {
      options.pattern = PatternOfArgument(value);
      if (options.pattern < 0) {
        return InProgramLanguage("--pattern is one of ", "--pattern ist eines von ") + PatternList() +
               InProgramLanguage(" (or 0 to 13), not ", " (oder 0 bis 13), nicht ") + QuotedArgument(value);
      }
    } else if (arg == "--planets") {
      options.planets = {0, 0, 0};
      std::size_t n = 0;
      for (std::size_t start = 0; start <= value.size(); ++n) {
        const std::size_t end = std::min(value.find(',', start), value.size());
        const int planet = PlanetOfArgument(value.substr(start, end - start));
        if (n >= options.planets.size() || planet == 0) {
          return OneOf("--planets", "names one to three planets (Earth .. Pluto or 1 to 9) separated by commas",
                       "nennt einen bis drei Planeten (Earth .. Pluto oder 1 bis 9), durch Kommas getrennt", value);
        }
        options.planets[n] = planet;
        start = end + 1;
      }
      if (reports::RepeatedSoughtPlanet(options.planets) != 0) {
        return InProgramLanguage("Planet specified more than once.", "Ein Planet ist mehrfach angegeben.");
      }
    } else if (arg == "--count") {
      if (!ParseWholeNumber(value, reports::kMinNumToFind, reports::kMaxNumToFind, options.count)) {
        return OneOf("--count", "is a whole number 2 to 9", "ist eine ganze Zahl von 2 bis 9", value);
      }
    } else if (arg == "--from" || arg == "--to") {
      DateRow parsed;
      if (const std::string error = ParseDateOption(value, parsed); !error.empty()) return arg + ": " + error;
      (arg == "--from" ? options.from : options.to) = parsed;
      (arg == "--from" ? options.hasFrom : options.hasTo) = true;
    } else if (arg == "--step") {
      static const std::pair<const char*, StepSize> kSteps[] = {
          {"day", StepSize::Day}, {"week", StepSize::Week},
          {"month", StepSize::Month}, {"year", StepSize::Year}};
      bool found = false;
      for (const auto& [name, size] : kSteps) {
        if (value == name) options.step = size, found = true;
      }
      if (!found) return OneOf("--step", "is day, week, month or year", "ist day, week, month oder year", value);
    } else if (std::string error; ParseOrbOption(arg, value, options.settings, error)) {
      if (!error.empty()) return error;
    } else if (arg == "--format") {
      if (value != "text" && value != "json") return OneOf("--format", "is text or json", "ist text oder json", value);
      options.json = value == "json";
    } else if (arg == "--jobs") {
      if (!ParseWholeNumber(value, 1, kMaxJobs, options.jobs)) {
        return JobsError(value);
      }
    }
    return "";
  });
  if (!walked.empty()) return walked;
  if (options.help) return "";
  if (options.pattern < 0) return Required("--pattern");
  if (!options.hasFrom) return Required("--from");
  return "";
}

reports::RunCriteria SearchCriteria(const SearchOptions& options) {
  return reports::MakeRunCriteria(options.pattern, options.planets, options.count > 0,
                             options.count > 0 ? options.count : reports::kMinNumToFind);
}

int RunSearch(const Arguments& args) {
  SearchOptions options;
  if (const std::string error = ParseSearchArguments(args, options); !error.empty()) {
    std::cerr << "vemo-cli search: " << error << " " << TryHelp("search") << "\n";
    return kExitUsage;
  }
  if (options.help) return WriteOutput("search", InProgramLanguage(kSearchUsage, kSearchUsageGerman));
  ProgramFolderState state;
  if (const std::string error = SetUpProgramFolder("search", state); !error.empty()) {
    std::cerr << "vemo-cli search: " << error << "\n";
    return kExitFailure;
  }
  const auto text = [](int item) { return ProgramText(item); };
  const reports::RunCriteria criteria = SearchCriteria(options);
  const LocalZone zone = ResolveLocalZone(SystemTimezoneMinutes());
  if (!zone.listed) std::cerr << "vemo-cli search: " << ZoneNotListedNotice(zone.systemMinutes, text) << "\n";

  const DateConversion from = InputDateToAJDate(options.from, zone.index);
  if (!from.ok()) {
    std::cerr << "vemo-cli search: --from: " << DateErrorMessage(kWorldRow, from.value, text) << "\n";
    return kExitUsage;
  }
  // By default the run may go on to the last half hour the program takes, in
  // the zone of --from.
  const DateRow lastRow{std::to_string(kLastYear), 12, 31, kHourEntries - 1, from.row.zoneIndex};
  const DateConversion to = InputDateToAJDate(options.hasTo ? options.to : lastRow, zone.index);
  if (!to.ok()) {
    std::cerr << "vemo-cli search: --to: " << DateErrorMessage(kWorldRow, to.value, text) << "\n";
    return kExitUsage;
  }
  if (to.value < from.value) {
    std::cerr << "vemo-cli search: --to " << RowText(to.row) << InProgramLanguage(" is before --from ", " liegt vor --from ")
              << RowText(from.row) << "\n";
    return kExitUsage;
  }

  // The dates a run tests run from one step after --from to --to.
  const DateConversion firstStep = StepAfter(from.row, options.step, zone.index);
  const SoughtSpan span = CheckSoughtPlanets(criteria, state.unusable, firstStep, to);
  if (!span.refusal.empty()) {
    std::cerr << "vemo-cli search: " << span.refusal << "\n";
    return kExitUsage;
  }

  AspectEngine engine(DefaultEngineServices());
  engine.PlutoAvailable = PlutoAvailable();
  reports::RunSearchOptions run;
  run.criteria = criteria;
  run.step = options.step;
  run.lastAjd = span.lastAjd;
  run.localZoneIndex = zone.index;
  run.settings = options.settings;
  run.jobs = options.jobs > 0 ? options.jobs : DefaultJobs();
  ProgressLine progress;
  const int zoneMinutes = ZoneMinutesOfIndex(from.row.zoneIndex);
  run.progress = [&progress, zoneMinutes](long steps, double ajd) {
    progress.Show([&] {
      return InProgramLanguage("searching ", "Suche bei ") + LocalIsoDate(ajd, zoneMinutes) + " (" + std::to_string(steps) +
             InProgramLanguage(" steps)", " Schritte)");
    });
    return true;
  };
  const reports::RunSearchResult result = reports::SearchForPattern(engine, from.row, run, text);
  progress.Clear();

  if (result.end == reports::RunSearchEnd::Found) {
    return WriteOutput("search", options.json ? FoundJson(engine, result) : FoundText(engine, result));
  }
  // A step beyond December 31, 2799 is refused as too late. After a step or
  // more it lies beyond --to as well (which the program took), so the search
  // simply ran to its end; a refusal of the very first date to test, or any
  // other refusal, is named.
  const bool cut = result.end == reports::RunSearchEnd::PastLast && span.endingPlanet != 0;
  if (result.end == reports::RunSearchEnd::Refused &&
      (result.errorCode != static_cast<int>(kDateTooLate) || result.steps == 0)) {
    const DateConversion refused = StepAfter(result.row, options.step, zone.index);
    std::cerr << "vemo-cli search: "
              << InProgramLanguage("the search stopped before ", "die Suche endete vor ") << RowText(refused.row) << " ("
              << AfterStepsText(result.steps) << "): " << DateErrorMessage(result.badRow, result.errorCode, text)
              << "\n";
  } else if (cut && LanguageIndex() == kGerman) {
    std::cerr << "vemo-cli search: " << PlanetName(span.endingPlanet) << " hat nach " << UtText(span.lastAjd)
              << " keine Positionen; die Suche endete dort (" << AfterStepsText(result.steps) << ")\n";
  } else if (cut) {
    std::cerr << "vemo-cli search: " << PlanetName(span.endingPlanet) << " has no positions after "
              << UtText(span.lastAjd) << "; the search stopped there (" << StepsText(result.steps) << ")\n";
  }
  const std::string out =
      options.json ? "{\"found\": false, \"steps\": " + std::to_string(result.steps) +
                         ", \"last_jd\": " + JsonNumber(result.lastAjd) + "}\n"
                   : NotFoundLine(criteria, RowText(from.row), RowText(cut ? result.row : to.row), result.steps);
  const int status = WriteOutput("search", out);
  return status == kExitOk ? kExitNotFound : status;
}

}  // namespace vemo::cli
