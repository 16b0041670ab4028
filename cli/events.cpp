// vemo-cli events --from DATE --to DATE [--mode world|personal1|personal2]
//                 [--birth1 DATE] [--birth2 DATE] [orb options] [--kinds LIST]
//                 [--format text|csv|ics|json] [--zone +HH:MM] [--out FILE]

#include "cli/events.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <iostream>
#include <optional>
#include <string_view>
#include <utility>

#include "app/aspects/date_rows.h"
#include "app/aspects/events.h"
#include "app/reports/event_export.h"
#include "app/time/date_texts.h"
#include "app/text/languages.h"
#include "app/text/program_text.h"
#include "app/time/file_writer.h"
#include "app/time/pluto_table.h"
#include "app/time/timezones.h"
#include "cli/positions.h"
#include "cli/program_folder.h"
#include "cli/table.h"
#include "platform/ordalin/ordalin.h"

namespace vemo::cli {

namespace {

constexpr const char* kEventsUsage =
    "Usage: vemo-cli events --from DATE --to DATE [--mode world|personal1|personal2]\n"
    "                       [--birth1 DATE] [--birth2 DATE] [orb options] [--kinds LIST]\n"
    "                       [--format text|csv|ics|json] [--zone +HH:MM] [--out FILE]\n"
    "                       [--jobs N]\n"
    "The instants, to the minute, at which heliocentric aspects enter their orb,\n"
    "become exact and leave it between two dates.\n\n"
    "  --from DATE, --to DATE  the span searched. DATE as for vemo-cli table:\n"
    "                     Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM], 12:00 when the time is\n"
    "                     left out, the computer's zone when the zone is\n"
    "  --mode MODE        world (default): every pair of Earth .. Pluto;\n"
    "                     personal1, personal2: the transiting planets against the\n"
    "                     natal ones of the 1st or 2nd birthdate, with the personal orbs\n"
    "  --birth1 DATE      1st birthdate (needed by personal1)\n"
    "  --birth2 DATE      2nd birthdate (needed by personal2)\n"
    "  --orbs, --personal-divisor, --synastry-divisor, --midpoint-orb, --boldface\n"
    "                     as for vemo-cli table (see vemo-cli table --help)\n"
    "  --kinds LIST       the aspect kinds searched, separated by commas: Con, Opp,\n"
    "                     Sqr, Tri, Sxt, Ssx, Qui in any case, or 1..7 (default:\n"
    "                     every kind whose orb is not 0)\n"
    "  --format FORMAT    text (default): one line per event, local time and UT;\n"
    "                     csv: one row per event (RFC 4180); json: the windows in\n"
    "                     orb with their entering, exact and leaving instants;\n"
    "                     ics: an iCalendar file (RFC 5545), one event per window\n"
    "                     from entering to leaving, for calendar programs. In the\n"
    "                     personal modes the CSV columns and JSON keys of the two\n"
    "                     planets are natal_planet and transiting_planet\n"
    "  --zone +HH:MM      the zone of the local times of the text, -14:00 .. +14:00\n"
    "                     or Z (default: the computer's zone now); every other time\n"
    "                     is UTC\n"
    "  --out FILE         write FILE instead of standard output; FILE is replaced\n"
    "                     only when the whole output is written\n"
    "  --jobs N           threads that search stretches of the span, 1 to 64\n"
    "                     (default: one per core); any number writes the same\n"
    "  --help             this text\n\n"
    "Instants are rounded to the minute. A calendar event whose entering or\n"
    "leaving is not known (the positions of a planet end first) runs to where the\n"
    "positions end, and its description says so. The iCalendar DTSTAMP is the\n"
    "value of the environment variable VEMO_DTSTAMP (YYYYMMDDTHHMMSSZ) when set,\n"
    "else the present instant; each event's UID depends only on the mode, the\n"
    "birthdate, the pair, the kind and the entering instant, so that a calendar\n"
    "that imports a later export updates its events instead of adding them twice.\n"
    "Stretches without positions (Pluto without its table, data that end) are\n"
    "lines of the text, \"gaps\" in the JSON, and lines on stderr with csv and ics.\n"
    "On a terminal a search of more than a second shows on stderr the date it has\n"
    "reached, the share done and the time left.\n"
    "Exit status: 0 done, 1 planets_vemo, the program text or the program folder\n"
    "cannot be used or the output cannot be written, 2 bad command line or a\n"
    "refused date.\n";

constexpr const char* kEventsUsageGerman =
    "Aufruf: vemo-cli events --from DATE --to DATE [--mode world|personal1|personal2]\n"
    "                        [--birth1 DATE] [--birth2 DATE] [Orbisoptionen] [--kinds LIST]\n"
    "                        [--format text|csv|ics|json] [--zone +HH:MM] [--out FILE]\n"
    "                        [--jobs N]\n"
    "Die Zeitpunkte, auf die Minute genau, zu denen heliozentrische Aspekte zwischen\n"
    "zwei Daten in ihren Orbis eintreten, exakt werden und ihn verlassen.\n"
    "\n"
    "  --from DATE, --to DATE  die durchsuchte Spanne. DATE wie bei vemo-cli table:\n"
    "                     Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM], 12:00, wenn die Uhrzeit\n"
    "                     fehlt, die Zone des Computers, wenn die Zone fehlt\n"
    "  --mode MODE        world (Standard): jedes Paar von Erde .. Pluto;\n"
    "                     personal1, personal2: die Transitplaneten gegen die\n"
    "                     Radixplaneten des 1. oder 2. Geburtsdatums, mit den Orben\n"
    "                     der pers\u00F6nlichen Transite\n"
    "  --birth1 DATE      1. Geburtsdatum (f\u00FCr personal1 n\u00F6tig)\n"
    "  --birth2 DATE      2. Geburtsdatum (f\u00FCr personal2 n\u00F6tig)\n"
    "  --orbs, --personal-divisor, --synastry-divisor, --midpoint-orb, --boldface\n"
    "                     wie bei vemo-cli table (siehe vemo-cli table --help)\n"
    "  --kinds LIST       die gesuchten Aspekte, durch Kommas getrennt: Con, Opp, Sqr,\n"
    "                     Tri, Sxt, Ssx, Qui in beliebiger Schreibung oder 1..7\n"
    "                     (Standard: jeder Aspekt, dessen Orbis nicht 0 ist)\n"
    "  --format FORMAT    text (Standard): eine Zeile je Ereignis, Ortszeit und UT;\n"
    "                     csv: eine Zeile je Ereignis (RFC 4180); json: die\n"
    "                     Zeitfenster im Orbis mit ihren Zeitpunkten von Eintritt,\n"
    "                     exaktem Winkel und Austritt; ics: eine iCalendar-Datei\n"
    "                     (RFC 5545), ein Termin je Zeitfenster vom Eintritt bis zum\n"
    "                     Austritt, f\u00FCr Kalenderprogramme. In den pers\u00F6nlichen Modi\n"
    "                     hei\u00DFen die CSV-Spalten und JSON-Schl\u00FCssel der beiden\n"
    "                     Planeten natal_planet und transiting_planet\n"
    "  --zone +HH:MM      die Zone der Ortszeiten des Textes, -14:00 .. +14:00 oder Z\n"
    "                     (Standard: die jetzige Zone des Computers); alle anderen\n"
    "                     Zeiten sind UTC\n"
    "  --out FILE         FILE statt der Standardausgabe schreiben; FILE wird nur\n"
    "                     ersetzt, wenn die ganze Ausgabe geschrieben ist\n"
    "  --jobs N           Threads, die Abschnitte der Spanne durchsuchen, 1 bis 64\n"
    "                     (Standard: einer je Kern); jede Anzahl schreibt dasselbe\n"
    "  --help             dieser Text\n"
    "\n"
    "Die Zeitpunkte sind auf die Minute gerundet. Ein Kalendertermin, dessen Eintritt\n"
    "oder Austritt nicht bekannt ist (die Positionen eines Planeten enden vorher),\n"
    "reicht bis dorthin, wo die Positionen enden, und seine Beschreibung sagt es. Der\n"
    "DTSTAMP der iCalendar-Datei ist der Wert der Umgebungsvariablen VEMO_DTSTAMP\n"
    "(YYYYMMDDTHHMMSSZ), wenn sie gesetzt ist, sonst der gegenw\u00E4rtige Zeitpunkt; die\n"
    "UID jedes Termins h\u00E4ngt nur vom Modus, vom Geburtsdatum, vom Paar, vom Aspekt und\n"
    "vom Zeitpunkt des Eintritts ab, sodass ein Kalender, der einen sp\u00E4teren Export\n"
    "einliest, seine Termine aktualisiert, statt sie doppelt anzulegen.\n"
    "Abschnitte ohne Positionen (Pluto ohne seine Tabelle, Daten, die enden) sind\n"
    "Zeilen des Textes, \"gaps\" im JSON und bei csv und ics Zeilen auf stderr.\n"
    "Auf einem Terminal zeigt eine Suche, die l\u00E4nger als eine Sekunde dauert, auf\n"
    "stderr das erreichte Datum, den erledigten Anteil und die verbleibende Zeit.\n"
    "Exit-Status: 0 erledigt, 1 planets_vemo, der Programmtext oder der Programmordner\n"
    "kann nicht verwendet oder die Ausgabe nicht geschrieben werden, 2 fehlerhafte\n"
    "Kommandozeile oder ein abgelehntes Datum.\n";

constexpr Mode kEventModes[] = {Mode::WorldTransits, Mode::Personal1, Mode::Personal2};

struct FormatName {
  const char* name;
  EventFormat format;
};
constexpr FormatName kFormats[] = {{"text", EventFormat::Text},
                                   {"csv", EventFormat::Csv},
                                   {"ics", EventFormat::Ics},
                                   {"json", EventFormat::Json}};

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool AllDigits(const std::string& text, std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

// The row converted as the window converts it, or the date message.
bool Convert(const char* option, int row, const DateRow& given, int localZoneIndex, double& ajd) {
  const DateConversion c = InputDateToAJDate(given, localZoneIndex);
  if (c.ok()) {
    ajd = c.value;
    return true;
  }
  std::cerr << "vemo-cli events: " << option << ": "
            << DateErrorMessage(row, c.value, [](int item) { return ProgramText(item); }) << "\n";
  return false;
}

}  // namespace

bool ParseZoneOffset(const std::string& text, int& minutes) {
  if (text == "Z") {
    minutes = 0;
    return true;
  }
  if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':' || !AllDigits(text, 1, 3) ||
      !AllDigits(text, 4, 6)) {
    return false;
  }
  const int hours = (text[1] - '0') * 10 + (text[2] - '0');
  const int mins = (text[4] - '0') * 10 + (text[5] - '0');
  const int magnitude = hours * 60 + mins;
  if (mins > 59 || magnitude > kMaxZoneMinutes) return false;
  minutes = text[0] == '-' ? -magnitude : magnitude;
  return true;
}

bool ParseKindList(const std::string& text, std::array<bool, 8>& kinds) {
  std::array<bool, 8> parsed{};
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find(',', start), text.size());
    const std::string item = text.substr(start, end - start);
    int kind = 0;
    if (!ParseWholeNumber(item, 1, kNumKinds, kind)) {
      for (int k = 1; k <= kNumKinds && kind == 0; ++k) {
        if (EqualIgnoringCase(item, Aspect(k, kEnglish).Abbrev)) kind = k;
      }
    }
    if (kind == 0) return false;
    parsed[static_cast<std::size_t>(kind)] = true;
    start = end + 1;
  }
  kinds = parsed;
  return true;
}

std::string ParseEventsArguments(const Arguments& args, EventsOptions& options) {
  options = EventsOptions{};
  const std::string walked = WalkOptions(
      args, {"--help", "-h"},
      {"--from", "--to", "--mode", "--birth1", "--birth2", "--kinds", "--format", "--zone", "--out", "--jobs"}, true,
      [&options](const std::string& arg, const std::string& value) -> std::string {
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--from" || arg == "--to" || arg == "--birth1" || arg == "--birth2") {
      DateRow parsed;
      if (const std::string error = ParseDateOption(value, parsed); !error.empty()) return arg + ": " + error;
      const std::pair<DateRow*, bool*> target =
          arg == "--from"   ? std::pair{&options.from, &options.hasFrom}
          : arg == "--to"   ? std::pair{&options.to, &options.hasTo}
          : arg == "--birth1" ? std::pair{&options.birth1, &options.hasBirth1}
                              : std::pair{&options.birth2, &options.hasBirth2};
      *target.first = parsed;
      *target.second = true;
    } else if (arg == "--mode") {
      bool found = false;
      for (Mode mode : kEventModes) {
        if (value == ModeArgumentName(mode)) options.mode = mode, found = true;
      }
      if (!found) return OneOf("--mode", "is world, personal1 or personal2", "ist world, personal1 oder personal2", value);
    } else if (std::string error; ParseOrbOption(arg, value, options.settings, error)) {
      if (!error.empty()) return error;
    } else if (arg == "--kinds") {
      if (!ParseKindList(value, options.kinds)) {
        return OneOf("--kinds", "is a comma list of Con, Opp, Sqr, Tri, Sxt, Ssx, Qui or 1 to 7",
                     "ist eine Liste aus Con, Opp, Sqr, Tri, Sxt, Ssx, Qui oder 1 bis 7, durch Kommas getrennt", value);
      }
      options.hasKinds = true;
    } else if (arg == "--format") {
      bool found = false;
      for (const FormatName& f : kFormats) {
        if (value == f.name) options.format = f.format, found = true;
      }
      if (!found) return OneOf("--format", "is text, csv, ics or json", "ist text, csv, ics oder json", value);
    } else if (arg == "--zone") {
      if (!ParseZoneOffset(value, options.zoneMinutes)) {
        return OneOf("--zone", "is an offset -14:00 to +14:00 written +HH:MM or -HH:MM, or Z",
                     "ist eine Abweichung von UTC zwischen -14:00 und +14:00 in der Form +HH:MM oder -HH:MM, oder Z",
                     value);
      }
      options.hasZone = true;
    } else if (arg == "--out") {
      if (value.empty()) return InProgramLanguage("--out needs a file name", "--out braucht einen Dateinamen");
      options.out = value;
    } else if (arg == "--jobs") {
      if (!ParseWholeNumber(value, 1, kMaxJobs, options.jobs)) {
        return JobsError(value);
      }
    }
    return "";
  });
  if (!walked.empty()) return walked;
  if (options.help) return "";
  if (!options.hasFrom) return Required("--from");
  if (!options.hasTo) return Required("--to");
  if (options.mode == Mode::Personal1 && !options.hasBirth1) {
    return InProgramLanguage("--mode personal1 needs --birth1", "--mode personal1 braucht --birth1");
  }
  if (options.mode == Mode::Personal2 && !options.hasBirth2) {
    return InProgramLanguage("--mode personal2 needs --birth2", "--mode personal2 braucht --birth2");
  }
  if (options.hasKinds) {
    for (int k = 1; k <= kNumKinds; ++k) {
      const auto slot = static_cast<std::size_t>(k);
      if (options.kinds[slot] && options.settings.OrbListIndex[slot - 1] == 0) {
        return InProgramLanguage("--kinds names ", "--kinds nennt ") + std::string(Aspect(k).Name) +
               InProgramLanguage(", whose orb is 0 (see --orbs)", " mit einem Orbis von 0 (siehe --orbs)");
      }
    }
  }
  return "";
}

std::array<bool, 8> KindsSearched(const EventsOptions& options) {
  if (options.hasKinds) return options.kinds;
  std::array<bool, 8> kinds{};
  for (int k = 1; k <= kNumKinds; ++k) {
    kinds[static_cast<std::size_t>(k)] = options.settings.OrbListIndex[static_cast<std::size_t>(k - 1)] != 0;
  }
  return kinds;
}

std::string DtstampOf(const char* fromEnvironment, double nowAjd, std::string& error) {
  error.clear();
  if (fromEnvironment == nullptr) return reports::IcsDateTime(nowAjd);
  const std::string text = fromEnvironment;
  // RFC 5545 3.3.5, form 2 (UTC): 8 digits, T, 6 digits, Z.
  if (text.size() != 16 || text[8] != 'T' || text[15] != 'Z' || !AllDigits(text, 0, 8) || !AllDigits(text, 9, 15)) {
    error = InProgramLanguage("VEMO_DTSTAMP is not of the form YYYYMMDDTHHMMSSZ: ",
                       "VEMO_DTSTAMP hat nicht die Form YYYYMMDDTHHMMSSZ: ") +
            QuotedArgument(text);
    return "";
  }
  return text;
}

int RunEvents(const Arguments& args) {
  EventsOptions options;
  if (const std::string error = ParseEventsArguments(args, options); !error.empty()) {
    std::cerr << "vemo-cli events: " << error << " " << TryHelp("events") << "\n";
    return kExitUsage;
  }
  if (options.help) return WriteOutput("events", InProgramLanguage(kEventsUsage, kEventsUsageGerman));
  std::string dtstamp;
  if (options.format == EventFormat::Ics) {
    std::string error;
    dtstamp = DtstampOf(std::getenv("VEMO_DTSTAMP"), JulianDateNow(), error);
    if (!error.empty()) {
      std::cerr << "vemo-cli events: " << error << "\n";
      return kExitUsage;
    }
  }
  ProgramFolderState state;
  if (const std::string error = SetUpProgramFolder("events", state); !error.empty()) {
    std::cerr << "vemo-cli events: " << error << "\n";
    return kExitFailure;
  }
  const LocalZone zone = ResolveLocalZone(SystemTimezoneMinutes());
  if (!zone.listed) {
    std::cerr << "vemo-cli events: "
              << ZoneNotListedNotice(zone.systemMinutes, [](int item) { return ProgramText(item); }) << "\n";
  }

  EventSearchRequest request;
  request.mode = options.mode;
  request.settings = options.settings;
  request.kinds = KindsSearched(options);
  request.planetCount = PlutoAvailable() ? kMaxPlanets : kMaxPlanets - 1;
  if (!Convert("--from", kWorldRow, options.from, zone.index, request.fromAJD) ||
      !Convert("--to", kWorldRow, options.to, zone.index, request.toAJD)) {
    return kExitUsage;
  }
  if (options.mode == Mode::Personal1 &&
      !Convert("--birth1", kFirstBirthRow, options.birth1, zone.index, request.birthAJD)) {
    return kExitUsage;
  }
  if (options.mode == Mode::Personal2 &&
      !Convert("--birth2", kSecondBirthRow, options.birth2, zone.index, request.birthAJD)) {
    return kExitUsage;
  }
  if (request.toAJD < request.fromAJD) {
    std::cerr << "vemo-cli events: --to " << reports::UtcIsoText(request.toAJD)
              << InProgramLanguage(" is before --from ", " liegt vor --from ") << reports::UtcIsoText(request.fromAJD) << "\n";
    return kExitUsage;
  }

  // The file is looked at before the search, which may take a while: a FIFO
  // or folder is refused at once, and the temporary file that a signal
  // removes exists from here on.
  std::optional<FileReplacement> out;
  if (!options.out.empty()) {
    out.emplace(options.out);
    if (!out->Ready()) return WriteOutputFile("events", *out, "");
  }

  const EngineServices services = DefaultEngineServices();
  request.jobs = options.jobs > 0 ? options.jobs : DefaultJobs();
  ProgressLine progress;
  const double from = request.fromAJD;
  const double span = request.toAJD - request.fromAJD;
  const int zoneMinutes =
      options.hasZone ? options.zoneMinutes : TimezoneMinutesFromSecondsWest(get_timezone(), false);
  request.progress = [&progress, from, span, zoneMinutes](double reached) {
    progress.Show([&] {
      const double share = span > 0 ? std::clamp((reached - from) / span, 0.0, 1.0) : 1.0;
      const double left = share > 0 ? progress.Seconds() * (1.0 - share) / share : 0.0;
      return InProgramLanguage("searching ", "Suche bei ") + LocalIsoDate(reached, zoneMinutes) + ", " +
             std::to_string(static_cast<int>(share * 100.0)) + InProgramLanguage(" % done, about ", " % erledigt, noch etwa ") +
             std::to_string(static_cast<long>(std::ceil(left))) + InProgramLanguage(" s left", " s");
    });
  };
  reports::EventExportContext context;
  context.mode = options.mode;
  context.birthAJD = request.birthAJD;
  context.fromAJD = request.fromAJD;
  context.toAJD = request.toAJD;
  // The local times of the text: --zone, else the computer's own offset
  // (not the nearest entry of the lists).
  context.zoneMinutes = zoneMinutes;
  context.dtstamp = dtstamp;
  context.services = &services;

  // Written as the search goes: to the replacement's temporary file, put in
  // place only when whole, or to standard output. Windows that JSON and
  // iCalendar must hold back go to a temporary file beside the output (or
  // in the system's folder for temporary files).
  bool stdoutWritten = true;
  int stdoutError = 0;
  // --out takes the lines in pieces of 64 KiB: one system call a line cost
  // more than writing them (standard output has its own buffer).
  constexpr std::size_t kPiece = 64 * 1024;
  std::string pending;
  const auto flushPending = [&out, &pending] {
    const bool written = pending.empty() || out->Write(pending);
    pending.clear();
    return written;
  };
  reports::EventWriter writer(
      options.format, context,
      [&out, &stdoutWritten, &stdoutError, &pending, &flushPending](std::string_view bytes) {
        if (out) {
          pending.append(bytes);
          return pending.size() < kPiece || flushPending();
        }
        errno = 0;
        stdoutWritten = PutOutput(bytes);
        if (!stdoutWritten) stdoutError = errno;
        return stdoutWritten;
      },
      out ? out->Folder() : TemporaryFolder());
  EventStreamResult streamed = StreamAspectEvents(services, request, writer);
  progress.Clear();
  if (!streamed.ok) {
    std::cerr << "vemo-cli events: " << OneLine(streamed.error) << "\n";
    return kExitUsage;
  }
  reports::AddPlutoGap(request, streamed.gaps);
  const bool finished = !streamed.stopped && writer.Finish(streamed.gaps);
  if (!writer.SpoolError().empty()) {
    std::cerr << "vemo-cli events: "
              << InProgramLanguage("cannot hold back windows in a temporary file: ",
                            "die Zeitfenster k\u00F6nnen nicht in einer tempor\u00E4ren Datei zur\u00FCckgehalten werden: ")
              << OneLine(writer.SpoolError())
              << (out ? InProgramLanguage("; the earlier file is unchanged.", "; die bisherige Datei bleibt unver\u00E4ndert.") : ".")
              << "\n";
    if (!out) std::fflush(stdout);
    return kExitFailure;
  }
  if (options.format == EventFormat::Csv || options.format == EventFormat::Ics) {
    for (const std::string& line : reports::GapLines(streamed.gaps)) {
      std::cerr << "vemo-cli events: " << line << "\n";
    }
  }
  if (!out) {
    errno = stdoutError;
    return EndOutput("events", finished && stdoutWritten);
  }
  flushPending();  // a failure is the replacement's, reported by its commit
  return WriteOutputFile("events", *out, "");
}

}  // namespace vemo::cli
