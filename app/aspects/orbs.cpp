#include "app/aspects/orbs.h"

#include <string>

namespace vemo {

namespace {

constexpr std::array<int, kBoldfaceFactorEntries> kBoldfaceDivisors{2, 3, 4, 5, 6, 8, 10, 15, 20};
// cboOrbForMidpoints: whole degrees and the minute text of each entry.
constexpr std::array<int, kMidpointOrbListEntries> kMidpointDegrees{0, 0, 0, 1, 1, 2, 2, 3};
constexpr std::array<int, kMidpointOrbListEntries> kMidpointMinutes{5, 15, 30, 0, 30, 0, 30, 0};

bool InRange(int v, int count) { return v >= 0 && v < count; }

void Range(const OrbTable& t, int column, double& largest, double& smallest) {
  largest = 0.0;
  smallest = 20.0;  // above any orb (15° is 0.26 rad)
  for (int k = 1; k <= kNumKinds; ++k) {
    const double orb = t.Orb[static_cast<size_t>(k)][static_cast<size_t>(column)];
    if (orb > largest) largest = orb;
    if (orb > 0 && orb < smallest) smallest = orb;
  }
}

}  // namespace

OrbSettings DefaultOrbSettings() { return OrbSettings{}; }

int OrbMinutesOfListIndex(int index) { return InRange(index, kOrbListEntries) ? index * 60 : 0; }

int ProportionDivisorOfListIndex(int index) {
  return InRange(index, kProportionListEntries) ? index + 1 : 1;
}

int BoldfaceDivisorOfListIndex(int index) {
  return InRange(index, kBoldfaceFactorEntries) ? kBoldfaceDivisors[static_cast<size_t>(index)] : 4;
}

double MidpointOrbDegreesOfListIndex(int index) {
  if (!InRange(index, kMidpointOrbListEntries)) return 0.0;
  return kMidpointDegrees[static_cast<size_t>(index)] +
         kMidpointMinutes[static_cast<size_t>(index)] / 60.0;
}

int ProportionListIndexOfDivisor(int divisor) {
  return (divisor >= 1 && divisor <= kProportionListEntries) ? divisor - 1 : -1;
}

int BoldfaceListIndexOfDivisor(int divisor) {
  for (size_t i = 0; i < kBoldfaceDivisors.size(); ++i) {
    if (kBoldfaceDivisors[i] == divisor) return static_cast<int>(i);
  }
  return -1;
}

std::string OrbListText(int index) {
  return InRange(index, kOrbListEntries) ? std::to_string(index) + "\u00B0" : "";
}

std::string ProportionListText(int index) {
  if (!InRange(index, kProportionListEntries)) return "";
  return index == 0 ? "1" : "1/" + std::to_string(index + 1);
}

std::string MidpointOrbListText(int index) {
  if (!InRange(index, kMidpointOrbListEntries)) return "";
  return std::to_string(kMidpointDegrees[static_cast<size_t>(index)]) + "\u00B0 " +
         std::to_string(kMidpointMinutes[static_cast<size_t>(index)]) + "'";
}

std::string BoldfaceFactorListText(int index) {
  if (!InRange(index, kBoldfaceFactorEntries)) return "";
  return "1/" + std::to_string(kBoldfaceDivisors[static_cast<size_t>(index)]);
}

std::string ValidateOrbSettings(const OrbSettings& s) {
  static const char* const kKindNames[7] = {"conjunction", "opposition", "square", "trine",
                                            "sextile", "semisextile", "quincunx"};
  for (int i = 0; i < 7; ++i) {
    if (!InRange(s.OrbListIndex[static_cast<size_t>(i)], kOrbListEntries)) {
      return std::string("The ") + kKindNames[i] + " orb must be a whole number of degrees from 0 to 15.";
    }
  }
  if (s.OrbListIndex[7] < 1 || s.OrbListIndex[7] >= kOrbListEntries) {
    return "The \"Set all\" orb must be a whole number of degrees from 1 to 15.";
  }
  for (int i = 0; i < 2; ++i) {
    if (!InRange(s.ProportionListIndex[static_cast<size_t>(i)], kProportionListEntries)) {
      return std::string("The ") + (i == 0 ? "personal transits" : "synastry") +
             " proportion must be 1, 1/2, 1/3, 1/4 or 1/5.";
    }
  }
  if (s.MidpointOrbListIndex < -1 || s.MidpointOrbListIndex >= kMidpointOrbListEntries) {
    return "The midpoint orb must be one of the eight list entries (0 to 7).";
  }
  if (!InRange(s.BoldfaceFactorListIndex, kBoldfaceFactorEntries)) {
    return "The boldface proportion must be 1/2, 1/3, 1/4, 1/5, 1/6, 1/8, 1/10, 1/15 or 1/20.";
  }
  for (int k = 1; k <= kNumKinds; ++k) {
    if (s.AspectColours[static_cast<size_t>(k)] > 0xFFFFFFu) {
      return "An aspect colour is not a 24-bit colour value.";
    }
  }
  return "";
}

OrbTable SetOrbs(const OrbSettings& settings) {
  OrbTable t;
  for (int i = 0; i < 7; ++i) {
    const double minutes = OrbMinutesOfListIndex(settings.OrbListIndex[static_cast<size_t>(i)]);
    t.Orb[static_cast<size_t>(i + 1)][0] = minutes / 60.0 / 360.0 * kFullCircle;
  }
  for (int c = 1; c <= 2; ++c) {
    const int divisor = ProportionDivisorOfListIndex(settings.ProportionListIndex[static_cast<size_t>(c - 1)]);
    for (int k = 1; k <= kNumKinds; ++k) {
      t.Orb[static_cast<size_t>(k)][static_cast<size_t>(c)] = t.Orb[static_cast<size_t>(k)][0] / divisor;
    }
  }
  Range(t, 0, t.LargestOrb, t.SmallestOrb);
  t.AllOrbsEqual = (t.SmallestOrb == t.LargestOrb);
  Range(t, 1, t.LargestPersonalOrb[0], t.SmallestPersonalOrb[0]);
  Range(t, 2, t.LargestPersonalOrb[1], t.SmallestPersonalOrb[1]);
  return t;
}

}  // namespace vemo
