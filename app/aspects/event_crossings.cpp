// The crossings of a pair's levels between two samples of the grid. Between
// two grid instants a pair whose motions cannot meet (the bounds of
// PlanetMotionBounds keep dD/dt of one sign) is monotone, and a level lies
// between the two values of D exactly when it is crossed once. A pair whose
// relative motion may reverse (Neptune-Pluto; planets of a test sky) is
// monotone on an interval when the chord slope exceeds what the acceleration
// bound lets dD/dt vary by across it; otherwise D can stray from its chord by
// at most K h^2 / 8, and only when a level lies within that reach is the
// interval halved, down to a quarter of a minute, so a short spell near a
// turn is not stepped over. Pluto comes from a table of whole arcseconds at
// 0h UT, linear in between: across a table day its rate may step by 2"/day,
// which the monotony test allows for.
#include <algorithm>
#include <cmath>

#include "app/aspects/event_refine.h"
#include "app/aspects/event_search.h"

namespace vemo::event_search {

bool Search::InBand(int band, double d) const {
  const Band& b = bands_[static_cast<size_t>(band)];
  return WrapPi(d - (b.target - b.orb)) > 0 && WrapPi(d - (b.target + b.orb)) < 0;
}

bool Search::Monotone(const Pair& pair, double a, double b, double dd) const {
  if (!pair.mayTurn) return true;
  const double h = b - a;
  const double slope = std::fabs(dd) / h;
  // Over [a, b] dD/dt differs from the chord slope by at most K h / 2.
  double slack = pair.accel * h / 2.0;
  const double firstNode = std::floor(a + 0.5) + 0.5;  // first 0h UT after a
  if (pair.daily && firstNode < b) {
    // Across a table day the interpolated rate is the smooth rate somewhere
    // within that day plus up to 2 table errors a day, and the chord slope
    // may be off by 2 position errors over h.
    const double positionError = pair.tableError + pair.accel / 8.0;
    slack = pair.accel * (h / 2.0 + 1.0) + 2.0 * pair.tableError + 2.0 * positionError / h;
  }
  return slope > slack;
}

double Search::Reach(const Pair& pair, double a, double b) const {
  const double h = b - a;
  double reach = pair.accel * h * h / 8.0;
  const double firstNode = std::floor(a + 0.5) + 0.5;
  if (pair.daily && firstNode < b) reach += 2.0 * (pair.tableError + pair.accel / 8.0);
  return reach;
}

bool Search::LevelWithin(const std::vector<int>& levels, double d, double dd, double reach) const {
  for (int li : levels) {
    const double x = WrapPi(d - levels_[static_cast<size_t>(li)].value);
    const double lo = std::min(x, x + dd) - reach;
    const double hi = std::max(x, x + dd) + reach;
    if (lo <= 0.0 && hi >= 0.0) return true;
  }
  return false;
}

bool Search::MayCross(const Level& level, double wrapped, double dd) {
  // x = WrapPi(d1 - value) to within a few units of the last place: both
  // terms lie in [-pi, pi], so one turn at most brings the difference back.
  // The margin covers those units, so no level that Crosses() passes fails.
  constexpr double kMargin = 1e-9;
  double x = wrapped - level.wrapped;
  if (x > kHalfCircle) x -= kFullCircle;
  if (x < -kHalfCircle) x += kFullCircle;
  const double lo = std::min(x, x + dd);
  const double hi = std::max(x, x + dd);
  return lo <= kMargin && hi >= -kMargin;
}

bool Search::AnyLevelNear(double wrapped, double dd) const {
  // MayCross reduces by one turn at most; each of the three turns is tried,
  // with twice its margin for the rounding of the bounds.
  constexpr double kMargin = 2e-9;
  const double a = wrapped + std::min(0.0, dd) - kMargin;
  const double b = wrapped + std::max(0.0, dd) + kMargin;
  for (const double shift : {0.0, kFullCircle, -kFullCircle}) {
    const auto it = std::lower_bound(levelsOfRun_.begin(), levelsOfRun_.end(), a + shift);
    if (it != levelsOfRun_.end() && *it <= b + shift) return true;
  }
  return false;
}

bool Search::Crosses(const Level& level, double d1, double d2, double& g1, double& g2) const {
  // Each sample's side comes from its own D, as the band test at a sample
  // does, so that the crossings between samples always agree with the
  // windows open at them. D moves less than a quarter turn between samples,
  // so a change of side took the shorter way round: through the level when
  // |x1| + |x2| < pi, else through the point opposite it.
  const double x1 = WrapPi(d1 - level.value);
  const double x2 = WrapPi(d2 - level.value);
  g1 = Signed(level.role, x1);
  g2 = Signed(level.role, x2);
  return (g1 > 0) != (g2 > 0) && std::fabs(x1) + std::fabs(x2) < kHalfCircle;
}

void Search::AtOneInstant(const std::vector<int>& levels, const Sample& l, const Sample& r, double t,
                          std::vector<Crossing>& out) const {
  const double dd = WrapPi(r.d - l.d);
  for (int li : levels) {
    const Level& level = levels_[static_cast<size_t>(li)];
    double g1 = 0.0;
    double g2 = 0.0;
    if (Crosses(level, l.d, r.d, g1, g2)) out.push_back({t, level.band, EventOf(level.role, dd > 0)});
  }
}

namespace {

// D relative to the left sample at up to four samples of one smooth stretch
// (the left neighbour, left, right, right neighbour), and the instant at
// which the polynomial through them reaches u, found between left and right
// (where it takes 0 and dd exactly). Interpolating the grid's own positions
// costs no position; the guess only saves refinement, the minute is settled
// on positions.
struct Stencil {
  double t[4];
  double u[4];
  int n = 0;

  // The Newton form of the polynomial: c[i] the divided differences.
  void Prepare() {
    for (int i = 0; i < n; ++i) c[i] = u[i];
    for (int k = 1; k < n; ++k) {
      for (int i = n - 1; i >= k; --i) c[i] = (c[i] - c[i - 1]) / (t[i] - t[i - k]);
    }
  }

  double At(double x) const {
    double sum = c[n - 1];
    for (int i = n - 2; i >= 0; --i) sum = sum * (x - t[i]) + c[i];
    return sum;
  }

  // The derivative of the polynomial at x.
  double Slope(double x) const {
    double sum = c[n - 1];
    double slope = 0.0;
    for (int i = n - 2; i >= 0; --i) {
      slope = slope * (x - t[i]) + sum;
      sum = sum * (x - t[i]) + c[i];
    }
    return slope;
  }

  // Regula falsi with the Illinois halving (Dowell and Jarratt, BIT 11
  // (1971) 168) between a and b, where At - target changes sign, to 1e-6 days
  // (0.09 s: the guess names a minute).
  double Reach(double target, double a, double b) const {
    double fa = At(a) - target;
    double fb = At(b) - target;
    if (fa == 0.0) return a;
    if (fb == 0.0 || (fa > 0) == (fb > 0)) return b;
    int kept = 0;  // which end stayed last time: -1 a, +1 b
    for (int i = 0; i < 60 && b - a > 1.0e-6; ++i) {
      double m = b - fb * (b - a) / (fb - fa);
      if (!(m > a && m < b)) m = 0.5 * (a + b);
      const double fm = At(m) - target;
      if (fm == 0.0) return m;
      if ((fm > 0) == (fa > 0)) {
        a = m;
        fa = fm;
        if (kept == 1) fb *= 0.5;
        kept = 1;
      } else {
        b = m;
        fb = fm;
        if (kept == -1) fa *= 0.5;
        kept = -1;
      }
    }
    return 0.5 * (a + b);
  }

 private:
  double c[4] = {};
};

}  // namespace

void Search::Resolve(const Pair& pair, const std::vector<int>& levels, const Sample& l, const Sample& r,
                     double dd, const Sample* before, const Sample* after, std::vector<Crossing>& out) {
  // Most intervals cross nothing: leave them before setting anything up.
  const double wrapped = WrapPi(l.d);
  if (!AnyLevelNear(wrapped, dd)) return;
  bool any = false;
  for (size_t i = 0; i < levels.size() && !any; ++i) {
    const Level& level = levels_[static_cast<size_t>(levels[i])];
    double gl = 0.0;
    double gr = 0.0;
    any = MayCross(level, wrapped, dd) && Crosses(level, l.d, r.d, gl, gr);
  }
  if (!any) return;
  // D relative to l at the instants evaluated so far, by time; one crossing's
  // evaluations narrow the brackets of the next ones.
  struct Point {
    double t;
    double du;
    double err;  // bound of du's error: fitted positions (0: the library's)
  };
  std::vector<Point> points{{l.t, 0.0, 0.0}, {r.t, dd, 0.0}};
  // u at t on the library's positions, where the fitted one came too close
  // to a level to decide its side.
  auto exact = [&](Point& p) {
    if (const std::optional<double> d = Difference(pair, p.t, false)) p.du = WrapPi(*d - l.d);
    p.err = 0.0;
  };
  Stencil stencil;
  if (before != nullptr) {
    stencil.t[stencil.n] = before->t;
    stencil.u[stencil.n++] = -WrapPi(l.d - before->d);
  }
  stencil.t[stencil.n] = l.t;
  stencil.u[stencil.n++] = 0.0;
  stencil.t[stencil.n] = r.t;
  stencil.u[stencil.n++] = dd;
  if (after != nullptr) {
    stencil.t[stencil.n] = after->t;
    stencil.u[stencil.n++] = dd + WrapPi(after->d - r.d);
  }
  stencil.Prepare();
  std::vector<Crossing> found;
  for (int li : levels) {
    const Level& level = levels_[static_cast<size_t>(li)];
    double gl = 0.0;
    double gr = 0.0;
    if (!MayCross(level, wrapped, dd) || !Crosses(level, l.d, r.d, gl, gr)) continue;
    const double x = WrapPi(l.d - level.value);
    // g at point k: the ends keep their own sides.
    auto g = [&](size_t k) {
      if (k == 0) return gl;
      if (k + 1 == points.size()) return gr;
      Point& p = points[k];
      if (p.err > 0.0 && std::fabs(Signed(level.role, x + p.du)) <= p.err) exact(p);
      return Signed(level.role, x + p.du);
    };
    const bool first = gl > 0;
    size_t k = 1;
    while (k + 1 < points.size() && (g(k) > 0) == first) ++k;
    auto side = [&](double at) {
      double err = 0.0;
      const std::optional<double> d = NearDifference(pair, at, err);
      if (!d) return std::nan("");
      Point point{at, WrapPi(*d - l.d), err};
      if (err > 0.0 && std::fabs(Signed(level.role, x + point.du)) <= err) exact(point);
      const auto pos =
          std::lower_bound(points.begin(), points.end(), at, [](const Point& p, double v) { return p.t < v; });
      points.insert(pos, point);
      return Signed(level.role, x + point.du);
    };
    // D reaches the level where x + u = 0 (u between 0 and dd).
    const double guess = stencil.Reach(-x, l.t, r.t);
    const double slope = level.role == Role::Upper ? -stencil.Slope(guess) : stencil.Slope(guess);
    const double t = SettleMinute(side, guess, points[k - 1].t, points[k].t, g(k - 1), g(k), slope);
    found.push_back({t, level.band, EventOf(level.role, dd > 0)});
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const Crossing& a, const Crossing& b) { return a.t < b.t; });
  out.insert(out.end(), found.begin(), found.end());
}

void Search::Smooth(const Pair& pair, const std::vector<int>& levels, const Sample& l, const Sample& r,
                    const Sample* before, const Sample* after, std::vector<Crossing>& out, int depth) {
  const double dd = WrapPi(r.d - l.d);
  if (Monotone(pair, l.t, r.t, dd)) {
    Resolve(pair, levels, l, r, dd, before, after, out);
    return;
  }
  // The relative motion may turn in here: only a level within the reach of
  // D can be crossed, and then possibly more than once.
  if (!LevelWithin(levels, l.d, dd, Reach(pair, l.t, r.t))) return;
  const double h = r.t - l.t;
  if (h <= kFinestStepDays || depth > 60) {
    AtOneInstant(levels, l, r, 0.5 * (l.t + r.t), out);
    return;
  }
  // Split at the middle, or at the table day nearest to it so that the
  // halves come closer to single table days.
  double m = 0.5 * (l.t + r.t);
  if (pair.daily && h > 1.0) {
    const double firstNode = std::floor(l.t + 0.5) + 0.5;
    const double lastNode = std::ceil(r.t + 0.5) - 1.5;
    if (firstNode < r.t) m = std::clamp(std::round(m + 0.5) - 0.5, firstNode, lastNode);
  }
  const std::optional<double> d = Difference(pair, m, false);
  if (!d) {
    AtOneInstant(levels, l, r, m, out);
    return;
  }
  const Sample mid{m, *d, -1, false};
  Smooth(pair, levels, l, mid, nullptr, nullptr, out, depth + 1);
  Smooth(pair, levels, mid, r, nullptr, nullptr, out, depth + 1);
}

void Search::ScanRun(const Pair& pair, const std::vector<char>& mask, const std::vector<Sample>& samples,
                     Track& run) {
  std::vector<int> levels;
  for (size_t li = 0; li < levels_.size(); ++li) {
    if (mask[static_cast<size_t>(levels_[li].band)]) levels.push_back(static_cast<int>(li));
  }
  levelsOfRun_.clear();
  for (int li : levels) levelsOfRun_.push_back(levels_[static_cast<size_t>(li)].wrapped);
  std::sort(levelsOfRun_.begin(), levelsOfRun_.end());
  run.inBandAtStart.assign(bands_.size(), 0);
  for (size_t b = 0; b < bands_.size(); ++b) {
    if (mask[b]) run.inBandAtStart[b] = InBand(static_cast<int>(b), samples.front().d);
  }
  // The step from sample i to i + 1 lies between two .dac records.
  auto recordStep = [&samples](size_t i) {
    const Sample& l = samples[i];
    return l.leadsRecord && l.grid >= 0 && samples[i + 1].grid == l.grid + 1;
  };
  for (size_t i = 0; i + 1 < samples.size(); ++i) {
    const Sample& l = samples[i];
    const Sample& r = samples[i + 1];
    if (recordStep(i)) {
      // The step between two .dac records: crossed at the boundary itself.
      AtOneInstant(levels, l, r, r.t, run.crossings);
    } else {
      // Neighbours on the same side of every record step shape the guess.
      const Sample* before = i > 0 && !recordStep(i - 1) ? &samples[i - 1] : nullptr;
      const Sample* after = i + 2 < samples.size() && !recordStep(i + 1) ? &samples[i + 2] : nullptr;
      Smooth(pair, levels, l, r, before, after, run.crossings, 0);
    }
  }
}

}  // namespace vemo::event_search
