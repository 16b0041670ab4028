// The root finding of the aspect-event search: the fast reduction of angles
// is std::remainder to the last bit, and the minute reached from a guess is
// the one Brent's method and OnItsMinute reach, however far off the guess.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "app/aspects/event_refine.h"

namespace {

using namespace vemo;
using namespace vemo::event_search;

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(WrapPi, IsStdRemainderToTheLastBit) {
  std::mt19937_64 random(20261209);
  std::uniform_real_distribution<double> angle(-60.0, 60.0);
  int differ = 0;
  for (int i = 0; i < 2000000; ++i) {
    const double x = angle(random);
    differ += !SameBits(WrapPi(x), std::remainder(x, kFullCircle));
  }
  // Halves of a turn (ties go to the even multiple), their neighbours, whole
  // turns (zero takes the sign of x), and what the fast path leaves to
  // std::remainder.
  for (int k = -9; k <= 9; ++k) {
    for (double base : {(k + 0.5) * kFullCircle, k * kFullCircle}) {
      double below = base;
      double above = base;
      for (int step = 0; step < 4; ++step) {
        differ += !SameBits(WrapPi(below), std::remainder(below, kFullCircle));
        differ += !SameBits(WrapPi(above), std::remainder(above, kFullCircle));
        below = std::nextafter(below, -1e9);
        above = std::nextafter(above, 1e9);
      }
    }
  }
  const double inf = std::numeric_limits<double>::infinity();
  for (double x : {0.0, -0.0, 1e6, -1e6, 3e15, inf, -inf}) {
    differ += !SameBits(WrapPi(x), std::remainder(x, kFullCircle));
  }
  EXPECT_EQ(differ, 0);
  EXPECT_TRUE(std::isnan(WrapPi(std::numeric_limits<double>::quiet_NaN())));
}

// g changes side once, at `change` (days), rising at `rate` per day.
TEST(SettleMinute, ReachesTheMinuteOfBrentAndOnItsMinuteFromAnyGuess) {
  const double day = 2451545.0;
  for (double rate : {1e-6, 1e-3, 0.2}) {
    for (double seconds : {0.0, 12.5, 29.9, 30.1, 44.0, 59.9}) {
      const double change = day + (600.0 * 60.0 + seconds) / 86400.0;
      int evaluations = 0;
      auto g = [&](double t) {
        ++evaluations;
        return rate * (t - change);
      };
      const double a = day;
      const double b = day + 2.0;
      const double expected = OnItsMinute(g, Refine(g, a, b, g(a), g(b)), false);
      // The slope given: none, right, a little off, wrong in sign.
      for (double slope : {0.0, rate, 1.3 * rate, -0.5 * rate}) {
        for (double offMinutes : {0.0, 0.9, -0.9, 1.0, -1.0, 3.0, -7.0, 90.0, -500.0}) {
          SCOPED_TRACE(::testing::Message() << rate << " " << seconds << " " << offMinutes << " " << slope);
          evaluations = 0;
          const double t = SettleMinute(g, change + offMinutes / 1440.0, a, b, g(a), g(b), slope);
          EXPECT_EQ(t, expected);
          // A guess in the right minute costs its two edges (and g(a), g(b)
          // above); each minute off costs two more until the line through
          // the edges points at it. With the right slope a guess within half
          // a minute of the change costs two edges.
          if (offMinutes == 0.0 && slope == 0.0 && std::round(change * 1440.0) == std::round(t * 1440.0)) {
            EXPECT_EQ(evaluations, 4);
          }
          if (std::fabs(offMinutes) <= 0.5 && slope == rate) {
            EXPECT_LE(evaluations, 4);
          }
        }
      }
    }
  }
}

}  // namespace
