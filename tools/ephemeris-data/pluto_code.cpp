#include "tools/ephemeris-data/pluto_code.h"

#include <cmath>

namespace ephemeris_data {

int RoundToArcseconds(double degrees) {
    long long s = std::llround(degrees * 3600.0) % kArcsecondsPerCircle;
    if (s < 0) s += kArcsecondsPerCircle;
    return static_cast<int>(s);
}

std::string EncodePlutoDay(int k, int arcseconds) {
    const int degrees = arcseconds / 3600;
    const int minutes = arcseconds / 60 % 60;
    const int seconds = arcseconds % 60;
    std::string code(4, ' ');
    code[0] = static_cast<char>(minutes + 60 + k % 7);
    code[1] = static_cast<char>(seconds + 60);
    code[2] = static_cast<char>(degrees / 60 + 58 + k % 55);
    code[3] = static_cast<char>(degrees % 60 + 59);
    return code;
}

}  // namespace ephemeris_data
