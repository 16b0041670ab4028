// vemo-cli durations --mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE]
//                    [options] [--format text|json]

#include <cmath>
#include <string>

#include "app/aspects/vocabulary.h"
#include "app/text/languages.h"
#include "cli/positions.h"
#include "cli/table.h"

namespace vemo::cli {

namespace {

constexpr const char* kDurationsUsage =
    "Usage: vemo-cli durations --mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE]\n"
    "                          [options] [--format text|json]\n"
    "The duration record of every aspect of the table: the day on which it enters its\n"
    "orb and the day on which it leaves it (World and Personal transits, searched day by\n"
    "day between local midnights of the world date's zone; dashes in Natal aspects and\n"
    "Synastry). Options as for vemo-cli table (see vemo-cli table --help).\n\n"
    "  --format text|json one line per record (default), or\n"
    "                     {\"mode\", \"records\": [...], \"unavailable\": [...]}\n\n"
    "A planet whose position cannot be computed has no records; it is listed after\n"
    "the records with its reason, in JSON as {\"planet\", \"code\", \"reason\", \"row\"}\n"
    "in \"unavailable\". A data file that cannot be used, or a program folder too\n"
    "long for planets_vemo, is named in one warning line on stderr.\n"
    "Exit status: 0 done, 1 planets_vemo, the program text or the program folder\n"
    "cannot be used or the output cannot be written, 2 bad command line or a\n"
    "refused date.\n";

constexpr const char* kDurationsUsageGerman =
    "Aufruf: vemo-cli durations --mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE]\n"
    "                           [Optionen] [--format text|json]\n"
    "Der Dauereintrag jedes Aspekts der Tabelle: der Tag, an dem er in seinen Orbis\n"
    "eintritt, und der Tag, an dem er ihn verl\u00E4sst (bei Welttransiten und Pers\u00F6nlichen\n"
    "Transiten Tag f\u00FCr Tag zwischen den Mittern\u00E4chten der Zone des Weltdatums gesucht;\n"
    "Striche bei Radixaspekten und Synastrie). Optionen wie bei vemo-cli table (siehe\n"
    "vemo-cli table --help).\n"
    "\n"
    "  --format text|json eine Zeile je Eintrag (Standard) oder\n"
    "                     {\"mode\", \"records\": [...], \"unavailable\": [...]}\n"
    "\n"
    "Ein Planet, dessen Position nicht berechnet werden kann, hat keine Eintr\u00E4ge; er\n"
    "wird nach den Eintr\u00E4gen mit seinem Grund aufgef\u00FChrt, in JSON als {\"planet\",\n"
    "\"code\", \"reason\", \"row\"} in \"unavailable\". Eine Datendatei, die nicht verwendet\n"
    "werden kann, oder ein Programmordner, der f\u00FCr planets_vemo zu lang ist, wird in\n"
    "einer Warnzeile auf stderr genannt.\n"
    "Exit-Status: 0 erledigt, 1 planets_vemo, der Programmtext oder der Programmordner\n"
    "kann nicht verwendet oder die Ausgabe nicht geschrieben werden, 2 fehlerhafte\n"
    "Kommandozeile oder ein abgelehntes Datum.\n";

}  // namespace

std::string FormatDurationsText(const AspectEngine& engine, const std::vector<UnusableDataFile>& unusable) {
  const bool one = engine.DurationRecords.size() == 1;
  std::string out = std::string(ModeTitle(engine.CurrentMode)) + ": " +
                    std::to_string(engine.DurationRecords.size()) +
                    (one ? InProgramLanguage(" duration record", " Dauereintrag")
                         : InProgramLanguage(" duration records", " Dauereintr\u00E4ge")) +
                    "\n";
  const std::string unknown = InProgramLanguage("unknown", "unbekannt");
  for (const DurationEntry& r : engine.DurationRecords) {
    out += r.Record + "  " + PlanetName(r.Planet1) + " " + Aspect(r.Kind).Relation + " " +
           PlanetName(r.Planet2);
    if (r.Searched) {
      out += InProgramLanguage(", begins ", ", Beginn ") + (r.Beginning >= 0 ? DateOfDay(r.Beginning) : unknown) +
             InProgramLanguage(", ends ", ", Ende ") + (r.End >= 0 ? DateOfDay(r.End) : unknown);
      if (r.Beginning >= 0 && r.End >= 0) {
        const long days = static_cast<long>(r.End - r.Beginning + 1);
        out += " (" + std::to_string(days) + (days == 1 ? InProgramLanguage(" day)", " Tag)") : InProgramLanguage(" days)", " Tage)"));
      }
    }
    out += "\n";
  }
  return out + UnavailableText(UnavailablePositions(engine, unusable));
}

std::string FormatDurationsJson(const AspectEngine& engine, const std::vector<UnusableDataFile>& unusable) {
  std::string out = "{\"mode\": " + JsonString(ModeArgumentName(engine.CurrentMode)) + ", \"records\": [";
  for (size_t i = 0; i < engine.DurationRecords.size(); ++i) {
    const DurationEntry& r = engine.DurationRecords[i];
    auto day = [&r](double v) { return r.Searched ? JsonNumber(std::trunc(v)) : std::string("null"); };
    auto date = [&r](double v) {
      return (r.Searched && v >= 0) ? JsonString(DateOfDay(v)) : std::string("null");
    };
    const bool known = r.Searched && r.Beginning >= 0 && r.End >= 0;
    out += std::string(i > 0 ? ", " : "") + "{\"record\": " + JsonString(r.Record) +
           ", \"planet1\": " + std::to_string(r.Planet1) + ", \"planet2\": " + std::to_string(r.Planet2) +
           ", \"kind\": " + std::to_string(r.Kind) + ", \"deviation\": " + JsonNumber(r.Deviation) +
           ", \"begin\": " + day(r.Beginning) + ", \"end\": " + day(r.End) + ", \"duration\": " +
           (known ? JsonNumber(std::trunc(r.End) - std::trunc(r.Beginning) + 1) : std::string("null")) +
           ", \"begin_date\": " + date(r.Beginning) + ", \"end_date\": " + date(r.End) + "}";
  }
  out += "], \"unavailable\": " + UnavailableJson(UnavailablePositions(engine, unusable)) + "}\n";
  return out;
}

int RunDurations(const Arguments& args) {
  TableOptions options;
  AspectEngine engine;
  std::vector<UnusableDataFile> unusable;
  const char* usage = InProgramLanguage(kDurationsUsage, kDurationsUsageGerman);
  if (const int status = PrepareEngine("durations", usage, args, options, engine, unusable);
      status >= 0) {
    return status;
  }
  engine.GetDurations();
  return WriteOutput("durations", options.json ? FormatDurationsJson(engine, unusable)
                                               : FormatDurationsText(engine, unusable));
}

}  // namespace vemo::cli
