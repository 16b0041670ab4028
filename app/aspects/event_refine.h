// Root finding for the aspect-event search. The instant reported is the
// whole UT minute whose half-minute either side holds the change, the same
// whatever span the search began with. SettleMinute reaches it from a guess
// interpolated on the grid (most often the guess's own minute: two
// evaluations); where the guess is off by more than a few minutes, Brent's
// method narrows the crossing to a bracket under 58 s wide (inverse quadratic
// and secant steps guarded by bisection) and OnItsMinute settles it.
#pragma once

#include <cfloat>
#include <cmath>

#include "app/aspects/event_search.h"

namespace vemo::event_search {

// The whole UT minute whose half-minute either side holds the change of side
// of g near t (startPositive: the side before it). Where the grid and the
// brackets fell depends on the span searched; the minute does not, so a
// search begun on another day reports the same instants. t lies within 29 s
// of the change, so the minute is t's, or one either side. Returns t itself
// where a position is missing.
template <class G>
double OnItsMinute(G&& g, double t, bool startPositive) {
  // Minutes counted from JD 0 (whole numbers, so the same minute is always
  // the same double).
  double minute = std::round(t * 1440.0);
  for (int attempt = 0; attempt < 3; ++attempt) {
    const double before = g((minute - 0.5) / 1440.0);
    const double after = g((minute + 0.5) / 1440.0);
    if (std::isnan(before) || std::isnan(after)) return t;
    if ((before > 0) != startPositive) {
      minute -= 1.0;  // changed before this minute
    } else if ((after > 0) == startPositive) {
      minute += 1.0;  // not yet changed
    } else {
      return minute / 1440.0;
    }
  }
  return t;
}

// Brent's method for the change of side of g (side: g > 0) between a and b,
// ga and gb on different sides. Returns the middle of a bracket narrower
// than kBracketDays, or the instant at which g is exactly 0.
template <class G>
double Refine(G&& g, double a, double b, double ga, double gb) {
  double c = a;
  double gc = ga;
  double d = b - a;
  double e = d;
  for (int iteration = 0; iteration < 200; ++iteration) {
    if (std::fabs(gc) < std::fabs(gb)) {
      a = b;
      b = c;
      c = a;
      ga = gb;
      gb = gc;
      gc = ga;
    }
    const double tol1 = 2.0 * DBL_EPSILON * std::fabs(b) + 0.5 * kBracketDays;
    const double xm = 0.5 * (c - b);
    if (gb == 0.0) return b;
    if (std::fabs(xm) <= tol1) return b + xm;
    if (std::fabs(e) >= tol1 && std::fabs(ga) > std::fabs(gb)) {
      const double s = gb / ga;
      double p = 0.0;
      double q = 0.0;
      if (a == c) {
        p = 2.0 * xm * s;
        q = 1.0 - s;
      } else {
        const double qa = ga / gc;
        const double r = gb / gc;
        p = s * (2.0 * xm * qa * (qa - r) - (b - a) * (r - 1.0));
        q = (qa - 1.0) * (r - 1.0) * (s - 1.0);
      }
      if (p > 0.0)
        q = -q;
      else
        p = -p;
      if (2.0 * p < 3.0 * xm * q - std::fabs(tol1 * q) && p < std::fabs(0.5 * e * q)) {
        e = d;
        d = p / q;
      } else {
        d = xm;
        e = d;
      }
    } else {
      d = xm;
      e = d;
    }
    a = b;
    ga = gb;
    b += std::fabs(d) > tol1 ? d : (xm > 0 ? tol1 : -tol1);
    gb = g(b);
    if (std::isnan(gb)) return b;  // no position there: the best we have
    if ((gb > 0.0) == (gc > 0.0)) {
      c = a;
      gc = ga;
      d = b - a;
      e = d;
    }
  }
  return 0.5 * (b + c);
}

// The minute of the change of side of g between a and b (ga, gb on
// different sides), starting from guess: the edges of the guessed minute are
// evaluated; where the change lies outside them, the line through the two
// edge values gives the next minute, within the bracket they narrow. A
// monotone g changes side once, so the minute found is the one OnItsMinute
// finds. After a few minutes without it, or where a position is missing,
// Brent's method and OnItsMinute take over, as before there was a guess.
//
// With the slope of g near the guess (per day; 0 where none is known), one
// edge comes first: the half-minute edge nearest the guess. The line through
// its value with that slope names the minute, and where the edge is one of
// that minute's own, its other edge settles it: two evaluations whenever the
// change lies within a minute of the edge.
template <class G>
double SettleMinute(G&& g, double guess, double a, double b, double ga, double gb, double slope = 0.0) {
  const bool first = ga > 0;
  double lo = a;
  double hi = b;
  double glo = ga;
  double ghi = gb;
  double minute = std::round(guess * 1440.0);
  if (slope != 0.0 && std::isfinite(slope)) {
    const double j = std::floor(guess * 1440.0);  // the edge (j + 0.5) / 1440
    const double edge = (j + 0.5) / 1440.0;
    const double e = g(edge);
    if (!std::isnan(e)) {
      const bool changed = (e > 0) != first;
      if (changed) {
        if (edge < hi) hi = edge, ghi = e;
      } else if (edge > lo) {
        lo = edge, glo = e;
      }
      double at = edge - e / slope;
      if (!(at > lo && at < hi)) at = 0.5 * (lo + hi);
      const double m = std::round(at * 1440.0);
      if (changed && m == j) {
        const double t0 = (m - 0.5) / 1440.0;
        const double e0 = g(t0);
        if (!std::isnan(e0) && (e0 > 0) == first) return m / 1440.0;
        if (!std::isnan(e0) && t0 < hi) hi = t0, ghi = e0;
      } else if (!changed && m == j + 1.0) {
        const double t1 = (m + 0.5) / 1440.0;
        const double e1 = g(t1);
        if (!std::isnan(e1) && (e1 > 0) != first) return m / 1440.0;
        if (!std::isnan(e1) && t1 > lo) lo = t1, glo = e1;
      }
      minute = m;
    }
  }
  for (int attempt = 0; attempt < 4; ++attempt) {
    const double t0 = (minute - 0.5) / 1440.0;
    const double t1 = (minute + 0.5) / 1440.0;
    const double e0 = g(t0);
    const double e1 = g(t1);
    if (std::isnan(e0) || std::isnan(e1)) break;
    const bool changed0 = (e0 > 0) != first;
    const bool changed1 = (e1 > 0) != first;
    if (!changed0 && changed1) return minute / 1440.0;
    if (changed0) {
      if (t0 < hi) hi = t0, ghi = e0;
    } else if (t1 > lo) {
      lo = t1, glo = e1;
    }
    if (!(lo < hi)) break;
    // Where the line through the edges meets zero, kept inside the bracket.
    double next = e1 != e0 ? t0 - e0 * (t1 - t0) / (e1 - e0) : 0.5 * (lo + hi);
    if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
    double m = std::round(next * 1440.0);
    if (m == minute) m += changed0 ? -1.0 : 1.0;
    minute = m;
  }
  return OnItsMinute(g, Refine(g, lo, hi, glo, ghi), first);
}

}  // namespace vemo::event_search