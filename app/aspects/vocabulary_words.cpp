// The fixed words of the vocabulary by language: the German names tables and
// the counted nouns of both languages. The English names tables are in
// vocabulary.cpp.
#include "app/aspects/vocabulary.h"

#include "app/time/date_texts.h"

namespace vemo {

namespace {

const std::string kEmpty;

const std::array<std::string, kPlanetSlots> kPlanetNamesGerman{
    "", "Erde", "Merkur", "Venus", "Mars", "Jupiter",
    "Saturn", "Uranus", "Neptun", "Pluto", ""};
const std::array<std::string, kPlanetSlots> kPlanetAbbrevsGerman{
    "", "Erd", "Mer", "Ven", "Mar", "Jup", "Sat", "Ura", "Nep", "Plu", ""};

// German astrologers set the aspect's noun between the planets ("Mars
// Quadrat Saturn"), so the phrase and the relation are the noun itself.
const std::array<AspectRecord, 8> kAspectsGerman{{
    {"", "", "", "", ""},
    {"Kon", "Konjunktion", "Konjunktion", "Konjunktion", "Konjunktion (0\u00B0)"},
    {"Opp", "Opposition", "Opposition", "Opposition", "Opposition (180\u00B0)"},
    {"Qua", "Quadrat", "Quadrat", "Quadrat", "Quadrat (90\u00B0)"},
    {"Tri", "Trigon", "Trigon", "Trigon", "Trigon (120\u00B0)"},
    {"Sxt", "Sextil", "Sextil", "Sextil", "Sextil (60\u00B0)"},
    {"HSx", "Halbsextil", "Halbsextil", "Halbsextil", "Halbsextil (30\u00B0)"},
    {"Qui", "Quinkunx", "Quinkunx", "Quinkunx", "Quinkunx (150\u00B0)"},
}};

const std::array<std::string, 12> kSignAbbrevsGerman{
    "Wid", "Sti", "Zwi", "Kre", "L\u00F6w", "Jun", "Waa", "Sko", "Sch", "Ste", "Was", "Fis"};
const std::array<std::string, 12> kSignNamesGerman{
    "Widder", "Stier", "Zwillinge", "Krebs", "L\u00F6we", "Jungfrau", "Waage",
    "Skorpion", "Sch\u00FCtze", "Steinbock", "Wassermann", "Fische"};

// "im Stier", "in den Zwillingen": the dative the preposition asks for,
// with its article where German uses one for the sign.
const std::array<std::string, 12> kSignLocativesGerman{
    "im Widder", "im Stier", "in den Zwillingen", "im Krebs", "im L\u00F6wen", "in der Jungfrau",
    "in der Waage", "im Skorpion", "im Sch\u00FCtzen", "im Steinbock", "im Wassermann", "in den Fischen"};

const std::array<std::string, kNumPatterns> kPatternNamesGerman{
    "Gro\u00DFes Trigon", "Drachen", "Rechteck", "T-Quadrat", "Gro\u00DFes Kreuz", "Yod",
    "Yod-Drachen", "Trapez", "6er-Stellium", "5er-Stellium", "4er-Stellium", "3er-Stellium",
    "Gro\u00DFes Sextil", "Halbsumme"};

const CountNoun kNoNoun{"", "", "", Gender::None};

const std::array<CountNoun, 8> kKindNounsEnglish{{
    kNoNoun,
    {"conjunction", "conjunctions", "conjunctions", Gender::None},
    {"opposition", "oppositions", "oppositions", Gender::None},
    {"square", "squares", "squares", Gender::None},
    {"trine", "trines", "trines", Gender::None},
    {"sextile", "sextiles", "sextiles", Gender::None},
    {"semisextile", "semisextiles", "semisextiles", Gender::None},
    {"quincunx", "quincunxes", "quincunxes", Gender::None},
}};

const std::array<CountNoun, 8> kKindNounsGerman{{
    kNoNoun,
    {"Konjunktion", "Konjunktionen", "Konjunktionen", Gender::Feminine},
    {"Opposition", "Oppositionen", "Oppositionen", Gender::Feminine},
    {"Quadrat", "Quadrate", "Quadrate", Gender::Neuter},
    {"Trigon", "Trigone", "Trigone", Gender::Neuter},
    {"Sextil", "Sextile", "Sextile", Gender::Neuter},
    {"Halbsextil", "Halbsextile", "Halbsextile", Gender::Neuter},
    {"Quinkunx", "Quinkunxe", "Quinkunxe", Gender::Masculine},
}};

const std::array<CountNoun, kNumPatterns> kPatternNounsEnglish{{
    {"grand trine", "grand trines", "grand trines", Gender::None},
    {"kite", "kites", "kites", Gender::None},
    {"rectangle", "rectangles", "rectangles", Gender::None},
    {"T-square", "T-squares", "T-squares", Gender::None},
    {"grand cross", "grand crosses", "grand crosses", Gender::None},
    {"yod", "yods", "yods", Gender::None},
    {"yod-kite", "yod-kites", "yod-kites", Gender::None},
    {"trapezium", "trapeziums", "trapeziums", Gender::None},
    {"6-stellium", "6-stelliums", "6-stelliums", Gender::None},
    {"5-stellium", "5-stelliums", "5-stelliums", Gender::None},
    {"4-stellium", "4-stelliums", "4-stelliums", Gender::None},
    {"3-stellium", "3-stelliums", "3-stelliums", Gender::None},
    {"grand sextile", "grand sextiles", "grand sextiles", Gender::None},
    {"midpoint", "midpoints", "midpoints", Gender::None},
}};

const std::array<CountNoun, kNumPatterns> kPatternNounsGerman{{
    {"Gro\u00DFes Trigon", "Gro\u00DFe Trigone", "Gro\u00DFen Trigone", Gender::Neuter},
    {"Drachen", "Drachen", "Drachen", Gender::Masculine},
    {"Rechteck", "Rechtecke", "Rechtecke", Gender::Neuter},
    {"T-Quadrat", "T-Quadrate", "T-Quadrate", Gender::Neuter},
    {"Gro\u00DFes Kreuz", "Gro\u00DFe Kreuze", "Gro\u00DFen Kreuze", Gender::Neuter},
    {"Yod", "Yods", "Yods", Gender::Neuter},
    {"Yod-Drachen", "Yod-Drachen", "Yod-Drachen", Gender::Masculine},
    {"Trapez", "Trapeze", "Trapeze", Gender::Neuter},
    {"6er-Stellium", "6er-Stellien", "6er-Stellien", Gender::Neuter},
    {"5er-Stellium", "5er-Stellien", "5er-Stellien", Gender::Neuter},
    {"4er-Stellium", "4er-Stellien", "4er-Stellien", Gender::Neuter},
    {"3er-Stellium", "3er-Stellien", "3er-Stellien", Gender::Neuter},
    {"Gro\u00DFes Sextil", "Gro\u00DFe Sextile", "Gro\u00DFen Sextile", Gender::Neuter},
    {"Halbsumme", "Halbsummen", "Halbsummen", Gender::Feminine},
}};

template <typename T, std::size_t N>
const T& Entry(const std::array<T, N>& table, int index, int first, int last, const T& none) {
  return (index >= first && index <= last) ? table[static_cast<std::size_t>(index)] : none;
}

}  // namespace

const std::string& PlanetName(int planet, int language) {
  if (language != kGerman) return detail::EnglishPlanetName(planet);
  return Entry(kPlanetNamesGerman, planet, 0, kPlanetSlots - 1, kEmpty);
}

const std::string& PlanetAbbrev(int planet, int language) {
  if (language != kGerman) return detail::EnglishPlanetAbbrev(planet);
  return Entry(kPlanetAbbrevsGerman, planet, 0, kPlanetSlots - 1, kEmpty);
}

const AspectRecord& Aspect(int kind, int language) {
  if (language != kGerman) return detail::EnglishAspect(kind);
  return Entry(kAspectsGerman, kind, 1, kNumKinds, kAspectsGerman[0]);
}

const std::string& SignAbbrev(int sign, int language) {
  if (language != kGerman) return detail::EnglishSignAbbrev(sign);
  return Entry(kSignAbbrevsGerman, sign, 0, 11, kEmpty);
}

const std::string& SignName(int sign, int language) {
  if (language != kGerman) return detail::EnglishSignName(sign);
  return Entry(kSignNamesGerman, sign, 0, 11, kEmpty);
}

std::string SignLocative(int sign, int language) {
  if (sign < 0 || sign > 11) return "";
  if (language == kGerman) return kSignLocativesGerman[static_cast<std::size_t>(sign)];
  return "in " + detail::EnglishSignName(sign);
}

const std::string& PatternName(int index, int language) {
  if (language != kGerman) return detail::EnglishPatternName(index);
  return Entry(kPatternNamesGerman, index, 0, kNumPatterns - 1, kEmpty);
}

const CountNoun& KindNoun(int kind, int language) {
  return Entry(language == kGerman ? kKindNounsGerman : kKindNounsEnglish, kind, 1, kNumKinds, kNoNoun);
}

const CountNoun& PatternNoun(int index, int language) {
  return Entry(language == kGerman ? kPatternNounsGerman : kPatternNounsEnglish, index, 0, kNumPatterns - 1,
               kNoNoun);
}

}  // namespace vemo
