#include "tools/ephemeris-data/polynomial_fit.h"

#include <cmath>
#include <numbers>

namespace ephemeris_data {

std::vector<double> ChebyshevNodes(int n) {
    std::vector<double> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        x[static_cast<std::size_t>(i)] = -std::cos(std::numbers::pi * (i + 0.5) / n);
    }
    return x;
}

std::array<double, kCoefficients> FitChebyshev(const std::vector<double>& values) {
    // Discrete orthogonality of T_0..T_{n-1} on the n nodes makes the least
    // squares coefficients simple projections: c_j = (2/n) sum f_i T_j(x_i),
    // with c_0 halved. The node order of ChebyshevNodes is reversed with
    // respect to theta_i = pi (i + 1/2) / n, hence T_j(x_i) = (-1)^j cos(j theta_i).
    const int n = static_cast<int>(values.size());
    std::array<double, kCoefficients> c{};
    for (int j = 0; j < kCoefficients; ++j) {
        double sum = 0.0;
        for (int i = 0; i < n; ++i) {
            const double theta = std::numbers::pi * (i + 0.5) / n;
            sum += values[static_cast<std::size_t>(i)] * std::cos(j * theta);
        }
        c[static_cast<std::size_t>(j)] = (j % 2 == 0 ? 1.0 : -1.0) * 2.0 * sum / n;
    }
    c[0] *= 0.5;
    return c;
}

PowerCoefficients ChebyshevToPowerInT(const std::array<double, kCoefficients>& chebyshev,
                                      double half_length_days) {
    // Power-basis coefficients of T_0..T_6 from T_{j+1} = 2x T_j - T_{j-1}.
    double t_poly[kCoefficients][kCoefficients] = {};
    t_poly[0][0] = 1.0;
    t_poly[1][1] = 1.0;
    for (int j = 1; j + 1 < kCoefficients; ++j) {
        for (int p = 0; p < kCoefficients; ++p) {
            double v = -t_poly[j - 1][p];
            if (p > 0) v += 2.0 * t_poly[j][p - 1];
            t_poly[j + 1][p] = v;
        }
    }
    PowerCoefficients in_x{};
    for (int j = 0; j < kCoefficients; ++j) {
        for (int p = 0; p < kCoefficients; ++p) {
            in_x[static_cast<std::size_t>(p)] += chebyshev[static_cast<std::size_t>(j)] * t_poly[j][p];
        }
    }
    // x = t * 2000 / H, so the coefficient of t^p is b(p) (2000 / H)^p.
    const double scale = kTimeUnitDays / half_length_days;
    PowerCoefficients in_t{};
    double factor = 1.0;
    for (int p = 0; p < kCoefficients; ++p) {
        in_t[static_cast<std::size_t>(p)] = in_x[static_cast<std::size_t>(p)] * factor;
        factor *= scale;
    }
    return in_t;
}

double EvaluatePower(const PowerCoefficients& a, double t) {
    double v = a[kDegree];
    for (int p = kDegree - 1; p >= 0; --p) v = v * t + a[static_cast<std::size_t>(p)];
    return v;
}

void UnwrapRadians(std::vector<double>& angles) {
    constexpr double kTwoPi = 2.0 * std::numbers::pi;
    for (std::size_t i = 1; i < angles.size(); ++i) {
        while (angles[i] - angles[i - 1] > std::numbers::pi) angles[i] -= kTwoPi;
        while (angles[i] - angles[i - 1] < -std::numbers::pi) angles[i] += kTwoPi;
    }
}

}  // namespace ephemeris_data
