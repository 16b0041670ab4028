// Orb model: the settings the configuration window edits (list positions, as the
// window holds them) and the orb table derived from them by SetOrbs.
#pragma once

#include <array>

#include "app/aspects/vocabulary.h"

namespace vemo {

// Orb columns.
inline constexpr int kOrbColumnOneDate = 0;   // World transits, Natal aspects
inline constexpr int kOrbColumnPersonal = 1;  // Personal transits
inline constexpr int kOrbColumnSynastry = 2;  // Synastry
inline constexpr int kNumOrbColumns = 3;

// List sizes of the configuration window.
inline constexpr int kOrbListEntries = 16;          // 0° .. 15°
inline constexpr int kProportionListEntries = 5;    // "1", "1/2" .. "1/5"
inline constexpr int kMidpointOrbListEntries = 8;   // 0° 5' .. 3° 0'
inline constexpr int kBoldfaceFactorEntries = 9;    // "1/2" .. "1/20"

// Everything the engine needs from the configuration window. Each field is
// the selected list position of the control named beside it, so the window
// can store and restore it one to one.
struct OrbSettings {
  // cboOrb(0..6): orb of kinds 1..7 in whole degrees (list position = degrees);
  // cboOrb(7): the "Set all non-zero orbs to:" value, never 0.
  std::array<int, 8> OrbListIndex{10, 9, 6, 7, 4, 3, 3, 1};
  // cboPersonalOrbsProportion(0) (personal transits) and (1) (synastry):
  // list position 0..4 for "1", "1/2", "1/3", "1/4", "1/5"; divisor = position + 1.
  std::array<int, 2> ProportionListIndex{2, 2};
  // cboOrbForMidpoints: list position 0..7 (0° 5' .. 3° 0'); -1 = none selected.
  int MidpointOrbListIndex = 2;
  // chkUseBoldface, opt1DegOfOrb / optProportionOfOrb, cboBoldfaceFactor
  // (list position 0..8 for 1/2, 1/3, 1/4, 1/5, 1/6, 1/8, 1/10, 1/15, 1/20).
  bool UseBoldface = true;
  bool BoldfaceOneDegree = true;
  int BoldfaceFactorListIndex = 2;
  // Colour of each kind (slots 1..7), 0 = left out of the chart and of the
  // aspect-cell click.
  std::array<Colour, 8> AspectColours = DefaultAspectColours();

  bool operator==(const OrbSettings&) const = default;
};

// The configuration window's "Reset to default" values.
OrbSettings DefaultOrbSettings();

// Item data of the lists.
int OrbMinutesOfListIndex(int index);          // 0, 60, .., 900 arc minutes
int ProportionDivisorOfListIndex(int index);   // 1..5
int BoldfaceDivisorOfListIndex(int index);     // 2, 3, 4, 5, 6, 8, 10, 15, 20
double MidpointOrbDegreesOfListIndex(int index);  // 5/60 .. 3; 0 when none
// List position of a divisor (-1 when it is not offered).
int ProportionListIndexOfDivisor(int divisor);
int BoldfaceListIndexOfDivisor(int divisor);

// Entry texts of the lists: "7°", "1/3", "0° 30'", "1/4".
std::string OrbListText(int index);
std::string ProportionListText(int index);
std::string MidpointOrbListText(int index);
std::string BoldfaceFactorListText(int index);

// Checks the list positions; returns "" when every field lies in its list,
// else a message naming the first bad field. Used before settings from files
// or the command line are applied.
std::string ValidateOrbSettings(const OrbSettings& s);

// Orb table Orb(k, c), radians, with the orb range derived from it.
struct OrbTable {
  // Orb[k][c]: k = 0..7 (0 carries no kind), c = orb column 0..2.
  std::array<std::array<double, kNumOrbColumns>, 8> Orb{};
  // Column 0: largest orb and smallest non-zero orb (20.0 when every orb is 0).
  double LargestOrb = 0.0;
  double SmallestOrb = 20.0;
  // Columns 1 and 2 in slots 0 and 1.
  std::array<double, 2> LargestPersonalOrb{0.0, 0.0};
  std::array<double, 2> SmallestPersonalOrb{20.0, 20.0};
  // True when the smallest non-zero and the largest orb of column 0 are equal.
  bool AllOrbsEqual = false;
};

// SetOrbs: orb table and range from the settings. Out-of-range list positions
// count as 0° / divisor 1 rather than reading outside the lists.
OrbTable SetOrbs(const OrbSettings& settings);

}  // namespace vemo
