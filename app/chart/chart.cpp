// The heliocentric chart. Everything is drawn in the order that the placement
// test depends on: disc and spokes first (free ground), the legend (occupied),
// then the glyphs one by one (each one occupies its box for the next), the
// lines, the glyphs again on top of the lines, then labels, the Sun and the
// legend again on top.
#include "app/chart/chart.h"

#include "app/aspects/vocabulary.h"
#include "app/time/date_texts.h"  // kGerman

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace vemo::chart {

namespace {

const Font kGlyphFont{kStarfontFamily, 14.0, true};
const Font kZodiacFont{kStarfontFamily, 8.0, true};
const Font kLegendFont{"Arial", 8.0, false};

// Every placement box starts this far left of and above its centre, and the
// glyph's corner lies there too.
constexpr int kHalfBox = 150;
// Lines join the glyph corners shifted to the middle of the glyph.
constexpr int kLineOffset = 120;
// Legend lines, twips apart from the top of the picture.
constexpr int kLegendLineHeight = 210;
constexpr int kLegendXOneSet = 0;
constexpr int kLegendXTwoSet = 1700;
constexpr int kLegendXSets = 7050;
// Zodiac labels sit on this radius in the middle of their sign.
constexpr int kZodiacLabelRadius = 800;
constexpr int kZodiacLabelHalf = 50;
// Placement radius shrinks by this factor per try.
constexpr double kShrink = 0.99;

int Round(double v) { return static_cast<int>(std::lround(v)); }

std::string Glyph(int planet) { return std::string(1, PlanetGlyph(planet)); }

void DrawZodiacSpokes(Canvas& canvas, int cx, int cy, int length) {
  for (int i = 0; i < 12; ++i) {
    const double a = i * 30.0 / 360.0 * kFullCircle;
    canvas.Line(cx, cy, Round(cx + length * std::cos(a)), Round(cy - length * std::sin(a)), kSectorColour);
  }
}

void DrawZodiacLabels(Canvas& canvas, int cx, int cy) {
  for (int i = 0; i < 12; ++i) {
    const double a = (i * 30.0 + 15.0) / 360.0 * kFullCircle;
    canvas.Text(Round(cx + kZodiacLabelRadius * std::cos(a) - kZodiacLabelHalf),
                Round(cy - kZodiacLabelRadius * std::sin(a) - kZodiacLabelHalf),
                std::string(1, SignGlyph(i)), kZodiacFont, kSectorColour);
  }
}

// kind 0: the three program-text lines; 1 personal transits, 2 synastry: the
// glyph colours of the two sets (third and fourth entries empty).
void DrawLegend(Canvas& canvas, int kind, bool twoSet, const std::array<std::string, 3>& lines) {
  static const std::array<std::array<const char*, 4>, 3> kSetLegends{{
      {"", "", "", ""},
      {"White: transiting planet", "Lemon: natal planet", "", ""},
      {"White: 1st birthdate", "Lemon: 2nd birthdate", "", ""},
  }};
  static const std::array<std::array<const char*, 4>, 3> kSetLegendsGerman{{
      {"", "", "", ""},
      {"Wei\u00DF: Transitplanet", "Zitronengelb: Radixplanet", "", ""},
      {"Wei\u00DF: 1. Geburtsdatum", "Zitronengelb: 2. Geburtsdatum", "", ""},
  }};
  std::vector<std::string> texts;
  int x = kLegendXSets;
  if (kind == 0) {
    texts.assign(lines.begin(), lines.end());
    x = twoSet ? kLegendXTwoSet : kLegendXOneSet;
  } else {
    const auto& legends = NamesLanguage() == kGerman ? kSetLegendsGerman : kSetLegends;
    for (const char* t : legends[static_cast<size_t>(kind)]) texts.emplace_back(t);
  }
  for (size_t i = 0; i < texts.size(); ++i) {
    // An empty entry is an empty line: nothing to print.
    if (!texts[i].empty()) {
      canvas.Text(x, static_cast<int>(i) * kLegendLineHeight, texts[i], kLegendFont, kLegendColour);
    }
  }
}

void DrawLegends(Canvas& canvas, const ChartInput& input, bool twoSet) {
  DrawLegend(canvas, 0, twoSet, input.legendLines);
  if (twoSet) DrawLegend(canvas, input.mode == Mode::Synastry ? 2 : 1, twoSet, input.legendLines);
}

bool PassesFilter(const ChartInput& input, int a, int b) {
  if (input.showOnlyEarthAspects) return a == kEarth || b == kEarth;
  if (input.showOnlyOuterPlanets) return !IsInnerPlanet(a) && !IsInnerPlanet(b);
  return true;
}

ChartResult DrawSets(Canvas& canvas, const ChartInput& input, bool twoSet) {
  ChartResult result;
  if (input.showOnlyEarthAspects && input.showOnlyOuterPlanets) {
    result.outcome = ChartOutcome::FilterConflict;
    return result;
  }
  const ChartGeometry& g = twoSet ? kTwoSetGeometry : kOneSetGeometry;
  canvas.Resize(g.width, g.height);
  canvas.Clear(kChartBackground);
  canvas.FilledCircle(g.cx, g.cy, g.outerRadius, kBlack);
  if (input.displayZodiacSectors) DrawZodiacSpokes(canvas, g.cx, g.cy, g.spokeLength);
  // The legend's lines reach over the top-left of the disc. Written now as
  // well as last, they are occupied ground for the placement test, so no
  // glyph lands under them; the last writing keeps them above the lines.
  DrawLegends(canvas, input, twoSet);

  // Placement: last body first, set 0 before set 1. In the two-set chart the
  // glyphs of this pass are green; only their presence matters, since all of
  // them are printed again over the lines.
  const int sets = twoSet ? 2 : 1;
  const int count = std::clamp(input.planetCount, 0, kMaxPlanets);
  const Colour placementColour = twoSet ? kPlacementGreen : kWhite;
  for (int set = 0; set < sets; ++set) {
    for (int body = count; body >= kEarth; --body) {
      const double lon = input.longitudes[static_cast<size_t>(set)][static_cast<size_t>(body)];
      if (!(lon >= 0)) continue;  // no position: not drawn, nor its lines
      double r = g.firstRadius;
      while (!FindFreeSpot(canvas, g, lon, r, kHalfBox)) {
        r *= kShrink;
        if (r < g.smallestRadius[static_cast<size_t>(set)]) {
          result.outcome = ChartOutcome::NoFreeSpot;
          return result;
        }
      }
      GlyphCorner& corner = result.corners[static_cast<size_t>(set)][static_cast<size_t>(body)];
      corner = {true, Round(g.cx + r * std::cos(lon) - kHalfBox), Round(g.cy - r * std::sin(lon) - kHalfBox)};
      canvas.Text(corner.x, corner.y, Glyph(body), kGlyphFont, placementColour);
    }
  }

  // Aspect lines from the table's cells. One-date grid: row planet row - 1,
  // column planet column + 1, both of set 0. Two-date grid: rows are set 1
  // (natal, 2nd birthdate) planet row - 1, columns set 0 (transiting, 1st
  // birthdate) planet column - 1.
  const AspectTable* table = input.table;
  if (table != nullptr && table->TwoDate == twoSet && table->NumCols > 0) {
    for (int index = 0; index < table->NumCells(); ++index) {
      const TableCell& cell = table->Cells[static_cast<size_t>(index)];
      // The kind as Compute recorded it: the cell's words differ by language.
      const int k = KindOfCell(cell);
      if (k == 0) continue;
      const RowCol rc = GetRowCol(index, table->NumCols);
      const int a = rc.Row - 1;
      const int b = twoSet ? rc.Col - 1 : rc.Col + 1;
      const int setA = twoSet ? 1 : 0;
      if (a < kEarth || a > kMaxPlanets || b < kEarth || b > kMaxPlanets) continue;
      const GlyphCorner& ca = result.corners[static_cast<size_t>(setA)][static_cast<size_t>(a)];
      const GlyphCorner& cb = result.corners[0][static_cast<size_t>(b)];
      if (!ca.placed || !cb.placed) continue;
      const Colour colour = input.aspectColours[static_cast<size_t>(k)];
      if (colour == 0 || !PassesFilter(input, a, b)) continue;
      canvas.Line(ca.x + kLineOffset, ca.y + kLineOffset, cb.x + kLineOffset, cb.y + kLineOffset, colour,
                  cell.Bold ? 2 : 1);
      ++result.linesDrawn;
    }
  }

  // The glyphs again, over the lines.
  for (int set = sets - 1; set >= 0; --set) {
    const Colour colour = set == 1 ? kLemon : kWhite;
    for (int body = count; body >= kEarth; --body) {
      const GlyphCorner& c = result.corners[static_cast<size_t>(set)][static_cast<size_t>(body)];
      if (c.placed) canvas.Text(c.x, c.y, Glyph(body), kGlyphFont, colour);
    }
  }

  if (input.displayZodiacSectors) DrawZodiacLabels(canvas, g.cx, g.cy);
  canvas.Text(g.sunX, g.sunY, Glyph(0), kGlyphFont, kWhite);

  DrawLegends(canvas, input, twoSet);
  return result;
}

}  // namespace

bool IsTwoSetMode(Mode mode) { return !IsOneDateMode(mode); }

const ChartGeometry& GeometryOf(Mode mode) { return IsTwoSetMode(mode) ? kTwoSetGeometry : kOneSetGeometry; }

ChartResult DrawOneSetChart(Canvas& canvas, const ChartInput& input) { return DrawSets(canvas, input, false); }

ChartResult DrawTwoSetChart(Canvas& canvas, const ChartInput& input) { return DrawSets(canvas, input, true); }

ChartResult DrawChart(Canvas& canvas, const ChartInput& input) {
  return IsTwoSetMode(input.mode) ? DrawTwoSetChart(canvas, input) : DrawOneSetChart(canvas, input);
}

bool FindFreeSpot(const Canvas& canvas, const ChartGeometry& g, double longitude, double r, int half) {
  const int x0 = Round(g.cx + r * std::cos(longitude)) - half;
  const int y0 = Round(g.cy - r * std::sin(longitude)) - half;
  // 26 columns over 250 twips and 31 (or 36) rows over 300 (350) twips.
  const int rows = g.sampleHeight / 10 + 1;
  for (int j = 0; j < rows; ++j) {
    for (int i = 0; i < 26; ++i) {
      const Colour c = canvas.PixelAt(x0 + 10 * i, y0 + 10 * j);
      if (c != kBlack && c != kSectorColour) return false;
    }
  }
  return true;
}

std::string LineKindsAt(Colour pixel, const std::array<Colour, 8>& aspectColours) {
  if (pixel == kBlack || pixel == kWhite || pixel == Rgb(224, 224, 224) || pixel == Rgb(32, 32, 255)) return "";
  std::string text;
  for (int k = 1; k <= kNumKinds; ++k) {
    if (aspectColours[static_cast<size_t>(k)] == pixel) {
      if (!text.empty()) text += " or ";
      text += Aspect(k).Description;
    }
  }
  // Lower case with a capital first letter; only ASCII letters change, the
  // bytes of "°" pass unchanged.
  for (size_t i = 0; i < text.size(); ++i) {
    char& ch = text[i];
    if (i == 0 && ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    else if (i > 0 && ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return text;
}

std::string LineKindsNear(const std::function<Colour(int dx, int dy)>& pixelAt, int radiusPixels,
                          const std::array<Colour, 8>& aspectColours) {
  // The pixels within the radius, nearest first (the clicked one itself first).
  const int reach = std::max(0, radiusPixels);
  std::vector<std::pair<int, std::pair<int, int>>> around;
  for (int dy = -reach; dy <= reach; ++dy) {
    for (int dx = -reach; dx <= reach; ++dx) {
      const int d2 = dx * dx + dy * dy;
      if (d2 <= reach * reach) around.push_back({d2, {dx, dy}});
    }
  }
  std::stable_sort(around.begin(), around.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [d2, offset] : around) {
    std::string kinds = LineKindsAt(pixelAt(offset.first, offset.second), aspectColours);
    if (!kinds.empty()) return kinds;
  }
  return "";
}

}  // namespace vemo::chart
