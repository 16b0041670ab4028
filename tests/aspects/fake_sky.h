// A sky of our own making for engine tests: each planet moves uniformly from a
// longitude given at a reference date, so every separation and every entry
// into or exit from an orb is known in advance.
#pragma once

#include <array>
#include <map>
#include <string>

#include "app/aspects/engine.h"

namespace vemo::test {

class FakeSky {
 public:
  // Planet p stands at `degrees` at Julian date `jd` and moves `degreesPerDay`.
  // A negative `degrees` is returned unchanged as an error code at every date.
  void Set(double jd, int planet, double degrees, double degreesPerDay = 0.0) {
    auto& e = epochs_[jd];
    e.degrees[static_cast<size_t>(planet)] = degrees;
    e.rate[static_cast<size_t>(planet)] = degreesPerDay;
    e.given[static_cast<size_t>(planet)] = true;
  }
  // Positions before `jd` are not available (-99), as before a data range.
  void DataStartsAt(int planet, double jd) { start_[planet] = jd; }

  // Longitude in radians: taken from the latest epoch at or before t that
  // gives the planet (else the earliest one that does); -101 when none does.
  double Longitude(int planet, double t) {
    ++calls;
    if (auto it = start_.find(planet); it != start_.end() && t < it->second) return -99.0;
    const Epoch* best = nullptr;
    double bestJd = 0.0;
    for (const auto& [jd, e] : epochs_) {
      if (!e.given[static_cast<size_t>(planet)]) continue;
      if (best == nullptr || jd <= t) {
        best = &e;
        bestJd = jd;
      }
    }
    if (best == nullptr) return -101.0;
    const double deg = best->degrees[static_cast<size_t>(planet)];
    if (deg < 0) return deg;
    return NormaliseAngle(DegreesToRadians(deg + best->rate[static_cast<size_t>(planet)] * (t - bestJd)));
  }

  EngineServices Services() {
    EngineServices s;
    s.HelioLongitude = [this](int p, double t) { return Longitude(p, t); };
    s.ProgramText = [](int item) { return "T" + std::to_string(item); };
    s.DayNumberToDateText = [](double day) { return "day " + std::to_string(static_cast<long>(day)); };
    return s;
  }

  long calls = 0;

 private:
  struct Epoch {
    std::array<double, 11> degrees{};
    std::array<double, 11> rate{};
    std::array<bool, 11> given{};
  };
  std::map<double, Epoch> epochs_;
  std::map<int, double> start_;
};

// A Julian date at 12:00 UT, i.e. local noon in Greenwich, of day number `day`.
inline double NoonOf(int day) { return static_cast<double>(day); }

}  // namespace vemo::test
