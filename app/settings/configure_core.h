// Qt-free rules of the configuration window: the values its controls hold,
// their defaults ("Reset to default"), the copy that Cancel restores, the
// aspect-colour samples, "Set all non-zero orbs to" and the check that the two
// chart filters exclude each other; and the rules of the four per-user
// registry flags (defaults, repair of bad values).
#pragma once

#include <array>
#include <string>

#include "app/aspects/orbs.h"
#include "app/aspects/vocabulary.h"

namespace vemo::settings {

using vemo::Colour;
using vemo::OrbSettings;

// Everything the configuration window's controls hold: the orb settings that
// the aspect engine reads (orb, proportion, midpoint and boldface list
// positions and the aspect colours) and the chart and list options.
struct ConfigureValues {
  OrbSettings orbs = DefaultOrbSettings();
  bool useColor = true;
  bool displayZodiacSectors = true;
  bool showOnlyOuterPlanets = false;
  bool showOnlyEarthAspects = false;
  bool saveGraphicWithWhiteBackground = false;
  bool displayNATZabbr = true;

  bool operator==(const ConfigureValues&) const = default;
};

// "Reset to default": orbs, proportions, boldface, midpoint orb 0°30', both
// chart filters and the white background off, time-zone names and zodiac
// sectors on, the default colours. "Use color" keeps its state.
void ResetToDefaults(ConfigureValues& values);

// What Cancel puts back: every control as it stood when the window opened,
// and the shared orb positions, which "Set all non-zero orbs to" stores at
// once. Accept takes the copy afresh, so Cancel only drops what was not
// accepted. Cancel also unchecks the white-background option.
struct CancelCopy {
  ConfigureValues values;
  std::array<int, 8> orbListIndex = DefaultOrbSettings().OrbListIndex;
};
CancelCopy TakeCancelCopy(const ConfigureValues& values, const std::array<int, 8>& orbListIndex);
void RestoreCancelCopy(ConfigureValues& values, std::array<int, 8>& orbListIndex, const CancelCopy& copy);

// The two chart filters exclude each other; Accept is refused while both are on.
bool ChartFiltersConflict(const ConfigureValues& values);
// The three lines of Accept's refusal, joined by CR LF.
std::string ChartFiltersConflictMessage();
// Leaving the window with both filters on (Accept refused them, or was not
// pressed): the chart goes on with the pair accepted last, so the boxes take
// that pair back; a saved state, the registry flags written from the boxes
// and the next activation then show what the chart draws. Any other pair of
// boxes stays, accepted or not.
void KeepAcceptedChartFilters(ConfigureValues& values, bool acceptedOuterOnly, bool acceptedEarthOnly);

// Any other mouse button: a non-zero colour is remembered and switched off
// (0); a zero colour gets the remembered one back. remembered is the
// sample's own memory (0 when it never had one).
void ToggleColourOff(Colour& colour, Colour& remembered);

// "Set all non-zero orbs to": every orb of kinds 1..7 that is not 0° takes
// the "Set all" value; 0° stays 0° (it switches its kind off).
void SetAllNonzeroOrbs(ConfigureValues& values);

// --- Registry flags -------------------------------------------------------

inline constexpr const char* kRegistryKey = "Software\\Tessaly\\VEMO";
inline constexpr const char* kTZDispName = "TZDisp";
inline constexpr const char* kZodiacSectorsName = "Zodiac sectors";
inline constexpr const char* kInnerPlanetAspectDisplayName = "IPAD";
inline constexpr const char* kShowOnlyEarthAspectsName = "SOEA";
// The language of the window: "en" or "de" (languages.h).
inline constexpr const char* kLanguageName = "Language";

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

// The language the window starts in: the stored one when the read succeeded
// and names a language, else the system's.
int StoredLanguage(const std::string& status, const std::string& stored, int systemLanguage);

}  // namespace vemo::settings
