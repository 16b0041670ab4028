// The readers of the aspect table (totals, duration records, the cell click,
// the chart lines) must read the same table whatever words its cells show:
// the abbreviations change with the language.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "chart_support.h"

namespace vemo::chart {
namespace {

using test::kBirth1;
using test::kWorld;

// What the readers make of the engine's current table.
struct Readings {
  int total = 0;
  std::vector<std::tuple<std::string, int, int, int>> records;  // record, planets, kind
  std::vector<std::tuple<int, int, int, std::string>> clicks;   // cell, kind, what it says
  std::vector<std::tuple<Colour, int, int, int, int, int>> lines;
  int linesDrawn = 0;
};

Readings Read(AspectEngine& engine, const ChartInput& in) {
  Readings r;
  r.total = engine.GetTotalNumAspects();
  engine.GetDurations();
  for (const DurationEntry& e : engine.DurationRecords) r.records.emplace_back(e.Record, e.Planet1, e.Planet2, e.Kind);
  for (int n = 0; n < engine.Table.NumCells(); ++n) {
    const AspectClickInfo c = engine.AspectCellClick(n);
    if (c.Act) r.clicks.emplace_back(n, c.Kind, c.PlanetA * 10 + c.PlanetB, c.Sentence + c.OrbText + c.Question);
  }
  Canvas canvas;
  r.linesDrawn = DrawChart(canvas, in).linesDrawn;
  for (const Operation& op : canvas.Operations()) {
    if (op.kind == Operation::Kind::Line) r.lines.emplace_back(op.colour, op.width, op.x1, op.y1, op.x2, op.y2);
  }
  return r;
}

TEST(TableWords, ReadersTakeTheKindsFromTheModelNotTheWords) {
  // Every cell's text replaced: aspect cells by a German word and the rest by
  // the English abbreviations, so a reader of words would miss every aspect
  // and find ones that are not there.
  const std::string aspectWord = "Konjunktion\r\nxyz";
  const std::string otherWord = "Con Opp Sqr Tri Sxt Ssx Qui";
  for (Mode mode : {Mode::WorldTransits, Mode::Natal1, Mode::Personal1, Mode::Synastry}) {
    SCOPED_TRACE(static_cast<int>(mode));
    test::SkyChart sky;
    // The busy sky, moving (degrees a day) so that each aspect begins and ends.
    for (int p = 1; p <= 9; ++p) {
      sky.sky.Set(kWorld, p, test::kBusySky[static_cast<size_t>(p)], 1.5 - 0.15 * p);
      sky.sky.Set(kBirth1, p, test::kBusySky[static_cast<size_t>(p)] + 0.2, 1.5 - 0.15 * p);
    }
    const ChartInput in = sky.Compute(mode);
    const Readings english = Read(sky.engine, in);
    for (TableCell& cell : sky.engine.Table.Cells) cell.Text = cell.Role == CellRole::Aspect ? aspectWord : otherWord;
    const Readings other = Read(sky.engine, in);

    EXPECT_GT(english.total, 10);
    EXPECT_EQ(english.records.size(), static_cast<size_t>(english.total));
    EXPECT_GT(english.linesDrawn, 10);
    EXPECT_EQ(english.clicks.empty(), mode == Mode::Natal1 || mode == Mode::Synastry);
    EXPECT_EQ(other.total, english.total);
    EXPECT_EQ(other.records, english.records);
    EXPECT_EQ(other.clicks, english.clicks);
    EXPECT_EQ(other.linesDrawn, english.linesDrawn);
    EXPECT_EQ(other.lines, english.lines);
  }
}

}  // namespace
}  // namespace vemo::chart
