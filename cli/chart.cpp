// vemo-cli chart --mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE]
//                [table options] [--sectors on|off] [--filter none|earth|outer]
//                --out FILE [--scale 1|2|3]

#include "cli/chart.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "app/aspects/stepping_core.h"
#include "app/chart/picture_file.h"
#include "app/text/languages.h"
#include "app/text/program_text.h"
#include "app/time/date_texts.h"
#include "app/time/shared_library.h"
#include "app/time/timezones.h"
#include "cli/program_folder.h"
#include "cli/table.h"

namespace vemo::cli {

namespace {

constexpr const char* kChartUsage =
    "Usage: vemo-cli chart --mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE]\n"
    "                      [table options] [--sectors on|off] [--filter none|earth|outer]\n"
    "                      --out FILE [--scale 1|2|3] [--paper a4|letter]\n"
    "The chart of the table of one mode, as the window saves it: the bodies around\n"
    "the Sun, the aspect lines in the colours of the kinds, the legend, and below\n"
    "the chart the mode with its orbs and the dates of the mode.\n\n"
    "  --mode, --world, --birth1, --birth2, --orbs, --personal-divisor,\n"
    "  --synastry-divisor, --midpoint-orb, --boldface, --radians\n"
    "                     as for vemo-cli table (see vemo-cli table --help)\n"
    "  --sectors on|off   the twelve zodiac sectors (default on)\n"
    "  --filter none|earth|outer  only Earth's aspects, or only the outer planets'\n"
    "                     (Jupiter to Pluto) aspects (default none)\n"
    "  --out FILE         the picture: FILE.png (PNG), FILE.svg (SVG) or FILE.pdf\n"
    "                     (PDF: one page, the chart as lines and text fitted inside\n"
    "                     margins of 15 mm)\n"
    "  --scale 1|2|3      PNG at 1, 2 or 3 times the screen resolution (96, 192 or\n"
    "                     288 dpi, written in the file); SVG 1, 2 or 3 times as\n"
    "                     wide and high on paper, the drawing unchanged (default 1);\n"
    "                     not for a PDF, which fills its page\n"
    "  --paper a4|letter  the page of a PDF (default: Letter where LC_PAPER, else\n"
    "                     LC_ALL, else LANG names a country that uses it, such as\n"
    "                     en_US or en_CA; A4 otherwise)\n"
    "  --help             this text\n\n"
    "The file is written under a temporary name and renamed into place, so an\n"
    "earlier file of that name stays as it was when the chart cannot be written.\n"
    "Exit status: 0 written, 1 the file cannot be written, the glyphs find no\n"
    "place, or the program folder cannot be used, 2 bad command line or a refused\n"
    "date.\n";

constexpr const char* kChartUsageGerman =
    "Aufruf: vemo-cli chart --mode MODE [--world DATE] [--birth1 DATE] [--birth2 DATE]\n"
    "                       [Tabellenoptionen] [--sectors on|off] [--filter none|earth|outer]\n"
    "                       --out FILE [--scale 1|2|3] [--paper a4|letter]\n"
    "Das Horoskop der Tabelle eines Modus, wie das Fenster es speichert: die K\u00F6rper um\n"
    "die Sonne, die Aspektlinien in den Farben der Aspekte, die Legende und unter dem\n"
    "Horoskop der Modus mit seinen Orben und die Daten des Modus.\n"
    "\n"
    "  --mode, --world, --birth1, --birth2, --orbs, --personal-divisor,\n"
    "  --synastry-divisor, --midpoint-orb, --boldface, --radians\n"
    "                     wie bei vemo-cli table (siehe vemo-cli table --help)\n"
    "  --sectors on|off   die zw\u00F6lf Tierkreissektoren (Standard on)\n"
    "  --filter none|earth|outer  nur die Aspekte der Erde oder nur die der \u00E4u\u00DFeren\n"
    "                     Planeten (Jupiter bis Pluto) (Standard none)\n"
    "  --out FILE         das Bild: FILE.png (PNG), FILE.svg (SVG) oder FILE.pdf\n"
    "                     (PDF: eine Seite, das Horoskop als Linien und Text in R\u00E4nder\n"
    "                     von 15 mm eingepasst)\n"
    "  --scale 1|2|3      PNG mit der 1-, 2- oder 3-fachen Bildschirmaufl\u00F6sung (96, 192\n"
    "                     oder 288 dpi, in der Datei vermerkt); SVG 1-, 2- oder 3-mal so\n"
    "                     breit und hoch auf dem Papier, die Zeichnung unver\u00E4ndert\n"
    "                     (Standard 1); nicht f\u00FCr ein PDF, das seine Seite f\u00FCllt\n"
    "  --paper a4|letter  die Seite eines PDF (Standard: Letter, wenn LC_PAPER, sonst\n"
    "                     LC_ALL, sonst LANG ein Land nennt, das es verwendet, etwa\n"
    "                     en_US oder en_CA; sonst A4)\n"
    "  --help             dieser Text\n"
    "\n"
    "Die Datei wird unter einem vorl\u00E4ufigen Namen geschrieben und dann umbenannt; eine\n"
    "fr\u00FChere Datei dieses Namens bleibt also, wie sie war, wenn das Horoskop nicht\n"
    "geschrieben werden kann.\n"
    "Exit-Status: 0 geschrieben, 1 die Datei kann nicht geschrieben werden, die Symbole\n"
    "finden keinen Platz oder der Programmordner kann nicht verwendet werden,\n"
    "2 fehlerhafte Kommandozeile oder ein abgelehntes Datum.\n";

// The chart module, loaded once and kept for the life of the process (Qt
// must not be unloaded under its own exit handlers).
void* ChartModuleSymbol(const char* name, const char* what, std::string& error) {
#ifndef VEMO_CLI_CHART
  (void)name;
  error = std::string(what) + InProgramLanguage(" is not in this build of vemo-cli (built without Qt)",
                                         " ist in diesem Build von vemo-cli nicht enthalten (ohne Qt gebaut)");
  return nullptr;
#else
  (void)what;
  static SharedLibrary* module = nullptr;
  const std::string path = ExecutableFolder() + PathSeparator() + ChartModuleFileName();
  if (module == nullptr) {
    auto* candidate = new SharedLibrary;
    if (const std::string reason = candidate->Open(path); !reason.empty()) {
      delete candidate;
      error = InProgramLanguage("cannot load the chart module ", "das Horoskopmodul ") + Quoted(path) +
              InProgramLanguage(": ", " kann nicht geladen werden: ") + reason;
      return nullptr;
    }
    module = candidate;
  }
  void* function = module->Symbol(name);
  if (function == nullptr) {
    error = Quoted(path) + InProgramLanguage(" is not the chart module of this vemo-cli", " ist nicht das Horoskopmodul dieses vemo-cli");
  }
  return function;
#endif
}

}  // namespace

WriteChartFunction LoadChartModule(std::string& error) {
  return reinterpret_cast<WriteChartFunction>(
      ChartModuleSymbol(kChartModuleFunction, InProgramLanguage("the chart command", "der Befehl chart"), error));
}

WriteReportPdfFunction LoadReportPdfWriter(std::string& error) {
  return reinterpret_cast<WriteReportPdfFunction>(ChartModuleSymbol(kReportPdfFunction, "PDF", error));
}

namespace {

// The date line of row `row` of the table the engine holds.
std::string DateLine(const TableOptions& options, const AspectEngine& engine, int row, const LocalZone& zone) {
  static constexpr int kLabelItem[3] = {4, 95, 96};
  const std::string label = ProgramText(kLabelItem[row]);
  const std::vector<TimezoneEntry> zones = TimezoneEntries(false);
  const auto zoneText = [&zones](int index) {
    return index >= 0 && index < static_cast<int>(zones.size()) ? zones[static_cast<size_t>(index)].text : "";
  };
  if (options.given[static_cast<size_t>(row)]) {
    const DateRow r = InputDateToAJDate(options.rows[static_cast<size_t>(row)], zone.index).row;
    return chart::PictureDateLine(label, chart::PictureDateText(r.yearText, r.monthIndex, r.dayIndex),
                                  HourEntryText(r.hourIndex), zoneText(r.zoneIndex));
  }
  // The present moment in the computer's zone.
  const double local = engine.TableJulianDates[static_cast<size_t>(row)] + zone.minutesEast / 1440.0 + 0.5;
  const double day = std::floor(local);
  return chart::PictureDateLine(label, JdnToIsoDate(static_cast<int>(day)),
                                DayFractionToTimeText(local - day, false), zoneText(zone.index));
}

}  // namespace

std::string ChartModuleFileName() { return SharedLibraryFileName("vemo_cli_chart"); }

std::string ParseChartArguments(const Arguments& args, ChartOptions& options, Arguments& rest) {
  options = ChartOptions{};
  rest.clear();
  for (size_t i = 0; i < args.size(); ++i) {
    auto [arg, value, inlineValue] = SplitOptionWord(args[i]);
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    if (arg == "--format") {
      return InProgramLanguage("--format does not apply: the picture's format follows --out",
                        "--format gilt hier nicht: das Format des Bildes folgt aus --out");
    }
    const bool chartOption =
        arg == "--out" || arg == "--scale" || arg == "--paper" || arg == "--sectors" || arg == "--filter";
    static const char* const kTableValued[] = {"--mode",           "--world",          "--birth1",
                                               "--birth2",         "--orbs",           "--personal-divisor",
                                               "--synastry-divisor", "--midpoint-orb", "--boldface"};
    const bool tableValued = std::any_of(std::begin(kTableValued), std::end(kTableValued),
                                         [&arg](const char* name) { return arg == name; });
    if (!chartOption) {
      rest.push_back(args[i]);
      if (tableValued && !inlineValue && i + 1 < args.size()) rest.push_back(args[++i]);
      continue;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) return NeedsAValue(arg);
      value = args[++i];
    }
    if (arg == "--out") {
      // The name decides, as in the window's Save chart as (with no filter
      // to add an extension).
      const std::string extension = chart::PictureExtension(value);
      if (extension == ".png") options.format = chart::PictureFormat::ScreenPng;
      else if (extension == ".svg") options.format = chart::PictureFormat::Svg;
      else if (extension == ".pdf") options.format = chart::PictureFormat::Pdf;
      else return OneOf("--out FILE", "must end in .png, .svg or .pdf", "muss auf .png, .svg oder .pdf enden", value);
      options.out = value;
    } else if (arg == "--scale") {
      if (value != "1" && value != "2" && value != "3") return OneOf("--scale", "is 1, 2 or 3", "ist 1, 2 oder 3", value);
      options.scale = value[0] - '0';
      options.hasScale = true;
    } else if (arg == "--paper") {
      if (value != "a4" && value != "letter") return OneOf("--paper", "is a4 or letter", "ist a4 oder letter", value);
      options.paper = value == "a4" ? chart::Paper::A4 : chart::Paper::Letter;
      options.hasPaper = true;
    } else if (arg == "--sectors") {
      if (value != "on" && value != "off") return OneOf("--sectors", "is on or off", "ist on oder off", value);
      options.sectors = value == "on";
    } else {
      if (value != "none" && value != "earth" && value != "outer") {
        return OneOf("--filter", "is none, earth or outer", "ist none, earth oder outer", value);
      }
      options.earthOnly = value == "earth";
      options.outerOnly = value == "outer";
    }
  }
  if (options.format == chart::PictureFormat::Pdf && options.hasScale) {
    return InProgramLanguage("--scale does not apply to a PDF, which fills its page",
                      "--scale gilt nicht f\u00FCr ein PDF, das seine Seite f\u00FCllt");
  }
  if (options.hasPaper && !options.out.empty() && options.format != chart::PictureFormat::Pdf) {
    return InProgramLanguage("--paper applies to a PDF only (--out FILE.pdf)", "--paper gilt nur f\u00FCr ein PDF (--out FILE.pdf)");
  }
  // A missing --out is told by RunChart after the table's options have been
  // read: a date option without its value takes the next word ("--world
  // --out x.png"), and the message should name the date.
  return "";
}

int RunChart(const Arguments& args) {
  ChartOptions chartOptions;
  Arguments rest;
  if (const std::string error = ParseChartArguments(args, chartOptions, rest); !error.empty()) {
    std::cerr << "vemo-cli chart: " << error << " " << TryHelp("chart") << "\n";
    return kExitUsage;
  }
  if (chartOptions.help) return WriteOutput("chart", InProgramLanguage(kChartUsage, kChartUsageGerman));
  TableOptions parsed;
  std::string usageError = ParseTableArguments(rest, parsed);
  if (usageError.empty() && chartOptions.out.empty()) usageError = Required("--out FILE");
  if (!usageError.empty()) {
    std::cerr << "vemo-cli chart: " << usageError << " " << TryHelp("chart") << "\n";
    return kExitUsage;
  }
  std::string moduleError;
  const WriteChartFunction writeChart = LoadChartModule(moduleError);
  if (writeChart == nullptr) {
    std::cerr << "vemo-cli chart: " << moduleError << "\n";
    return kExitFailure;
  }

  TableOptions options;
  AspectEngine engine;
  std::vector<UnusableDataFile> unusable;
  const char* usage = InProgramLanguage(kChartUsage, kChartUsageGerman);
  if (const int status = PrepareEngine("chart", usage, rest, options, engine, unusable); status >= 0) {
    return status;
  }

  ChartFileRequest request;
  chart::ChartInput& in = request.input;
  in.mode = engine.CurrentMode;
  in.table = &engine.Table;
  in.longitudes = engine.PlanetLongitudes;
  in.planetCount = engine.PlanetCount;
  in.aspectColours = engine.Settings.AspectColours;
  in.displayZodiacSectors = chartOptions.sectors;
  in.showOnlyEarthAspects = chartOptions.earthOnly;
  in.showOnlyOuterPlanets = chartOptions.outerOnly;
  in.legendLines = {ProgramText(104), ProgramText(105), ProgramText(106)};

  const int mode = static_cast<int>(engine.CurrentMode);
  request.caption = chart::ProgramCaption();
  request.caption.title = ModeTitleText(mode, true, engine.Orbs, [](int n) { return ProgramText(n); });
  const LocalZone zone = ResolveLocalZone(SystemTimezoneMinutes());
  for (int row = 0; row < 3; ++row) {
    if (ModeUsesRow(engine.CurrentMode, row)) request.caption.dateLines.push_back(DateLine(options, engine, row, zone));
  }
  request.path = chartOptions.out;
  request.format = chartOptions.format;
  request.scale = chartOptions.scale;
  request.paper = chartOptions.paper;
  request.noFreeSpotText = OneLine(ProgramText(347) + " " + ProgramText(346));
  request.language = LanguageIndex();

  std::string error;
  if (writeChart(&request, &error) != kChartWritten) {
    std::cerr << "vemo-cli chart: " << OneLine(error) << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace vemo::cli
