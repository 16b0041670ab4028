#include "app/time/positions.h"

#include "app/time/date_texts.h"  // InProgramLanguage

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/time/pluto_table.h"
#include "app/time/shared_library.h"
#include "platform/ordalin/ordalin.h"

namespace vemo {

namespace {

// Exports of planets_vemo, bound by name. Strings are single-byte and
// zero-terminated; planet and year are 32-bit, the Julian date a double.
using SetDatafilesFolderFn = void (*)(const char* folder);
using LongRvFn = double (*)(int32_t planet, double jd, int32_t year, double* rv);
using LongLatRvFn = double (*)(int32_t planet, double jd, int32_t year, double* lat, double* rv);

struct PlanetsVemoBinding {
    SharedLibrary library;
    SetDatafilesFolderFn setDatafilesFolder = nullptr;
    LongRvFn longRv = nullptr;
    LongLatRvFn longLatRv = nullptr;
    bool lazyAttemptFailed = false;

    bool Bound() const { return setDatafilesFolder != nullptr && longRv != nullptr && longLatRv != nullptr; }
};

// The library handle lives for the whole process, like the original
// program's by-name declaration. It is bound before positions are asked for;
// planets_vemo itself may then be called from any thread.
PlanetsVemoBinding& Binding() {
    static PlanetsVemoBinding binding;
    return binding;
}

std::string& DataFolderStorage() {
    static std::string folder;
    return folder;
}

PlutoTable& ProgramPlutoTable() {
    static PlutoTable table;
    return table;
}

std::string& PlutoLoadErrorStorage() {
    static std::string text;
    return text;
}

// Binds planets_vemo from the program folder at the first position request
// when start-up did not do it (tools, tests); a failure is remembered so that
// a missing library costs one attempt, not one per position.
bool EnsureBound() {
    PlanetsVemoBinding& b = Binding();
    if (b.Bound()) return true;
    if (b.lazyAttemptFailed) return false;
    if (!BindPlanetsVemo(ProgramFolder()).empty()) b.lazyAttemptFailed = true;
    return b.Bound();
}

}  // namespace

std::string ProgramFolder() { return ExecutableFolder(); }

std::string WithTrailingSeparator(const std::string& folder) {
    if (folder.empty()) return "";  // no folder: planets_vemo then reports -104
    std::string result = folder;
    while (result.size() > 1 && (result.back() == '/' || result.back() == '\\')) result.pop_back();
    if (result.empty() || (result.back() != '/' && result.back() != '\\')) result += PathSeparator();
    return result;
}

std::string PlanetsVemoFileName() { return SharedLibraryFileName("planets_vemo"); }

std::string BindPlanetsVemo(const std::string& libraryFolder) {
    PlanetsVemoBinding& b = Binding();
    if (b.Bound()) return "";
    const std::string folder = WithTrailingSeparator(libraryFolder);
    const std::string path = folder + PlanetsVemoFileName();
    if (!b.library.IsOpen()) {
        const std::string reason = b.library.Open(path);
        if (!reason.empty()) {
            if (ProgramLanguage() == kGerman) {
                return "Die Planetenbibliothek \u201E" + PlanetsVemoFileName() +
                       "\u201C konnte nicht aus dem Ordner \u201E" + folder + "\u201C geladen werden: " + reason;
            }
            return "The planet library \"" + PlanetsVemoFileName() + "\" could not be loaded from the folder \"" +
                   folder + "\": " + reason;
        }
    }
    b.setDatafilesFolder = reinterpret_cast<SetDatafilesFolderFn>(b.library.Symbol("set_datafiles_folder"));
    b.longRv = reinterpret_cast<LongRvFn>(b.library.Symbol("hc_j2000_long_rv_planet"));
    b.longLatRv = reinterpret_cast<LongLatRvFn>(b.library.Symbol("hc_j2000_long_lat_rv_planet"));
    if (!b.Bound()) {
        return (ProgramLanguage() == kGerman ? "Der Planetenbibliothek \u201E" + path + "\u201C fehlt eine der Funktionen "
                                             : "The planet library \"" + path + "\" lacks one of the functions ") +
               "set_datafiles_folder, hc_j2000_long_rv_planet, hc_j2000_long_lat_rv_planet.";
    }
    b.lazyAttemptFailed = false;
    return "";
}

bool PlanetsVemoBound() { return Binding().Bound(); }

std::string SetUpDataFolder(const std::string& programFolder) {
    DataFolderStorage() = WithTrailingSeparator(programFolder);
    if (std::string error = BindPlanetsVemo(programFolder); !error.empty()) return error;
    Binding().setDatafilesFolder(DataFolderStorage().c_str());
    return "";
}

std::string SetDataFolder(const std::string& folder) {
    DataFolderStorage() = WithTrailingSeparator(folder);
    if (!EnsureBound()) return BindPlanetsVemo(ProgramFolder());
    Binding().setDatafilesFolder(DataFolderStorage().c_str());
    return "";
}

const std::string& DataFolder() { return DataFolderStorage(); }

int LibraryPlanetNumber(int planet) {
    switch (planet) {
        case 1: return 3;  // Earth: the library's solar series
        case 2: return 1;  // Mercury
        case 3: return 2;  // Venus
        default: return planet;
    }
}

int CalendarYearOfAJD(double ajd) {
    int32_t year = 0;
    if (juldat(ajd, "A", &year, nullptr, nullptr, nullptr) != 0) return 0;
    return year;
}

double HelioLongitude(int planet, double ajd) {
    const int mapped = LibraryPlanetNumber(planet);
    if (mapped == 9) return PlutoLongitude(ajd);
    if (!std::isfinite(ajd)) return std::isnan(ajd) || ajd < 0 ? kBeforeDataRange : kAfterDataRange;
    if (!EnsureBound()) return kDataFileMissing;
    // The library picks an outer planet's record by the calendar year of the
    // UT instant, not of the local date the user typed; the other planets
    // do not read the year.
    double rv = 0.0;
    return Binding().longRv(mapped, ajd, mapped >= 5 ? CalendarYearOfAJD(ajd) : 0, &rv);
}

double HelioLongitudeLatRv(int planet, double ajd, double* lat, double* rv, bool* hasLatRv) {
    if (hasLatRv != nullptr) *hasLatRv = false;
    const int mapped = LibraryPlanetNumber(planet);
    if (mapped == 9) return PlutoLongitude(ajd);
    if (!std::isfinite(ajd)) return std::isnan(ajd) || ajd < 0 ? kBeforeDataRange : kAfterDataRange;
    if (!EnsureBound()) return kDataFileMissing;
    const int32_t year = CalendarYearOfAJD(ajd);
    const double longitude = Binding().longLatRv(mapped, ajd, year, lat, rv);
    if (hasLatRv != nullptr) *hasLatRv = longitude > kBeforeDataRange;
    return longitude;
}

namespace {

// Width under which the bracket of a data edge is closed, days (0.86 ms):
// far above the resolution of an AJD near 2.5e6 (4.7e-10 days) and far below
// the minute to which the command line writes the edge.
constexpr double kEdgeBracketDays = 1.0e-8;

// Where an instant lies against a planet's data: before it, inside it (a
// position, or an error value other than the range's own), after it.
enum class DataSide { Before, Inside, After };

DataSide SideOf(int planet, double ajd) {
    const double value = HelioLongitude(planet, ajd);
    if (value == kBeforeDataRange) return DataSide::Before;
    if (value == kAfterDataRange) return DataSide::After;
    return DataSide::Inside;
}

// The first instant of (a, b] whose side is later than `side`, where a lies
// on `side` and b does not.
double EdgeAfter(int planet, DataSide side, double a, double b) {
    for (int i = 0; i < 64 && b - a > kEdgeBracketDays; ++i) {
        const double mid = 0.5 * (a + b);
        (SideOf(planet, mid) == side ? a : b) = mid;
    }
    return b;
}

}  // namespace

PositionStretch PositionStretchOf(int planet, double fromAjd, double toAjd) {
    PositionStretch s;
    if (!(fromAjd <= toAjd)) return s;
    const double atFrom = HelioLongitude(planet, fromAjd);
    const double atTo = HelioLongitude(planet, toAjd);
    const auto usable = [](double v) { return v >= 0 || v == kBeforeDataRange || v == kAfterDataRange; };
    if (!usable(atFrom) || !usable(atTo) || atFrom == kAfterDataRange || atTo == kBeforeDataRange) return s;
    s.first = fromAjd;
    if (atFrom == kBeforeDataRange) {
        s.first = EdgeAfter(planet, DataSide::Before, fromAjd, toAjd);
        if (SideOf(planet, s.first) != DataSide::Inside) return s;  // straight from before to after
        s.beginsInside = true;
    }
    s.any = true;
    s.last = toAjd;
    if (atTo == kAfterDataRange) {
        const double end = EdgeAfter(planet, DataSide::Inside, s.first, toAjd);
        s.last = std::max(s.first, end - kEdgeBracketDays);
        s.endsInside = true;
    }
    return s;
}

// The program's Pluto table ------------------------------------------------

bool LoadPlutoTable(const std::string& fileName, std::string& errorText) {
    errorText = ProgramPlutoTable().Load(DataFolderStorage() + fileName);
    PlutoLoadErrorStorage() = errorText;
    return errorText.empty();
}

const std::string& PlutoLoadError() { return PlutoLoadErrorStorage(); }

bool PlutoAvailable() { return ProgramPlutoTable().Available(); }

double PlutoLongitude(double ajd) { return ProgramPlutoTable().Longitude(ajd); }

double PlutoDegreesOfDay(int k) { return ProgramPlutoTable().DegreesOfDay(k); }

}  // namespace vemo
