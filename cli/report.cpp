// vemo-cli report --mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE]
//                 [table options] [--sort KEY] [--no-durations] [--format text|json|pdf]
//                 [--out FILE] [--paper a4|letter]

#include "cli/report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>
#include <vector>

#include "app/aspects/stepping_core.h"
#include "app/reports/report_core.h"
#include "app/text/languages.h"
#include "app/text/program_text.h"
#include "app/time/date_texts.h"
#include "app/time/timezones.h"
#include "cli/chart.h"
#include "cli/positions.h"
#include "cli/program_folder.h"
#include "cli/table.h"

namespace vemo::cli {

namespace {

constexpr const char* kReportUsage =
    "Usage: vemo-cli report --mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE]\n"
    "                       [table options] [--sort KEY] [--no-durations]\n"
    "                       [--format text|json|pdf] [--out FILE] [--paper a4|letter]\n"
    "The aspect report of the table of one mode, as the durations window shows it:\n"
    "its title with the dates and orbs, then in World and Personal transits one line\n"
    "per aspect with its beginning, end and duration, in Natal aspects and Synastry\n"
    "a description of the chart (the most exact aspects, the others, the counts and,\n"
    "in Natal aspects, the patterns).\n\n"
    "  --mode, --world, --birth1, --birth2, --orbs, --personal-divisor,\n"
    "  --synastry-divisor, --midpoint-orb, --boldface, --radians\n"
    "                     as for vemo-cli table (see vemo-cli table --help)\n"
    "  --sort KEY         order of the transit list, ascending:\n"
    "                     world: exactness (default), aspect, planet, beginning,\n"
    "                     ending, duration\n"
    "                     personal1, personal2: exactness (default), aspect, natal,\n"
    "                     transiting, beginning, ending, duration\n"
    "                     (natal1, natal2 and synastry have no sort keys)\n"
    "  --no-durations     the transit list without beginning, end and duration; not\n"
    "                     with the keys that order by them (ending and duration, and\n"
    "                     in personal transits also beginning)\n"
    "  --format text|json|pdf  the report as text (default), as {\"mode\", \"title\",\n"
    "                     \"sort\", \"durations\", \"lines\", \"records\"}, or as a PDF (needs\n"
    "                     --out): the title, the lines in a fixed-pitch face, as many\n"
    "                     to a page as fit, and page numbers\n"
    "  --out FILE         write FILE instead of standard output; FILE is replaced\n"
    "                     only when the whole report is written\n"
    "  --paper a4|letter  the page of a PDF (default: Letter where LC_PAPER, else\n"
    "                     LC_ALL, else LANG names a country that uses it, such as\n"
    "                     en_US or en_CA; A4 otherwise)\n"
    "  --help             this text\n\n"
    "Exit status: 0 done (also when there are no aspects to report), 1 planets_vemo,\n"
    "the program text or the program folder cannot be used or the output cannot be\n"
    "written, 2 bad command line or a refused date.\n";

constexpr const char* kReportUsageGerman =
    "Aufruf: vemo-cli report --mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE]\n"
    "                        [Tabellenoptionen] [--sort KEY] [--no-durations]\n"
    "                        [--format text|json|pdf] [--out FILE] [--paper a4|letter]\n"
    "Der Aspektbericht der Tabelle eines Modus, wie ihn das Fenster mit der Dauer der\n"
    "Aspekte zeigt: sein Titel mit den Daten und Orben, dann bei Welttransiten und\n"
    "Pers\u00F6nlichen Transiten eine Zeile je Aspekt mit Beginn, Ende und Dauer, bei\n"
    "Radixaspekten und Synastrie eine Beschreibung des Horoskops (die genauesten\n"
    "Aspekte, die \u00FCbrigen, die Anzahlen und bei Radixaspekten die Aspektmuster).\n"
    "\n"
    "  --mode, --world, --birth1, --birth2, --orbs, --personal-divisor,\n"
    "  --synastry-divisor, --midpoint-orb, --boldface, --radians\n"
    "                     wie bei vemo-cli table (siehe vemo-cli table --help)\n"
    "  --sort KEY         Reihenfolge der Transitliste, aufsteigend:\n"
    "                     world: exactness (Standard), aspect, planet, beginning,\n"
    "                     ending, duration\n"
    "                     personal1, personal2: exactness (Standard), aspect, natal,\n"
    "                     transiting, beginning, ending, duration\n"
    "                     (natal1, natal2 und synastry haben keine Sortierschl\u00FCssel)\n"
    "  --no-durations     die Transitliste ohne Beginn, Ende und Dauer; nicht mit den\n"
    "                     Schl\u00FCsseln, die danach ordnen (ending und duration, bei\n"
    "                     pers\u00F6nlichen Transiten auch beginning)\n"
    "  --format text|json|pdf  der Bericht als Text (Standard), als {\"mode\", \"title\",\n"
    "                     \"sort\", \"durations\", \"lines\", \"records\"} oder als PDF (braucht\n"
    "                     --out): der Titel, die Zeilen in einer Schrift fester Breite,\n"
    "                     so viele auf eine Seite, wie passen, und Seitenzahlen\n"
    "  --out FILE         FILE statt der Standardausgabe schreiben; FILE wird nur\n"
    "                     ersetzt, wenn der ganze Bericht geschrieben ist\n"
    "  --paper a4|letter  die Seite eines PDF (Standard: Letter, wenn LC_PAPER, sonst\n"
    "                     LC_ALL, sonst LANG ein Land nennt, das es verwendet, etwa\n"
    "                     en_US oder en_CA; sonst A4)\n"
    "  --help             dieser Text\n"
    "\n"
    "Exit-Status: 0 erledigt (auch wenn es keine Aspekte f\u00FCr einen Bericht gibt),\n"
    "1 planets_vemo, der Programmtext oder der Programmordner kann nicht verwendet oder\n"
    "die Ausgabe nicht geschrieben werden, 2 fehlerhafte Kommandozeile oder ein\n"
    "abgelehntes Datum.\n";

std::string CrLfToLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  }
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    start = end == std::string::npos ? text.size() : end + 2;
  }
  return lines;
}

// A date of the title as the window writes it: the row as given, with the
// computer's zone for a blank zone; the present instant for a world date not
// given (in the computer's zone, to the minute, as vemo-cli chart writes it).
std::string TitleDate(const TableOptions& options, const AspectEngine& engine, int row, const LocalZone& zone,
                      bool shortMonths) {
  const TimezoneList zones(false);
  if (options.given[static_cast<size_t>(row)]) {
    const DateRow r = InputDateToAJDate(options.rows[static_cast<size_t>(row)], zone.index).row;
    return InputDateToString(r, shortMonths, LanguageIndex(), zones);
  }
  const double local = engine.TableJulianDates[static_cast<size_t>(row)] + zone.minutesEast / 1440.0 + 0.5;
  const double day = std::floor(local);
  return JdnToDateText(static_cast<int>(day), shortMonths, LanguageIndex()) + ", " +
         DayFractionToTimeText(local - day, false) + " (" + zones.Text(zone.index) + ")";
}

std::string Json(const AspectEngine& engine, const std::string& title, const std::string& key, bool durations,
                 const std::vector<std::string>& lines, const reports::TransitListOptions& shown) {
  std::string out = "{\"mode\": " + JsonString(ModeArgumentName(engine.CurrentMode)) +
                    ", \"title\": " + JsonString(title) + ", \"sort\": " + JsonString(key) +
                    ", \"durations\": " + (durations ? "true" : "false") + ", \"lines\": [";
  for (size_t i = 0; i < lines.size(); ++i) out += (i > 0 ? ", " : "") + JsonString(lines[i]);
  out += "], \"records\": [";
  bool first = true;
  for (const DurationEntry& r : engine.DurationRecords) {
    if (!reports::ShownInTransitList(r, shown)) continue;
    auto day = [&r](double v) { return r.Searched && v >= 0 ? JsonNumber(std::trunc(v)) : std::string("null"); };
    const bool known = r.Searched && r.Beginning >= 0 && r.End >= 0;
    out += std::string(first ? "" : ", ") + "{\"record\": " + JsonString(r.Record) +
           ", \"planet1\": " + std::to_string(r.Planet1) + ", \"planet2\": " + std::to_string(r.Planet2) +
           ", \"kind\": " + std::to_string(r.Kind) + ", \"deviation\": " + JsonNumber(r.Deviation) +
           ", \"begin\": " + day(r.Beginning) + ", \"end\": " + day(r.End) + ", \"duration\": " +
           (known ? JsonNumber(std::trunc(r.End) - std::trunc(r.Beginning) + 1) : std::string("null")) + "}";
    first = false;
  }
  return out + "]}\n";
}

}  // namespace

std::string ParseReportArguments(const Arguments& args, ReportOptions& options, Arguments& rest) {
  options = ReportOptions{};
  rest.clear();
  static const char* const kTableValued[] = {"--mode",   "--world",          "--birth1",
                                             "--birth2", "--orbs",           "--personal-divisor",
                                             "--synastry-divisor", "--midpoint-orb", "--boldface", "--format"};
  for (size_t i = 0; i < args.size(); ++i) {
    auto [arg, value, inlineValue] = SplitOptionWord(args[i]);
    if (arg == "--help" || arg == "-h" || arg == "--no-durations") {
      if (inlineValue) return TakesNoValue(arg);
      (arg == "--no-durations" ? options.noDurations : options.help) = true;
    } else if (arg == "--sort" || arg == "--out" || arg == "--paper" ||
               (arg == "--format" && (inlineValue ? value : i + 1 < args.size() ? args[i + 1] : "") == "pdf")) {
      if (!inlineValue) {
        if (i + 1 >= args.size()) return NeedsAValue(arg);
        value = args[++i];
      }
      if (arg == "--sort") {
        options.sort = value;
        options.sortGiven = true;
      } else if (arg == "--out") {
        if (value.empty()) return InProgramLanguage("--out needs a file name", "--out braucht einen Dateinamen");
        options.out = value;
      } else if (arg == "--paper") {
        if (value != "a4" && value != "letter") return OneOf("--paper", "is a4 or letter", "ist a4 oder letter", value);
        options.paper = value == "a4" ? chart::Paper::A4 : chart::Paper::Letter;
        options.paperGiven = true;
      } else {
        options.pdf = true;
      }
    } else {
      // A table option keeps its value, so that a date is never read as ours.
      rest.push_back(args[i]);
      const bool valued = std::any_of(std::begin(kTableValued), std::end(kTableValued),
                                      [&arg](const char* name) { return arg == name; });
      if (valued && !inlineValue && i + 1 < args.size()) rest.push_back(args[++i]);
    }
  }
  return "";
}

std::string ResolveReportSort(Mode mode, const ReportOptions& options, std::string& key, bool& durations) {
  const std::vector<reports::SortEntry> entries = reports::SortEntries(mode, [](int) { return std::string(); });
  durations = false;
  if (entries.empty()) {
    key = "exactness";
    if (!options.sortGiven) return "";
    return InProgramLanguage("--sort does not apply to ", "--sort gilt nicht f\u00FCr ") + std::string(ModeArgumentName(mode)) +
           InProgramLanguage(": its report is not sorted", ", dessen Bericht nicht sortiert ist");
  }
  key = options.sortGiven ? options.sort : entries.front().key;
  const int index = reports::SortEntryIndex(mode, key);
  if (index < 0) {
    std::string keys;
    for (size_t i = 0; i < entries.size(); ++i) {
      keys += (i == 0 ? "" : i + 1 == entries.size() ? InProgramLanguage(" or ", " oder ") : ", ") + entries[i].key;
    }
    return InProgramLanguage("--sort for ", "--sort hat f\u00FCr ") + std::string(ModeArgumentName(mode)) +
           InProgramLanguage(" is ", " die Werte ") + keys + InProgramLanguage(", not ", ", nicht ") + QuotedArgument(key);
  }
  durations = !options.noDurations;
  if (index >= reports::kFirstSortEntryWithDurations) {
    if (options.noDurations) {
      return "--sort " + key +
             InProgramLanguage(" orders by the beginning, end or duration, which --no-durations leaves out",
                        " ordnet nach Beginn, Ende oder Dauer, die --no-durations wegl\u00E4sst");
    }
    durations = true;
  }
  return "";
}

int RunReport(const Arguments& args) {
  ReportOptions reportOptions;
  Arguments rest;
  TableOptions parsed;
  std::string key;
  bool durations = false;
  std::string error = ParseReportArguments(args, reportOptions, rest);
  const char* usage = InProgramLanguage(kReportUsage, kReportUsageGerman);
  if (error.empty() && reportOptions.help) return WriteOutput("report", usage);
  if (error.empty() && reportOptions.pdf && reportOptions.out.empty()) {
    error = InProgramLanguage("--format pdf needs --out FILE", "--format pdf braucht --out FILE");
  }
  if (error.empty() && reportOptions.paperGiven && !reportOptions.pdf) {
    error = InProgramLanguage("--paper applies to --format pdf only", "--paper gilt nur f\u00FCr --format pdf");
  }
  if (error.empty()) error = ParseTableArguments(rest, parsed);
  if (error.empty()) error = ResolveReportSort(parsed.mode, reportOptions, key, durations);
  if (!error.empty()) {
    std::cerr << "vemo-cli report: " << error << " " << TryHelp("report") << "\n";
    return kExitUsage;
  }

  TableOptions options;
  AspectEngine engine;
  std::vector<UnusableDataFile> unusable;
  if (const int status = PrepareEngine("report", usage, rest, options, engine, unusable); status >= 0) {
    return status;
  }
  engine.GetDurations();

  const Mode mode = engine.CurrentMode;
  const LocalZone zone = ResolveLocalZone(SystemTimezoneMinutes());
  std::array<std::string, 3> dates;
  for (int row = 0; row < 3; ++row) {
    if (ModeUsesRow(mode, row)) {
      dates[static_cast<size_t>(row)] = TitleDate(options, engine, row, zone, reports::ShortMonthsInReport(mode));
    }
  }
  const auto addOrbs = [&engine, mode](const std::string& title, bool personal) {
    return AddOrbToTitleText(title, TitleOrbsOf(engine.Orbs, personal, static_cast<int>(mode)), true,
                                 ProgramText(33), ProgramText(34), ProgramText(35),
                                 [](double x) { return FormatAngleDM(x, true); });
  };
  const reports::ReportHeading heading = reports::MakeReportHeading(mode, dates, ProgramText, addOrbs);

  reports::TransitListOptions list;
  list.mode = mode;
  list.showDurations = durations;
  list.sortKey = key;
  list.language = LanguageIndex();
  list.orbListIndex = engine.Settings.OrbListIndex;

  // The report: its lines, and the output of each format.
  std::vector<std::string> lines;
  std::string output;
  if (engine.GetTotalNumAspects() == 0) {
    const std::string none = ProgramText(IsPersonalMode(mode) ? 382 : 383);
    engine.DurationRecords.clear();
    lines = {none};
    output = options.json ? Json(engine, heading.title, key, durations, lines, list) : none + "\n";
  } else {
    const std::string text = reports::ReportText(engine, list, ProgramText, [](int day) {
      return JdnToDateText(day, false, LanguageIndex());
    });
    lines = Lines(text);
    output = options.json ? Json(engine, heading.title, key, durations, lines, list)
                          : heading.title + "\n\n" + CrLfToLf(text);
  }
  if (reportOptions.pdf) {
    std::string moduleError;
    const WriteReportPdfFunction writePdf = LoadReportPdfWriter(moduleError);
    if (writePdf == nullptr) {
      std::cerr << "vemo-cli report: " << moduleError << "\n";
      return kExitFailure;
    }
    const ReportPdfRequest request{reportOptions.out, heading.title, lines, reportOptions.paper, LanguageIndex()};
    std::string reason;
    if (writePdf(&request, &reason) != kChartWritten) {
      std::cerr << "vemo-cli report: " << OneLine(reason) << "\n";
      return kExitFailure;
    }
    return kExitOk;
  }
  if (!reportOptions.out.empty()) return WriteOutputFile("report", reportOptions.out, output);
  return WriteOutput("report", output);
}

}  // namespace vemo::cli
