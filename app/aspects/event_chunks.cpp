// The aspect-event search in stretches: for threads (each stretch searched
// on its own), for progress (stretches finish in order) and for long spans
// (each stretch's windows and events are passed on once they are final, so
// that memory does not grow with the span). The span is cut at half-minute
// instants, where no event can lie (events are on whole minutes), and every
// instant is settled on the minute whatever the stretch, so the stretches'
// events, put one after the other, are the events of the whole span. A
// window open where the span was cut is left open by the search of each
// stretch and joined to its other pieces here; only the first and the last
// stretch follow their windows past the span, as the search of the whole
// span does.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "app/aspects/event_search.h"

namespace vemo::event_search {

namespace {

// Stretches of at least a year (shorter ones would mostly repeat the work at
// their ends), about eight per thread so that threads finish together, and
// at most 25 years, so that a few stretches' windows and events (about
// 43,000 events each in World transits) are what is held of a long span,
// besides the events behind a window that stays open for decades.
constexpr double kShortestStretchDays = 366.0;
constexpr double kLongestStretchDays = 25.0 * 365.25;
constexpr int kStretchesPerJob = 8;
constexpr int kStretchesForProgress = 8;

std::vector<double> Cuts(double from, double to, int jobs, bool progress) {
  const double span = to - from;
  int wanted = jobs > 1 ? jobs * kStretchesPerJob : 1;
  if (progress) wanted = std::max(wanted, kStretchesForProgress);
  wanted = std::max(wanted, static_cast<int>(std::ceil(span / kLongestStretchDays)));
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

bool Before(const AspectWindow& a, const AspectWindow& b) {
  if (a.enters != b.enters) return a.enters < b.enters;
  if (a.planet1 != b.planet1) return a.planet1 < b.planet1;
  if (a.planet2 != b.planet2) return a.planet2 < b.planet2;
  return a.kind < b.kind;
}

// Joins the stretches' results, taken in order, and passes on what is final.
class Joiner {
 public:
  explicit Joiner(EventReceiver& receiver) : receiver_(receiver), open_(kKeys, -1), stillOpen_(kKeys, -1) {}

  // Stretch `part`, the next in order; horizon: where the next stretch
  // begins (infinity for the last). False when the receiver stopped.
  bool Add(EventSearchResult& part, double horizon) {
    std::fill(stillOpen_.begin(), stillOpen_.end(), -1);
    std::vector<long> place;
    place.reserve(part.windows.size());
    for (AspectWindow& w : part.windows) {
      const size_t key = KeyOf(w);
      const long partner = w.joinsBefore ? open_[key] : -1;
      const bool joinsAfter = w.joinsAfter;
      long id = partner;
      if (partner < 0) {
        id = next_++;
        Held& h = held_[id];
        h.window = std::move(w);
        h.window.joinsBefore = false;
        if (h.window.enters >= 0) {
          // After every window that does not come after it: the order of a
          // stable sort by entering, pair and kind.
          const auto at = std::upper_bound(known_.begin(), known_.end(), id, [this](long x, long y) {
            return Before(held_.at(x).window, held_.at(y).window);
          });
          known_.insert(at, id);
        } else {
          unknown_.push_back(id);
        }
      } else {
        AspectWindow& whole = held_.at(id).window;
        whole.exact.insert(whole.exact.end(), w.exact.begin(), w.exact.end());
        whole.leaves = w.leaves;
        whole.leavesAfterSpan = w.leavesAfterSpan;
      }
      Held& h = held_.at(id);
      h.window.joinsAfter = false;
      if (joinsAfter) {
        stillOpen_[key] = id;
      } else {
        h.whole = true;
        std::sort(h.window.exact.begin(), h.window.exact.end());
      }
      place.push_back(id);
    }
    std::swap(open_, stillOpen_);
    for (AspectEvent e : part.events) {
      e.window = static_cast<int>(place[static_cast<size_t>(e.window)]);
      ++held_.at(e.window).eventsWaiting;
      events_.push_back(e);
    }
    gaps_.insert(gaps_.end(), part.gaps.begin(), part.gaps.end());
    MergeGaps(gaps_);
    positions_ += part.positionsComputed;
    part = EventSearchResult{};
    return PassOn(horizon);
  }

  size_t WindowsHeld() const { return held_.size(); }
  size_t EventsHeld() const { return events_.size(); }
  std::vector<PositionGap>& Gaps() { return gaps_; }
  long long Positions() const { return positions_; }

 private:
  static constexpr size_t kKeys = kPlanetSlots * kPlanetSlots * (kNumKinds + 1);
  static size_t KeyOf(const AspectWindow& w) {
    return (static_cast<size_t>(w.planet1) * kPlanetSlots + static_cast<size_t>(w.planet2)) * (kNumKinds + 1) +
           static_cast<size_t>(w.kind);
  }

  struct Held {
    AspectWindow window;
    bool whole = false;
    bool passed = false;  // given to Window()
    long eventsWaiting = 0;
  };

  void Release(long id) {
    const Held& h = held_.at(id);
    if (h.whole && h.passed && h.eventsWaiting == 0) held_.erase(id);
  }

  bool PassWindow(long id) {
    Held& h = held_.at(id);
    h.passed = true;
    const bool more = receiver_.Window(h.window, id, gaps_);
    Release(id);
    return more;
  }

  bool PassOn(double horizon) {
    // Windows whose entering is not known: as they close.
    for (size_t i = 0; i < unknown_.size();) {
      const long id = unknown_[i];
      if (!held_.at(id).whole) {
        ++i;
        continue;
      }
      unknown_.erase(unknown_.begin() + static_cast<std::ptrdiff_t>(i));
      if (!PassWindow(id)) return false;
    }
    // The others in order, up to the first still open; a later stretch's
    // windows enter after the horizon.
    while (!known_.empty()) {
      const Held& h = held_.at(known_.front());
      if (!h.whole || !(h.window.enters < horizon)) break;
      const long id = known_.front();
      known_.pop_front();
      if (!PassWindow(id)) return false;
    }
    // Events in order, each once its window is whole.
    while (!events_.empty()) {
      const long id = events_.front().window;
      Held& h = held_.at(id);
      if (!h.whole) break;
      const AspectEvent e = events_.front();
      events_.pop_front();
      --h.eventsWaiting;
      const bool more = receiver_.Event(e, h.window);
      Release(id);
      if (!more) return false;
    }
    return true;
  }

  EventReceiver& receiver_;
  std::unordered_map<long, Held> held_;
  std::deque<long> known_;
  std::vector<long> unknown_;
  std::deque<AspectEvent> events_;
  std::vector<long> open_;
  std::vector<long> stillOpen_;
  std::vector<PositionGap> gaps_;
  long long positions_ = 0;
  long next_ = 0;
};

// The windows and events of a stretch, for the count of what is held.
long long Size(const EventSearchResult& part, bool windows) {
  return static_cast<long long>(windows ? part.windows.size() : part.events.size());
}

}  // namespace

void RunInStretches(const EngineServices& services, const EventSearchRequest& request, EventReceiver& receiver,
                    EventStreamResult& result) {
  const std::vector<double> cuts = Cuts(request.fromAJD, request.toAJD, request.jobs, bool(request.progress));
  const size_t n = cuts.size() - 1;
  const int jobs = std::max(1, std::min(request.jobs, static_cast<int>(n)));
  Joiner joiner(receiver);
  auto search = [&](size_t k, EventSearchResult& part) {
    Search one(services, request, part, std::nullopt, 0);
    one.Run(cuts[k], cuts[k + 1], k == 0, k + 1 == n);
  };
  auto horizon = [&](size_t k) {
    return k + 1 == n ? std::numeric_limits<double>::infinity() : cuts[k + 1];
  };
  auto note = [&](long long windowsAhead, long long eventsAhead) {
    result.mostWindowsHeld =
        std::max(result.mostWindowsHeld, static_cast<long long>(joiner.WindowsHeld()) + windowsAhead);
    result.mostEventsHeld = std::max(result.mostEventsHeld, static_cast<long long>(joiner.EventsHeld()) + eventsAhead);
  };

  if (jobs == 1) {
    for (size_t k = 0; k < n && !result.stopped; ++k) {
      EventSearchResult part;
      search(k, part);
      note(Size(part, true), Size(part, false));
      result.stopped = !joiner.Add(part, horizon(k));
      if (request.progress) request.progress(cuts[k + 1]);
    }
  } else {
    // The threads search stretches; this one joins them in order and passes
    // them on. A thread runs at most `jobs` stretches ahead of the one being
    // joined, so that finished stretches waiting for their turn stay few.
    std::vector<EventSearchResult> parts(n);
    std::vector<char> finished(n, 0);
    std::mutex lock;
    std::condition_variable changed;
    size_t next = 0;
    size_t joining = 0;
    bool stop = false;
    auto work = [&]() {
      std::unique_lock<std::mutex> held(lock);
      for (;;) {
        changed.wait(held, [&] { return stop || next >= n || next < joining + static_cast<size_t>(jobs) + 1; });
        if (stop || next >= n) return;
        const size_t k = next++;
        held.unlock();
        EventSearchResult part;
        search(k, part);
        held.lock();
        parts[k] = std::move(part);
        finished[k] = 1;
        changed.notify_all();
      }
    };
    std::vector<std::thread> threads;
    for (int j = 0; j < jobs; ++j) threads.emplace_back(work);
    for (size_t k = 0; k < n && !result.stopped; ++k) {
      EventSearchResult part;
      long long windowsAhead = 0;
      long long eventsAhead = 0;
      {
        std::unique_lock<std::mutex> held(lock);
        changed.wait(held, [&] { return finished[k] != 0; });
        part = std::move(parts[k]);
        for (size_t i = k + 1; i < n; ++i) {
          windowsAhead += Size(parts[i], true);
          eventsAhead += Size(parts[i], false);
        }
      }
      note(Size(part, true) + windowsAhead, Size(part, false) + eventsAhead);
      result.stopped = !joiner.Add(part, horizon(k));
      {
        std::lock_guard<std::mutex> held(lock);
        joining = k + 1;
        stop = result.stopped;
        changed.notify_all();
      }
      if (request.progress && !result.stopped) request.progress(cuts[k + 1]);
    }
    {
      std::lock_guard<std::mutex> held(lock);
      stop = true;
      changed.notify_all();
    }
    for (std::thread& t : threads) t.join();
  }
  result.gaps = std::move(joiner.Gaps());
  result.positionsComputed = joiner.Positions();
}

}  // namespace vemo::event_search
