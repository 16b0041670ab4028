// vemo-cli: command-line front end over the vemo core.
//
//   vemo-cli <command> [options]     vemo-cli <command> --help for details
//
// To add a command: write cli/<command>.cpp with a Run<Command> function
// declared in cli/commands.h, add it to vemo_cli_commands in
// cli/CMakeLists.txt and one row to kCommands below. A command that computes
// starts with SetUpProgramFolder (cli/program_folder.h), which also warns
// about data files that cannot be used, and writes through WriteOutput.

#include <cstdio>
#include <string>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "app/aspects/date_rows.h"
#include "app/text/languages.h"
#include "app/time/file_writer.h"
#include "cli/commands.h"
#include "cli/chart.h"
#include "cli/events.h"
#include "cli/search.h"
#include "cli/table.h"

namespace {

struct Command {
    const char *name;
    int (*run)(const vemo::cli::Arguments &);
    const char *summary;
    const char *summaryGerman;
};

const Command kCommands[] = {
    {"positions", vemo::cli::RunPositions,
     "heliocentric J2000 positions of Earth to Pluto at a Julian date",
     "heliozentrische Positionen J2000 von Erde bis Pluto zu einem julianischen Datum"},
    {"table", vemo::cli::RunTable, "the aspect table of a mode, with patterns and midpoints",
     "die Aspekttabelle eines Modus mit Aspektmustern und Halbsummen"},
    {"durations", vemo::cli::RunDurations, "beginning, end and duration of each aspect of the table",
     "Beginn, Ende und Dauer jedes Aspekts der Tabelle"},
    {"chart", vemo::cli::RunChart, "the chart of the table as a PNG or SVG picture",
     "das Horoskop der Tabelle als PNG- oder SVG-Bild"},
    {"report", vemo::cli::RunReport, "the aspect report: transits with their durations, or the chart described",
     "der Aspektbericht: Transite mit ihrer Dauer oder die Beschreibung des Horoskops"},
    {"search", vemo::cli::RunSearch, "run forward until an aspect pattern appears",
     "Suchlauf vorw\u00E4rts, bis ein Aspektmuster erscheint"},
    {"events", vemo::cli::RunEvents, "when aspects enter their orb, become exact and leave it",
     "wann Aspekte in ihren Orbis eintreten, exakt werden und ihn verlassen"},
};

std::string Usage() {
    std::string text = vemo::InProgramLanguage("Usage: vemo-cli <command> [options]\n"
                                        "Heliocentric planetary positions and aspects on the command line.\n\n"
                                        "Commands:\n",
                                        "Aufruf: vemo-cli <Befehl> [Optionen]\n"
                                        "Heliozentrische Planetenpositionen und Aspekte auf der Kommandozeile.\n"
                                        "\n"
                                        "Befehle:\n");
    for (const auto &c : kCommands) {
        char line[160];
        std::snprintf(line, sizeof line, "  %-12s %s\n", c.name, vemo::InProgramLanguage(c.summary, c.summaryGerman));
        text += line;
    }
    return text + vemo::InProgramLanguage(
                      "\nvemo-cli <command> --help explains a command; vemo-cli --version names the version.\n"
                      "--language en|de, anywhere on the line, chooses the language of the output; without it\n"
                      "vemo-cli follows LC_ALL, LC_MESSAGES and LANG. Option values and the CSV columns\n"
                      "that programs read stay English.\n",
                      "\n"
                      "vemo-cli <Befehl> --help erkl\u00E4rt einen Befehl; vemo-cli --version nennt die Version.\n"
                      "--language en|de, an beliebiger Stelle der Zeile, w\u00E4hlt die Sprache der Ausgabe; ohne\n"
                      "diese Option folgt vemo-cli LC_ALL, LC_MESSAGES und LANG. Optionswerte und die\n"
                      "CSV-Spalten, die Programme lesen, bleiben englisch.\n");
}

// Takes "--language CODE" or "--language=CODE" out of args, wherever it
// stands, so that every command accepts it. Returns the language: the one
// named, else the environment's; -1 with error set for a code not known.
int TakeLanguage(std::vector<std::string>& args, std::string& error) {
    int language = vemo::LanguageFromEnvironment();
    for (std::size_t i = 0; i < args.size();) {
        std::string value;
        std::size_t taken = 0;
        if (args[i] == "--language") {
            if (i + 1 >= args.size()) {
                error = vemo::InProgramLanguage("--language needs a value (en or de)",
                                         "--language braucht einen Wert (en oder de)");
                return -1;
            }
            value = args[i + 1];
            taken = 2;
        } else if (args[i].rfind("--language=", 0) == 0) {
            value = args[i].substr(11);
            taken = 1;
        } else {
            ++i;
            continue;
        }
        language = vemo::LanguageOfCode(value);
        if (language < 0) {
            error = vemo::InProgramLanguage("--language is en or de, not ", "--language ist en oder de, nicht ") +
                    vemo::cli::QuotedArgument(value);
            return -1;
        }
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i + taken));
    }
    return language;
}

}  // namespace

int main(int argc, char **argv) {
#if defined(__GLIBC__)
    // events and search hand each thread's stretch results to this one,
    // a few MB at a time. With glibc's sliding thresholds the threads' arenas
    // give that memory back to the kernel and fault it in again (36,000 page
    // faults more than one thread for 600 years of events, a tenth of the
    // time); fixed thresholds keep it for the next stretch. The peak stays
    // what the stretches hold at once.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
    // Ctrl+C or a kill during a write to --out leaves no temporary file.
    vemo::RemoveTemporaryFilesOnSignal();
    std::vector<std::string> args(argv + 1, argv + argc);
    // A bad --language is told in the language of the environment.
    vemo::SelectLanguage(vemo::LanguageFromEnvironment());
    std::string languageError;
    const int language = TakeLanguage(args, languageError);
    if (language < 0) {
        std::fprintf(stderr, "vemo-cli: %s %s\n", languageError.c_str(), vemo::cli::TryHelp("").c_str());
        return vemo::cli::kExitUsage;
    }
    vemo::SelectLanguage(language);
    if (args.empty()) {
        std::fprintf(stderr, "vemo-cli: %s %s\n", vemo::InProgramLanguage("no command given", "kein Befehl angegeben"),
                     vemo::cli::TryHelp("").c_str());
        return vemo::cli::kExitUsage;
    }
    const std::string name = args[0];
    if (name == "--help" || name == "-h" || name == "help") return vemo::cli::WriteOutput(nullptr, Usage());
    if (name == "--version") return vemo::cli::WriteOutput(nullptr, std::string("vemo-cli ") + VEMO_VERSION_STRING + "\n");
    for (const auto &c : kCommands) {
        if (name == c.name) return c.run(vemo::cli::Arguments(args.begin() + 1, args.end()));
    }
    std::fprintf(stderr, "vemo-cli: %s %s %s\n", vemo::InProgramLanguage("unknown command", "unbekannter Befehl"),
                 vemo::cli::QuotedArgument(name).c_str(), vemo::cli::TryHelp("").c_str());
    return vemo::cli::kExitUsage;
}
