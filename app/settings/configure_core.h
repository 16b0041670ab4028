// Qt-free rules of the configuration window: the values its controls hold,
// their defaults ("Reset to default"), the copy that Cancel restores, the
// aspect-colour samples, "Set all non-zero orbs to" and the check that the two
// chart filters exclude each other; and the rules of the four per-user
// registry flags (defaults, repair of bad values).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vemo::settings {

// A colour value as the program stores it: red + 256 green + 65536 blue
// (65535 is yellow). 0 marks an aspect kind that the chart leaves out.
using ColourValue = std::int32_t;
constexpr ColourValue Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// The chart's 12-colour palette, index 0..11, through which a colour sample
// cycles on a left click.
const std::array<ColourValue, 12>& ChartPalette();
// Default colours of aspect kinds 1..7 (slot 0 unused).
const std::array<ColourValue, 8>& DefaultAspectColours();

// Everything the configuration window's controls hold. List positions are
// the positions in the window's lists:
//   orbListIndex[0..6]  orb of aspect kinds 1..7 in whole degrees (0..15),
//   orbListIndex[7]     the "Set all" value (1..15),
//   proportionIndex[0]  personal transits, [1] synastry: 0..4 for 1, 1/2 .. 1/5,
//   midpointOrbIndex    0..7 for 0°5' .. 3°0',
//   boldfaceFactorIndex 0..8 for 1/2, 1/3, 1/4, 1/5, 1/6, 1/8, 1/10, 1/15, 1/20.
struct ConfigureValues {
  std::array<int, 8> orbListIndex{10, 9, 6, 7, 4, 3, 3, 1};
  std::array<int, 2> proportionIndex{2, 2};
  int midpointOrbIndex = 2;
  bool useBoldface = true;
  bool oneDegreeOfOrb = true;  // false: proportion of the orb
  int boldfaceFactorIndex = 2;
  // Colours of kinds 1..7 (slot 0 unused), the defaults of DefaultAspectColours.
  std::array<ColourValue, 8> colours{0, 65535, 16711935, 255, 65280, 16776960, 16744576, 8421504};
  bool useColor = true;
  bool displayZodiacSectors = true;
  bool showOnlyOuterPlanets = false;
  bool showOnlyEarthAspects = false;
  bool saveGraphicWithWhiteBackground = false;
  bool displayNATZabbr = true;

  bool operator==(const ConfigureValues&) const = default;
};

inline constexpr int kOrbListEntries = 16;        // 0° .. 15°
inline constexpr int kProportionEntries = 5;      // 1 .. 1/5
inline constexpr int kMidpointOrbEntries = 8;     // 0°5' .. 3°0'
inline constexpr int kBoldfaceFactorEntries = 9;  // 1/2 .. 1/20
const std::array<int, kBoldfaceFactorEntries>& BoldfaceDivisors();  // 2, 3, 4, 5, 6, 8, 10, 15, 20

// "Reset to default": orbs, proportions, boldface, midpoint orb 0°30', both
// chart filters and the white background off, time-zone names and zodiac
// sectors on, the default colours. "Use color" keeps its state.
void ResetToDefaults(ConfigureValues& values);

// What Cancel restores: the settings that are not refilled from the shared
// data at the next activation (orb lists and colours are).
struct CancelCopy {
  bool useBoldface = true;
  int boldfaceFactorIndex = 2;
  std::array<int, 2> proportionIndex{2, 2};
  bool displayNATZabbr = true;
  bool displayZodiacSectors = true;
  bool showOnlyOuterPlanets = false;
  bool showOnlyEarthAspects = false;
  std::array<ColourValue, 8> colours{};
};
CancelCopy TakeCancelCopy(const ConfigureValues& values);
// Puts the copy back and unchecks the white-background option.
void RestoreCancelCopy(ConfigureValues& values, const CancelCopy& copy);

// The two chart filters exclude each other; Accept is refused while both are on.
bool ChartFiltersConflict(const ConfigureValues& values);
// The three lines of Accept's refusal, joined by CR LF.
std::string ChartFiltersConflictMessage();

// Left click on a colour sample: the next colour of the palette, wrapping
// after the last; a colour that is not in the palette stays as it is.
ColourValue NextPaletteColour(ColourValue colour);

// Any other mouse button: a non-zero colour is remembered and switched off
// (0); a zero colour gets the remembered one back. remembered is the
// sample's own memory (0 when it never had one).
void ToggleColourOff(ColourValue& colour, ColourValue& remembered);

// "Set all non-zero orbs to": every orb of kinds 1..7 that is not 0° takes
// the "Set all" value; 0° stays 0° (it switches its kind off).
void SetAllNonzeroOrbs(ConfigureValues& values);

// --- Registry flags -------------------------------------------------------

inline constexpr const char* kRegistryKey = "Software\\Tessaly\\VEMO";
inline constexpr const char* kTZDispName = "TZDisp";
inline constexpr const char* kZodiacSectorsName = "Zodiac sectors";
inline constexpr const char* kInnerPlanetAspectDisplayName = "IPAD";
inline constexpr const char* kShowOnlyEarthAspectsName = "SOEA";

// A registry status text starts with "0" on success.
bool RegistryStatusOk(const std::string& status);

// The value a flag takes after a read: the stored value on success, with
// anything other than "0" or "1" read as "1"; the default when the read
// failed.
std::string RegistryFlagValue(const std::string& status, const std::string& stored,
                              const std::string& fallback);

// Default of "TZDisp": North American zone names for computers whose zone
// lies between -10:00 and -2:30 (offsets in minutes east, both ends included).
std::string DefaultTZDisp(int zoneMinutesEast);

}  // namespace vemo::settings
