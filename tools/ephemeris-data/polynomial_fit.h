// Degree-6 polynomial fits of one coordinate over one record span of an
// outer-planet data file.
//
// The library evaluates each coordinate as sum a(p) t^p, p = 0..6, with
// t = (JD - JD0) / 2000 (units of 2000 days). We fit in the Chebyshev basis on
// the normalised interval x = (JD - JD0) / H in [-1, 1], H the half length of the
// fitted interval in days, by discrete least squares on Chebyshev nodes of the
// first kind; with N > 7 nodes this is the truncated discrete Chebyshev series,
// which is within a few percent of the minimax polynomial for smooth functions
// (Rivlin, "Chebyshev Polynomials", 2nd ed., 1990, ch. 3; Press et al.,
// "Numerical Recipes", 3rd ed., sect. 5.8). The Chebyshev series is then turned
// into the power basis in t.
#ifndef VEMO_TOOLS_EPHEMERIS_DATA_POLYNOMIAL_FIT_H
#define VEMO_TOOLS_EPHEMERIS_DATA_POLYNOMIAL_FIT_H

#include <array>
#include <vector>

namespace ephemeris_data {

inline constexpr int kDegree = 6;
inline constexpr int kCoefficients = kDegree + 1;
// Unit of the library's time argument t, in days.
inline constexpr double kTimeUnitDays = 2000.0;

using PowerCoefficients = std::array<double, kCoefficients>;  // a(0) .. a(6)

// Abscissae of n Chebyshev nodes of the first kind on [-1, 1], in increasing
// order: x_i = -cos(pi (i + 1/2) / n).
std::vector<double> ChebyshevNodes(int n);

// Chebyshev coefficients c(0..6) of the least-squares fit to the values f_i at
// the nodes x_i = ChebyshevNodes(n) (same order), f ~ sum c(j) T_j(x).
std::array<double, kCoefficients> FitChebyshev(const std::vector<double>& values);

// Converts a Chebyshev series in x = (JD - JD0) / half_length_days into the
// power basis in t = (JD - JD0) / 2000.
PowerCoefficients ChebyshevToPowerInT(const std::array<double, kCoefficients>& chebyshev,
                                      double half_length_days);

// Horner evaluation exactly as the library does it: v = a(6), then
// v = v t + a(p) for p = 5 .. 0.
double EvaluatePower(const PowerCoefficients& a, double t);

// Turns a sequence of angles in radians, sampled in time order closely enough
// that consecutive samples differ by less than pi, into a continuous sequence
// (adds multiples of 2 pi). The first value is kept.
void UnwrapRadians(std::vector<double>& angles);

}  // namespace ephemeris_data

#endif
