// The aspect time graph of a personal transit: time runs down the picture in
// 28 equal steps from the local midnight that opens the aspect's first day to
// the one that closes its last day; across, the deviation from exactness, the
// whole orb being 300 pixels on either side of the dotted line at x = 6300.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "app/chart/chart.h"
#include "app/time/date_texts.h"

namespace vemo::chart {

namespace {

const Font kGraphFont{"Courier New", 8.0, false};

constexpr int kGraphSteps = 28;                 // grid rows 0..28
constexpr int kRowTwips = 14 * kTwipsPerPixel;  // 210 twips between grid rows
constexpr int kPixelRows = (kGraphBottom - kGraphTop) / kTwipsPerPixel;  // 392
constexpr int kAxisTicks = 7;                   // labels each side of the dotted line
constexpr int kTickTwips = 600;
constexpr int kAxisLabelGap = 60;               // at least 4 pixels between axis labels
constexpr std::size_t kAxisLabelCharacters = 5; // the longest label every tick can carry
constexpr double kOrbPixels = 300.0;            // pixels from exactness to the orb
constexpr int kExactPixel = kGraphExactX / kTwipsPerPixel;  // 420
constexpr int kLabelLeft = 90;
constexpr int kAxisLabelTop = 60;
constexpr int kRowLabelRaise = 100;             // centres an 8-point line on its grid row

std::string Fixed4(double x) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4f", x);
  return buf;
}

std::string AngleText(double x, bool radians, bool spaced) {
  return radians ? Fixed4(x) : FormatAngleDM(x, false, spaced);
}

// UT Julian date of the local midnight that begins day number `day` in a zone
// `zoneMinutes` east (the inverse of the engine's day number of a midnight).
double MidnightOf(double day, int zoneMinutes) { return day - 0.5 - zoneMinutes / 1440.0; }

// Local day value (day number + fraction of the day) of an instant, rounded to
// the minute so that 14:00 never reads 13:59.
double LocalDayValue(double ajd, int zoneMinutes) {
  const double local = ajd + zoneMinutes / 1440.0 + 0.5;
  return std::round(local * 1440.0) / 1440.0;
}

void ReplaceAll(std::string& text, const std::string& marker, const std::string& value) {
  for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + value.size())) {
    text.replace(at, marker.size(), value);
  }
}

}  // namespace

double GraphDeviation(double transitingLongitude, double natalLongitude, int kind) {
  const double angle = AspectAngle(kind);
  const double magnitude = std::fabs(AspectSeparation(transitingLongitude, natalLongitude) - angle);
  // d: how far the transiting body stands ahead of the natal point, (-pi, pi].
  double d = NormaliseAngle(transitingLongitude - natalLongitude);
  if (d > kHalfCircle) d -= kFullCircle;
  // Ahead by less than the angle, or behind by more: the exact point (natal
  // point + or - angle) still lies ahead of the transiting body.
  const bool beforeExact = d >= 0 ? std::fabs(d) < angle : std::fabs(d) > angle;
  return beforeExact ? -magnitude : magnitude;
}

GraphResult DrawAspectGraph(Canvas& canvas, const GraphInput& input) {
  GraphResult result;
  canvas.Resize(kGraphWidth, kGraphHeight);
  // Black ground: the right click reads every non-black pixel as curve.
  canvas.Clear(kBlack);
  if (!(input.beginning >= 0) || !(input.end >= input.beginning)) return result;

  result.start = MidnightOf(input.beginning, input.zoneMinutes);
  const double span = MidnightOf(input.end + 1.0, input.zoneMinutes) - result.start;
  const double rowStep = span / kGraphSteps;
  result.stepPerPixelRow = span / kPixelRows;

  // The grid row at or just before the present instant is white.
  int presentRow = -1;
  if (input.presentAJD >= result.start && input.presentAJD <= result.start + span) {
    presentRow = std::min(kGraphSteps, static_cast<int>(std::floor((input.presentAJD - result.start) / rowStep + 1e-9)));
  }
  for (int i = 0; i <= kGraphSteps; ++i) {
    const int y = kGraphTop + i * kRowTwips;
    canvas.Line(kGraphGridLeft, y, kGraphGridRight, y, i == presentRow ? kWhite : kSectorColour);
    const double local = LocalDayValue(result.start + i * rowStep, input.zoneMinutes);
    const double day = std::floor(local);
    const std::string label =
        JdnToNumericDate(static_cast<int>(day)) + " " + DayFractionToTimeText(local - day, false);
    canvas.Text(kLabelLeft, y - kRowLabelRaise, label, kGraphFont, kGraphLabelColour);
  }
  canvas.Line(kGraphExactX, kGraphTop, kGraphExactX, kGraphBottom, kWhite, 1, true);

  // Axis: 0 over the dotted line, then i/7.5 of the orb every 600 twips on
  // both sides (the seventh tick, 600 * 7 twips = 280 pixels, is 7/7.5 of
  // the orb), each label centred on its tick. Degrees and minutes in both
  // units, as the table writes deviations: "0°27'" fits the 40 pixels of a
  // tick, where four decimals of a radian (6 characters of 6.4 pixels) ran
  // into each other.
  std::array<std::string, kAxisTicks + 1> labels;
  labels[0] = "0";
  for (int i = 1; i <= kAxisTicks; ++i) labels[static_cast<size_t>(i)] = FormatAngleDM(i * input.orb / 7.5);
  // Six characters ("10°40'", an orb from 10°40') leave no gap between
  // neighbours in the monospaced font, nor does a wider font standing in for
  // it: every other tick is labelled then, at every scale of the canvas.
  int every = 1;
  for (int i = 0; i < kAxisTicks; ++i) {
    const std::string& label = labels[static_cast<size_t>(i + 1)];
    const int halves = canvas.TextWidthTwips(labels[static_cast<size_t>(i)], kGraphFont) / 2 +
                       canvas.TextWidthTwips(label, kGraphFont) / 2;
    if (Utf8Length(label) > kAxisLabelCharacters || halves + kAxisLabelGap > kTickTwips) every = 2;
  }
  for (int i = -kAxisTicks; i <= kAxisTicks; ++i) {
    if (i % every != 0) continue;
    const std::string& label = labels[static_cast<size_t>(std::abs(i))];
    const int x = kGraphExactX + i * kTickTwips;
    canvas.Text(x - canvas.TextWidthTwips(label, kGraphFont) / 2, kAxisLabelTop, label, kGraphFont,
                kGraphLabelColour);
  }

  if (!input.longitude || !(input.orb > 0)) return result;
  for (int p = 0; p < kPixelRows; ++p) {
    const double t = result.start + p * result.stepPerPixelRow;
    const double lon = input.longitude(input.transitingPlanet, t);
    if (!(lon >= 0)) continue;  // a position the data cannot give
    const double dev = GraphDeviation(lon, input.natalLongitude, input.kind);
    if (!(std::fabs(dev) < input.orb)) continue;
    const int x = static_cast<int>(std::lround((dev / input.orb * kOrbPixels + kExactPixel) * kTwipsPerPixel));
    canvas.Point(x, kGraphTop + p * kTwipsPerPixel, input.colour, 2);
    ++result.pointsDrawn;
  }
  return result;
}

std::string GraphTitle(const GraphInput& input, const std::function<std::string(int)>& text) {
  auto item = [&text](int n) { return text ? text(n) : std::string(); };
  return item(89) + " " + item(155) + " " + PlanetName(input.transitingPlanet) + " " +
         Aspect(input.kind).Relation + " " + item(156) + " " + PlanetName(input.natalPlanet) + " " + item(90) +
         " " + AngleText(input.orb, input.radians, true) + " " + item(91);
}

std::string GraphReadOut(const Canvas& canvas, const GraphInput& input, const GraphResult& result, int xTwips,
                         int yTwips, const std::function<std::string(int)>& text) {
  if (xTwips < kGraphGridLeft || yTwips < kGraphTop || yTwips >= kGraphBottom) return "";
  const Colour pixel = canvas.PixelAt(xTwips, yTwips);
  if (pixel == kBlack || pixel == Canvas::kOutside) return "";
  const int row = (yTwips - kGraphTop) / kTwipsPerPixel;
  const double instant = result.start + row * result.stepPerPixelRow;

  const double local = LocalDayValue(instant, input.zoneMinutes);
  const double day = std::floor(local);
  const std::string date =
      input.dateText ? input.dateText(day) : JdnToDateText(static_cast<int>(day), false, kEnglish);
  const std::string time = DayFractionToTimeText(local - day, false);
  const double lon = input.longitude ? input.longitude(input.transitingPlanet, instant) : -1.0;
  const std::string exactness =
      lon >= 0 ? AngleText(std::fabs(GraphDeviation(lon, input.natalLongitude, input.kind)), input.radians, true)
               : std::string("?");

  auto item = [&text](int n) { return text ? text(n) : std::string(); };
  std::string line = item(348);
  ReplaceAll(line, "[time]", time);
  ReplaceAll(line, "[date]", date);
  ReplaceAll(line, "[exactness]", exactness);
  return item(349) + kCrLf + line;
}

}  // namespace vemo::chart
