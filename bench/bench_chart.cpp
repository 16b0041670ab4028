// Chart drawing: the one-set chart of a busy sky (nine bodies, 34 aspect
// lines) and the two-set chart of two such skies (18 glyphs, 60 lines), each
// from clearing the picture to the legend, placement included; one placement
// test (806 pixel reads); and the aspect time graph (392 positions). Drawn
// offscreen into the picture's QImage as the window does. The counter
// "tries" is the number of placement tests one chart needed.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>

#include "tests/chart/chart_support.h"

namespace {

using namespace vemo;
using namespace vemo::chart;

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "bench_chart";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
  (void)app;
}

void DrawBusyChart(benchmark::State& state, Mode mode) {
  EnsureApplication();
  chart::test::SkyChart sky;
  chart::test::Degrees set1 = chart::test::kBusySky;
  for (double& d : set1) d += 0.2;
  sky.Place(chart::test::kBusySky, set1);
  const ChartInput input = sky.Compute(mode);
  Canvas canvas;
  int lines = 0;
  for (auto _ : state) {
    const ChartResult r = DrawChart(canvas, input);
    lines = r.linesDrawn;
    benchmark::DoNotOptimize(r);
  }
  // Placement tests of one drawing: the radius shrinks by 0.99 per failed try.
  double tries = 0;
  const ChartGeometry& g = GeometryOf(mode);
  for (int set = 0; set < (IsTwoSetMode(mode) ? 2 : 1); ++set) {
    for (int body = 1; body <= 9; ++body) {
      const GlyphCorner& c = DrawChart(canvas, input).corners[static_cast<size_t>(set)][static_cast<size_t>(body)];
      const double r = std::hypot(c.x + 150 - g.cx, c.y + 150 - g.cy);
      tries += 1 + std::round(std::log(r / g.firstRadius) / std::log(0.99));
    }
  }
  state.counters["lines"] = lines;
  state.counters["tries"] = tries;
}

void BM_OneSetChart(benchmark::State& state) { DrawBusyChart(state, Mode::WorldTransits); }
BENCHMARK(BM_OneSetChart)->Unit(benchmark::kMillisecond);

void BM_TwoSetChart(benchmark::State& state) { DrawBusyChart(state, Mode::Personal1); }
BENCHMARK(BM_TwoSetChart)->Unit(benchmark::kMillisecond);

void BM_FindFreeSpot(benchmark::State& state) {
  EnsureApplication();
  Canvas canvas;
  canvas.Clear(kBlack);  // a free spot: every one of the 806 samples is read
  for (auto _ : state) benchmark::DoNotOptimize(FindFreeSpot(canvas, kOneSetGeometry, 1.0, 2000.0, 150));
}
BENCHMARK(BM_FindFreeSpot)->Unit(benchmark::kMicrosecond);

void BM_AspectGraph(benchmark::State& state) {
  EnsureApplication();
  GraphInput in{kMars, kJupiter, kSquare, 1.7, DegreesToRadians(2.0), Rgb(255, 0, 0), 2460457, 2460497, 60,
                2460477.0, false, nullptr, nullptr};
  in.longitude = [](int, double t) { return NormaliseAngle(1.7 + DegreesToRadians(90 + 0.1 * (t - 2460477.0))); };
  Canvas canvas;
  for (auto _ : state) benchmark::DoNotOptimize(DrawAspectGraph(canvas, in));
}
BENCHMARK(BM_AspectGraph)->Unit(benchmark::kMillisecond);

}  // namespace
