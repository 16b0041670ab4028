#include "app/chart/glyphs.h"

#include "app/aspects/vocabulary.h"

namespace vemo::chart {

char32_t GlyphCodePoint(char c) {
  // Index 0 of the planet glyphs is the Sun, 1..9 Earth..Pluto.
  static constexpr char32_t kPlanetSymbols[10] = {0x2609, 0x2295, 0x263F, 0x2640, 0x2642,
                                                  0x2643, 0x2644, 0x2645, 0x2646, 0x2647};
  for (int p = 0; p <= vemo::kMaxPlanets; ++p) {
    if (vemo::PlanetGlyph(p) == c) return kPlanetSymbols[p];
  }
  for (int s = 0; s < 12; ++s) {
    if (vemo::SignGlyph(s) == c) return static_cast<char32_t>(0x2648 + s);
  }
  return 0;
}

}  // namespace vemo::chart
