// vemo-cli in German: its own words and those of the event export follow
// --language de, while what programs read (the CSV rows, the calendar UIDs)
// stays as in English, byte for byte.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/support/run_command.h"

namespace {

int Cli(const std::string& args, std::string& out) {
  return vemo::testing::RunCommand(
      "( TZ=UTC0 VEMO_DTSTAMP=20240101T000000Z '" VEMO_CLI_PROGRAM "' " + args + " )", out);
}

TEST(German, CommandsAndMessages) {
  const std::string world = " --mode world --world 2025-01-01T12:00Z";
  const std::string span = " --from 2024-01-01 --to 2024-01-20";
  const struct {
    std::string args;
    int status;
    std::vector<std::string> pieces;
  } cases[] = {
      {"positions --jd 2451545", 0,
       {"Heliozentrische Positionen zu JD 2451545,000000 (UT), L\u00E4ngen J2000\n",
        "1 Erde      100,374751 Grad 1,75186990 rad  Breite  +0,000000 Grad  Radius  0,98332583 AE\n"}},
      {"table" + world, 0, {"Welttransite\nWeltdatum       JD 2460677,000000 (UT)\n", "15 Aspekte insgesamt."}},
      {"durations" + world, 0,
       {"Welttransite: 15 Dauereintr\u00E4ge\n", "Erde Konjunktion Mars, Beginn 2024-12-29, Ende 2025-02-02 (36 Tage)"}},
      {"events" + span, 0,
       {"Aspektereignisse, Welttransite (heliozentrisch)\nVon 2024-01-01 12:00 UT bis 2024-01-20 12:00 UT; "
        "Ortszeiten in GMT\n",
        "Aspekt      Ereignis               Abweichung\n",
        "Merkur     Pluto      Quinkunx    tritt in den Orbis ein 3\u00B00'\n",
        "Merkur     Uranus     Quadrat     verl\u00E4sst den Orbis     6\u00B00'\n"}},
      {"events --from 2024-01-01 --to 2024-01-20 --mode personal1 --birth1 1980-05-05 --format ics", 0,
       {"SUMMARY:Transit Neptun Opposition Radix Saturn (heliozentrisch)\r\n",
        "DESCRIPTION:Heliozentrisch: Transit Neptun Opposition Radix Saturn\\, Orbis \r\n"
        " 3\u00B00'.\\nGeburtsdatum: 1980-05-05 12:00 UT.\\nTritt in den Orbis ein: "}},
      {"events --from 2210-01-01 --to 2210-01-03 --kinds con", 0,
       {"Pluto: keine Positionen von 2210-01-01 12:00 UT bis 2210-01-03 12:00 UT; dort enden die Ereignisse "
        "dieses Planeten.\n"}},
      {"search --pattern grand-cross --planets earth,mars,venus --from 2024-01-01 --to 2024-01-03", 3,
       {"Von 2024-01-01 12:00 GMT bis 2024-01-03 12:00 GMT wurde kein Gro\u00DFes Kreuz mit Erde, Mars und Venus "
        "gefunden (2 Schritte).\n"}},
      {"table --mode \"$(printf 'w\\033')\"", 2,
       {"vemo-cli table: --mode ist world, natal1, natal2, personal1, personal2 oder synastry, nicht "
        "\u201Ew\\x1b\u201C (siehe vemo-cli table --help)\n"}},
      {"table" + world + " --world 2025-13-01", 2, {"--world: Der Monat 13 liegt nicht zwischen 01 und 12."}},
      {"events --from 2024-01-01", 2, {"vemo-cli events: --to muss angegeben werden (siehe vemo-cli events --help)"}},
      {"events" + span + " --out /nonexistent/x.csv", 1,
       {"\u201E/nonexistent/x.csv\u201C kann nicht geschrieben werden: ", "; es wurde nichts geschrieben.\n"}},
      {"report --mode world --sort foo", 2, {"--sort hat f\u00FCr world die Werte exactness, aspect, planet"}},
      {"nonsense", 2, {"vemo-cli: unbekannter Befehl \u201Enonsense\u201C (siehe vemo-cli --help)\n"}},
      {"positions --jd 1 --date 2000-01-01", 2, {"--jd und --date schlie\u00DFen einander aus"}},
      {"search --pattern kite --planets pluto --from 2300-01-01", 2,
       {"Pluto hat Positionen nur von 1600-01-01 00:00 UT bis 2200-01-01 00:00 UT, keine an den Daten der Suche"}},
      {"chart --mode world --out x.gif", 2, {"--out FILE muss auf .png, .svg oder .pdf enden, nicht \u201Ex.gif\u201C"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    std::string out;
    EXPECT_EQ(Cli("--language de " + c.args, out), c.status) << out;
    for (const std::string& piece : c.pieces) EXPECT_NE(out.find(piece), std::string::npos) << piece << "\n" << out;
  }
}

// The whole table of a fixed sky, written out by hand: German names and
// abbreviations, zodiac signs and counts, and the decimal comma only where
// people read the Julian date.
TEST(German, WholeTableOfJ2000) {
  const std::string d = "\u00B0";
  const std::string expected =
      "Radixaspekte des 1. Geburtsdatums\n"
      "1. Geburtsdatum JD 2451545,000000 (UT)\n\n"
      "100" + d + "22'  253" + d + "47'  182" + d + "36'  359" + d + "27'  36" + d + "18'   45" + d + "43'   316" + d +
      "25'  303" + d + "56'  250" + d + "33'\n"
      "10Kre22  13Sch47  2Waa36   29Fis27  6Sti18   15Sti43  16Was25  3Was56   10Sch33\n"
      "Erde     Merkur   Venus    Mars     Jupiter  Saturn   Uranus   Neptun   Pluto\n\n"
      "Erde                                                                    Qui\n"
      "                                                                        0" + d + "10' -\n"
      "         Merkur                              Qui      Sxt               Kon\n"
      "                                             1" + d + "56' -  2" + d + "38' -           3" + d + "14' +\n"
      "                  Venus    Opp                                 Tri\n"
      "                           3" + d + "9' +                              1" + d + "20' -\n"
      "                           Mars\n\n"
      "                                    Jupiter  Kon               Qua\n"
      "                                             9" + d + "26' -           2" + d + "22' +\n"
      "                                             Saturn   Qua\n"
      "                                                      0" + d + "42' -\n"
      "                                                      Uranus\n\n"
      "                                                               Neptun\n\n\n"
      "2 Konjunktionen\n1 Opposition\n2 Quadrate\n1 Trigon\n1 Sextil\n2 Quinkunxe\n9 Aspekte insgesamt.\n\n"
      "Halbsumme: Ven-Jup-Plu\n\n";
  std::string out;
  ASSERT_EQ(Cli("table --mode natal1 --birth1 2000-01-01T12:00Z --language de 2>&1", out), 0) << out;
  EXPECT_EQ(out, expected);
}

TEST(German, WhatProgramsReadStaysEnglish) {
  const std::string personal = "events --from 2024-01-01 --to 2024-03-01 --mode personal1 --birth1 1980-05-05";
  for (const std::string format : {"csv", "ics"}) {
    std::string english, german;
    ASSERT_EQ(Cli("--language en " + personal + " --format " + format + " 2>/dev/null", english), 0);
    ASSERT_EQ(Cli(personal + " --format " + format + " --language=de 2>/dev/null", german), 0);
    if (format == "csv") {
      EXPECT_EQ(german, english);
      continue;
    }
    // The calendar's lines but the summaries and descriptions.
    const auto fixed = [](const std::string& ics) {
      std::string kept;
      for (std::size_t at = 0, end; at < ics.size(); at = end + 2) {
        end = ics.find("\r\n", at);
        const std::string line = ics.substr(at, end - at);
        if (line.rfind("SUMMARY:", 0) != 0 && line.rfind("DESCRIPTION:", 0) != 0 && line[0] != ' ') kept += line + "\n";
      }
      return kept;
    };
    EXPECT_EQ(fixed(german), fixed(english));
    EXPECT_NE(german, english);
  }
}

// Each command's help in German names the options its English help names.
TEST(German, HelpTexts) {
  const auto options = [](const std::string& text) {
    std::set<std::string> names;
    for (std::size_t at = 0; (at = text.find("--", at)) != std::string::npos;) {
      const std::size_t end = text.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-", at + 2);
      names.insert(text.substr(at, end - at));
      at = end;
    }
    return names;
  };
  for (const std::string command : {"", "positions", "table", "durations", "chart", "report", "search", "events"}) {
    SCOPED_TRACE(command);
    std::string english, german;
    ASSERT_EQ(Cli(command + " --help", english), 0);
    ASSERT_EQ(Cli("--language de " + command + " --help", german), 0);
    EXPECT_EQ(german.rfind("Aufruf: vemo-cli " + (command.empty() ? "<Befehl>" : command), 0), 0u) << german;
    EXPECT_EQ(options(german), options(english));
  }
}

TEST(German, ABadLanguageIsAUsageError) {
  const struct {
    std::string command;
    std::string message;
  } cases[] = {
      {"'" VEMO_CLI_PROGRAM "' table --language fr", "vemo-cli: --language is en or de, not \"fr\" (try vemo-cli --help)"},
      {"'" VEMO_CLI_PROGRAM "' --language", "vemo-cli: --language needs a value (en or de) (try vemo-cli --help)"},
      // Told in the language of the environment.
      {"LC_ALL= LC_MESSAGES=de_DE.UTF-8 '" VEMO_CLI_PROGRAM "' --language=xx positions",
       "vemo-cli: --language ist en oder de, nicht \u201Exx\u201C (siehe vemo-cli --help)"},
  };
  for (const auto& c : cases) {
    std::string out;
    EXPECT_EQ(vemo::testing::RunCommand(c.command, out), 2) << c.command;
    EXPECT_EQ(out, c.message + "\n") << c.command;
  }
}

}  // namespace
