#include "app/time/data_files.h"

#include <algorithm>
#include <cstring>

#include "app/time/date_texts.h"
#include "app/time/escaped_text.h"
#include "app/time/pluto_table.h"
#include "app/time/positions.h"

namespace vemo {

namespace {

constexpr const char* kOuterFiles[] = {"jupiter.dac", "saturn.dac", "uranus.dac", "neptune.dac"};
constexpr int kJupiter = 5;
constexpr int kPluto = 9;

// 1 January 2000, 0h UT: inside the range of every data file (the .dac files
// from 1600 or earlier to 2799, the Pluto table 1600 to 2199).
constexpr double kProbeAJD = 2451544.5;

}  // namespace

const char* DataFileName(int planet) {
    if (planet >= kJupiter && planet < kPluto) return kOuterFiles[planet - kJupiter];
    if (planet == kPluto) return kPlutoFileName;
    return "";
}

std::size_t LongestUsableDataFolder() {
    std::size_t longest = 0;
    for (const char* name : kOuterFiles) longest = std::max(longest, std::strlen(name));
    return kLibraryPathLimit - longest;
}

std::string DataFolderTooLongMessage(const std::string& folder) {
    const std::string withSeparator = WithTrailingSeparator(folder);
    if (withSeparator.size() <= LongestUsableDataFolder()) return "";
    if (ProgramLanguage() == kGerman) {
        return "Der Programmordner \u201E" + EscapedForDisplay(folder) +
               "\u201C ist zu lang f\u00FCr die Planetenbibliothek: " + std::to_string(withSeparator.size()) +
               " Zeichen, h\u00F6chstens " + std::to_string(LongestUsableDataFolder()) +
               " sind m\u00F6glich. Verschieben Sie das Programm in einen k\u00FCrzeren Ordner, um Jupiter bis "
               "Neptun zu sehen.";
    }
    return "The program folder \"" + EscapedForDisplay(folder) + "\" is too long for the planet library: " +
           std::to_string(withSeparator.size()) + " characters, at most " +
           std::to_string(LongestUsableDataFolder()) +
           " can be used. Move the program to a shorter folder to see Jupiter to Neptune.";
}

std::string PositionErrorReason(double code) {
    struct Reason {
        double code;
        const char* english;
        const char* german;
    };
    static const Reason kReasons[] = {
        {kBeforeDataRange, "the date is before the range of its data", "das Datum liegt vor dem Bereich der Daten"},
        {kAfterDataRange, "the date is after the range of its data", "das Datum liegt nach dem Bereich der Daten"},
        {kDataFileMissing, "missing or cannot be opened", "fehlt oder kann nicht ge\u00F6ffnet werden"},
        {-102, "cannot be read at the record of the date", "kann beim Datensatz des Datums nicht gelesen werden"},
        {kDataFileUnreadable, "unreadable, short or corrupt", "unlesbar, zu kurz oder besch\u00E4digt"},
        {kDataFolderEmpty, "no data folder is set", "kein Datenordner festgelegt"},
        {kPlanetNotServed, "no valid position (corrupt record or date)",
         "keine g\u00FCltige Position (besch\u00E4digter Datensatz oder Datum)"},
    };
    for (const Reason& r : kReasons) {
        if (code == r.code) return InProgramLanguage(r.english, r.german);
    }
    return InProgramLanguage("error ", "Fehler ") + std::to_string(static_cast<long long>(code));
}

std::string FolderTooLongReason() {
    return InProgramLanguage("the program folder is too long for the planet library",
                             "der Programmordner ist zu lang f\u00FCr die Planetenbibliothek");
}

std::vector<UnusableDataFile> ProbeDataFiles() {
    std::vector<UnusableDataFile> unusable;
    const std::string tooLong = DataFolderTooLongMessage(DataFolder());
    for (int planet = kJupiter; planet <= kPluto; ++planet) {
        const double code = HelioLongitude(planet, kProbeAJD);
        if (code > kBeforeDataRange) continue;
        UnusableDataFile f{planet, DataFileName(planet), code, PositionErrorReason(code)};
        if (planet == kPluto && !PlutoLoadError().empty()) {
            f.reason = PlutoLoadError();
        } else if (planet != kPluto && !tooLong.empty()) {
            f.reason = FolderTooLongReason();
        }
        unusable.push_back(std::move(f));
    }
    return unusable;
}

std::string DataFilesWarning(const std::vector<UnusableDataFile>& files, const std::string& folder) {
    std::string lines;
    for (const UnusableDataFile& f : files) {
        if (f.planet == kPluto) continue;
        lines += "\r\n" + f.file + ": " + f.reason;
    }
    if (lines.empty()) return "";
    const bool german = ProgramLanguage() == kGerman;
    std::string text = german ? "Diese Planetendateien im Ordner \u201E" + EscapedForDisplay(folder) +
                                    "\u201C k\u00F6nnen nicht verwendet werden:" + lines
                              : "These planet data files in the folder \"" + EscapedForDisplay(folder) +
                                    "\" cannot be used:" + lines;
    if (const std::string tooLong = DataFolderTooLongMessage(folder); !tooLong.empty()) {
        text += "\r\n\r\n" + tooLong;
    }
    return text + "\r\n\r\n" +
           (german ? "Die Aspekte dieser Planeten k\u00F6nnen nicht angezeigt werden."
                   : "Aspects of these planets cannot be displayed.");
}

}  // namespace vemo
