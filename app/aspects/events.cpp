// Aspect events to the minute: the bounds of the planets' motion that the
// search leans on, setting up one search (its bands, levels and pairs), and
// the two entry points, FindAspectEvents and FindWindowAt. How the search
// works is told in event_search.h and the files it names.
#include "app/aspects/events.h"
#include "app/time/date_texts.h"  // InProgramLanguage

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "app/aspects/event_search.h"

namespace vemo {

std::array<bool, kPlanetSlots> AllPlanets() {
  std::array<bool, kPlanetSlots> all{};
  for (int p = 1; p <= kMaxPlanets; ++p) all[static_cast<size_t>(p)] = true;
  return all;
}

PlanetMotionBounds HeliocentricMotionBounds() {
  PlanetMotionBounds b;
  b.maxDegreesPerDay = kMaxHeliocentricMotionDegreesPerDay;
  // Aphelion speeds n (1 - e)^2 / (1 - e^2)^1.5 (Standish's J2000 elements)
  // lowered by 10 %. Pluto's daily table steps, rounded to whole arcseconds,
  // may fall 2"/day (0.00056°/day) below the orbit's 0.00247°/day; the least
  // step seen over 1600-2199 is 0.0025°/day.
  b.minDegreesPerDay = {0.0, 0.85, 2.45, 1.42, 0.39, 0.067, 0.027, 0.0095, 0.0052, 0.0017, 0.0};
  // 2 e n^2 max(sin v (1 + e cos v)^3) / (1 - e^2)^3 of the orbits: Earth
  // 5.7e-4, Mercury 0.16, Venus 6.1e-4, Mars 9.5e-4, Jupiter 1.2e-5, Saturn
  // 2.1e-6, Uranus 2.3e-7, Neptune 1.1e-8, Pluto 2.0e-7 °/day^2. The served
  // positions reach 6.6e-4, 0.162, 7.8e-4, 9.6e-4, 1.2e-5, 2.4e-6, 2.6e-7 and
  // 2.8e-8 (second differences within .dac records, 1600-2199); Neptune's
  // perturbations by Uranus more than double its orbit's value.
  b.maxAccelerationDegreesPerDay2 = {
      0.0,
      1.5e-3,  // Earth
      0.3,     // Mercury
      1.6e-3,  // Venus
      2.0e-3,  // Mars
      2.5e-5,  // Jupiter
      5.0e-6,  // Saturn
      6.0e-7,  // Uranus
      8.0e-8,  // Neptune
      5.0e-7,  // Pluto (the smooth motion under its table)
      0.0,
  };
  b.dailyTable[kPluto] = true;
  b.tableErrorDegrees[kPluto] = 1.0 / 3600.0;  // half an arcsecond of rounding, doubled
  return b;
}

namespace event_search {

std::string Search::CheckBounds(int planet) const {
  const auto i = static_cast<size_t>(planet);
  const PlanetMotionBounds& m = request_.motion;
  const double lo = m.minDegreesPerDay[i];
  const double hi = m.maxDegreesPerDay[i];
  const double acc = m.maxAccelerationDegreesPerDay2[i];
  const double err = m.tableErrorDegrees[i];
  if (!std::isfinite(lo) || !std::isfinite(hi) || !(lo <= hi) || !(acc >= 0) || !std::isfinite(acc) ||
      !(err >= 0) || !std::isfinite(err)) {
    return ProgramLanguage() == kGerman ? "Die Bewegungsgrenzen von " + PlanetName(planet) + " sind nicht verwendbar."
                                        : "The motion bounds of " + PlanetName(planet) + " are not usable.";
  }
  return "";
}

void Search::Set(std::optional<std::pair<int, int>> onlyPair, int onlyKind) {
  const Mode mode = request_.mode;
  const bool personal = IsPersonalMode(mode);
  if (!personal && mode != Mode::WorldTransits) {
    error_ = InProgramLanguage("Aspect events are searched in World transits and Personal transits only.",
                               "Aspektereignisse werden nur in den Welttransiten und den pers\u00F6nlichen Transiten gesucht.");
    return;
  }
  if (request_.planetCount < 1 || request_.planetCount > kMaxPlanets) {
    error_ = InProgramLanguage("The number of planets must lie between 1 and 9.",
                               "Die Zahl der Planeten muss zwischen 1 und 9 liegen.");
    return;
  }
  if (personal && !(request_.birthAJD >= 0 && std::isfinite(request_.birthAJD))) {
    error_ = InProgramLanguage("Personal transits need a birthdate.", "Pers\u00F6nliche Transite brauchen ein Geburtsdatum.");
    return;
  }
  std::vector<int> planets;
  for (int p = 1; p <= request_.planetCount; ++p) {
    if (!request_.planets[static_cast<size_t>(p)]) continue;
    if (onlyPair && p != onlyPair->first && p != onlyPair->second) continue;
    const std::string bad = CheckBounds(p);
    if (!bad.empty()) {
      error_ = bad;
      return;
    }
    planets.push_back(p);
  }

  const OrbTable orbs = SetOrbs(request_.settings);
  const auto column = static_cast<size_t>(OrbColumnOfMode(mode));
  for (int k = 1; k <= kNumKinds; ++k) {
    if (!request_.kinds[static_cast<size_t>(k)]) continue;
    if (onlyKind != 0 && k != onlyKind) continue;
    const double orb = orbs.Orb[static_cast<size_t>(k)][column];
    if (!(orb > 0)) continue;
    const double angle = AspectAngle(k);
    bands_.push_back({k, angle, orb});
    if (k != kConjunction && k != kOpposition) bands_.push_back({k, kFullCircle - angle, orb});
  }
  for (size_t b = 0; b < bands_.size(); ++b) {
    const Band& band = bands_[b];
    const int i = static_cast<int>(b);
    for (const auto& [role, value] : {std::pair{Role::Lower, band.target - band.orb},
                                      std::pair{Role::Exact, band.target},
                                      std::pair{Role::Upper, band.target + band.orb}}) {
      levels_.push_back({i, role, value, event_search::WrapPi(value)});
    }
  }

  const PlanetMotionBounds& m = request_.motion;
  auto rad = [](double degrees) { return DegreesToRadians(degrees); };
  auto make = [&](int p1, int p2) {
    const auto i1 = static_cast<size_t>(p1);
    const auto i2 = static_cast<size_t>(p2);
    Pair pair;
    pair.planet1 = p1;
    pair.planet2 = p2;
    double lo = rad(m.minDegreesPerDay[i2]);
    double hi = rad(m.maxDegreesPerDay[i2]);
    pair.accel = rad(m.maxAccelerationDegreesPerDay2[i2]);
    pair.daily = m.dailyTable[i2];
    pair.tableError = m.dailyTable[i2] ? rad(m.tableErrorDegrees[i2]) : 0.0;
    if (!personal) {
      lo -= rad(m.maxDegreesPerDay[i1]);
      hi -= rad(m.minDegreesPerDay[i1]);
      pair.accel += rad(m.maxAccelerationDegreesPerDay2[i1]);
      pair.daily = pair.daily || m.dailyTable[i1];
      if (m.dailyTable[i1]) pair.tableError += rad(m.tableErrorDegrees[i1]);
    }
    pair.mayTurn = lo <= 0.0 && hi >= 0.0;
    pair.maxRate = std::max(std::fabs(lo), std::fabs(hi));
    return pair;
  };
  if (personal) {
    const double birth = request_.birthAJD;
    for (int a : planets) {
      if (onlyPair && a != onlyPair->first) continue;
      const double natal = Position(a, birth);
      if (!(natal >= 0)) {
        // No natal position: no transit to this planet (its events stop
        // before they begin).
        result_.gaps.push_back({a, birth, birth});
        continue;
      }
      for (int b : planets) {
        if (onlyPair && b != onlyPair->second) continue;
        Pair pair = make(a, b);
        pair.natalFixed = true;
        pair.natal = natal;
        pairs_.push_back(pair);
      }
    }
  } else {
    for (size_t i = 0; i < planets.size(); ++i) {
      for (size_t j = i + 1; j < planets.size(); ++j) pairs_.push_back(make(planets[i], planets[j]));
    }
  }
}

}  // namespace event_search

namespace {

// Why a request cannot be searched at all, or "" (the search itself tests
// the planets and their bounds).
std::string Refusal(const EngineServices& services, const EventSearchRequest& request) {
  if (!services.HelioLongitude) return InProgramLanguage("No positions are available.", "Es sind keine Positionen verf\u00FCgbar.");
  if (!std::isfinite(request.fromAJD) || !std::isfinite(request.toAJD) || request.fromAJD < 0 ||
      request.toAJD < request.fromAJD) {
    return InProgramLanguage("The span must run forward between two valid dates.",
                             "Der Zeitraum muss vorw\u00E4rts zwischen zwei g\u00FCltigen Daten laufen.");
  }
  return "";
}

// The streamed result gathered into the lists of EventSearchResult.
class Gatherer : public EventReceiver {
 public:
  bool Window(const AspectWindow& window, long found, const std::vector<PositionGap>&) override {
    if (static_cast<size_t>(found) >= place_.size()) place_.resize(static_cast<size_t>(found) + 1, 0);
    if (window.enters >= 0) {
      place_[static_cast<size_t>(found)] = static_cast<long>(known_.size());
      known_.push_back(window);
    } else {
      unknown_.push_back({found, window});
    }
    return true;
  }
  bool Event(const AspectEvent& event, const AspectWindow&) override {
    events_.push_back(event);
    return true;
  }

  // The lists in their order: windows whose entering is not known first, by
  // pair and kind (then as found), the events pointing into the list.
  void Into(EventSearchResult& result) {
    std::stable_sort(unknown_.begin(), unknown_.end(), [](const auto& a, const auto& b) {
      const AspectWindow& x = a.second;
      const AspectWindow& y = b.second;
      if (x.planet1 != y.planet1) return x.planet1 < y.planet1;
      if (x.planet2 != y.planet2) return x.planet2 < y.planet2;
      if (x.kind != y.kind) return x.kind < y.kind;
      return a.first < b.first;
    });
    const long first = static_cast<long>(unknown_.size());
    for (long& p : place_) p += first;
    result.windows.clear();
    result.windows.reserve(unknown_.size() + known_.size());
    for (size_t i = 0; i < unknown_.size(); ++i) {
      place_[static_cast<size_t>(unknown_[i].first)] = static_cast<long>(i);
      result.windows.push_back(std::move(unknown_[i].second));
    }
    for (AspectWindow& w : known_) result.windows.push_back(std::move(w));
    result.events = std::move(events_);
    for (AspectEvent& e : result.events) e.window = static_cast<int>(place_[static_cast<size_t>(e.window)]);
  }

 private:
  std::vector<AspectWindow> known_;
  std::vector<std::pair<long, AspectWindow>> unknown_;
  std::vector<AspectEvent> events_;
  std::vector<long> place_;  // found number -> place in its list
};

}  // namespace

EventSearchResult FindAspectEvents(const EngineServices& services, const EventSearchRequest& request) {
  EventSearchResult result;
  result.error = Refusal(services, request);
  if (!result.error.empty()) return result;
  // The search of the whole span, or (with threads or progress) only the
  // test of the request: each stretch has a search of its own.
  event_search::Search search(services, request, result, std::nullopt, 0);
  if (!search.ok()) {
    result = EventSearchResult{};
    result.error = search.error();
    return result;
  }
  if (request.jobs > 1 || request.progress) {
    result = EventSearchResult{};
    Gatherer gatherer;
    EventStreamResult streamed;
    event_search::RunInStretches(services, request, gatherer, streamed);
    gatherer.Into(result);
    result.gaps = std::move(streamed.gaps);
    result.positionsComputed = streamed.positionsComputed;
  } else {
    search.Run(request.fromAJD, request.toAJD);
  }
  result.ok = true;
  return result;
}

EventStreamResult StreamAspectEvents(const EngineServices& services, const EventSearchRequest& request,
                                     EventReceiver& receiver) {
  EventStreamResult result;
  result.error = Refusal(services, request);
  if (!result.error.empty()) return result;
  EventSearchResult unused;
  if (const event_search::Search search(services, request, unused, std::nullopt, 0); !search.ok()) {
    result.error = search.error();
    return result;
  }
  event_search::RunInStretches(services, request, receiver, result);
  result.ok = true;
  return result;
}

WindowAtResult FindWindowAt(const EngineServices& services, const EventSearchRequest& request, int planet1,
                            int planet2, int kind, double ajd) {
  WindowAtResult out;
  if (!services.HelioLongitude || !std::isfinite(ajd) || ajd < 0) return out;
  if (kind < 1 || kind > kNumKinds || planet1 < 1 || planet2 < 1 || planet1 > request.planetCount ||
      planet2 > request.planetCount) {
    return out;
  }
  const bool personal = IsPersonalMode(request.mode);
  if (!personal && planet1 == planet2) return out;
  if (!personal && planet1 > planet2) std::swap(planet1, planet2);
  EventSearchRequest one = request;
  one.kinds.fill(false);
  one.kinds[static_cast<size_t>(kind)] = true;
  one.planets.fill(false);
  one.planets[static_cast<size_t>(planet1)] = true;
  one.planets[static_cast<size_t>(planet2)] = true;
  EventSearchResult result;
  event_search::Search search(services, one, result, std::make_pair(planet1, planet2), kind);
  if (!search.ok()) return out;
  search.Run(ajd, ajd);
  for (const AspectWindow& w : result.windows) {
    if (w.planet1 == planet1 && w.planet2 == planet2 && w.kind == kind) {
      out.ok = true;
      out.window = w;
      break;
    }
  }
  return out;
}

}  // namespace vemo
