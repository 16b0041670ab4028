// The chart: placement of the glyphs, the lines drawn from the table, and
// the right click.
#include <QImage>

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "chart_support.h"

namespace vemo::chart {
namespace {

using test::SkyChart;

GlyphCorner CornerAt(const ChartGeometry& g, double lon, double r) {
  return {true, static_cast<int>(std::lround(g.cx + r * std::cos(lon) - 150)),
          static_cast<int>(std::lround(g.cy - r * std::sin(lon) - 150))};
}

// Pixels of a placement box, read every 5 twips (not every 10), that are
// neither black nor a spoke.
int BoxPixels(const Canvas& c, const GlyphCorner& box, int height) {
  int n = 0;
  for (int y = box.y; y <= box.y + height; y += 5) {
    for (int x = box.x; x <= box.x + 250; x += 5) n += c.PixelAt(x, y) != kBlack && c.PixelAt(x, y) != kSectorColour;
  }
  return n;
}

// Bodies of set 0 (and set 1 when twoSets) at one longitude; no table.
ChartInput AtOneLongitude(Mode mode, std::initializer_list<int> bodies, double degrees, bool twoSets = false) {
  ChartInput in;
  in.mode = mode;
  in.legendLines = {"Heliocentric longitudes, equinox J2000", "Aspect lines in the colours of the settings", "Right"};
  for (auto& set : in.longitudes) set.fill(-1.0);
  for (int b : bodies) {
    in.longitudes[0][static_cast<size_t>(b)] = DegreesToRadians(degrees);
    if (twoSets) in.longitudes[1][static_cast<size_t>(b)] = DegreesToRadians(degrees);
  }
  return in;
}

// Jupiter is placed first; Mars at the same longitude moves inward by factors
// of 0.99 to the first radius at which its box, read pixel by pixel, misses
// Jupiter's ink. Spokes are free ground: at 0° one runs through both boxes.
// The legend is not: at 94° Jupiter moves inward below it.
TEST(Placement, SecondGlyphMovesInwardUntilClear) {
  for (Mode mode : {Mode::WorldTransits, Mode::Personal1}) {
    for (double deg : {0.0, 63.0, 94.0, 200.0, 270.0}) {
      SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(mode) << " at " << deg);
      const ChartGeometry& g = GeometryOf(mode);
      const double lon = DegreesToRadians(deg);
      auto clearRadius = [&](const Canvas& c, int& tries) {
        double r = g.firstRadius;
        for (tries = 0; tries < 1000 && BoxPixels(c, CornerAt(g, lon, r), g.sampleHeight) > 0; ++tries) r *= 0.99;
        return r;
      };
      Canvas empty, solo, both;
      DrawChart(empty, AtOneLongitude(mode, {}, deg));
      DrawChart(solo, AtOneLongitude(mode, {kJupiter}, deg));
      const ChartResult r = DrawChart(both, AtOneLongitude(mode, {kJupiter, kMars}, deg));
      ASSERT_EQ(r.outcome, ChartOutcome::Drawn);
      int first = 0, second = 0;
      const GlyphCorner jupiter = CornerAt(g, lon, clearRadius(empty, first));
      const GlyphCorner mars = CornerAt(g, lon, clearRadius(solo, second));
      EXPECT_GT(second, first + 5);
      EXPECT_EQ(std::pair(r.corners[0][kJupiter].x, r.corners[0][kJupiter].y), std::pair(jupiter.x, jupiter.y));
      EXPECT_EQ(std::pair(r.corners[0][kMars].x, r.corners[0][kMars].y), std::pair(mars.x, mars.y));
      if (deg == 94.0) {  // further in than the disc's edge alone asks for
        ChartInput plain = AtOneLongitude(mode, {}, deg);
        plain.legendLines = {};
        Canvas bare;
        DrawChart(bare, plain);
        int edgeOnly = 0;
        clearRadius(bare, edgeOnly);
        EXPECT_GT(first, edgeOnly);
      }
      if (deg == 0.0 && mode == Mode::WorldTransits) {
        EXPECT_EQ(first, 0);  // at the first radius, on the spoke of 0°
      }
    }
  }
}

// Eighteen bodies of two sets at one longitude run out of room (nine of one
// set always fit): drawing stops at the glyph without a spot, before the
// lines and the legend's last writing.
TEST(Placement, NoFreeSpotStopsTheDrawing) {
  for (Mode mode : {Mode::Personal2, Mode::Synastry}) {
    ChartInput in = AtOneLongitude(mode, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 57.0, true);
    in.legendLines = {"legend", "", ""};
    Canvas canvas;
    const ChartResult r = DrawChart(canvas, in);
    EXPECT_EQ(r.outcome, ChartOutcome::NoFreeSpot);
    EXPECT_TRUE(r.corners[0][kEarth].placed && r.corners[1][kPluto].placed);
    EXPECT_FALSE(r.corners[1][kEarth].placed);
    EXPECT_EQ(std::count_if(canvas.Operations().begin(), canvas.Operations().end(),
                            [](const Operation& op) { return op.text == "legend" || op.kind == Operation::Kind::Line; }),
              in.displayZodiacSectors ? 13 : 1);  // spokes and the legend's first writing
  }
}

// Every aspect the engine found is a line between the glyphs of its two
// planets, in its kind's colour, twice as wide when bold; unless its kind has
// colour 0, a filter leaves it out or one of its bodies is not drawn.
TEST(ChartLines, FollowTheTable) {
  const struct {
    const char* name;
    Mode mode;
    bool earthOnly, outerOnly;
    int zeroKind, planetCount, noPlutoSet;  // noPlutoSet: set whose Pluto has no position
  } cases[] = {
      {"world", Mode::WorldTransits, false, false, 0, 9, -1},
      {"square left out", Mode::WorldTransits, false, false, kSquare, 9, -1},
      {"earth only", Mode::WorldTransits, true, false, 0, 9, -1},
      {"outer only", Mode::WorldTransits, false, true, 0, 9, -1},
      {"eight bodies", Mode::WorldTransits, false, false, 0, 8, -1},
      {"personal earth only, trine left out", Mode::Personal1, true, false, kTrine, 9, -1},
      {"personal without natal Pluto", Mode::Personal1, false, false, 0, 9, 1},
      {"synastry outer only", Mode::Synastry, false, true, 0, 9, -1},
      {"synastry without Pluto of set 0", Mode::Synastry, false, false, 0, 9, 0},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    SkyChart sky;
    test::Degrees set1 = test::kBusySky;
    for (double& d : set1) d += 0.2;
    sky.Place(test::kBusySky, set1);
    ChartInput in = sky.Compute(k.mode);
    in.showOnlyEarthAspects = k.earthOnly;
    in.showOnlyOuterPlanets = k.outerOnly;
    if (k.zeroKind != 0) in.aspectColours[static_cast<size_t>(k.zeroKind)] = 0;
    in.planetCount = k.planetCount;
    if (k.noPlutoSet >= 0) in.longitudes[static_cast<size_t>(k.noPlutoSet)][kPluto] = -99.0;
    Canvas canvas;
    const ChartResult r = DrawChart(canvas, in);
    ASSERT_EQ(r.outcome, ChartOutcome::Drawn);

    // (colour, width, x1, y1, x2, y2) from the engine's planets: one-date
    // (row, column) both set 0; personal (natal set 1, transiting set 0);
    // synastry (1st birthdate set 0, 2nd set 1); lines run from set 1.
    using Line = std::tuple<Colour, int, int, int, int, int>;
    std::multiset<Line> expected, drawn;
    for (const FoundAspect& a : sky.engine.Aspects) {
      int setA = 0, bodyA = a.Planet1, bodyB = a.Planet2;
      if (k.mode == Mode::Personal1) setA = 1;
      if (k.mode == Mode::Synastry) std::swap(bodyA, bodyB), setA = 1;
      const Colour colour = in.aspectColours[static_cast<size_t>(a.Kind)];
      if (colour == 0 || (k.earthOnly && bodyA != kEarth && bodyB != kEarth) ||
          (k.outerOnly && (IsInnerPlanet(bodyA) || IsInnerPlanet(bodyB))) ||
          std::max(bodyA, bodyB) > k.planetCount || (bodyA == kPluto && setA == k.noPlutoSet) ||
          (bodyB == kPluto && k.noPlutoSet == 0)) {
        continue;
      }
      const GlyphCorner& ca = r.corners[static_cast<size_t>(setA)][static_cast<size_t>(bodyA)];
      const GlyphCorner& cb = r.corners[0][static_cast<size_t>(bodyB)];
      expected.emplace(colour, a.Bold ? 2 : 1, ca.x + 120, ca.y + 120, cb.x + 120, cb.y + 120);
    }
    for (const Operation& op : canvas.Operations()) {
      if (op.kind == Operation::Kind::Line && op.colour != kSectorColour) {
        drawn.emplace(op.colour, op.width, op.x1, op.y1, op.x2, op.y2);
      }
    }
    EXPECT_GT(expected.size(), 3u);
    EXPECT_EQ(drawn, expected);
    EXPECT_EQ(r.linesDrawn, static_cast<int>(expected.size()));
    for (int set = 0; set < (IsTwoSetMode(k.mode) ? 2 : 1); ++set) {
      int placed = 0;
      for (const GlyphCorner& c : r.corners[static_cast<size_t>(set)]) placed += c.placed;
      EXPECT_EQ(placed, k.planetCount == 9 && k.noPlutoSet != set ? 9 : 8);
    }
  }
}

// Read across the middle of the line: a bold cell's line is two pixels wide,
// a plain one one pixel, and the right click on it names the square.
TEST(ChartLines, BoldLineIsTwoPixelsWideAndNamed) {
  SkyChart sky;
  // Earth-Mars square 0.5° from exact (bold), Jupiter-Saturn square 2° off.
  sky.Place({0, 10.0, -1, -1, 100.5, 250.0, 342.0, -1, -1, -1});
  const ChartInput in = sky.Compute(Mode::WorldTransits);
  Canvas canvas;
  const ChartResult r = DrawChart(canvas, in);
  for (auto [a, b, width] : {std::tuple{kEarth, kMars, 2}, {kJupiter, kSaturn, 1}}) {
    const GlyphCorner& ca = r.corners[0][static_cast<size_t>(a)];
    const GlyphCorner& cb = r.corners[0][static_cast<size_t>(b)];
    const bool horizontal = std::abs(cb.x - ca.x) >= std::abs(cb.y - ca.y);
    int across = 0;
    Colour onLine = kBlack;
    for (int d = -150; d <= 150; d += 15) {
      const Colour p = canvas.PixelAt((ca.x + cb.x) / 2 + 120 + (horizontal ? 0 : d),
                                      (ca.y + cb.y) / 2 + 120 + (horizontal ? d : 0));
      across += p == Rgb(255, 0, 0);
      if (p == Rgb(255, 0, 0)) onLine = p;
    }
    EXPECT_EQ(across, width) << PlanetName(a);
    EXPECT_EQ(LineKindsAt(onLine, in.aspectColours), "Square (90\u00B0)");
  }
}

TEST(ChartLines, FilterConflictDrawsNothing) {
  SkyChart sky;
  sky.Place(test::kBusySky);
  ChartInput in = sky.Compute(Mode::WorldTransits);
  in.showOnlyEarthAspects = in.showOnlyOuterPlanets = true;
  Canvas canvas(300, 300);
  canvas.Clear(Rgb(1, 2, 3));
  const QImage before = canvas.Image().copy();
  EXPECT_EQ(DrawChart(canvas, in).outcome, ChartOutcome::FilterConflict);
  EXPECT_TRUE(canvas.Image() == before);
  EXPECT_EQ(canvas.Operations().size(), 1u);
}

TEST(RightClick, NamesTheKindsOfAColour) {
  std::array<Colour, 8> shared = DefaultAspectColours();
  shared[kTrine] = Rgb(255, 0, 0);
  const std::array<Colour, 8>& standard = DefaultAspectColours();
  const struct {
    Colour pixel;
    const std::array<Colour, 8>& colours;
    const char* text;
  } cases[] = {
      {Rgb(255, 0, 255), standard, "Opposition (180\u00B0)"},
      {Rgb(255, 0, 0), shared, "Square (90\u00B0) or trine (120\u00B0)"},
      {kBlack, standard, ""}, {kWhite, standard, ""}, {Rgb(224, 224, 224), standard, ""},
      {Rgb(32, 32, 255), shared, ""}, {kSectorColour, standard, ""}, {kChartBackground, standard, ""},
  };
  for (const auto& k : cases) EXPECT_EQ(LineKindsAt(k.pixel, k.colours), k.text) << k.pixel;
}

// A right click 2 screen pixels beside a thin aspect line names it on the
// picture as a screen of 100 %, 150 % and 200 % shows it (drawn at that
// resolution), and only the line's own kind; in open black nothing.
TEST(RightClick, NamesTheNearestLineWithinThreeScreenPixels) {
  SkyChart sky;
  sky.Place(test::kBusySky);
  const ChartInput input = sky.Compute(Mode::WorldTransits);
  Canvas canvas;
  ASSERT_GT(DrawChart(canvas, input).linesDrawn, 20);
  for (double ratio : {1.0, 1.5, 2.0}) {
    SCOPED_TRACE(ratio);
    const double perTwip = ratio / kTwipsPerPixel;  // screen pixels
    QImage shown(static_cast<int>(std::lround(canvas.WidthTwips() * perTwip)),
                 static_cast<int>(std::lround(canvas.HeightTwips() * perTwip)), QImage::Format_RGB32);
    {
      QPainter painter(&shown);
      Canvas::Replay(canvas.Operations(), painter, perTwip);
    }
    auto near = [&](double x, double y, int radius) {
      const QPoint at(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
      return LineKindsNear(
          [&](int dx, int dy) {
            const QPoint p = at + QPoint(dx, dy);
            return shown.valid(p) ? FromArgb(shown.pixel(p)) : Canvas::kOutside;
          },
          radius, input.aspectColours);
    };
    int tried = 0, named = 0;
    for (const Operation& op : canvas.Operations()) {
      if (op.kind != Operation::Kind::Line || op.width != 1 || op.dotted) continue;
      const std::string own = LineKindsAt(op.colour, input.aspectColours);
      const double dx = op.x2 - op.x1, dy = op.y2 - op.y1, length = std::hypot(dx, dy);
      if (own.empty() || length < 3000) continue;
      // Points a third and two thirds along the line, 2 screen pixels off to
      // either side; a point where another line or a glyph lies on this one
      // (its own pixel names something else) is left out.
      for (double along : {1.0 / 3.0, 2.0 / 3.0}) {
        const double mx = (op.x1 + dx * along) * perTwip, my = (op.y1 + dy * along) * perTwip;
        if (near(mx, my, 1) != own) continue;
        for (int side : {-1, 1}) {
          ++tried;
          named += near(mx - dy / length * 2 * side, my + dx / length * 2 * side, 3) == own;
        }
      }
    }
    EXPECT_GT(tried, 20);
    // A click 2 pixels off a line that runs close beside another of another
    // kind may be nearer to that one (busy sky: a few such pairs).
    EXPECT_GE(named * 100, tried * 85) << named << " of " << tried;
    EXPECT_EQ(near(4, 4, 3), "");  // a corner of the black disc's square
  }
}

}  // namespace
}  // namespace vemo::chart
