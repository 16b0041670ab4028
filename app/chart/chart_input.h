// What a chart and a saved picture are drawn from: plain values, no Qt, so
// that vemo-cli can fill them without loading the drawing code.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "app/aspects/engine.h"
#include "app/aspects/table_model.h"

namespace vemo::chart {

struct ChartInput {
    Mode mode = Mode::WorldTransits;
    const AspectTable* table = nullptr;              // the current table; lines come from its cells' kinds
    std::array<std::array<double, kPlanetSlots>, 2> longitudes{};  // [set][planet 1..9], radians; < 0 not drawn
    int planetCount = 9;                             // 8 without the Pluto table
    std::array<Colour, 8> aspectColours{};           // slots 1..7; 0 = kind left out of the chart
    bool displayZodiacSectors = true;
    bool showOnlyOuterPlanets = false;
    bool showOnlyEarthAspects = false;
    std::array<std::string, 3> legendLines;          // program text items 104, 105, 106
};

// The caption strip of a saved chart picture.
struct PictureCaption {
    std::vector<std::string> headerLines;  // the program's name over a few lines, in grey
    std::string version;                   // written as "v. " + version under the name
    std::string title;                     // the mode's title with its orbs
    std::string subject;                   // under the title: the transit of a time graph ("" for a chart)
    std::vector<std::string> dateLines;    // one per date the mode uses
};

// The program's name over three lines and its version, for the header of
// saved pictures.
PictureCaption ProgramCaption();

// A date of a saved picture as year, month and day with "-" between them,
// month and day with two digits: "2025-01-01". year is the year box as it
// stands.
std::string PictureDateText(const std::string& year, int month, int day);

// A date line of a saved picture: "World date: 2025-01-01 13:00 GMT+1:00".
std::string PictureDateLine(const std::string& label, const std::string& date, const std::string& hourEntry,
                            const std::string& zoneEntry);

}  // namespace vemo::chart
