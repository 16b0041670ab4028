// Where the aspect-event search looks. All planets are sampled on one grid
// of instants shared by all pairs (each planet's longitude computed once per
// grid instant). The step keeps every pair's change of D between two grid
// instants below kGridAngle (well under a quarter turn, so D unwraps without
// doubt), close enough for the cubic through four samples to guess each
// crossing within its minute or the next.
//
// The .dac records of Jupiter..Neptune change at 0h UT on 1 January of each
// year divisible by five and a longitude may step there by up to 3" (the
// records are fitted separately). Each such instant is a grid instant with a
// second one 0.86 s before it, so no smooth interval holds a step and a level
// inside a step is crossed at the record boundary itself. Where a planet's
// positions begin or end inside the span, the edge is found by bisection and
// the stretch without positions is a gap.
#include <algorithm>
#include <cmath>

#include "app/aspects/event_search.h"

namespace vemo::event_search {

// Day number of 1 January of a proleptic Gregorian year (1 January 2000 is
// 2451545): the days-from-civil count of the March-based year, in which
// January is day 306 of the year before.
long long DayNumberOfNewYear(long long year) {
  const long long y = year - 1;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + 306;
  return era * 146097 + doe - 719468 + 2440588;
}

double NewYearAJD(long long year) { return static_cast<double>(DayNumberOfNewYear(year)) - 0.5; }

long long RecordYearOf(double t) {
  long long year = static_cast<long long>(std::floor(2000.0 + (t - 2451544.5) / 365.2425));
  year -= ((year % 5) + 5) % 5;
  while (NewYearAJD(year) > t) year -= 5;
  while (NewYearAJD(year + 5) <= t) year += 5;
  return year;
}

double Search::StepOf(const std::vector<int>& pairs) const {
  double step = kMaxGridStepDays;
  for (int i : pairs) {
    const Pair& pair = pairs_[static_cast<size_t>(i)];
    if (pair.maxRate > 0) step = std::min(step, kGridAngle / pair.maxRate);
  }
  return step;
}

std::vector<GridPoint> Search::Grid(double a, double b, double step) const {
  // Knots: the ends and the record boundaries between them.
  std::vector<double> knots{a};
  std::vector<char> isRecord{0};
  for (long long year = RecordYearOf(a);; year += 5) {
    const double r = NewYearAJD(year);
    if (r > b) break;
    if (r > a) {
      knots.push_back(r);
      isRecord.push_back(1);
    }
  }
  if (knots.back() < b) {
    knots.push_back(b);
    isRecord.push_back(0);
  }
  std::vector<GridPoint> grid;
  for (size_t k = 0; k + 1 < knots.size(); ++k) {
    const double k0 = knots[k];
    const double len = knots[k + 1] - k0;
    const int n = std::max(1, static_cast<int>(std::ceil(len / step)));
    for (int i = 0; i < n; ++i) grid.push_back({k0 + i * (len / n), false});
    if (isRecord[k + 1]) {
      const double lead = knots[k + 1] - kRecordLeadDays;
      if (lead > grid.back().t)
        grid.push_back({lead, true});
      else
        grid.back().leadsRecord = true;
    }
  }
  grid.push_back({b, false});
  return grid;
}

double Search::DataEdge(int planet, double inside, double outside) {
  for (int i = 0; i < kMaxEdgeSteps && std::fabs(outside - inside) > kBracketDays; ++i) {
    const double mid = 0.5 * (inside + outside);
    if (GridPosition(planet, mid) >= 0)
      inside = mid;
    else
      outside = mid;
  }
  return inside;
}

std::vector<std::pair<double, double>> Search::Available(int planet, const std::vector<GridPoint>& grid) {
  std::vector<std::pair<double, double>> spans;
  const size_t n = grid.size();
  std::vector<char> ok(n);
  for (size_t i = 0; i < n; ++i) ok[i] = GridPosition(planet, grid[i].t) >= 0;
  size_t i = 0;
  double gapFrom = grid.front().t;
  bool inGap = false;
  while (i < n) {
    if (!ok[i]) {
      if (!inGap) {
        inGap = true;
        gapFrom = i == 0 ? grid.front().t : DataEdge(planet, grid[i - 1].t, grid[i].t);
      }
      ++i;
      continue;
    }
    size_t j = i;
    while (j + 1 < n && ok[j + 1]) ++j;
    const double s = i == 0 ? grid.front().t : DataEdge(planet, grid[i].t, grid[i - 1].t);
    const double e = j + 1 == n ? grid.back().t : DataEdge(planet, grid[j].t, grid[j + 1].t);
    if (inGap) {
      result_.gaps.push_back({planet, gapFrom, s});
      inGap = false;
    }
    spans.emplace_back(s, e);
    if (j + 1 < n) {
      inGap = true;
      gapFrom = e;
    }
    i = j + 1;
  }
  if (inGap) result_.gaps.push_back({planet, gapFrom, grid.back().t});
  return spans;
}

std::vector<std::vector<Track>> Search::Scan(const std::vector<int>& pairs,
                                             const std::vector<std::vector<char>>& masks, double a,
                                             double b) {
  const std::vector<GridPoint> grid = Grid(a, b, StepOf(pairs));
  std::array<std::vector<std::pair<double, double>>, kPlanetSlots> spans;
  std::array<bool, kPlanetSlots> sampled{};
  for (int i : pairs) {
    const Pair& pair = pairs_[static_cast<size_t>(i)];
    for (int p : {pair.natalFixed ? 0 : pair.planet1, pair.planet2}) {
      if (p == 0 || sampled[static_cast<size_t>(p)]) continue;
      sampled[static_cast<size_t>(p)] = true;
      spans[static_cast<size_t>(p)] = Available(p, grid);
    }
  }
  std::vector<std::vector<Track>> out(pairs.size());
  for (size_t n = 0; n < pairs.size(); ++n) {
    const Pair& pair = pairs_[static_cast<size_t>(pairs[n])];
    std::vector<std::pair<double, double>> both = spans[static_cast<size_t>(pair.planet2)];
    if (!pair.natalFixed) {
      std::vector<std::pair<double, double>> meet;
      for (const auto& s1 : spans[static_cast<size_t>(pair.planet1)]) {
        for (const auto& s2 : both) {
          const double s = std::max(s1.first, s2.first);
          const double e = std::min(s1.second, s2.second);
          if (s <= e) meet.emplace_back(s, e);
        }
      }
      both = meet;
    }
    for (const auto& [s, e] : both) {
      std::vector<Sample> samples;
      auto add = [&](double t, int index, bool leads) {
        const std::optional<double> d = Difference(pair, t, true);
        if (d) samples.push_back({t, *d, index, leads});
      };
      auto from =
          std::lower_bound(grid.begin(), grid.end(), s, [](const GridPoint& g, double v) { return g.t < v; });
      if (from == grid.end() || from->t != s) add(s, -1, false);
      for (auto it = from; it != grid.end() && it->t <= e; ++it) {
        add(it->t, static_cast<int>(it - grid.begin()), it->leadsRecord);
      }
      if (samples.empty() || samples.back().t != e) add(e, -1, false);
      if (samples.empty()) continue;
      Track run;
      run.start = samples.front().t;
      run.end = samples.back().t;
      run.startIsDataEdge = run.start > a;
      run.endIsDataEdge = run.end < b;
      ScanRun(pair, masks[n], samples, run);
      out[n].push_back(std::move(run));
    }
  }
  return out;
}

}  // namespace vemo::event_search
