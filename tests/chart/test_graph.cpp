// The aspect time graph of a transit moving at a known speed: grid,
// exactness line, the plotted course, the read-out and the title.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "app/chart/chart.h"

namespace vemo::chart {
namespace {

constexpr double kExact = 2460477.0;  // 2024-06-15 12:00 UT (13:00 at the zone of +60 min)

std::string Item(int n) {
  static const std::map<int, std::string> items{
      {89, "Course of the transit:"}, {90, "within an orb of"}, {91, "(exact on the dotted line)"},
      {155, "Transiting"}, {156, "natal"}, {348, "On [date] at [time] the aspect is [exactness] from exact."},
      {349, "At this row of the graph:"}};
  return items.count(n) ? items.at(n) : "";
}

// Natal Mars at 100°; Jupiter, 0.1° a day, reaches the exact point (natal +
// offset) at kExact; a 2° orb holds from 20 days before to 20 after.
GraphInput Transit(int kind, double offset) {
  GraphInput in{kMars, kJupiter, kind, DegreesToRadians(100.0), DegreesToRadians(2.0),
                DefaultAspectColours()[static_cast<size_t>(kind)], kExact - 20, kExact + 20, 60, kExact, false, nullptr, nullptr};
  in.longitude = [offset](int, double t) { return NormaliseAngle(DegreesToRadians(100 + offset + 0.1 * (t - kExact))); };
  return in;
}

TEST(Graph, GridRowsAndExactnessLine) {
  GraphInput in = Transit(kSquare, 90.0);
  in.longitude = nullptr;  // the grid alone
  Canvas c;
  const GraphResult r = DrawAspectGraph(c, in);
  EXPECT_EQ(std::pair(c.WidthTwips(), c.HeightTwips()), std::pair(kGraphWidth, kGraphHeight));
  EXPECT_NEAR(r.start, kExact - 20.5 - 60 / 1440.0, 1e-9);  // local midnight
  EXPECT_NEAR(r.stepPerPixelRow * 392, 41.0, 1e-9);         // to the end of the last day
  // 29 grid rows 14 pixels apart; the present lies in row 14 (12:00 to 23:09), white.
  int rows = 0;
  for (int y = kGraphTop; y < kGraphHeight; y += 15) {
    const Colour p = c.PixelAt(2000, y);
    if (p == kBlack) continue;
    ++rows;
    EXPECT_EQ((y - kGraphTop) % 210, 0) << y;
    EXPECT_EQ(p, (y - kGraphTop) / 210 == 14 ? kWhite : kSectorColour) << y;
  }
  EXPECT_EQ(rows, 29);
  for (int y = kGraphTop + 15; y < kGraphTop + 210; y += 15) {
    EXPECT_EQ(c.PixelAt(kGraphExactX, y), (y / 15) % 2 == 1 ? kWhite : kBlack) << y;  // dotted
  }
}

// Pixel row by pixel row: a point in the kind's colour where the deviation is
// within the orb, 300 pixels per orb from x = 6300, left while the transiting
// body is short of the exact point; none out of the orb.
TEST(Graph, PointsOnlyWithinTheOrb) {
  for (auto [kind, offset] : {std::pair{kConjunction, 0.0}, {kSquare, 90.0}, {kSquare, -90.0}, {kOpposition, 180.0},
                              {kTrine, -120.0}}) {
    SCOPED_TRACE(testing::Message() << "kind " << kind << " at " << offset);
    GraphInput in = Transit(kind, offset);
    in.beginning -= 5;  // edge rows out of orb
    in.end += 5;
    Canvas c;
    const GraphResult r = DrawAspectGraph(c, in);
    int plotted = 0;
    for (int p = 0; p < 392; ++p) {
      const double dev = 0.1 * (r.start + p * r.stepPerPixelRow - kExact);
      int coloured = 0, nearExpected = 0;
      for (int x = 0; x < kGraphWidth; x += 15) {
        if (c.PixelAt(x, kGraphTop + p * 15) != in.colour) continue;
        ++coloured;
        nearExpected += std::fabs(x / 15 - (dev / 2.0 * 300.0 + 420.0)) <= 1.0;
      }
      if (std::fabs(dev) < 1.99) {
        EXPECT_GT(nearExpected, 0) << "row " << p;
        EXPECT_LE(coloured, 4) << "row " << p;  // its own point and the one above
        ++plotted;
      } else if (std::fabs(dev) > 2.05) {
        EXPECT_EQ(coloured, 0) << "row " << p;
      }
    }
    EXPECT_NEAR(r.pointsDrawn, plotted, 2);
  }
}

// The scale along the top: degrees and minutes in both units, 1/7.5 of the
// orb a tick, each label clear of its neighbours, also for an orb whose
// labels need six characters and on a canvas at 150 %.
TEST(Graph, AxisLabelsAreDegreesAndMinutesApart) {
  // "0", or digits, a degree sign, digits and a minute mark.
  auto degreesMinutes = [](const std::string& text) {
    if (text == "0") return true;
    const std::string degree = "\u00B0";
    const std::size_t sign = text.find(degree);
    auto digits = [](const std::string& part) {
      return !part.empty() && part.find_first_not_of("0123456789") == std::string::npos;
    };
    return sign != std::string::npos && text.size() > sign + degree.size() + 1 && text.back() == '\'' &&
           digits(text.substr(0, sign)) &&
           digits(text.substr(sign + degree.size(), text.size() - sign - degree.size() - 1));
  };
  // The labels next to 0 and outermost; a 12° orb ("11°12'" at the seventh
  // tick) labels every other tick.
  const struct { double orbDegrees; const char* first; const char* last; } cases[] = {
      {2.0, "0\u00B016'", "1\u00B052'"}, {3.0 + 20.0 / 60, "0\u00B027'", "3\u00B07'"},
      {0.5, "0\u00B04'", "0\u00B028'"}, {12.0, "3\u00B012'", "9\u00B036'"}};
  for (const auto& k : cases) {
    for (double scale : {1.0, 1.5}) {
      std::vector<std::pair<int, std::string>> byUnit[2];
      for (bool radians : {false, true}) {
        SCOPED_TRACE(testing::Message() << k.orbDegrees << "\u00B0 at " << scale << (radians ? " radians" : " degrees"));
        GraphInput in = Transit(kSquare, 90.0);
        in.orb = DegreesToRadians(k.orbDegrees);
        in.radians = radians;
        Canvas c(kGraphWidth, kGraphHeight, scale);
        DrawAspectGraph(c, in);
        std::vector<Operation> axis;
        for (const Operation& op : c.Operations()) {
          if (op.kind == Operation::Kind::Text && op.y1 < kGraphTop - 120) axis.push_back(op);
        }
        std::sort(axis.begin(), axis.end(), [](const Operation& a, const Operation& b) { return a.x1 < b.x1; });
        ASSERT_GE(axis.size(), 7u);
        ASSERT_EQ(axis.size() % 2, 1u);
        const Operation& zero = axis[axis.size() / 2];
        EXPECT_EQ(zero.text, "0");
        EXPECT_NEAR(zero.x1 + c.TextWidthTwips("0", zero.font) / 2, kGraphExactX, 15);
        EXPECT_EQ(axis[axis.size() / 2 + 1].text, k.first);
        EXPECT_EQ(axis.back().text, k.last);
        for (size_t i = 0; i < axis.size(); ++i) {
          EXPECT_TRUE(degreesMinutes(axis[i].text)) << axis[i].text;
          EXPECT_EQ(axis[i].text, axis[axis.size() - 1 - i].text);  // the same on both sides
          if (i > 0) {
            const int gap = axis[i].x1 - (axis[i - 1].x1 + c.TextWidthTwips(axis[i - 1].text, axis[i - 1].font));
            EXPECT_GE(gap, 60) << axis[i - 1].text << " " << axis[i].text;
          }
          byUnit[radians].emplace_back(axis[i].x1, axis[i].text);
        }
      }
      EXPECT_EQ(byUnit[0], byUnit[1]);
    }
  }
}

TEST(Graph, ReadOutAndTitle) {
  GraphInput in = Transit(kSquare, 90.0);
  Canvas c;
  const GraphResult r = DrawAspectGraph(c, in);
  const struct { int row; const char* text; } cases[] = {
      {150, "At this row of the graph:\r\nOn June 10, 2024 at 16:32 the aspect is 0\u00B0 29' from exact."},
      {300, "At this row of the graph:\r\nOn June 26, 2024 at 09:04 the aspect is 1\u00B0 5' from exact."},
  };
  for (const auto& k : cases) {
    const int y = kGraphTop + k.row * 15 + 7;  // anywhere inside the pixel row
    int x = kGraphGridLeft;
    while (x < kGraphWidth && c.PixelAt(x, y) != in.colour) x += 15;
    EXPECT_EQ(GraphReadOut(c, in, r, x, y, Item), k.text);
    EXPECT_EQ(GraphReadOut(c, in, r, x - 60, y, Item), "");  // black beside the curve
  }
  GraphInput named = in;  // the program's date text when given
  named.dateText = [](double day) { return "day " + std::to_string(static_cast<long>(day)); };
  EXPECT_NE(GraphReadOut(c, named, r, 3000, kGraphTop, Item).find("On day 2460457 at 00:00"), std::string::npos);
  for (auto [x, y] : {std::pair{1000, kGraphTop}, {3000, kGraphBottom}, {3000, 100}}) {
    EXPECT_EQ(GraphReadOut(c, in, r, x, y, Item), "") << x << "," << y;  // labels, below the rows
  }
  EXPECT_EQ(GraphTitle(in, Item), "Course of the transit: Transiting Jupiter square natal Mars within an orb of "
                                  "2\u00B0 0' (exact on the dotted line)");
  in.kind = kOpposition;
  in.radians = true;
  EXPECT_EQ(GraphTitle(in, Item), "Course of the transit: Transiting Jupiter opposite natal Mars within an orb of "
                                  "0.0349 (exact on the dotted line)");
}

}  // namespace
}  // namespace vemo::chart
