// Charts of a sky of our own making: the table comes from the real engine
// (Compute over FakeSky positions), the chart input from the engine as the
// window fills it.
#pragma once

#include <array>

#include "app/chart/chart.h"
#include "tests/aspects/fake_sky.h"

namespace vemo::chart::test {

inline constexpr double kWorld = 2460000.0, kBirth1 = 2440000.0, kBirth2 = 2445000.0;

// Degrees of bodies 1..9 (index 0 unused); negative = no position.
using Degrees = std::array<double, 10>;

// Pairs about a multiple of 30° apart: 34 aspects of every kind, a few
// of them bold (under 1° from exact).
inline constexpr Degrees kBusySky{0, 3.0, 33.5, 63.0, 94.0, 123.2, 152.0, 182.5, 214.0, 241.0};

class SkyChart {
 public:
  // Set 0 (world date; 1st birthdate in Synastry) and set 1.
  void Place(const Degrees& set0, const Degrees& set1 = {}) {
    for (int p = 1; p <= 9; ++p) {
      sky.Set(kWorld, p, set0[static_cast<size_t>(p)]);
      sky.Set(kBirth1, p, set1[static_cast<size_t>(p)]);
    }
  }

  // Computes the table of the mode and fills the chart input from it.
  ChartInput Compute(Mode mode, const OrbSettings& settings = DefaultOrbSettings()) {
    ComputeRequest request;
    request.mode = mode;
    request.JulianDates = {kWorld, kBirth1, kBirth2};
    if (mode == Mode::Synastry) request.JulianDates = {kWorld, kWorld, kBirth1};
    request.WorldLocalDay = kWorld + 0.5;
    engine.Compute(request, settings);
    return ChartInput{mode, &engine.Table, engine.PlanetLongitudes, engine.PlanetCount, settings.AspectColours,
                      true, false, false, {"Heliocentric longitudes, equinox J2000",
                      "Aspect lines in the colours of the settings", "Right-click a line to name its aspect"}};
  }

  vemo::test::FakeSky sky;
  AspectEngine engine{sky.Services()};
};

}  // namespace vemo::chart::test
