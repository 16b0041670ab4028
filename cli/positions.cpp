// vemo-cli positions [--jd JD | --date DATE] [--format text|json]

#include "cli/positions.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>

#include "app/aspects/vocabulary.h"
#include "app/text/languages.h"
#include "app/text/program_text.h"
#include "app/time/data_files.h"
#include "app/time/date_argument.h"
#include "app/time/date_texts.h"
#include "app/time/positions.h"
#include "app/time/timezones.h"
#include "cli/program_folder.h"

namespace vemo::cli {

namespace {

constexpr int kPluto = 9;
constexpr double kRadToDeg = 360.0 / 6.28318530717959;

constexpr const char *kUsage =
    "Usage: vemo-cli positions [--jd JD | --date DATE] [--format text|json]\n"
    "Heliocentric ecliptic positions of Earth, Mercury, Venus, Mars, Jupiter,\n"
    "Saturn, Uranus, Neptune and Pluto, longitude referred to the mean equinox\n"
    "of J2000.\n\n"
    "  --jd JD          astronomical Julian date (UT), 0 to 4000000\n"
    "  --date DATE      Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM], year 1 to 2799 in 1 to 4\n"
    "                   digits, time on a full or half hour (default 12:00), zone\n"
    "                   -11:30 to +11:30 in half hours (default: this computer's);\n"
    "                   the present instant when neither --jd nor --date is given\n"
    "  --format text    one line per body (default)\n"
    "  --format json    {\"jd\": ..., \"planets\": [{\"number\", \"name\", \"longitude\",\n"
    "                   \"latitude\", \"radius\"}, ...]}, radians and AU\n"
    "  --help           this text\n\n"
    "A body that cannot be computed shows its error value in place of the\n"
    "longitude (-99 before and -100 after its data, -101 to -104 a data file\n"
    "problem, -999 not served). Pluto comes from hpluto.2199.slx (1600 to 2199).\n"
    "A data file that cannot be used, or a program folder too long for\n"
    "planets_vemo, is named in one warning line on stderr.\n"
    "Exit status: 0 done, 1 planets_vemo, qel.dat or the program folder cannot be\n"
    "used or the output cannot be written, 2 bad command line or a refused date.\n";

constexpr const char *kUsageGerman =
        "Aufruf: vemo-cli positions [--jd JD | --date DATE] [--format text|json]\n"
        "Heliozentrische ekliptikale Positionen von Erde, Merkur, Venus, Mars, Jupiter,\n"
        "Saturn, Uranus, Neptun und Pluto, die L\u00E4nge bezogen auf das mittlere \u00C4quinoktium\n"
        "J2000.\n"
        "\n"
        "  --jd JD          astronomisches julianisches Datum (UT), 0 bis 4000000\n"
        "  --date DATE      Y-MM-DD[THH:MM][Z|+HH:MM|-HH:MM], Jahr 1 bis 2799 mit 1 bis 4\n"
        "                   Ziffern, Uhrzeit auf einer vollen oder halben Stunde (Standard\n"
        "                   12:00), Zone -11:30 bis +11:30 in halben Stunden (Standard: die\n"
        "                   dieses Computers); der gegenw\u00E4rtige Zeitpunkt, wenn weder --jd\n"
        "                   noch --date angegeben ist\n"
        "  --format text    eine Zeile je K\u00F6rper (Standard)\n"
        "  --format json    {\"jd\": ..., \"planets\": [{\"number\", \"name\", \"longitude\",\n"
        "                   \"latitude\", \"radius\"}, ...]}, Bogenma\u00DF und AE\n"
        "  --help           dieser Text\n"
        "\n"
        "Ein K\u00F6rper, der nicht berechnet werden kann, zeigt statt der L\u00E4nge seinen\n"
        "Fehlerwert (-99 vor und -100 nach seinen Daten, -101 bis -104 ein Problem der\n"
        "Datendatei, -999 nicht geliefert). Pluto stammt aus hpluto.2199.slx (1600 bis\n"
        "2199). Eine Datendatei, die nicht verwendet werden kann, oder ein Programmordner,\n"
        "der f\u00FCr planets_vemo zu lang ist, wird in einer Warnzeile auf stderr genannt.\n"
        "Exit-Status: 0 erledigt, 1 planets_vemo, qel.dat oder der Programmordner kann\n"
        "nicht verwendet oder die Ausgabe nicht geschrieben werden, 2 fehlerhafte\n"
        "Kommandozeile oder ein abgelehntes Datum.\n";

bool ParseJulianDate(const std::string &text, double &jd) {
    const char *first = text.data();
    const char *last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || first == last) return false;
    if (!std::isfinite(value) || value < kMinJulianDate || value > kMaxJulianDate) return false;
    jd = value == 0.0 ? 0.0 : value;  // "-0" is 0, not -0
    return true;
}

}  // namespace

std::string ParsePositionsArguments(const Arguments &args, PositionsOptions &options) {
    options = PositionsOptions{};
    const std::string walked = WalkOptions(
        args, {"--help", "-h"}, {"--jd", "--date", "--format"}, false,
        [&options](const std::string &arg, const std::string &value) -> std::string {
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--jd") {
            if (!ParseJulianDate(value, options.jd))
                return OneOf("--jd", "needs a finite number between 0 and 4000000",
                             "braucht eine endliche Zahl zwischen 0 und 4000000", value);
            options.hasJd = true;
        } else if (arg == "--date") {
            if (const std::string error = ParseDateOption(value, options.date); !error.empty()) {
                return "--date: " + error;
            }
            options.hasDate = true;
        } else if (value == "text" || value == "json") {
            options.json = value == "json";
        } else {
            return OneOf("--format", "is text or json", "ist text oder json", value);
        }
        return "";
    });
    if (!walked.empty()) return walked;
    if (options.hasJd && options.hasDate) {
        return InProgramLanguage("--jd and --date exclude each other", "--jd und --date schlie\u00DFen einander aus");
    }
    return "";
}

double JulianDateNow() {
    using namespace std::chrono;
    const double seconds =
        duration_cast<duration<double>>(system_clock::now().time_since_epoch()).count();
    return seconds / 86400.0 + 2440587.5;
}

PositionSet ComputePositions(double jd) {
    PositionSet set;
    set.jd = jd;
    for (int planet = 1; planet <= 9; ++planet) {
        BodyPosition &body = set.bodies[planet - 1];
        body.number = planet;
        body.name = PlanetName(planet).c_str();
        if (planet == kPluto) {
            // Pluto is not computed by planets_vemo but read from its daily
            // table, which has longitudes only.
            body.longitude = HelioLongitude(kPluto, jd);
            continue;
        }
        double lat = 0.0, rv = 0.0;
        bool hasLatRv = false;
        body.longitude = HelioLongitudeLatRv(planet, jd, &lat, &rv, &hasLatRv);
        body.hasLatRv = hasLatRv && body.longitude > kBeforeDataRange;
        if (body.hasLatRv) {
            body.latitude = lat;
            body.radius = rv;
        }
    }
    return set;
}

std::string ErrorMeaning(double value) {
    return value > kBeforeDataRange ? "" : PositionErrorReason(value);
}

std::string FormatPositionsText(const PositionSet &set) {
    std::string out;
    char line[256];
    // The German lines hold only names, words and numbers, so that every
    // point in them is a decimal point.
    std::snprintf(line, sizeof line,
                  InProgramLanguage("Heliocentric positions at JD %.6f (UT), J2000 longitudes\n",
                             "Heliozentrische Positionen zu JD %.6f (UT), L\u00E4ngen J2000\n"),
                  set.jd);
    out += ReadableNumber(line);
    for (const auto &b : set.bodies) {
        if (b.longitude > -99) {
            std::snprintf(line, sizeof line, InProgramLanguage("%d %-8s %11.6f deg %10.8f rad", "%d %-8s %11.6f Grad %10.8f rad"),
                          b.number, b.name, b.longitude * kRadToDeg, b.longitude);
            out += ReadableNumber(line);
            if (b.hasLatRv) {
                std::snprintf(line, sizeof line,
                              InProgramLanguage("  latitude %+10.6f deg  radius %11.8f AU", "  Breite %+10.6f Grad  Radius %11.8f AE"),
                              b.latitude * kRadToDeg, b.radius);
                out += ReadableNumber(line);
            }
        } else {
            const std::string meaning = ErrorMeaning(b.longitude);
            std::snprintf(line, sizeof line, InProgramLanguage("%d %-8s error %g: %s", "%d %-8s Fehler %g: %s"), b.number,
                          b.name, b.longitude, meaning.c_str());
            out += line;
        }
        out += '\n';
    }
    return out;
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    if (value == 0.0) value = 0.0;  // no "-0"
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc()) return "null";
    return std::string(buffer, end);
}

std::string FormatPositionsJson(const PositionSet &set) {
    std::string out = "{\"jd\": " + JsonNumber(set.jd) + ", \"planets\": [";
    for (std::size_t i = 0; i < set.bodies.size(); ++i) {
        const auto &b = set.bodies[i];
        if (i > 0) out += ", ";
        out += "{\"number\": " + std::to_string(b.number) + ", \"name\": \"" + b.name +
               "\", \"longitude\": " + JsonNumber(b.longitude) + ", \"latitude\": " +
               (b.hasLatRv ? JsonNumber(b.latitude) : "null") +
               ", \"radius\": " + (b.hasLatRv ? JsonNumber(b.radius) : "null") + "}";
    }
    out += "]}\n";
    return out;
}

int RunPositions(const Arguments &args) {
    PositionsOptions options;
    if (const std::string error = ParsePositionsArguments(args, options); !error.empty()) {
        std::cerr << "vemo-cli positions: " << error << " " << TryHelp("positions") << "\n";
        return kExitUsage;
    }
    if (options.help) return WriteOutput("positions", InProgramLanguage(kUsage, kUsageGerman));

    // The data files lie in the program folder, where planets_vemo is too;
    // the date messages are the program's own texts. Files that cannot be
    // used are named on stderr, and their bodies show their error values.
    ProgramFolderState state;
    if (const std::string error = SetUpProgramFolder("positions", state); !error.empty()) {
        std::cerr << "vemo-cli positions: " << error << "\n";
        return kExitFailure;
    }

    double jd = options.jd;
    if (options.hasDate) {
        // The same path as a date row of the window: blank hour 12:00, blank
        // zone the computer's own (GMT when the lists have no entry for it).
        const LocalZone zone = ResolveLocalZone(SystemTimezoneMinutes());
        if (!zone.listed && options.date.zoneIndex == 0) {
            std::cerr << "vemo-cli positions: "
                      << ZoneNotListedNotice(zone.systemMinutes, [](int item) { return ProgramText(item); })
                      << "\n";
        }
        const DateConversion date = InputDateToAJDate(options.date, zone.index);
        if (!date.ok()) {
            std::cerr << "vemo-cli positions: "
                      << DateErrorMessage(kWorldRow, date.value, [](int item) { return ProgramText(item); })
                      << "\n";
            return kExitUsage;
        }
        jd = date.value;
    } else if (!options.hasJd) {
        jd = CurrentAJD();
    }

    const PositionSet set = ComputePositions(jd);
    return WriteOutput("positions", options.json ? FormatPositionsJson(set) : FormatPositionsText(set));
}

}  // namespace vemo::cli
