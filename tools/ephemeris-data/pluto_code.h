// The daily Pluto table "hpluto.2199.slx": one line per day from 1 January 1600
// (day index k = 0, day number 2305448) to 1 January 2200 (k = 219146), each
// line four characters and CR LF. The characters hold the longitude in whole
// degrees, arcminutes and arcseconds in the program's scrambled form:
//   c1 = arcminutes + 60 + (k mod 7)
//   c2 = arcseconds + 60
//   c3 = sixties of degrees + 58 + (k mod 55)
//   c4 = units of degrees + 59
// All codes lie in 58..125, printable ASCII without blanks, so the reader's
// trimming never changes a line. The program decodes them with
// vemo::DecodePlutoLine (app/time/pluto_table.h); this is its inverse.
#ifndef VEMO_TOOLS_EPHEMERIS_DATA_PLUTO_CODE_H
#define VEMO_TOOLS_EPHEMERIS_DATA_PLUTO_CODE_H

#include <string>

namespace ephemeris_data {

inline constexpr int kPlutoFirstDayNumber = 2305448;  // 1 January 1600
inline constexpr int kPlutoDays = 219147;             // to 1 January 2200 inclusive
inline constexpr int kArcsecondsPerCircle = 1296000;

// Rounds a longitude in degrees to the nearest arcsecond and reduces it into
// [0, 1296000) arcseconds (359 59' 59.6" becomes 0 0' 0").
int RoundToArcseconds(double degrees);

// The four characters of day index k for a longitude in whole arcseconds,
// 0 <= arcseconds < 1296000.
std::string EncodePlutoDay(int k, int arcseconds);

}  // namespace ephemeris_data

#endif
