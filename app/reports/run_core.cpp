#include "app/reports/run_core.h"

#include <algorithm>
#include <optional>

#include "app/aspects/date_rows.h"
#include "app/aspects/vocabulary.h"
#include "app/reports/number_words.h"
#include "app/reports/report_core.h"
#include "platform/ordalin/ordalin.h"

namespace vemo::reports {

int RepeatedSoughtPlanet(const std::array<int, kNumSoughtPlanetLists>& planets) {
  for (size_t i = 0; i < planets.size(); ++i) {
    for (size_t j = i + 1; j < planets.size(); ++j) {
      if (planets[i] > 0 && planets[i] == planets[j]) return planets[i];
    }
  }
  return 0;
}

RunCriteria MakeRunCriteria(int patternIndex, const std::array<int, kNumSoughtPlanetLists>& planets,
                            bool twoOrMore, int numToFind) {
  RunCriteria c;
  c.patternIndex = (patternIndex >= 0 && patternIndex < kNumPatterns) ? patternIndex : -1;
  for (size_t i = 0; i < planets.size(); ++i) {
    c.soughtPlanets[i] = std::max(0, planets[i]);
    if (c.soughtPlanets[i] > 0) ++c.numPlanetsSought;
  }
  c.planetsGiven = c.numPlanetsSought > 0;
  c.twoOrMore = twoOrMore;
  c.numToFind = std::clamp(numToFind, kMinNumToFind, kMaxNumToFind);
  return c;
}

void StartRunState(RunSearchState& run, const RunCriteria& criteria) {
  run.InProgress = true;
  run.AspectPatternToFind = criteria.patternIndex;
  run.PlanetsSought = criteria.planetsGiven;
  run.NumPlanetsSought = criteria.numPlanetsSought;
  run.SoughtPlanets = criteria.soughtPlanets;
  run.SoughtPlanetsFound = false;
  run.NumPlanetsFound = 0;
}

void EndRunState(RunSearchState& run) { run.InProgress = false; }

void BeforeRunCompute(RunSearchState& run) {
  run.SoughtPlanetsFound = false;
  run.NumPlanetsFound = 0;
}

int RunCompletionCount(const AspectEngine& engine, const RunCriteria& criteria) {
  const int p = criteria.patternIndex;
  if (p < 0 || p >= kNumPatterns) return 0;
  const int n = engine.PatternCount[static_cast<size_t>(p)];
  if (n < (criteria.twoOrMore ? criteria.numToFind : 1)) return 0;
  if (criteria.planetsGiven && !engine.Run.SoughtPlanetsFound) return 0;
  return n;
}

std::string RunFoundMessage(const RunCriteria& criteria, int count,
                            const std::function<std::string(int)>& text) {
  std::string message;
  if (criteria.twoOrMore) {
    // "Three grand trines found", "Zwei Große Kreuze gefunden".
    message = PatternCountPhrase(criteria.patternIndex, count, NamesLanguage()) + " " + text(7);
    if (!message.empty() && message[0] >= 'a' && message[0] <= 'z') message[0] = static_cast<char>(message[0] - 'a' + 'A');
  } else {
    message = PatternName(criteria.patternIndex) + " " + text(7);
  }
  if (criteria.planetsGiven) {
    message += std::string(kCrLf) + text(422);
    for (int planet : criteria.soughtPlanets) {
      if (planet > 0) message += " " + PlanetName(planet);
    }
  }
  return message + ".";
}

StepCalendar DateLibraryStepCalendar() {
  // The date library decides which days exist; days of a month are the
  // distance between the day numbers of two first days.
  StepCalendar cal;
  cal.dateExists = [](int year, int month, int day) {
    EuroDate d{year, month, day, ORDALIN_GREGORIAN, 0, 0};
    euro_date_to_jdn(&d);
    return d.valid != 0;
  };
  cal.daysInMonth = [](int year, int month) {
    EuroDate first{year, month, 1, ORDALIN_GREGORIAN, 0, 0};
    EuroDate next{month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1, 1, ORDALIN_GREGORIAN, 0, 0};
    return static_cast<int>(euro_date_to_jdn(&next) - euro_date_to_jdn(&first));
  };
  return cal;
}

RunSearchResult SearchForPattern(AspectEngine& engine, const DateRow& start, const RunSearchOptions& options,
                                 const std::function<std::string(int)>& text) {
  RunSearchResult result;
  const DateConversion first = InputDateToAJDate(start, options.localZoneIndex);
  result.row = first.row;
  if (!first.ok()) {
    result.end = RunSearchEnd::Refused;
    result.badRow = 0;
    result.errorCode = static_cast<int>(first.value);
    return result;
  }
  result.lastAjd = first.value;
  if (options.jobs > 1) {
    result = SearchForPatternOnThreads(engine, first, options, options.jobs);
    if (result.end == RunSearchEnd::Found) result.message = RunFoundMessage(options.criteria, result.count, text);
    return result;
  }
  const StepCalendar calendar = DateLibraryStepCalendar();
  StartRunState(engine.Run, options.criteria);
  std::array<DateRow, 3> rows{first.row, DateRow{}, DateRow{}};
  // Steps count patterns without the marks and texts of a table; the last
  // rows computed are computed again in full where the search ends, so the
  // table left behind is the one Compute gives for that date.
  std::optional<std::array<DateRow, 3>> computedLight;
  while (true) {
    StepDate date{rows[0].yearText, rows[0].monthIndex, rows[0].dayIndex, rows[0].hourIndex};
    if (!StepWorldDate(date, options.step, true, calendar)) {
      result.end = RunSearchEnd::Stopped;
      break;
    }
    std::array<DateRow, 3> next = rows;
    next[0].yearText = date.yearText;
    next[0].monthIndex = date.month;
    next[0].dayIndex = date.day;
    next[0].hourIndex = date.hourEntry;
    BeforeRunCompute(engine.Run);
    const ComputeStatus status = ComputeFromRows(engine, Mode::WorldTransits, next, options.localZoneIndex,
                                                 options.settings, false, false);
    if (status.Ok) computedLight = next;
    if (!status.Ok) {
      // The last date tested in full, and the refused one over it as before
      // (its row's slot holds the refusal's code).
      if (computedLight) {
        BeforeRunCompute(engine.Run);
        ComputeFromRows(engine, Mode::WorldTransits, *computedLight, options.localZoneIndex, options.settings,
                        false);
        computedLight.reset();
        BeforeRunCompute(engine.Run);
        ComputeFromRows(engine, Mode::WorldTransits, next, options.localZoneIndex, options.settings, false,
                        false);
      }
      result.end = RunSearchEnd::Refused;
      result.badRow = status.BadRow;
      result.errorCode = status.ErrorCode;
      break;
    }
    if (engine.JulianDates[0] > options.lastAjd) {
      result.end = RunSearchEnd::PastLast;
      break;
    }
    rows = next;
    ++result.steps;
    result.lastAjd = engine.JulianDates[0];
    result.row = rows[0];
    if (const int n = RunCompletionCount(engine, options.criteria); n > 0) {
      result.end = RunSearchEnd::Found;
      result.count = n;
      result.message = RunFoundMessage(options.criteria, n, text);
      break;
    }
    if (options.progress && result.steps % kRunProgressSteps == 0 &&
        !options.progress(result.steps, result.lastAjd)) {
      result.end = RunSearchEnd::Stopped;
      break;
    }
  }
  if (computedLight) {
    BeforeRunCompute(engine.Run);
    ComputeFromRows(engine, Mode::WorldTransits, *computedLight, options.localZoneIndex, options.settings, false);
  }
  EndRunState(engine.Run);
  return result;
}

}  // namespace vemo::reports
