// The chart glyphs of the "Starfont Sans" font, drawn here as the Unicode
// astronomical symbols in a font that has them (DejaVu Sans): Sun U+2609,
// Earth U+2295, Mercury U+263F, Venus U+2640, Mars U+2642, Jupiter U+2643,
// Saturn U+2644, Uranus U+2645, Neptune U+2646, Pluto U+2647, and the signs
// Aries..Pisces U+2648..U+2653.
#pragma once

namespace vemo::chart {

// Unicode code point of a Starfont glyph character; 0 for a character that is
// neither a planet nor a sign glyph.
char32_t GlyphCodePoint(char starfontCharacter);

// Family of the font that draws the glyphs.
inline constexpr const char* kGlyphFontFamily = "DejaVu Sans";

}  // namespace vemo::chart
