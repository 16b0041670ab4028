// The run search without a window: the criteria the run window collects, the
// test after every computation of a run (has the sought pattern turned up,
// with the sought planets and as often as asked?), its message, and a search
// loop that steps the world date forward as a run does, but without pausing
// between the steps (vemo-cli search, the window tests, the benchmark).
#pragma once

#include <array>
#include <functional>
#include <string>

#include "app/aspects/engine.h"
#include "app/aspects/stepping_core.h"
#include "app/time/dates.h"

namespace vemo::reports {

// Number of planet lists of the run window.
inline constexpr int kNumSoughtPlanetLists = 3;
// "At least this many at once" offers 2..9.
inline constexpr int kMinNumToFind = 2;
inline constexpr int kMaxNumToFind = 9;

// What the run window keeps after Run (and Cancel).
struct RunCriteria {
  bool cancelled = false;
  int patternIndex = -1;  // 0..13 (the pattern names' order); -1 none
  // Planet number of each list (the list position: 0 blank, 1 Earth ..).
  std::array<int, kNumSoughtPlanetLists> soughtPlanets{0, 0, 0};
  int numPlanetsSought = 0;
  bool planetsGiven = false;
  bool twoOrMore = false;
  int numToFind = kMinNumToFind;  // with twoOrMore: at least this many
};

// The planet that two lists name (0 when none does).
int RepeatedSoughtPlanet(const std::array<int, kNumSoughtPlanetLists>& planets);

// Criteria from the window's choices; the count and planetsGiven follow from
// the lists. numToFind is kept within 2..9.
RunCriteria MakeRunCriteria(int patternIndex, const std::array<int, kNumSoughtPlanetLists>& planets,
                            bool twoOrMore, int numToFind);

// A run starts: the engine's run state takes the criteria (the pattern, the
// sought planets and their count), nothing has been found yet, and the
// in-progress flag that lets the 3-stellium rule act is set.
void StartRunState(RunSearchState& run, const RunCriteria& criteria);
// A run ends: the in-progress flag goes; the criteria stay for the next run.
void EndRunState(RunSearchState& run);
// Before every computation of a run: a pattern with the sought planets found
// at an earlier step must not complete this one.
void BeforeRunCompute(RunSearchState& run);

// The test after a run's computation: the number of sought patterns the
// table holds when they complete the run (the pattern chosen, found at least
// once or, with twoOrMore, at least numToFind times, and with the sought
// planets when there are any), else 0 and the run goes on.
int RunCompletionCount(const AspectEngine& engine, const RunCriteria& criteria);

// The message that ends a run: "Grand trine found.", "Three grand trines
// found." (T-square keeps its capital), with CR LF "involving Mars Jupiter"
// before the full stop when planets were sought. text(n) is program text n.
std::string RunFoundMessage(const RunCriteria& criteria, int count,
                            const std::function<std::string(int)>& text);

// The calendar of the date library, which the window's stepping consults.
StepCalendar DateLibraryStepCalendar();

// A run of the World-transits table from a date row, without pauses.
struct RunSearchOptions {
  RunCriteria criteria;
  StepSize step = StepSize::Day;
  // The last instant to test (astronomical Julian date, UT): a step beyond
  // it ends the search without testing.
  double lastAjd = 0.0;
  int localZoneIndex = 0;  // zone entry a blank zone stands for
  OrbSettings settings = DefaultOrbSettings();
  // Called every kRunProgressSteps steps with the steps taken and the
  // instant reached; returning false stops the search.
  std::function<bool(long steps, double ajd)> progress;
  // Threads that compute the steps (1: the calling thread alone). Every
  // number gives the same result; the progress is still called in order,
  // from the calling thread.
  int jobs = 1;
};
inline constexpr long kRunProgressSteps = 256;

enum class RunSearchEnd {
  Found,      // the completion test ended the run
  PastLast,   // the next step would have gone beyond lastAjd
  Refused,    // a step reached a date the program does not accept
  Stopped,    // the progress callback stopped it, or the date cannot be stepped
};

struct RunSearchResult {
  RunSearchEnd end = RunSearchEnd::Stopped;
  long steps = 0;            // computations tested
  double lastAjd = -1.0;     // the instant of the last one tested (the start before any)
  DateRow row;               // its world-date row, as the window would show it
  int count = 0;             // patterns found (Found)
  std::string message;       // the run's message (Found)
  int badRow = -1;           // Refused: the row and its code
  int errorCode = 0;
};

// Starts from `start` (the world-date row as the window holds it before Run;
// it is converted first and must be accepted, else the result is Refused
// with no step taken), steps forward by options.step, computes World transits
// at each new date (ComputeFromRows), and runs the completion test. The
// engine holds the table of the last computation afterwards, and its run
// state is ended.
RunSearchResult SearchForPattern(AspectEngine& engine, const DateRow& start, const RunSearchOptions& options,
                                 const std::function<std::string(int)>& text);

// SearchForPattern over `jobs` worker threads (run_threads.cpp), from the
// first date's conversion; the message is left to SearchForPattern.
RunSearchResult SearchForPatternOnThreads(AspectEngine& engine, const DateConversion& first,
                                          const RunSearchOptions& options, int jobs);

}  // namespace vemo::reports
