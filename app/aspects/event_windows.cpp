// The windows in orb of the aspect-event search: the crossings of each
// stretch of positions become windows from entering to leaving with their
// exact instants; a window cut by the span is followed past it, in reaches
// that double, to its true entering and leaving instants; then windows and
// events are put in time order and the gaps without positions merged.
#include <algorithm>
#include <cmath>

#include "app/aspects/event_search.h"

namespace vemo::event_search {

std::vector<Search::Beyond> Search::Extend(int pairIndex, const std::vector<int>& bands, double t0,
                                           int direction) {
  std::vector<Beyond> out(bands.size());
  std::vector<char> open(bands.size(), 1);
  std::vector<char> mask(bands_.size(), 0);
  for (int b : bands) mask[static_cast<size_t>(b)] = 1;
  auto slot = [&](int band) {
    for (size_t i = 0; i < bands.size(); ++i) {
      if (bands[i] == band && open[i]) return static_cast<int>(i);
    }
    return -1;
  };
  double t = t0;
  double length = kFirstReachDays;
  while (std::any_of(open.begin(), open.end(), [](char c) { return c != 0; })) {
    if (std::fabs(t - t0) >= kMaxReachDays) break;
    const double a = direction < 0 ? t - length : t;
    const double b = direction < 0 ? t : t + length;
    const std::vector<Track> runs = Scan({pairIndex}, {mask}, a, b)[0];
    const Track* run = nullptr;
    for (const Track& r : runs) {
      if ((direction < 0 && r.end == t) || (direction > 0 && r.start == t)) run = &r;
    }
    if (run == nullptr) break;  // no positions at t itself
    if (direction < 0) {
      for (auto it = run->crossings.rbegin(); it != run->crossings.rend(); ++it) {
        const int i = slot(it->band);
        if (i < 0) continue;
        if (it->event == EventKind::Exact) out[static_cast<size_t>(i)].exact.push_back(it->t);
        if (it->event == EventKind::Enters) {
          out[static_cast<size_t>(i)].instant = it->t;
          out[static_cast<size_t>(i)].known = true;
          open[static_cast<size_t>(i)] = 0;
        }
      }
    } else {
      for (const Crossing& c : run->crossings) {
        const int i = slot(c.band);
        if (i < 0) continue;
        if (c.event == EventKind::Exact) out[static_cast<size_t>(i)].exact.push_back(c.t);
        if (c.event == EventKind::Leaves) {
          out[static_cast<size_t>(i)].instant = c.t;
          out[static_cast<size_t>(i)].known = true;
          open[static_cast<size_t>(i)] = 0;
        }
      }
    }
    // Positions end inside this stretch: the instant stays unknown.
    if (direction < 0 ? run->startIsDataEdge : run->endIsDataEdge) break;
    std::fill(mask.begin(), mask.end(), 0);
    for (size_t i = 0; i < bands.size(); ++i) {
      if (open[i]) mask[static_cast<size_t>(bands[i])] = 1;
    }
    t = direction < 0 ? a : b;
    length *= 2.0;
  }
  for (Beyond& beyond : out) std::sort(beyond.exact.begin(), beyond.exact.end());
  return out;
}

void MergeGaps(std::vector<PositionGap>& gaps) {
  std::sort(gaps.begin(), gaps.end(), [](const PositionGap& a, const PositionGap& b) {
    if (a.planet != b.planet) return a.planet < b.planet;
    return a.fromAJD < b.fromAJD;
  });
  std::vector<PositionGap> merged;
  for (const PositionGap& g : gaps) {
    if (!merged.empty() && merged.back().planet == g.planet &&
        g.fromAJD <= merged.back().toAJD + kBracketDays) {
      merged.back().toAJD = std::max(merged.back().toAJD, g.toAJD);
    } else {
      merged.push_back(g);
    }
  }
  gaps = std::move(merged);
}

void Search::Run(double from, double to, bool extendBefore, bool extendAfter) {
  std::vector<int> all(pairs_.size());
  for (size_t i = 0; i < pairs_.size(); ++i) all[i] = static_cast<int>(i);
  const std::vector<std::vector<char>> masks(pairs_.size(), std::vector<char>(bands_.size(), 1));
  const std::vector<std::vector<Track>> runs =
      bands_.empty() ? std::vector<std::vector<Track>>(pairs_.size()) : Scan(all, masks, from, to);

  std::vector<AspectWindow>& windows = result_.windows;
  for (size_t n = 0; n < pairs_.size(); ++n) {
    const Pair& pair = pairs_[n];
    std::vector<std::pair<int, size_t>> openAtFrom;  // band, window
    std::vector<std::pair<int, size_t>> openAtTo;
    for (const Track& run : runs[n]) {
      std::vector<long> open(bands_.size(), -1);
      auto openWindow = [&](int band, double enters) {
        AspectWindow w;
        w.planet1 = pair.planet1;
        w.planet2 = pair.planet2;
        w.kind = bands_[static_cast<size_t>(band)].kind;
        w.orb = bands_[static_cast<size_t>(band)].orb;
        w.enters = enters;
        windows.push_back(std::move(w));
        open[static_cast<size_t>(band)] = static_cast<long>(windows.size() - 1);
      };
      for (size_t b = 0; b < bands_.size(); ++b) {
        if (!run.inBandAtStart[b]) continue;
        openWindow(static_cast<int>(b), kUnknown);
        if (!run.startIsDataEdge) openAtFrom.emplace_back(static_cast<int>(b), windows.size() - 1);
      }
      for (const Crossing& c : run.crossings) {
        long& w = open[static_cast<size_t>(c.band)];
        switch (c.event) {
          case EventKind::Enters:
            if (w < 0) openWindow(c.band, c.t);
            break;
          case EventKind::Exact:
            if (w >= 0) windows[static_cast<size_t>(w)].exact.push_back(c.t);
            break;
          case EventKind::Leaves:
            if (w >= 0) {
              windows[static_cast<size_t>(w)].leaves = c.t;
              w = -1;
            }
            break;
        }
      }
      for (size_t b = 0; b < bands_.size(); ++b) {
        if (open[b] < 0) continue;
        if (!run.endIsDataEdge) openAtTo.emplace_back(static_cast<int>(b), static_cast<size_t>(open[b]));
      }
    }
    // The true entering and leaving instants of the windows cut by the span.
    for (int direction : {-1, 1}) {
      const auto& cut = direction < 0 ? openAtFrom : openAtTo;
      if (cut.empty()) continue;
      if (!(direction < 0 ? extendBefore : extendAfter)) {
        // The stretch next to this one completes them.
        for (const auto& [band, w] : cut) {
          AspectWindow& window = windows[w];
          if (direction < 0) {
            window.joinsBefore = true;
            window.entersBeforeSpan = true;
          } else {
            window.joinsAfter = true;
            window.leavesAfterSpan = true;
          }
        }
        continue;
      }
      std::vector<int> bands;
      for (const auto& [band, w] : cut) bands.push_back(band);
      const std::vector<Beyond> beyond =
          Extend(static_cast<int>(n), bands, direction < 0 ? from : to, direction);
      for (size_t i = 0; i < cut.size(); ++i) {
        AspectWindow& w = windows[cut[i].second];
        const Beyond& x = beyond[i];
        if (direction < 0) {
          w.enters = x.known ? x.instant : kUnknown;
          w.entersBeforeSpan = !x.known || x.instant < from;
        } else {
          w.leaves = x.known ? x.instant : kUnknown;
          w.leavesAfterSpan = !x.known || x.instant > to;
        }
        w.exact.insert(w.exact.end(), x.exact.begin(), x.exact.end());
        std::sort(w.exact.begin(), w.exact.end());
      }
    }
  }

  std::stable_sort(windows.begin(), windows.end(), [](const AspectWindow& a, const AspectWindow& b) {
    if (a.enters != b.enters) return a.enters < b.enters;
    if (a.planet1 != b.planet1) return a.planet1 < b.planet1;
    if (a.planet2 != b.planet2) return a.planet2 < b.planet2;
    return a.kind < b.kind;
  });
  for (size_t i = 0; i < windows.size(); ++i) {
    const AspectWindow& w = windows[i];
    auto add = [&](EventKind kind, double t, double deviation) {
      if (t >= from && t <= to) {
        result_.events.push_back({kind, t, w.planet1, w.planet2, w.kind, deviation, static_cast<int>(i)});
      }
    };
    if (w.enters >= 0) add(EventKind::Enters, w.enters, w.orb);
    for (double t : w.exact) add(EventKind::Exact, t, 0.0);
    if (w.leaves >= 0) add(EventKind::Leaves, w.leaves, w.orb);
  }
  std::stable_sort(result_.events.begin(), result_.events.end(),
                   [](const AspectEvent& a, const AspectEvent& b) {
                     if (a.ajd != b.ajd) return a.ajd < b.ajd;
                     if (a.planet1 != b.planet1) return a.planet1 < b.planet1;
                     if (a.planet2 != b.planet2) return a.planet2 < b.planet2;
                     if (a.kind != b.kind) return a.kind < b.kind;
                     return static_cast<int>(a.event) < static_cast<int>(b.event);
                   });

  // One gap per stretch: the scans past the span meet the main one's gaps.
  MergeGaps(result_.gaps);
}


}  // namespace vemo::event_search
