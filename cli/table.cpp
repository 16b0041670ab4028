// vemo-cli table --mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE]
//                [options] [--format text|json]

#include "cli/table.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <vector>

#include "app/aspects/date_rows.h"
#include "app/reports/event_export.h"
#include "app/text/languages.h"
#include "app/text/program_text.h"
#include "app/time/date_texts.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"
#include "app/time/timezones.h"
#include "cli/positions.h"
#include "cli/program_folder.h"

namespace vemo::cli {

namespace {

constexpr const char* kTableUsage =
    "Usage: vemo-cli table --mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE]\n"
    "                      [options] [--format text|json]\n"
    "The aspect table of one mode, with its summary, patterns and midpoints.\n\n"
    "  --mode MODE        world, natal1, natal2, personal1, personal2 or synastry\n"
    "  --world DATE       world date (default: the present instant)\n"
    "  --birth1 DATE      1st birthdate (natal1, personal1, synastry)\n"
    "  --birth2 DATE      2nd birthdate (natal2, personal2, synastry)\n"
    "                     DATE is Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM]: the hour on a full\n"
    "                     or half hour (12:00 when left out), the zone one of the\n"
    "                     program's zones (the computer's zone when left out)\n"
    "  --orbs C,O,S,T,X,SS,Q  orbs in whole degrees 0..15 of conjunction, opposition,\n"
    "                     square, trine, sextile, semisextile, quincunx\n"
    "                     (default 10,9,6,7,4,3,3; 0 switches a kind off)\n"
    "  --personal-divisor N   orbs of personal transits are the orbs / N, 1..5 (3)\n"
    "  --synastry-divisor N   orbs of synastry are the orbs / N, 1..5 (3)\n"
    "  --midpoint-orb INDEX   0..7 for 0°5', 0°15', 0°30', 1°, 1°30', 2°, 2°30', 3° (2)\n"
    "  --boldface off|1deg|DIVISOR  bold cells: off, deviation below 1° (default),\n"
    "                     or below orb / DIVISOR with DIVISOR 2,3,4,5,6,8,10,15,20\n"
    "  --radians          angles in the cells in radians\n"
    "  --format text|json text grid (default) or JSON\n"
    "  --help             this text\n\n"
    "A repeated option counts with its last value. A position that cannot be\n"
    "computed shows as ? (< before, > after its data) in the grid, is listed\n"
    "after the table with its reason, and is null in the JSON \"positions\" with\n"
    "an entry {\"planet\", \"code\", \"reason\", \"row\"} in \"unavailable\". A data\n"
    "file that cannot be used, or a program folder too long for planets_vemo,\n"
    "is named in one warning line on stderr.\n"
    "Exit status: 0 done, 1 planets_vemo, the program text or the program folder\n"
    "cannot be used or the output cannot be written, 2 bad command line or a\n"
    "refused date.\n";

constexpr const char* kTableUsageGerman =
    "Aufruf: vemo-cli table --mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE]\n"
    "                       [Optionen] [--format text|json]\n"
    "Die Aspekttabelle eines Modus mit ihrer Zusammenfassung, den Aspektmustern und den\n"
    "Halbsummen.\n"
    "\n"
    "  --mode MODE        world, natal1, natal2, personal1, personal2 oder synastry\n"
    "  --world DATE       Weltdatum (Standard: der gegenw\u00E4rtige Zeitpunkt)\n"
    "  --birth1 DATE      1. Geburtsdatum (natal1, personal1, synastry)\n"
    "  --birth2 DATE      2. Geburtsdatum (natal2, personal2, synastry)\n"
    "                     DATE ist Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM]: die Uhrzeit auf\n"
    "                     einer vollen oder halben Stunde (12:00, wenn sie fehlt), die\n"
    "                     Zone eine der Zonen des Programms (die des Computers, wenn\n"
    "                     sie fehlt)\n"
    "  --orbs C,O,S,T,X,SS,Q  Orben in ganzen Grad 0..15 f\u00FCr Konjunktion, Opposition,\n"
    "                     Quadrat, Trigon, Sextil, Halbsextil, Quinkunx\n"
    "                     (Standard 10,9,6,7,4,3,3; 0 schaltet einen Aspekt ab)\n"
    "  --personal-divisor N   Orben der pers\u00F6nlichen Transite sind die Orben / N, 1..5 (3)\n"
    "  --synastry-divisor N   Orben der Synastrie sind die Orben / N, 1..5 (3)\n"
    "  --midpoint-orb INDEX   0..7 f\u00FCr 0\u00B05', 0\u00B015', 0\u00B030', 1\u00B0, 1\u00B030', 2\u00B0, 2\u00B030', 3\u00B0 (2)\n"
    "  --boldface off|1deg|DIVISOR  fette Zellen: off, Abweichung unter 1\u00B0 (Standard)\n"
    "                     oder unter Orbis / DIVISOR mit DIVISOR 2,3,4,5,6,8,10,15,20\n"
    "  --radians          Winkel in den Zellen im Bogenma\u00DF\n"
    "  --format text|json Textgitter (Standard) oder JSON\n"
    "  --help             dieser Text\n"
    "\n"
    "Eine wiederholte Option gilt mit ihrem letzten Wert. Eine Position, die nicht\n"
    "berechnet werden kann, erscheint im Gitter als ? (< vor, > nach ihren Daten), wird\n"
    "nach der Tabelle mit ihrem Grund aufgef\u00FChrt und ist in den JSON-\"positions\" null,\n"
    "mit einem Eintrag {\"planet\", \"code\", \"reason\", \"row\"} in \"unavailable\". Eine\n"
    "Datendatei, die nicht verwendet werden kann, oder ein Programmordner, der f\u00FCr\n"
    "planets_vemo zu lang ist, wird in einer Warnzeile auf stderr genannt.\n"
    "Exit-Status: 0 erledigt, 1 planets_vemo, der Programmtext oder der Programmordner\n"
    "kann nicht verwendet oder die Ausgabe nicht geschrieben werden, 2 fehlerhafte\n"
    "Kommandozeile oder ein abgelehntes Datum.\n";


struct ModeName {
  const char* name;
  Mode mode;
};
constexpr ModeName kModes[] = {{"world", Mode::WorldTransits}, {"natal1", Mode::Natal1},
                               {"natal2", Mode::Natal2},       {"personal1", Mode::Personal1},
                               {"personal2", Mode::Personal2}, {"synastry", Mode::Synastry}};

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    const size_t pos = text.find("\r\n", start);
    if (pos == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, pos - start));
    start = pos + 2;
  }
  return lines;
}

std::string CrLfToLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

// The text a reader sees in a cell: planet names for glyphs, nothing for
// hidden cells.
std::string ShownText(const TableCell& cell) {
  if (!cell.Visible) return "";
  if (cell.Role == CellRole::Glyph) return PlanetName(cell.GlyphPlanet);
  return cell.Text;
}

int PositionSets(const AspectEngine& engine) { return engine.Table.TwoDate ? 2 : 1; }

// Date row whose positions fill position set `set` in `mode`.
int RowOfPositionSet(Mode mode, int set) {
  switch (mode) {
    case Mode::WorldTransits: return kRowWorld;
    case Mode::Natal1: return kRowBirth1;
    case Mode::Natal2: return kRowBirth2;
    case Mode::Personal1: return set == 0 ? kRowWorld : kRowBirth1;
    case Mode::Personal2: return set == 0 ? kRowWorld : kRowBirth2;
    case Mode::Synastry: return set == 0 ? kRowBirth1 : kRowBirth2;
  }
  return kRowWorld;
}

const char* RowTitle(int row) {
  static const char* const kTitles[2][3] = {{"world date", "1st birthdate", "2nd birthdate"},
                                            {"Weltdatum", "1. Geburtsdatum", "2. Geburtsdatum"}};
  return (row >= 0 && row < 3) ? InProgramLanguage(kTitles[0][row], kTitles[1][row]) : "";
}

}  // namespace

std::string DateOfDay(double day) {
  if (day < 0) return "";
  return JdnToIsoDate(static_cast<int>(day));
}

const char* ModeTitle(Mode mode) {
  switch (mode) {
    case Mode::WorldTransits: return InProgramLanguage("World transits", "Welttransite");
    case Mode::Natal1: return InProgramLanguage("Natal aspects, 1st birthdate", "Radixaspekte des 1. Geburtsdatums");
    case Mode::Natal2: return InProgramLanguage("Natal aspects, 2nd birthdate", "Radixaspekte des 2. Geburtsdatums");
    case Mode::Personal1:
      return InProgramLanguage("Personal transits, 1st birthdate", "Pers\u00F6nliche Transite zum 1. Geburtsdatum");
    case Mode::Personal2:
      return InProgramLanguage("Personal transits, 2nd birthdate", "Pers\u00F6nliche Transite zum 2. Geburtsdatum");
    case Mode::Synastry: return InProgramLanguage("Synastry", "Synastrie");
  }
  return "";
}

int PrepareEngine(const char* command, const char* usage, const Arguments& args, TableOptions& options,
                  AspectEngine& engine, std::vector<UnusableDataFile>& unusable) {
  if (const std::string error = ParseTableArguments(args, options); !error.empty()) {
    std::cerr << "vemo-cli " << command << ": " << error << " " << TryHelp(command) << "\n";
    return kExitUsage;
  }
  if (options.help) return WriteOutput(command, usage);
  // Without the Pluto table Pluto is left out (8 planets); the set-up names
  // it and every other data file that cannot be used.
  ProgramFolderState state;
  if (const std::string error = SetUpProgramFolder(command, state); !error.empty()) {
    std::cerr << "vemo-cli " << command << ": " << error << "\n";
    return kExitFailure;
  }
  unusable = state.unusable;
  const LocalZone zone = ResolveLocalZone(SystemTimezoneMinutes());
  if (!zone.listed) {
    std::cerr << "vemo-cli " << command << ": "
              << ZoneNotListedNotice(zone.systemMinutes, [](int item) { return ProgramText(item); }) << "\n";
  }
  ComputeRequest request;
  int badRow = -1;
  double code = 0.0;
  if (!BuildComputeRequest(options, zone.index, CurrentAJD(), zone.minutesEast, request, badRow, code)) {
    std::cerr << "vemo-cli " << command << ": "
              << DateErrorMessage(badRow, code, [](int item) { return ProgramText(item); }) << "\n";
    return kExitUsage;
  }
  engine = AspectEngine(DefaultEngineServices());
  engine.PlutoAvailable = PlutoAvailable();
  const ComputeStatus status = engine.Compute(request, options.settings);
  if (!status.Ok) {  // not reached: the rows were checked above
    std::cerr << "vemo-cli " << command << ": "
              << DateErrorMessage(status.BadRow, status.ErrorCode,
                                  [](int item) { return ProgramText(item); })
              << "\n";
    return kExitUsage;
  }
  return -1;
}

const char* ModeArgumentName(Mode mode) {
  for (const ModeName& m : kModes) {
    if (m.mode == mode) return m.name;
  }
  return "";
}

const char* RowArgumentName(int row) {
  static const char* const kNames[3] = {"world", "birth1", "birth2"};
  return (row >= 0 && row < 3) ? kNames[row] : "";
}

bool IsOrbOption(const std::string& name) {
  static const char* const kOrbOptions[] = {"--orbs", "--personal-divisor", "--synastry-divisor",
                                            "--midpoint-orb", "--boldface"};
  for (const char* option : kOrbOptions) {
    if (name == option) return true;
  }
  return false;
}

bool ParseOrbOption(const std::string& name, const std::string& value, OrbSettings& settings,
                    std::string& error) {
  error.clear();
  if (!IsOrbOption(name)) return false;
  if (name == "--orbs") {
    std::array<int, 7> orbs{};
    std::stringstream in(value);
    std::string part;
    size_t n = 0;
    bool good = true;
    while (good && std::getline(in, part, ',')) good = n < orbs.size() && ParseWholeNumber(part, 0, 15, orbs[n++]);
    // getline drops a trailing empty field: "1,2,3,4,5,6,7," must not pass.
    if (!good || n != orbs.size() || value.back() == ',') {
      error = OneOf("--orbs", "needs seven whole degrees 0 to 15 separated by commas",
                    "braucht sieben ganze Grad von 0 bis 15, durch Kommas getrennt", value);
      return true;
    }
    for (size_t k = 0; k < 7; ++k) settings.OrbListIndex[k] = orbs[k];
  } else if (name == "--personal-divisor" || name == "--synastry-divisor") {
    int divisor = 0;
    if (!ParseWholeNumber(value, 1, 5, divisor)) {
      error = OneOf(name, "is a whole number 1 to 5", "ist eine ganze Zahl von 1 bis 5", value);
      return true;
    }
    settings.ProportionListIndex[name == "--personal-divisor" ? 0 : 1] = ProportionListIndexOfDivisor(divisor);
  } else if (name == "--midpoint-orb") {
    int index = 0;
    if (!ParseWholeNumber(value, 0, 7, index)) {
      error = OneOf("--midpoint-orb", "is a list position 0 to 7", "ist eine Listenposition von 0 bis 7", value);
      return true;
    }
    settings.MidpointOrbListIndex = index;
  } else {  // --boldface
    int divisor = 0;
    // Only this value counts: whatever an earlier --boldface set goes.
    const OrbSettings defaults = DefaultOrbSettings();
    settings.UseBoldface = defaults.UseBoldface;
    settings.BoldfaceOneDegree = defaults.BoldfaceOneDegree;
    settings.BoldfaceFactorListIndex = defaults.BoldfaceFactorListIndex;
    if (value == "off") {
      settings.UseBoldface = false;
    } else if (value == "1deg") {
      settings.UseBoldface = true;
      settings.BoldfaceOneDegree = true;
    } else if (ParseWholeNumber(value, 2, 20, divisor) && BoldfaceListIndexOfDivisor(divisor) >= 0) {
      settings.UseBoldface = true;
      settings.BoldfaceOneDegree = false;
      settings.BoldfaceFactorListIndex = BoldfaceListIndexOfDivisor(divisor);
    } else {
      error = OneOf("--boldface", "is off, 1deg or one of 2, 3, 4, 5, 6, 8, 10, 15, 20",
                    "ist off, 1deg oder eine der Zahlen 2, 3, 4, 5, 6, 8, 10, 15, 20", value);
    }
  }
  return true;
}

std::string ParseTableArguments(const Arguments& args, TableOptions& options) {
  options = TableOptions{};
  const std::string walked = WalkOptions(
      args, {"--help", "-h", "--radians"}, {"--mode", "--world", "--birth1", "--birth2", "--format"}, true,
      [&options](const std::string& arg, const std::string& value) -> std::string {
    if (arg == "--radians") {
      options.radians = true;
    } else if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--mode") {
      bool found = false;
      for (const ModeName& m : kModes) {
        if (value == m.name) {
          options.mode = m.mode;
          found = true;
        }
      }
      if (!found) {
        return OneOf("--mode", "is world, natal1, natal2, personal1, personal2 or synastry",
                     "ist world, natal1, natal2, personal1, personal2 oder synastry", value);
      }
      options.hasMode = true;
    } else if (arg == "--world" || arg == "--birth1" || arg == "--birth2") {
      const int row = arg == "--world" ? 0 : (arg == "--birth1" ? 1 : 2);
      DateRow parsed;
      if (const std::string error = ParseDateOption(value, parsed); !error.empty()) {
        return arg + ": " + error;
      }
      options.rows[static_cast<size_t>(row)] = parsed;
      options.given[static_cast<size_t>(row)] = true;
    } else if (std::string error; ParseOrbOption(arg, value, options.settings, error)) {
      if (!error.empty()) return error;
    } else if (arg == "--format") {
      if (value != "text" && value != "json") return OneOf("--format", "is text or json", "ist text oder json", value);
      options.json = value == "json";
    }
    return "";
  });
  if (!walked.empty()) return walked;
  if (!options.help && !options.hasMode) return Required("--mode");
  return "";
}

bool BuildComputeRequest(const TableOptions& options, int localZoneIndex, double nowAjd,
                         int nowZoneMinutes, ComputeRequest& request, int& badRow, double& code) {
  request = ComputeRequest{};
  request.mode = options.mode;
  request.Radians = options.radians;
  for (int row = 0; row < 3; ++row) {
    if (!ModeUsesRow(options.mode, row)) continue;
    double value = kDateIncomplete;
    if (options.given[static_cast<size_t>(row)]) {
      const DateConversion c = InputDateToAJDate(options.rows[static_cast<size_t>(row)], localZoneIndex);
      value = c.value;
      if (c.ok() && row == kRowWorld) {
        request.WorldZoneMinutes = TimezoneMinutesOfEntry(c.row.zoneIndex);
        const DateConversion local = InputDateToLocalJD(c.row);
        request.WorldLocalDay = local.ok() ? local.value : -1.0;
      }
    } else if (row == kRowWorld) {
      value = nowAjd;
      request.WorldZoneMinutes = nowZoneMinutes;
      request.WorldLocalDay = nowAjd + nowZoneMinutes / 1440.0 + 0.5;
    }
    request.JulianDates[static_cast<size_t>(row)] = value;
    if (!(value > 0)) {
      badRow = row;
      code = value;
      return false;
    }
  }
  return true;
}

std::string FormatTableText(const AspectEngine& engine, const std::vector<UnusableDataFile>& unusable) {
  const AspectTable& t = engine.Table;
  std::string out = std::string(ModeTitle(engine.CurrentMode)) + "\n";
  char line[128];
  for (int row = 0; row < 3; ++row) {
    if (!ModeUsesRow(engine.CurrentMode, row)) continue;
    const double jd = engine.TableJulianDates[static_cast<size_t>(row)];
    if (LanguageIndex() == kGerman) {
      char digits[48];
      std::snprintf(digits, sizeof digits, "%.6f", jd);
      std::snprintf(line, sizeof line, "%-15s JD %s (UT)\n", RowTitle(row), ReadableNumber(digits).c_str());
      out += line;
    } else {
      std::snprintf(line, sizeof line, "%-7s JD %.6f (UT)\n", RowArgumentName(row), jd);
      out += line;
    }
  }
  out += "\n";
  // Column widths over both lines of every cell.
  std::vector<size_t> widths(static_cast<size_t>(t.NumCols), 0);
  for (int n = 0; n < t.NumCells(); ++n) {
    const RowCol rc = GetRowCol(n, t.NumCols);
    for (const std::string& l : SplitLines(ShownText(t.Cells[static_cast<size_t>(n)]))) {
      widths[static_cast<size_t>(rc.Col)] = std::max(widths[static_cast<size_t>(rc.Col)], Utf8Length(l));
    }
  }
  for (int row = 0; row < t.NumRows; ++row) {
    std::array<std::string, 2> textLines;
    for (int col = 0; col < t.NumCols; ++col) {
      const std::vector<std::string> cell = SplitLines(ShownText(t.At(row, col)));
      for (size_t k = 0; k < 2; ++k) {
        std::string piece = k < cell.size() ? cell[k] : "";
        piece += std::string(widths[static_cast<size_t>(col)] - Utf8Length(piece), ' ');
        textLines[k] += (col > 0 ? "  " : "") + piece;
      }
    }
    for (std::string& l : textLines) {
      while (!l.empty() && l.back() == ' ') l.pop_back();
      out += l + "\n";
    }
  }
  out += "\n" + CrLfToLf(t.Summary);
  if (!t.TwoDate) out += CrLfToLf(t.PatternText);
  else out += "\n";
  return out + UnavailableText(UnavailablePositions(engine, unusable));
}

std::vector<UnavailablePosition> UnavailablePositions(const AspectEngine& engine,
                                                      const std::vector<UnusableDataFile>& unusable) {
  auto probed = [&unusable](int planet) -> const UnusableDataFile* {
    for (const UnusableDataFile& f : unusable) {
      if (f.planet == planet) return &f;
    }
    return nullptr;
  };
  std::vector<UnavailablePosition> list;
  for (int set = 0; set < PositionSets(engine); ++set) {
    const int row = RowOfPositionSet(engine.CurrentMode, set);
    for (int p = 1; p <= kMaxPlanets; ++p) {
      const UnusableDataFile* file = probed(p);
      UnavailablePosition u{set, row, p, 0.0, ""};
      if (p > engine.PlanetCount) {
        // Left out of the table: Pluto without its table.
        u.code = file != nullptr ? file->code : kDataFileMissing;
      } else {
        u.code = engine.PlanetLongitudes[static_cast<size_t>(set)][static_cast<size_t>(p)];
        if (u.code >= 0) continue;
      }
      u.reason = file != nullptr && file->code == u.code ? file->reason : PositionErrorReason(u.code);
      list.push_back(std::move(u));
    }
  }
  return list;
}

std::string UnavailableText(const std::vector<UnavailablePosition>& positions) {
  if (positions.empty()) return "";
  std::string out = InProgramLanguage("\nPositions not available:\n", "\nNicht verf\u00FCgbare Positionen:\n");
  for (const UnavailablePosition& u : positions) {
    out += std::string(PlanetName(u.planet)) + ", " + RowTitle(u.row) + ": " + OneLine(u.reason) + "\n";
  }
  return out;
}

std::string UnavailableJson(const std::vector<UnavailablePosition>& positions) {
  std::string out = "[";
  for (size_t i = 0; i < positions.size(); ++i) {
    const UnavailablePosition& u = positions[i];
    out += std::string(i > 0 ? ", " : "") + "{\"planet\": " + JsonString(PlanetName(u.planet)) +
           ", \"code\": " + JsonNumber(u.code) + ", \"reason\": " + JsonString(u.reason) +
           ", \"row\": " + JsonString(RowArgumentName(u.row)) + "}";
  }
  return out + "]";
}

std::string JsonString(const std::string& text) { return reports::JsonQuoted(text); }

std::string FormatTableJson(const AspectEngine& engine, const std::vector<UnusableDataFile>& unusable) {
  const AspectTable& t = engine.Table;
  std::string out = "{\"mode\": " + JsonString(ModeArgumentName(engine.CurrentMode)) + ", \"jd\": {";
  bool first = true;
  for (int row = 0; row < 3; ++row) {
    if (!ModeUsesRow(engine.CurrentMode, row)) continue;
    out += std::string(first ? "" : ", ") + JsonString(RowArgumentName(row)) + ": " +
           JsonNumber(engine.TableJulianDates[static_cast<size_t>(row)]);
    first = false;
  }
  out += "}, \"positions\": [";
  for (int set = 0; set < PositionSets(engine); ++set) {
    out += set > 0 ? ", [" : "[";
    for (int p = 1; p <= kMaxPlanets; ++p) {
      if (p > 1) out += ", ";
      // An error value is no longitude: null, with its reason in "unavailable".
      const double longitude = engine.PlanetLongitudes[static_cast<size_t>(set)][static_cast<size_t>(p)];
      out += p > engine.PlanetCount || !(longitude >= 0) ? "null" : JsonNumber(longitude);
    }
    out += "]";
  }
  out += "], \"unavailable\": " + UnavailableJson(UnavailablePositions(engine, unusable)) + ", \"cells\": [";
  for (int row = 0; row < t.NumRows; ++row) {
    out += row > 0 ? ", [" : "[";
    for (int col = 0; col < t.NumCols; ++col) {
      out += (col > 0 ? ", " : "") + JsonString(ShownText(t.At(row, col)));
    }
    out += "]";
  }
  out += "], \"aspects\": [";
  for (size_t i = 0; i < engine.Aspects.size(); ++i) {
    const FoundAspect& a = engine.Aspects[i];
    out += std::string(i > 0 ? ", " : "") + "{\"planet1\": " + std::to_string(a.Planet1) +
           ", \"planet2\": " + std::to_string(a.Planet2) + ", \"kind\": " + std::to_string(a.Kind) +
           ", \"abbrev\": " + JsonString(Aspect(a.Kind).Abbrev) +
           ", \"deviation\": " + JsonNumber(a.Deviation) + ", \"sign\": " + std::to_string(a.Sign) +
           ", \"bold\": " + (a.Bold ? "true" : "false") + "}";
  }
  out += "], \"counts\": [";
  for (int k = 1; k <= kNumKinds; ++k) {
    out += (k > 1 ? ", " : "") + std::to_string(engine.AspectCount[static_cast<size_t>(k)]);
  }
  out += "], \"summary\": " + JsonString(t.Summary) + ", \"patterns\": " + JsonString(t.PatternText) +
         ", \"pattern_counts\": [";
  for (int i = 0; i < kNumPatterns; ++i) {
    out += (i > 0 ? ", " : "") + std::to_string(engine.PatternCount[static_cast<size_t>(i)]);
  }
  out += "]}\n";
  return out;
}

int RunTable(const Arguments& args) {
  TableOptions options;
  AspectEngine engine;
  std::vector<UnusableDataFile> unusable;
  const char* usage = InProgramLanguage(kTableUsage, kTableUsageGerman);
  if (const int status = PrepareEngine("table", usage, args, options, engine, unusable); status >= 0) {
    return status;
  }
  return WriteOutput("table", options.json ? FormatTableJson(engine, unusable)
                                           : FormatTableText(engine, unusable));
}

}  // namespace vemo::cli
