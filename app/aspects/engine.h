// The aspect engine: the tables the program shares (positions, orbs, counts,
// Julian dates, the aspect table, duration records, the run search's hook) and
// the procedures over them: Compute, the applying signs, the pattern finders,
// the midpoint search and the beginning/end searches.
//
// One engine object is shared by the windows and the command-line front end.
// The planet positions, program texts and date texts come through
// EngineServices so that the engine stays free of the ephemeris binding and the
// text store (tests inject their own positions).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/aspects/orbs.h"
#include "app/aspects/table_model.h"
#include "app/aspects/vocabulary.h"

namespace vemo {

// The six modes, numbered as the main window numbers them.
enum class Mode {
  WorldTransits = 1,
  Natal1 = 2,
  Natal2 = 3,
  Personal1 = 4,
  Personal2 = 5,
  Synastry = 6,
};

bool IsOneDateMode(Mode mode);     // World transits, Natal aspects
bool IsPersonalMode(Mode mode);    // Personal transits to either birthdate
bool IsNatalMode(Mode mode);
int OrbColumnOfMode(Mode mode);    // 0, 1 (personal) or 2 (synastry)
int BirthRowOfMode(Mode mode);     // 1 or 2 for Natal/Personal modes, else 0

// Date rows: 0 world date, 1 first birthdate, 2 second birthdate.
inline constexpr int kRowWorld = 0;
inline constexpr int kRowBirth1 = 1;
inline constexpr int kRowBirth2 = 2;
// Whether the mode reads a date row.
bool ModeUsesRow(Mode mode, int row);

// Where positions, program texts and date texts come from.
struct EngineServices {
  // Heliocentric ecliptic longitude (radians, J2000) of planet 1..9 at an
  // astronomical Julian date (UT); negative codes when not available.
  std::function<double(int planet, double ajd)> HelioLongitude;
  // Program text item n ("" when missing).
  std::function<std::string(int item)> ProgramText;
  // A day number written as a date (long month names, current language).
  std::function<std::string(double dayNumber)> DayNumberToDateText;
  // Upper bound of each planet's heliocentric motion, degrees per day (slots
  // 1..9). When both planets of a search have one, the day-by-day beginning
  // and end searches skip the midnights at which the aspect cannot yet have
  // left its orb; the days found are those of the plain daily search. A 0
  // (the default) means no bound is known: every midnight is tested.
  std::array<double, kPlanetSlots> MaxDailyMotionDegrees{};
  // Planets whose longitude, unwrapped, is a polynomial of degree 6 or less
  // in time between 0h UT on 1 January of two consecutive years divisible by
  // five: Jupiter..Neptune of planets_vemo, one .dac record each. The event
  // search then interpolates them between positions it checks (false: every
  // position comes from HelioLongitude).
  std::array<bool, kPlanetSlots> PolynomialRecords{};
};

// Bounds of the heliocentric motion of Earth..Pluto in degrees per day: the
// perihelion speed n (1 + e)^2 / (1 - e^2)^1.5 from the mean motion n and the
// eccentricity e of each orbit (J2000 mean elements, Standish, JPL), raised
// by at least 10 % (Mercury 6.35 -> 6.5, Pluto 0.0068 -> 0.008).
inline constexpr std::array<double, kPlanetSlots> kMaxHeliocentricMotionDegreesPerDay{
    0.0, 1.05, 6.5, 1.65, 0.70, 0.10, 0.045, 0.015, 0.0075, 0.008, 0.0};

// The run search's shared state (the run window's public variables and the
// engine's list of sought planets).
struct RunSearchState {
  // Set by the main window while a run is in progress. The 3-stellium rule
  // (stop at a triple without the sought planets) acts only then, so a list
  // left over from an earlier run never trims an ordinary computation.
  bool InProgress = false;
  bool PlanetsSought = false;        // blnPlanetsSought
  bool SoughtPlanetsFound = false;   // blnSoughtPlanetsFound
  int AspectPatternToFind = -1;      // intAspectPatternToFind, <0 = none
  int NumPlanetsSought = 0;          // intNumPlanetsSought
  int NumPlanetsFound = 0;           // intNumPlanetsFound
  std::array<int, 3> SoughtPlanets{0, 0, 0};  // 0 = empty slot
};

// What a Compute reads besides the settings.
struct ComputeRequest {
  Mode mode = Mode::WorldTransits;
  // Astronomical Julian dates (UT) of rows 0..2 as the date conversion gave
  // them; a negative value is that row's error code (-1..-4). Rows the mode
  // does not use are ignored.
  std::array<double, 3> JulianDates{-1.0, -1.0, -1.0};
  // The world-date row's zone offset in minutes east of Greenwich and its local
  // day value (day number + fraction of the local day, no zone). A NaN local
  // day value is derived from the Julian date and the zone.
  int WorldZoneMinutes = 0;
  double WorldLocalDay = -1.0;
  bool Radians = false;  // optRadians: angles in the cells as radians
  // The applying/separating marks (two positions more per aspect), the cell
  // and summary texts. A search step that only counts patterns leaves them
  // out and computes the whole table again where it stops.
  bool Marks = true;
};

struct ComputeStatus {
  bool Ok = true;
  int BadRow = -1;     // the first row (in the mode's order) that failed
  int ErrorCode = 0;   // its code, -1..-4
};

// One aspect of the last table, in the order the pair search found it.
struct FoundAspect {
  int Planet1 = 0;     // first planet as the duration records define it
  int Planet2 = 0;
  int Kind = 0;
  double Deviation = 0.0;  // radians
  int Sign = 0;            // -1 applying, 0, +1 separating (0 in Synastry)
  bool Bold = false;
  int CellIndex = -1;
};

// The texts of a click on an aspect cell; Act is false when the click only
// moves the focus (static modes, cells without aspect, excluded kinds).
struct AspectClickInfo {
  bool Act = false;
  int PlanetA = 0;     // World: row planet; Personal: natal planet
  int PlanetB = 0;     // World: column planet; Personal: transiting planet
  int Kind = 0;
  int OrbColumn = 0;
  double Beginning = -1.0;  // day numbers, -1 = not known
  double End = -1.0;
  std::string Sentence;     // "Mars square to Saturn"
  std::string OrbText;      // "With an orb of 6° 0' this square\r\nbegins on ..."
  // Personal transits with both dates known: the window draws the transit's
  // course instead of asking.
  bool ShowGraph = false;
  // The yes/no question otherwise: sentence, " ", text 162, two line breaks,
  // the orb text and "?".
  std::string Question;
};

// Where a click on an aspect cell leads. The window acts on it; the searches
// have run already when the outcome is Graph or Question.
enum class AspectClickOutcome {
  FocusOnly,  // Natal aspects, Synastry: nothing moves, so there is nothing to time
  Nothing,    // no aspect in the cell (position, glyph, empty) or an excluded kind
  Graph,      // Personal transits with both dates known: draw the transit's course
  Question,   // offer the durations report of the whole table
};
AspectClickOutcome OutcomeOfAspectClick(Mode tableMode, const AspectClickInfo& info);

// The plain statement of a clicked aspect: the sentence, two line breaks and
// the orb text, for telling the user when the aspect begins and ends without
// offering anything further.
std::string AspectClickStatement(const AspectClickInfo& info);

// One duration record with its parts, as GetDurations built it.
struct DurationEntry {
  std::string Record;   // the 39 characters
  int Planet1 = 0;
  int Planet2 = 0;
  int Kind = 0;
  double Deviation = 0.0;
  bool Searched = false;  // beginning/end were searched (transit modes)
  double Beginning = -1.0;
  double End = -1.0;
};

class AspectEngine {
 public:
  explicit AspectEngine(EngineServices services = {});

  EngineServices Services;

  // ---- module-wide tables ----
  bool PlutoAvailable = true;   // the Pluto table was read at start-up
  int PlanetCount = 9;          // 9 with Pluto data, else 8; refreshed by Compute
  // PlanetLongitudes[set][planet], radians; negative = not available.
  std::array<std::array<double, kPlanetSlots>, 2> PlanetLongitudes{};
  OrbSettings Settings = DefaultOrbSettings();
  OrbTable Orbs = SetOrbs(DefaultOrbSettings());
  std::array<int, 8> AspectCount{};           // slots 1..7
  std::array<int, kNumPatterns> PatternCount{};
  // JulianDates: the slots as the last Compute left them (a bad row's slot
  // holds its error code). TableJulianDates: the dates the current table was
  // computed from, which GetDurations, the cell click and the signs use.
  std::array<double, 3> JulianDates{-1.0, -1.0, -1.0};
  std::array<double, 3> TableJulianDates{-1.0, -1.0, -1.0};
  Mode CurrentMode = Mode::WorldTransits;
  bool Radians = false;
  int WorldZoneMinutes = 0;
  double WorldLocalDay = -1.0;
  AspectTable Table;
  std::vector<FoundAspect> Aspects;
  std::vector<DurationEntry> DurationRecords;
  RunSearchState Run;

  // ---- orbs ----
  // SetOrbs over the given settings: stores them and rebuilds Orbs.
  void ApplyOrbSettings(const OrbSettings& settings);
  // Midpoint orb in radians from the settings (0 when none selected).
  double MidpointOrb() const;

  // ---- Compute ----
  // Converts nothing itself: the request carries the Julian dates of the rows.
  // On a bad row that the mode uses, the row's slot of JulianDates receives the
  // code and everything else stays as it was.
  ComputeStatus Compute(const ComputeRequest& request, const OrbSettings& settings);

  // The applying/separating tests: -1 applying, 0 unchanged, +1 separating.
  int ApplyingSign1(double t, int p1, int p2, int kind, double d) const;
  int ApplyingSign2(double natal, int p, int kind, double d) const;
  // The boldface rule and kind colour for the cell at `index`.
  void FormatAspectCell(int column, int index, int kind, double d);
  int GetTotalNumAspects() const { return vemo::GetTotalNumAspects(Table); }

  // ---- the in-orb tests ----
  // Planets p1, p2 of position set 0, orb column 0. deviation receives
  // |separation - angle| whenever both positions are valid.
  bool IsAspectInOrb(int p1, int p2, int kind, double& deviation) const;
  // Two longitudes against Orb(kind, column); exactness = (orb - dev) / orb,
  // -1 when out of orb, untouched for a negative longitude.
  bool AspectExactness(double lon1, double lon2, int kind, int column,
                       double& exactness) const;

  // ---- patterns (position set 0, orb column 0) ----
  std::string FindGrandTrines(bool abbreviated, int& num);
  std::string FindKites(bool abbreviated, int& num);
  std::string FindRectangles(bool abbreviated, int& num);
  std::string FindTSquares(bool abbreviated, int& num);
  std::string FindGrandCrosses(bool abbreviated, int& num);
  std::string FindYods(bool abbreviated, int& num);
  std::string FindYodKites(bool abbreviated, int& num);
  std::string FindTrapeziums(bool abbreviated, int& num);
  std::string FindStelliums(int size, bool abbreviated, int& num);  // size 3..6
  std::string FindGrandSextiles(bool abbreviated, int& num);
  // The pattern lines of Compute (step 12) and their counts into PatternCount.
  std::string FindAllPatterns();
  // Tell the run search about a pattern (only while planets are sought and not
  // yet found).
  void ReportPatternToRun(const std::string& name, int size, int p1, int p2,
                          int p3, int p4 = 0, int p5 = 0, int p6 = 0);

  // ---- midpoints ----
  std::string MidpointTest(int a, int b, int c, bool abbreviated) const;
  void CheckForMidpoint(bool abbreviated, int& num, std::string& text);

  // ---- beginning and end (World and Personal transits) ----
  // Day numbers of the local dates on which the aspect enters / leaves its
  // orb, -1 when not known. a, b: planets (Personal: a natal, b transiting);
  // c: orb column; z: world-date zone offset in minutes east.
  double BeginningOfAspect(int a, int b, int kind, int c, int z) const;
  double EndOfAspect(int a, int b, int kind, int c, int z) const;
  // Rebuilds DurationRecords from the current table.
  void GetDurations();
  // The texts of a click on cell `index`.
  AspectClickInfo AspectCellClick(int index) const;

  // Program text through the services ("" when none is wired).
  std::string Text(int item) const;
  // Longitude through the services (-999 when none is wired).
  double Longitude(int planet, double ajd) const;

 private:
  // IsAspectInOrb that adds the deviation to `sum` when the aspect holds.
  bool Holds(int x, int y, int kind, double& sum) const {
    double d = 0.0;
    if (!InOrb(x, y, kind, d)) return false;
    sum += d;
    return true;
  }
  // IsAspectInOrb, from the pair table while FindAllPatterns has it filled
  // (the pattern finders ask it thousands of times a table).
  bool InOrb(int x, int y, int kind, double& deviation) const {
    if (!pairTableReady_ || x < 0 || x >= kPlanetSlots || y < 0 || y >= kPlanetSlots || kind < 1 ||
        kind > kNumKinds) {
      return IsAspectInOrb(x, y, kind, deviation);
    }
    const double d = pairDeviation_[static_cast<size_t>(kind)][static_cast<size_t>(x)][static_cast<size_t>(y)];
    if (d < 0) return false;
    deviation = d;
    return true;
  }
  // Which pair forms which aspect at position set 0 under column 0's orbs:
  // the deviation, or -1 where it does not hold. FindAllPatterns fills it
  // once (36 separations) for the hundreds of tests of its finders.
  void FillPairTable();
  std::array<std::array<std::array<double, kPlanetSlots>, kPlanetSlots>, kNumKinds + 1> pairDeviation_{};
  bool pairTableReady_ = false;
  std::string PatternLine(int index, bool abbreviated, const std::vector<int>& planets,
                          double mean) const;
  void SetUpGrid(bool twoDate);
  std::string PositionCellText(double x) const;
  std::string AspectCellText(int kind, double d, int sign, bool withSign) const;
  double SearchFromMidnight(int a, int b, int kind, int c, int z, bool forward) const;
  double DayNumberForMidnight(double t, int z) const;
};

// The 39-character duration record: planets, kind, deviation (radians), and
// either the dashes of the static modes, the blanks of a midpoint line or the
// beginning, end and duration.
enum class RecordDates { Dashes, Blanks, Searched };
std::string MakeDurationRecord(int planet1, int planet2, int kind, double deviation,
                               RecordDates dates, double beginning = -1.0,
                               double end = -1.0);

// Summary texts of the two families from the per-kind counts; text126 and
// text127 are the program texts "no aspects" and "[count] aspects".
std::string OneDateSummary(const std::array<int, 8>& counts, const std::string& text126,
                           const std::string& text127);
std::string TwoDateSummary(const std::array<int, 8>& counts, const std::string& text126,
                           const std::string& text127);

}  // namespace vemo
