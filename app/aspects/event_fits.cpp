// Jupiter..Neptune between the grid instants. planets_vemo evaluates each of
// them from a .dac record of five calendar years: its longitude of date is a
// polynomial of degree 6 in time, from which the library subtracts a linear
// precession and whole turns. Unwrapped, the longitude it serves within one
// record is therefore a polynomial of degree 6 in the AJD, and the values at
// seven nodes give it everywhere in the record: the interpolating polynomial
// is the same polynomial. Settling a crossing on its minute then asks the
// library only for the planets that are not fitted (the inner planets and
// Pluto); an outer planet's request costs a system call for the library's
// file check (see planets_vemo.h), a fitted value a few dozen operations.
//
// Error bound. The nodes are the Chebyshev points of the first kind, so the
// Lebesgue constant of the seven is below 2.3 (Rivlin, "The Chebyshev
// Polynomials", 1.5). The library's values carry a few units of the last
// place of a longitude of up to 4 pi before its reductions (< 1e-14 rad), and
// the barycentric formula (Berrut and Trefethen, SIAM Review 46 (2004) 501)
// adds some (3n + 4) units of the last place of the largest value (< 1e-14),
// so a fitted longitude lies within 5e-14 rad of the served one. Two further
// positions in each record must agree within 1e-12 rad, or the record is not
// fitted: a record that is not a polynomial (a position missing, another
// library) is never fitted by mistake. kFitError allows 1e-10 rad, which also
// holds the rounding of D and g computed from the fitted value; a side closer
// to its level than that is decided again on the library's positions, so each
// side decided, and each minute reported, is the one the positions give.
#include <cmath>

#include "app/aspects/event_search.h"

namespace vemo::event_search {

namespace {

// The library's circle (planets_vemo reduces by this double).
constexpr double kTwoPi = 6.283185307179586;
// How far a check position may lie from the fit, radians.
constexpr double kFitCheck = 1.0e-12;
// Where the checks are taken, in the record's [-1, 1] (between nodes).
constexpr double kCheckAt[2] = {-0.5, 0.5};

struct Nodes {
  std::array<double, kFitNodes> x{};  // cos((2j + 1) pi / 2n), in [-1, 1]
  std::array<double, kFitNodes> w{};  // barycentric weights (-1)^j sin((2j + 1) pi / 2n)
  Nodes() {
    const double pi = std::acos(-1.0);
    for (int j = 0; j < kFitNodes; ++j) {
      const double angle = (2.0 * j + 1.0) * pi / (2.0 * kFitNodes);
      x[static_cast<size_t>(j)] = std::cos(angle);
      w[static_cast<size_t>(j)] = (j % 2 == 0 ? 1.0 : -1.0) * std::sin(angle);
    }
  }
};

const Nodes& ChebyshevNodes() {
  static const Nodes nodes;
  return nodes;
}

// The fitted longitude less the reference at u in [-1, 1].
double Interpolate(const RecordFit& fit, double u) {
  const Nodes& n = ChebyshevNodes();
  double num = 0.0;
  double den = 0.0;
  for (size_t j = 0; j < kFitNodes; ++j) {
    const double dx = u - n.x[j];
    if (dx == 0.0) return fit.f[j];
    const double c = n.w[j] / dx;
    num += c * fit.f[j];
    den += c;
  }
  return num / den;
}

// The record of t, [start, end): the library picks it by the Gregorian year
// of t's day.
RecordFit RecordOf(double t) {
  RecordFit fit;
  const long long year = RecordYearOf(t);
  fit.start = NewYearAJD(year);
  fit.end = NewYearAJD(year + 5);
  fit.centre = 0.5 * (fit.start + fit.end);
  fit.half = 0.5 * (fit.end - fit.start);
  return fit;
}

}  // namespace

void Search::Fit(int planet, RecordFit& fit) {
  fit.made = true;
  const Nodes& n = ChebyshevNodes();
  double previous = 0.0;
  for (size_t j = 0; j < kFitNodes; ++j) {
    const double v = Position(planet, fit.centre + fit.half * n.x[j]);
    if (!(v >= 0)) return;
    if (j == 0) {
      fit.reference = v;
    } else {
      // Neighbouring nodes lie at most 0.44 of the half record (400 days)
      // apart, in which Jupiter, the fastest of the four, moves under
      // 0.7 rad: the nearest turn is the right one.
      fit.f[j] = fit.f[j - 1] + std::remainder(v - previous, kTwoPi);
    }
    previous = v;
  }
  for (double u : kCheckAt) {
    const double v = Position(planet, fit.centre + fit.half * u);
    if (!(v >= 0)) return;
    if (!(std::fabs(std::remainder(v - fit.reference - Interpolate(fit, u), kTwoPi)) <= kFitCheck)) return;
  }
  fit.usable = true;
}

bool Search::Fitted(int planet, double t, double& longitude) {
  const auto p = static_cast<size_t>(planet);
  if (!services_.PolynomialRecords[p]) return false;
  std::vector<RecordFit>& fits = fits_[p];
  RecordFit* fit = nullptr;
  for (RecordFit& f : fits) {
    if (t >= f.start && t < f.end) {
      fit = &f;
      break;
    }
  }
  if (fit == nullptr) {
    if (!std::isfinite(t)) return false;
    fits.push_back(RecordOf(t));
    fit = &fits.back();
  }
  if (!fit->made) {
    if (++fit->requests < kFitAfterRequests) return false;
    Fit(planet, *fit);
  }
  if (!fit->usable) return false;
  const double v = fit->reference + Interpolate(*fit, (t - fit->centre) / fit->half);
  longitude = v - kTwoPi * std::floor(v / kTwoPi);
  if (!(longitude < kTwoPi)) longitude = 0.0;
  return true;
}

}  // namespace vemo::event_search
