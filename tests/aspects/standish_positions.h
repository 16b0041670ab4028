// Heliocentric ecliptic longitudes from the Keplerian elements of
// E. M. Standish, "Keplerian Elements for Approximate Positions of the Major
// Planets" (JPL Solar System Dynamics, Table 1, valid 1800 AD - 2050 AD; mean
// ecliptic and equinox of J2000). The table is a fit to DE405 whose stated
// errors are below 10' for every planet in that span (Saturn and Jupiter the
// worst, a few arcminutes); it is a source independent of the program's own
// theory and data files, used to work out the aspects a table must show.
//
// Earth is taken as the Earth-Moon barycentre (at most 6" from Earth as seen
// from the Sun). Time is the Julian date as given (TDB in the source; the
// difference from UT, about a minute around 2000, moves Mercury by 0.003°).
#pragma once

#include <cmath>

namespace vemo::test {

struct KeplerElements {
  // a (au), e, I (deg), L (deg), long. perihelion (deg), long. node (deg) at
  // J2000, and their rates per Julian century.
  double a, e, I, L, peri, node;
  double da, de, dI, dL, dperi, dnode;
};

// Program planet numbers 1..9 (Earth, Mercury, ..., Pluto).
inline const KeplerElements kStandishTable1[10] = {
    {},
    {1.00000261, 0.01671123, -0.00001531, 100.46457166, 102.93768193, 0.0,
     0.00000562, -0.00004392, -0.01294668, 35999.37244981, 0.32327364, 0.0},
    {0.38709927, 0.20563593, 7.00497902, 252.25032350, 77.45779628, 48.33076593,
     0.00000037, 0.00001906, -0.00594749, 149472.67411175, 0.16047689, -0.12534081},
    {0.72333566, 0.00677672, 3.39467605, 181.97909950, 131.60246718, 76.67984255,
     0.00000390, -0.00004107, -0.00078890, 58517.81538729, 0.00268329, -0.27769418},
    {1.52371034, 0.09339410, 1.84969142, -4.55343205, -23.94362959, 49.55953891,
     0.00001847, 0.00007882, -0.00813131, 19140.30268499, 0.44441088, -0.29257343},
    {5.20288700, 0.04838624, 1.30439695, 34.39644051, 14.72847983, 100.47390909,
     -0.00011607, -0.00013253, -0.00183714, 3034.74612775, 0.21252668, 0.20469106},
    {9.53667594, 0.05386179, 2.48599187, 49.95424423, 92.59887831, 113.66242448,
     -0.00125060, -0.00050991, 0.00193609, 1222.49362201, -0.41897216, -0.28867794},
    {19.18916464, 0.04725744, 0.77263783, 313.23810451, 170.95427630, 74.01692503,
     -0.00196176, -0.00004397, -0.00242939, 428.48202785, 0.40805281, 0.04240589},
    {30.06992276, 0.00859048, 1.77004347, -55.12002969, 44.96476227, 131.78422574,
     0.00026291, 0.00005105, 0.00035372, 218.45945325, -0.32241464, -0.00508664},
    {39.48211675, 0.24882730, 17.14001206, 238.92903833, 224.06891629, 110.30393684,
     -0.00031596, 0.00005170, 0.00004818, 145.20780515, -0.04062942, -0.01183482},
};

// Heliocentric ecliptic longitude in degrees [0, 360) of planet 1..9.
inline double StandishLongitudeDegrees(int planet, double jd) {
  constexpr double kDeg = 3.14159265358979323846 / 180.0;
  const KeplerElements& k = kStandishTable1[planet];
  const double T = (jd - 2451545.0) / 36525.0;
  const double e = k.e + k.de * T;
  const double I = (k.I + k.dI * T) * kDeg;
  const double L = k.L + k.dL * T;
  const double peri = k.peri + k.dperi * T;
  const double node = (k.node + k.dnode * T) * kDeg;
  const double omega = peri * kDeg - node;
  double M = std::fmod(L - peri, 360.0);
  if (M > 180.0) M -= 360.0;
  if (M < -180.0) M += 360.0;
  M *= kDeg;
  double E = M + e * std::sin(M);
  for (int i = 0; i < 30; ++i) E -= (E - e * std::sin(E) - M) / (1.0 - e * std::cos(E));
  const double xp = std::cos(E) - e;  // the semi-major axis drops out of the direction
  const double yp = std::sqrt(1.0 - e * e) * std::sin(E);
  const double co = std::cos(omega), so = std::sin(omega);
  const double cn = std::cos(node), sn = std::sin(node);
  const double ci = std::cos(I);
  const double x = (co * cn - so * sn * ci) * xp + (-so * cn - co * sn * ci) * yp;
  const double y = (co * sn + so * cn * ci) * xp + (-so * sn + co * cn * ci) * yp;
  double lon = std::atan2(y, x) / kDeg;
  if (lon < 0) lon += 360.0;
  return lon;
}

}  // namespace vemo::test
