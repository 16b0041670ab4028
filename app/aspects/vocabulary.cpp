#include "app/aspects/vocabulary.h"

#include "app/time/date_texts.h"  // kEnglish

#include <algorithm>
#include <atomic>
#include <cmath>
#include <iterator>

namespace vemo {

namespace {

const std::string kEmpty;

const std::array<std::string, kPlanetSlots> kPlanetNames{
    "", "Earth", "Mercury", "Venus", "Mars", "Jupiter",
    "Saturn", "Uranus", "Neptune", "Pluto", ""};
const std::array<std::string, kPlanetSlots> kPlanetAbbrevs{
    "", "Ea", "Me", "Ve", "Ma", "Ju", "Sa", "Ur", "Ne", "Pl", ""};

const std::array<AspectRecord, 8> kAspects{{
    {"", "", "", "", ""},
    {"Con", "Conjunction", "conjunct", "conjunct", "conjunction (0\u00B0)"},
    {"Opp", "Opposition", "opposite", "opposite", "opposition (180\u00B0)"},
    {"Sqr", "Square", "square to", "square", "square (90\u00B0)"},
    {"Tri", "Trine", "trine to", "trine", "trine (120\u00B0)"},
    {"Sxt", "Sextile", "sextile to", "sextile", "sextile (60\u00B0)"},
    {"Ssx", "Semisextile", "semisextile to", "semisextile", "semisextile (30\u00B0)"},
    {"Qui", "Quincunx", "quincunx to", "quincunx", "quincunx (150\u00B0)"},
}};

constexpr std::array<int, 8> kAngleDegrees{0, 0, 180, 90, 120, 60, 30, 150};

const std::array<std::string, 12> kSignAbbrevs{
    "Ari", "Tau", "Gem", "Can", "Leo", "Vir", "Lib", "Sco", "Sag", "Cap", "Aqu", "Pis"};
const std::array<std::string, 12> kSignNames{
    "Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo", "Libra",
    "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces"};

const std::array<std::string, kNumPatterns> kPatternNames{
    "Grand trine", "Kite", "Rectangle", "T-square", "Grand cross", "Yod", "Yod-kite",
    "Trapezium", "6-Stellium", "5-Stellium", "4-Stellium", "3-Stellium",
    "Grand sextile", "Midpoint"};

// "Starfont Sans" characters: Sun, then Earth..Pluto.
constexpr std::array<char, 10> kPlanetGlyphs{'L', 'f', 'g', 'h', 'j', 'S', 'F', 'G', 'J', 's'};
constexpr std::array<char, 12> kSignGlyphs{'x', 'c', 'v', 'b', 'n', 'm',
                                           'X', 'C', 'V', 'B', 'N', 'M'};

const std::array<Colour, kPaletteSize> kPalette{
    Rgb(255, 255, 0),    // yellow
    Rgb(255, 0, 255),    // magenta
    Rgb(255, 0, 0),      // red
    Rgb(0, 255, 0),      // green
    Rgb(0, 255, 255),    // cyan
    Rgb(128, 128, 128),  // grey
    Rgb(128, 128, 255),  // light blue
    Rgb(0, 0, 255),      // blue
    Rgb(0, 192, 255),    // sky blue
    Rgb(192, 0, 255),    // violet
    Rgb(255, 192, 0),    // orange
    Rgb(128, 64, 0),     // brown
};

const std::array<Colour, 8> kDefaultAspectColours{
    0,
    Rgb(255, 255, 0),    // conjunction yellow      (65535)
    Rgb(255, 0, 255),    // opposition magenta      (16711935)
    Rgb(255, 0, 0),      // square red              (255)
    Rgb(0, 255, 0),      // trine green             (65280)
    Rgb(0, 255, 255),    // sextile cyan            (16776960)
    Rgb(128, 128, 255),  // semisextile light blue  (16744576)
    Rgb(128, 128, 128),  // quincunx grey           (8421504)
};

// Degrees and minutes of an angle as the formatters round them: whole degrees
// with a 0.00001° nudge against representation error just below a whole
// degree, minutes rounded to whole (halves to even, as the decimal rounding
// of the original formatter).
void DegreesMinutes(double radians, int& d, int& m) {
  const double deg = radians / kFullCircle * 360.0;
  d = static_cast<int>(std::floor(deg + 0.00001));
  m = static_cast<int>(std::nearbyint((deg - d) * 60.0));
}

}  // namespace

namespace {

// The language of the one-argument names; process-wide like the program
// text's own language number, and read from the threads that format events.
std::atomic<int> g_namesLanguage{kEnglish};

}  // namespace

void SetNamesLanguage(int language) { g_namesLanguage.store(language); }

int NamesLanguage() { return g_namesLanguage.load(); }

const std::string& detail::EnglishPlanetName(int planet) {
  return (planet >= 0 && planet < kPlanetSlots) ? kPlanetNames[static_cast<size_t>(planet)] : kEmpty;
}

const std::string& detail::EnglishPlanetAbbrev(int planet) {
  return (planet >= 0 && planet < kPlanetSlots) ? kPlanetAbbrevs[static_cast<size_t>(planet)] : kEmpty;
}

const AspectRecord& detail::EnglishAspect(int kind) {
  return (kind >= 1 && kind <= kNumKinds) ? kAspects[static_cast<size_t>(kind)] : kAspects[0];
}

const std::string& detail::EnglishSignAbbrev(int sign) {
  return (sign >= 0 && sign < 12) ? kSignAbbrevs[static_cast<size_t>(sign)] : kEmpty;
}

const std::string& detail::EnglishSignName(int sign) {
  return (sign >= 0 && sign < 12) ? kSignNames[static_cast<size_t>(sign)] : kEmpty;
}

const std::string& detail::EnglishPatternName(int index) {
  return (index >= 0 && index < kNumPatterns) ? kPatternNames[static_cast<size_t>(index)] : kEmpty;
}

const std::string& PlanetName(int planet) { return PlanetName(planet, NamesLanguage()); }
const std::string& PlanetAbbrev(int planet) { return PlanetAbbrev(planet, NamesLanguage()); }
const AspectRecord& Aspect(int kind) { return Aspect(kind, NamesLanguage()); }
const std::string& SignAbbrev(int sign) { return SignAbbrev(sign, NamesLanguage()); }
const std::string& SignName(int sign) { return SignName(sign, NamesLanguage()); }
const std::string& PatternName(int index) { return PatternName(index, NamesLanguage()); }

int AspectAngleDegrees(int kind) {
  return (kind >= 1 && kind <= kNumKinds) ? kAngleDegrees[static_cast<size_t>(kind)] : 0;
}

double AspectAngle(int kind) {
  return static_cast<double>(AspectAngleDegrees(kind)) / 360.0 * kFullCircle;
}

bool IsInnerPlanet(int planet) { return planet >= kEarth && planet <= kMars; }

char PlanetGlyph(int planet) {
  return (planet >= 0 && planet <= kMaxPlanets) ? kPlanetGlyphs[static_cast<size_t>(planet)] : ' ';
}

char SignGlyph(int sign) {
  return (sign >= 0 && sign < 12) ? kSignGlyphs[static_cast<size_t>(sign)] : ' ';
}

const std::array<Colour, kPaletteSize>& ChartPalette() { return kPalette; }

const std::array<Colour, 8>& DefaultAspectColours() { return kDefaultAspectColours; }

Colour NextPaletteColour(Colour colour) {
  for (size_t i = 0; i < kPalette.size(); ++i) {
    if (kPalette[i] == colour) return kPalette[(i + 1) % kPalette.size()];
  }
  return colour;
}

double NormaliseAngle(double x) {
  if (!std::isfinite(x)) return x;  // never loop on NaN or infinity
  while (x < 0) x += kFullCircle;
  while (x >= kFullCircle) x -= kFullCircle;
  return x;
}

namespace {

// 10^0 .. 10^22: every one is a double without rounding, so a scale taken
// from here is exactly the one a power function would give.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxPlaces = static_cast<int>(std::size(kPowersOfTen)) - 1;

// Places of the direction comparison: 1e-6 rad is about 0.2".
constexpr int kDirectionPlaces = 6;

double RoundHalfEvenScaled(double x, double scale) { return std::nearbyint(x * scale) / scale; }

// Steps 1 to 3 of the separation: the shorter way round, d1 on a tie.
double ShorterWayRound(double a, double b) {
  double d1 = a - b;
  if (d1 < 0) d1 += kFullCircle;
  double d2 = b - a;
  if (d2 < 0) d2 += kFullCircle;
  return (d1 <= d2) ? d1 : d2;
}

}  // namespace

double RoundHalfEven(double x, int places) {
  return RoundHalfEvenScaled(x, kPowersOfTen[std::clamp(places, 0, kMaxPlaces)]);
}

double AspectSeparation(double a, double b, int& direction) {
  const double sep = ShorterWayRound(a, b);
  // The direction is decided on values rounded to 6 places (about 0.2"), which
  // keeps the comparison robust against the last bits of the subtraction.
  constexpr double scale = kPowersOfTen[kDirectionPlaces];
  if (RoundHalfEvenScaled(NormaliseAngle(sep + a), scale) == RoundHalfEvenScaled(b, scale)) {
    direction = -1;
  } else if (RoundHalfEvenScaled(NormaliseAngle(sep + b), scale) == RoundHalfEvenScaled(a, scale)) {
    direction = 1;
  }
  return sep;
}

// The aspect tests want the distance only: no direction is worked out to be
// thrown away.
double AspectSeparation(double a, double b) { return ShorterWayRound(a, b); }

double SignedSeparation(double a, double b) {
  int direction = 0;
  const double sep = AspectSeparation(a, b, direction);
  return sep * direction;
}

std::string FormatAngleDM(double x, bool omitZeroMinutes, bool spaceBeforeMinutes,
                          bool allowNegative, bool allowCarryTo360) {
  if (!std::isfinite(x)) return "";
  if (x < 0 && !allowNegative) return "";
  const bool negative = x < 0;
  x = std::fabs(x);
  if (x > kFullCircle) return "";
  int d = 0;
  int m = 0;
  DegreesMinutes(x, d, m);
  if (m == 60) {
    if (allowCarryTo360) {
      d += 1;
      m = 0;
    } else if (d == 359) {
      m = 59;  // the text never reaches 360°
    } else {
      d += 1;
      m = 0;
    }
  }
  std::string text = std::to_string(d) + "\u00B0";
  if (!(omitZeroMinutes && m == 0)) {
    if (spaceBeforeMinutes) text += " ";
    text += std::to_string(m) + "'";
  }
  return negative ? "-" + text : text;
}

std::string FormatZodiacPosition(double x, bool longForm) {
  if (!std::isfinite(x) || x < 0 || x >= kFullCircle) return "";
  int d = 0;
  int m = 0;
  DegreesMinutes(x, d, m);
  if (d >= 360) {  // within 0.00001° below the full circle
    d = 359;
    m = 59;
  }
  if (m == 60) {
    if (d == 359) {
      m = 59;
    } else {
      d += 1;
      m = 0;
    }
  }
  const int s = d / 30;
  int ds = d - 30 * s;
  if (!longForm) return std::to_string(ds) + SignAbbrev(s) + std::to_string(m);
  // Long form rounds to the nearest degree, 31' and up rounding up, but never
  // into the next sign.
  if (m >= 31 && ds != 29) ds += 1;
  return std::to_string(ds) + "\u00B0 " + SignLocative(s, NamesLanguage());
}

std::size_t Utf8Length(const std::string& text) {
  std::size_t n = 0;
  for (unsigned char ch : text) {
    if ((ch & 0xC0) != 0x80) ++n;
  }
  return n;
}

}  // namespace vemo
