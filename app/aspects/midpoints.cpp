// Midpoint configurations: a planet standing at the midpoint of two others, or
// at the point opposite that midpoint, within the midpoint orb (5' to 3°).
#include <array>
#include <cmath>
#include <utility>

#include "app/aspects/engine.h"

namespace vemo {

namespace {

// Longitude of planet p in position set 0, -1 when it has none or lies
// beyond the planets of the table.
double MidpointLongitude(const AspectEngine& engine, int p) {
  if (p < 1 || p > kMaxPlanets || p > engine.PlanetCount) return -1.0;
  return engine.PlanetLongitudes[0][static_cast<size_t>(p)];
}

// Planet at x stands at the midpoint of y and z. The plain mean of the two
// longitudes is one of the pair's two midpoints; the point opposite it is the
// other, so both are tried. (y + z) / 2 is the same either way round.
bool AtMidpoint(double x, double y, double z, double orb) {
  const double mid = (y + z) / 2.0;
  if (AspectSeparation(mid, x) < orb) return true;
  return AspectSeparation(NormaliseAngle(mid + kHalfCircle), x) < orb;
}

// "Ma-Ve-Ju" for planets a, b, c when one of them stands at the midpoint of
// the other two (outer planets by number, the centre between), else "".
// at(x, y, z) says whether planet x stands at the midpoint of y and z.
template <class At>
std::string TripleText(const AspectEngine& engine, int a, int b, int c, bool abbreviated, At&& at) {
  const double pa = MidpointLongitude(engine, a);
  const double pb = MidpointLongitude(engine, b);
  const double pc = MidpointLongitude(engine, c);
  if (pa < 0 || pb < 0 || pc < 0) return "";
  if (pa == pb || pa == pc || pb == pc) return "";
  int centre = 0;
  int outer1 = 0;
  int outer2 = 0;
  if (at(a, b, c)) {
    centre = a; outer1 = b; outer2 = c;
  } else if (at(b, a, c)) {
    centre = b; outer1 = a; outer2 = c;
  } else if (at(c, a, b)) {
    centre = c; outer1 = a; outer2 = b;
  } else {
    return "";
  }
  if (outer1 > outer2) std::swap(outer1, outer2);
  auto name = [abbreviated](int planet) { return abbreviated ? PlanetName(planet) : PlanetAbbrev(planet); };
  return name(outer1) + "-" + name(centre) + "-" + name(outer2);
}

}  // namespace

std::string AspectEngine::MidpointTest(int a, int b, int c, bool abbreviated) const {
  const double orb = MidpointOrb();
  return TripleText(*this, a, b, c, abbreviated, [this, orb](int x, int y, int z) {
    return AtMidpoint(MidpointLongitude(*this, x), MidpointLongitude(*this, y), MidpointLongitude(*this, z), orb);
  });
}

void AspectEngine::CheckForMidpoint(bool abbreviated, int& num, std::string& text) {
  text.clear();
  num = 0;
  double d = 0.0;
  const double orb = MidpointOrb();
  // Each triple comes up three times below, in each of its orders: each
  // answer of AtMidpoint is kept (-1 not yet known).
  std::array<signed char, 1000> known;
  known.fill(-1);
  auto at = [&](int x, int y, int z) {
    if (y > z) std::swap(y, z);
    signed char& answer = known[static_cast<size_t>(100 * x + 10 * y + z)];
    if (answer < 0) {
      answer = AtMidpoint(MidpointLongitude(*this, x), MidpointLongitude(*this, y), MidpointLongitude(*this, z),
                          orb);
    }
    return answer != 0;
  };
  for (int i = 1; i <= 8; ++i) {
    for (int j = i + 1; j <= 9; ++j) {
      // A conjunct pair has no distinct midpoint.
      if (InOrb(i, j, kConjunction, d)) continue;
      for (int m = 1; m <= 9; ++m) {
        if (m == i || m == j) continue;
        if (InOrb(m, j, kConjunction, d) || InOrb(m, i, kConjunction, d)) continue;
        const std::string s = TripleText(*this, i, m, j, abbreviated, at);
        // Every loop order of one triple gives the same s (outer planets by
        // number, centre between), so a substring search drops repeats.
        if (s.empty() || text.find(s) != std::string::npos) continue;
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
