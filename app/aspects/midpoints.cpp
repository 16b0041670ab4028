// Midpoint configurations: a planet standing at the midpoint of two others, or
// at the point opposite that midpoint, within the midpoint orb (5' to 3°).
#include <array>
#include <cmath>
#include <utility>

#include "app/aspects/engine.h"

namespace vemo {

std::string AspectEngine::MidpointTest(int a, int b, int c, bool abbreviated) const {
  return MidpointTest(a, b, c, abbreviated, MidpointOrb());
}

std::string AspectEngine::MidpointTest(int a, int b, int c, bool abbreviated, double orb) const {
  auto position = [this](int p) {
    if (p < 1 || p > kMaxPlanets || p > PlanetCount) return -1.0;
    return PlanetLongitudes[0][static_cast<size_t>(p)];
  };
  const double pa = position(a);
  const double pb = position(b);
  const double pc = position(c);
  if (pa < 0 || pb < 0 || pc < 0) return "";
  if (pa == pb || pa == pc || pb == pc) return "";

  // Planet at x stands at the midpoint of y and z. The plain mean of the two
  // longitudes is one of the pair's two midpoints; the point opposite it is
  // the other, so both are tried.
  auto atMidpoint = [orb](double x, double y, double z) {
    const double mid = (y + z) / 2.0;
    if (AspectSeparation(mid, x) < orb) return true;
    const double opposite = NormaliseAngle(mid + kHalfCircle);
    return AspectSeparation(opposite, x) < orb;
  };

  int centre = 0;
  int outer1 = 0;
  int outer2 = 0;
  if (atMidpoint(pa, pb, pc)) {
    centre = a; outer1 = b; outer2 = c;
  } else if (atMidpoint(pb, pa, pc)) {
    centre = b; outer1 = a; outer2 = c;
  } else if (atMidpoint(pc, pa, pb)) {
    centre = c; outer1 = a; outer2 = b;
  } else {
    return "";
  }
  if (outer1 > outer2) std::swap(outer1, outer2);
  const std::string& (*name)(int) = abbreviated ? &PlanetName : &PlanetAbbrev;
  return name(outer1) + "-" + name(centre) + "-" + name(outer2);
}

void AspectEngine::CheckForMidpoint(bool abbreviated, int& num, std::string& text) {
  text.clear();
  num = 0;
  double d = 0.0;
  const double orb = MidpointOrb();
  auto position = [this](int p) {
    if (p < 1 || p > kMaxPlanets || p > PlanetCount) return -1.0;
    return PlanetLongitudes[0][static_cast<size_t>(p)];
  };
  // Whether planet x stands at a midpoint of y and z, as MidpointTest tests
  // it: each of the 3 orders of a triple comes up three times below, so each
  // answer is kept (-1 not yet known).
  std::array<signed char, 1000> at;
  at.fill(-1);
  auto atMidpoint = [&](int x, int y, int z) {
    if (y > z) std::swap(y, z);  // (y + z) / 2 is the same either way round
    signed char& known = at[static_cast<size_t>(100 * x + 10 * y + z)];
    if (known < 0) {
      const double mid = (position(y) + position(z)) / 2.0;
      known = AspectSeparation(mid, position(x)) < orb ||
              AspectSeparation(NormaliseAngle(mid + kHalfCircle), position(x)) < orb;
    }
    return known != 0;
  };
  const std::string& (*name)(int) = abbreviated ? &PlanetName : &PlanetAbbrev;
  for (int i = 1; i <= 8; ++i) {
    for (int j = i + 1; j <= 9; ++j) {
      // A conjunct pair has no distinct midpoint.
      if (InOrb(i, j, kConjunction, d)) continue;
      for (int m = 1; m <= 9; ++m) {
        if (m == i || m == j) continue;
        if (InOrb(m, j, kConjunction, d) || InOrb(m, i, kConjunction, d)) continue;
        // MidpointTest(i, m, j), its answers kept.
        const double pa = position(i);
        const double pb = position(m);
        const double pc = position(j);
        if (pa < 0 || pb < 0 || pc < 0 || pa == pb || pa == pc || pb == pc) continue;
        int centre = 0;
        int outer1 = 0;
        int outer2 = 0;
        if (atMidpoint(i, m, j)) {
          centre = i; outer1 = m; outer2 = j;
        } else if (atMidpoint(m, i, j)) {
          centre = m; outer1 = i; outer2 = j;
        } else if (atMidpoint(j, i, m)) {
          centre = j; outer1 = i; outer2 = m;
        } else {
          continue;
        }
        if (outer1 > outer2) std::swap(outer1, outer2);
        const std::string s = name(outer1) + "-" + name(centre) + "-" + name(outer2);
        // Every loop order of one triple gives the same s (outer planets by
        // number, centre between), so a substring search drops repeats.
        if (text.find(s) != std::string::npos) continue;
        if (Run.PlanetsSought && !Run.SoughtPlanetsFound) {
          ReportPatternToRun("Midpoint", 3, i, m, j);
        }
        ++num;
        text += abbreviated ? s + kCrLf : PatternName(kMidpoint) + ": " + s + kCrLf;
      }
    }
  }
}

}  // namespace vemo
