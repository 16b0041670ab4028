// The aspect-event search in stretches: for threads (each stretch searched
// on its own) and for progress (stretches finish in order). The span is cut
// at half-minute instants, where no event can lie (events are on whole
// minutes), and every instant is settled on the minute whatever the stretch,
// so the stretches' events, put one after the other, are the events of the
// whole span. A window open where the span was cut is left open by the
// search of each stretch and joined to its other pieces here; only the
// first and the last stretch follow their windows past the span, as the
// search of the whole span does.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/aspects/event_search.h"

namespace vemo::event_search {

namespace {

// Stretches of at least a year (shorter ones would mostly repeat the work at
// their ends), about eight per thread so that threads finish together.
constexpr double kShortestStretchDays = 366.0;
constexpr int kStretchesPerJob = 8;

std::vector<double> Cuts(double from, double to, int jobs) {
  const double span = to - from;
  const int wanted = std::max(1, jobs) * kStretchesPerJob;
  const int n = std::max(1, std::min(wanted, static_cast<int>(span / kShortestStretchDays)));
  std::vector<double> cuts{from};
  for (int i = 1; i < n; ++i) {
    // Half a minute past a whole minute.
    const double t = (std::floor((from + span * i / n) * 1440.0) + 0.5) / 1440.0;
    if (t > cuts.back() && t < to) cuts.push_back(t);
  }
  cuts.push_back(to);
  return cuts;
}

}  // namespace

// Joins the stretches' results into the result of the whole span.
void JoinStretches(std::vector<EventSearchResult>& parts, EventSearchResult& result) {
  // Each window's place in the joined list; a piece joined to the one before
  // it takes that one's place.
  std::vector<std::vector<long>> placeOf(parts.size());
  std::vector<AspectWindow> windows;
  size_t pieces = 0;
  size_t events = 0;
  for (const EventSearchResult& part : parts) {
    pieces += part.windows.size();
    events += part.events.size();
  }
  windows.reserve(pieces);
  // Pair and kind -> the window that joins the next stretch (-1: none).
  constexpr size_t kKeys = kPlanetSlots * kPlanetSlots * (kNumKinds + 1);
  auto keyOf = [](const AspectWindow& w) {
    return (static_cast<size_t>(w.planet1) * kPlanetSlots + static_cast<size_t>(w.planet2)) * (kNumKinds + 1) +
           static_cast<size_t>(w.kind);
  };
  std::vector<long> open(kKeys, -1);
  std::vector<long> stillOpen(kKeys, -1);
  for (size_t k = 0; k < parts.size(); ++k) {
    std::fill(stillOpen.begin(), stillOpen.end(), -1);
    placeOf[k].reserve(parts[k].windows.size());
    for (AspectWindow& w : parts[k].windows) {
      const size_t key = keyOf(w);
      const long place = w.joinsBefore ? open[key] : -1;
      const bool joinsAfter = w.joinsAfter;
      long at = place;
      if (place < 0) {
        at = static_cast<long>(windows.size());
        windows.push_back(std::move(w));
        windows.back().joinsBefore = false;
      } else {
        AspectWindow& whole = windows[static_cast<size_t>(place)];
        whole.exact.insert(whole.exact.end(), w.exact.begin(), w.exact.end());
        whole.leaves = w.leaves;
        whole.leavesAfterSpan = w.leavesAfterSpan;
      }
      windows[static_cast<size_t>(at)].joinsAfter = false;
      if (joinsAfter) stillOpen[key] = at;
      placeOf[k].push_back(at);
    }
    std::swap(open, stillOpen);
  }
  // In the order the search of the whole span gives (see Search::Run).
  std::vector<long> order(windows.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<long>(i);
  std::stable_sort(order.begin(), order.end(), [&windows](long x, long y) {
    const AspectWindow& a = windows[static_cast<size_t>(x)];
    const AspectWindow& b = windows[static_cast<size_t>(y)];
    if (a.enters != b.enters) return a.enters < b.enters;
    if (a.planet1 != b.planet1) return a.planet1 < b.planet1;
    if (a.planet2 != b.planet2) return a.planet2 < b.planet2;
    return a.kind < b.kind;
  });
  std::vector<long> sortedPlace(windows.size());
  for (size_t i = 0; i < order.size(); ++i) sortedPlace[static_cast<size_t>(order[i])] = static_cast<long>(i);
  result.windows.clear();
  result.windows.reserve(windows.size());
  result.events.reserve(events);
  for (long i : order) {
    AspectWindow& w = windows[static_cast<size_t>(i)];
    std::sort(w.exact.begin(), w.exact.end());
    result.windows.push_back(std::move(w));
  }
  for (size_t k = 0; k < parts.size(); ++k) {
    for (AspectEvent e : parts[k].events) {
      e.window = static_cast<int>(sortedPlace[static_cast<size_t>(placeOf[k][static_cast<size_t>(e.window)])]);
      result.events.push_back(e);
    }
    result.gaps.insert(result.gaps.end(), parts[k].gaps.begin(), parts[k].gaps.end());
    result.positionsComputed += parts[k].positionsComputed;
  }
  MergeGaps(result.gaps);
}

void RunInStretches(const EngineServices& services, const EventSearchRequest& request,
                    EventSearchResult& result) {
  const std::vector<double> cuts = Cuts(request.fromAJD, request.toAJD, request.jobs);
  const size_t n = cuts.size() - 1;
  std::vector<EventSearchResult> parts(n);
  std::vector<char> finished(n, 0);
  std::mutex lock;
  std::condition_variable changed;
  std::atomic<size_t> next{0};
  auto work = [&]() {
    for (size_t k = next++; k < n; k = next++) {
      EventSearchResult part;
      Search search(services, request, part, std::nullopt, 0);
      search.Run(cuts[k], cuts[k + 1], k == 0, k + 1 == n);
      std::lock_guard<std::mutex> held(lock);
      parts[k] = std::move(part);
      finished[k] = 1;
      changed.notify_all();
    }
  };
  const int jobs = std::max(1, std::min(request.jobs, static_cast<int>(n)));
  std::vector<std::thread> threads;
  // With progress, every job is a thread and this one reports the stretches
  // finished, in order; without, this thread is one of the jobs.
  for (int j = request.progress ? 0 : 1; j < jobs; ++j) threads.emplace_back(work);
  if (request.progress) {
    std::unique_lock<std::mutex> held(lock);
    for (size_t k = 0; k < n; ++k) {
      changed.wait(held, [&] { return finished[k] != 0; });
      held.unlock();
      request.progress(cuts[k + 1]);
      held.lock();
    }
  } else {
    work();
  }
  for (std::thread& t : threads) t.join();
  JoinStretches(parts, result);
}

}  // namespace vemo::event_search
