// Vocabulary of the aspect engine: planet numbering and names, the seven aspect
// kinds with their angles and texts, zodiac signs, pattern names, chart glyph
// characters, the chart palette, and the small angle routines on which every
// aspect decision rests.
//
// All angles are radians held in doubles. The full circle is the literal
// 6.28318530717959 (not 2*M_PI to the last bit) because every threshold the
// program documents (orbs, aspect angles, formatter carries) was derived with
// this constant; using it keeps edge cases such as "a deviation exactly equal
// to the orb" reproducible.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vemo {

// Full and half circle, radians.
inline constexpr double kFullCircle = 6.28318530717959;
inline constexpr double kHalfCircle = 3.14159265358979;

// Planet numbers. Per-planet tables have slots 0..10; 0 carries no planet and
// 10 is a spare slot no search fills.
inline constexpr int kEarth = 1;
inline constexpr int kMercury = 2;
inline constexpr int kVenus = 3;
inline constexpr int kMars = 4;
inline constexpr int kJupiter = 5;
inline constexpr int kSaturn = 6;
inline constexpr int kUranus = 7;
inline constexpr int kNeptune = 8;
inline constexpr int kPluto = 9;
inline constexpr int kMaxPlanets = 9;
inline constexpr int kPlanetSlots = 11;

// Aspect kinds, in the one order every loop uses.
inline constexpr int kConjunction = 1;
inline constexpr int kOpposition = 2;
inline constexpr int kSquare = 3;
inline constexpr int kTrine = 4;
inline constexpr int kSextile = 5;
inline constexpr int kSemisextile = 6;
inline constexpr int kQuincunx = 7;
inline constexpr int kNumKinds = 7;

// Pattern indices (also the indices of PatternCount and of the run search).
inline constexpr int kGrandTrine = 0;
inline constexpr int kKite = 1;
inline constexpr int kRectangle = 2;
inline constexpr int kTSquare = 3;
inline constexpr int kGrandCross = 4;
inline constexpr int kYod = 5;
inline constexpr int kYodKite = 6;
inline constexpr int kTrapezium = 7;
inline constexpr int kStellium6 = 8;
inline constexpr int kStellium5 = 9;
inline constexpr int kStellium4 = 10;
inline constexpr int kStellium3 = 11;
inline constexpr int kGrandSextile = 12;
inline constexpr int kMidpoint = 13;
inline constexpr int kNumPatterns = 14;

// Lines of program texts end in CR LF.
inline constexpr const char* kCrLf = "\r\n";

// The five texts of an aspect kind.
struct AspectRecord {
  const char* Abbrev;       // shown in and searched for in table cells
  const char* Name;         // "Conjunction"
  const char* Phrase;       // used between two planet names: "square to"
  const char* Relation;     // bare relation word: "square"
  const char* Description;  // name with its angle: "square (90°)"
};

// The language of the names below, numbered as the program text numbers its
// languages (app/time/date_texts.h); English until set. The program sets it
// with the language of its text. Whatever other programs read back (CSV
// columns, calendar UIDs, option values) asks for English by name instead.
void SetNamesLanguage(int language);
int NamesLanguage();

// Names tables in the names language; index 0 (and planet slot 10) hold
// empty texts. In English: "Earth", "Con", "Aries", "Grand trine".
const std::string& PlanetName(int planet);
const std::string& PlanetAbbrev(int planet);
const AspectRecord& Aspect(int kind);
const std::string& SignAbbrev(int sign);   // 0 "Ari" .. 11 "Pis"
const std::string& SignName(int sign);     // 0 "Aries" .. 11 "Pisces"
const std::string& PatternName(int index); // 0 "Grand trine" .. 13 "Midpoint"

// The same tables in a language, numbered as the program text numbers its
// languages (app/time/date_texts.h): 1 German ("Erde", "Quadrat", "Widder",
// "Großes Trigon"), any other number English as above. The German
// abbreviations are three letters, distinct within each table, and no
// aspect abbreviation is a part of another.
const std::string& PlanetName(int planet, int language);
const std::string& PlanetAbbrev(int planet, int language);
const AspectRecord& Aspect(int kind, int language);
const std::string& SignAbbrev(int sign, int language);
const std::string& SignName(int sign, int language);
const std::string& PatternName(int index, int language);
// "in Taurus", "im Stier", "in den Zwillingen": where a position lies.
std::string SignLocative(int sign, int language);

namespace detail {
// The English tables behind both forms above.
const std::string& EnglishPlanetName(int planet);
const std::string& EnglishPlanetAbbrev(int planet);
const AspectRecord& EnglishAspect(int kind);
const std::string& EnglishSignAbbrev(int sign);
const std::string& EnglishSignName(int sign);
const std::string& EnglishPatternName(int index);
}  // namespace detail

// Grammatical gender of a German noun; English nouns have none.
enum class Gender { None, Masculine, Feminine, Neuter };

// A noun as it follows a number word in a count ("two trines", "zwei
// Trigone"). English nouns are lower case except "T-square"; German nouns
// keep their capital. An adjective in a German pattern name is declined
// with the noun: "ein Großes Trigon", "zwei Große Trigone", "keine Großen
// Trigone".
struct CountNoun {
  const char* Singular;       // after "one"/"ein": "conjunction", "Großes Trigon"
  const char* Plural;         // after two and more: "quincunxes", "Große Trigone"
  const char* PluralAfterNo;  // after "no"/"keine": "Großen Trigone"; elsewhere as Plural
  Gender Genus;
};

// The counted noun of aspect kind 1..7 and of pattern 0..13 in a language;
// a record of empty texts for other indices.
const CountNoun& KindNoun(int kind, int language);
const CountNoun& PatternNoun(int index, int language);

// Aspect angle of kind 1..7 in radians (degrees / 360 * kFullCircle); 0 for
// other indices.
double AspectAngle(int kind);

// Aspect angle in whole degrees (0, 180, 90, 120, 60, 30, 150).
int AspectAngleDegrees(int kind);

// Inner planets are Earth, Mercury, Venus and Mars (used by the chart filter).
bool IsInnerPlanet(int planet);

// Chart glyph characters of the "Starfont Sans" font: index 0 is the Sun,
// 1..9 the planets. The window maps them to Unicode symbols.
char PlanetGlyph(int planet);
// Starfont characters of the twelve signs, Aries..Pisces.
char SignGlyph(int sign);

// Colours are 24-bit values laid out as red + 256 * green + 65536 * blue, the
// layout of the stored settings (65535 is yellow). 0 marks a kind left out of
// the chart.
using Colour = std::uint32_t;
constexpr Colour Rgb(int red, int green, int blue) {
  auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
  return static_cast<Colour>(clamp(red)) |
         (static_cast<Colour>(clamp(green)) << 8) |
         (static_cast<Colour>(clamp(blue)) << 16);
}
constexpr int ColourRed(Colour c) { return static_cast<int>(c & 0xFF); }
constexpr int ColourGreen(Colour c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int ColourBlue(Colour c) { return static_cast<int>((c >> 16) & 0xFF); }

// The chart's 12-colour palette (index 0..11) and the default colour of each
// aspect kind (slots 1..7; slot 0 is 0).
inline constexpr int kPaletteSize = 12;
const std::array<Colour, kPaletteSize>& ChartPalette();
const std::array<Colour, 8>& DefaultAspectColours();
// The palette entry that follows `colour`, wrapping after the last; a colour
// that is not in the palette is returned unchanged.
Colour NextPaletteColour(Colour colour);

// Cell backgrounds of the aspect table.
inline constexpr Colour kGlyphCellBackground = Rgb(200, 200, 220);
inline constexpr Colour kPositionCellBackground = Rgb(230, 256, 230);  // green clamps to 255

// NormaliseAngle: x (radians) brought into [0, kFullCircle).
double NormaliseAngle(double x);

// AspectSeparation: angular distance between longitudes a and b (radians,
// each in [0, kFullCircle)), in [0, pi].
// direction (in/out): set to -1 when b lies `sep` ahead of a in the sense of
// increasing longitude, +1 when a lies `sep` ahead of b, left unchanged when
// neither holds to 6 decimal places (callers set it to 0 first).
double AspectSeparation(double a, double b, int& direction);
double AspectSeparation(double a, double b);

// SignedSeparation: separation * direction (0 when the direction is undecided).
double SignedSeparation(double a, double b);

// Decimal rounding to `places` places (0 to 22; fewer count as 0, more as 22),
// halves to even (the comparison helper of AspectSeparation).
double RoundHalfEven(double x, int places);

// Characters (code points) of UTF-8 text: the width of a text column, where
// the degree sign counts once.
std::size_t Utf8Length(const std::string& text);

// FormatAngleDM: angle x (radians) as whole degrees and minutes, "12°5'".
//   omitZeroMinutes:    "30°" instead of "30°0'"
//   spaceBeforeMinutes: "12° 5'"
//   allowNegative:      negative angles get a "-" prefix (else "")
//   allowCarryTo360:    359°59'40" may become 360°0' (else 359°59')
// Angles above a full circle give "".
std::string FormatAngleDM(double x, bool omitZeroMinutes = false,
                          bool spaceBeforeMinutes = false,
                          bool allowNegative = false,
                          bool allowCarryTo360 = false);

// FormatZodiacPosition: a longitude (radians, [0, kFullCircle)) as a position
// in its sign. Short form "15Tau30"; long form "16° in Taurus" (minutes of 31
// and more round the degree up, never to 30°), in the names language ("15Sti30",
// "16° im Stier"). Out-of-range input gives "".
std::string FormatZodiacPosition(double x, bool longForm);

// Degrees <-> radians with the program's constant.
constexpr double DegreesToRadians(double degrees) {
  return degrees / 360.0 * kFullCircle;
}
constexpr double RadiansToDegrees(double radians) {
  return radians / kFullCircle * 360.0;
}

}  // namespace vemo
