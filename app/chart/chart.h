// The heliocentric chart: the bodies as glyphs around the Sun and the aspects
// of the current table as straight lines between them, in a one-set picture
// (World transits, Natal aspects: one date) or a two-set picture (Personal
// transits, Synastry: two dates); the aspect time graph of a personal
// transit; and what a right click on either names.
//
// Drawn on a Canvas from plain values: the window and vemo-cli fill a
// ChartInput from the engine and the settings and show the messages the
// results call for. Geometry in twips, y downwards.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "app/aspects/engine.h"
#include "app/aspects/table_model.h"
#include "app/chart/canvas.h"
#include "app/chart/chart_input.h"

namespace vemo::chart {

// Picture settings shared by both charts.
inline constexpr Colour kChartBackground = Rgb(255, 255, 192);
inline constexpr Colour kSectorColour = Rgb(64, 64, 64);
inline constexpr Colour kLemon = Rgb(184, 191, 80);
inline constexpr Colour kPlacementGreen = Rgb(0, 255, 0);
// Text of the legends: a blue of no palette entry, readable on the pale
// ground and on the black disc, which the right click passes over.
inline constexpr Colour kLegendColour = Rgb(32, 32, 255);
// Date, time and angle labels of the time graph, also passed over.
inline constexpr Colour kGraphLabelColour = Rgb(224, 224, 224);

struct ChartGeometry {
    int left, width, height;      // picture box, twips
    int cx, cy;                   // centre
    int outerRadius;              // black disc
    int spokeLength;
    int firstRadius;              // first placement radius of every set
    std::array<int, 2> smallestRadius;  // placement fails below this, per set
    int sampleHeight;             // FindFreeSpot box height (300 or 350)
    int sunX, sunY;               // top-left corner of the Sun's glyph
};
inline constexpr ChartGeometry kOneSetGeometry{1200, 6000, 6000, 3000, 3000, 2950, 2900, 2800, {100, 100}, 300, 2860, 2840};
inline constexpr ChartGeometry kTwoSetGeometry{1200, 9900, 6600, 4950, 3300, 3250, 3200, 3200, {100, 50}, 350, 4810, 3150};

// Two-set chart in Personal transits and Synastry, one-set otherwise.
bool IsTwoSetMode(Mode mode);
const ChartGeometry& GeometryOf(Mode mode);

enum class ChartOutcome {
    Drawn,
    FilterConflict,  // both filters checked: nothing drawn, kFilterConflictMessage
    NoFreeSpot,      // placement failed: drawing stopped there, items 347 and 346
};

// The message of a filter conflict (CR LF line breaks).
inline constexpr const char* kFilterConflictMessageGerman =
    "\u201EIm Horoskop nur Aspekte der Erde\u201C und\r\n\u201EIm Horoskop nur Aspekte \u00E4u\u00DFerer Planeten\u201C\r\n"
    "k\u00F6nnen in den Einstellungen nicht beide angekreuzt sein.";
inline constexpr const char* kFilterConflictMessage =
    "'Show only Earth aspects in chart' and\r\n'Show only outer planet aspects in chart'\r\n"
    "cannot both be checked in the Configuration panel.";

struct GlyphCorner {
    bool placed = false;
    int x = 0, y = 0;  // top-left corner of the printed glyph, twips
};

struct ChartResult {
    ChartOutcome outcome = ChartOutcome::Drawn;
    std::array<std::array<GlyphCorner, kPlanetSlots>, 2> corners{};  // [set][planet]
    int linesDrawn = 0;
};

// DrawOneSetChart / DrawTwoSetChart: size the canvas to the geometry, clear
// it and draw the whole chart, legend included. DrawChart picks by mode.
ChartResult DrawOneSetChart(Canvas& canvas, const ChartInput& input);
ChartResult DrawTwoSetChart(Canvas& canvas, const ChartInput& input);
ChartResult DrawChart(Canvas& canvas, const ChartInput& input);

// The placement test around (cx + r cos lon, cy - r sin lon): free when every
// sample of the 26 x 31 (two-set: 26 x 36) grid, every 10 twips from
// (centre - half), is black or the sector colour.
bool FindFreeSpot(const Canvas& canvas, const ChartGeometry& g, double longitude, double r, int half);

// The right click on the chart: the descriptions of every kind 1..7 whose
// colour is that of the pixel, "Square (90°) or trine (120°)"; "" for black,
// white, light grey (224,224,224), (32,32,255) and colours of no kind.
std::string LineKindsAt(Colour pixel, const std::array<Colour, 8>& aspectColours);
inline constexpr const char* kLineTitle = "This line is a";
inline constexpr const char* kLineTitleGerman = "Diese Linie ist ein Aspekt:";
// LineKindsAt of the pixel nearest to a clicked pixel, within radiusPixels,
// whose colour is a kind's: the pixel itself first, then outward by
// distance, so that a thin line is named where the user sees it. pixelAt
// gives the colour of the picture as shown at an offset from the clicked
// pixel (kOutside beyond its edge). "" when no line lies that near.
std::string LineKindsNear(const std::function<Colour(int dx, int dy)>& pixelAt, int radiusPixels,
                          const std::array<Colour, 8>& aspectColours);

// ---- the aspect time graph of a personal transit ----

struct GraphInput {
    int natalPlanet = 0;         // fixed at the birthdate
    int transitingPlanet = 0;    // moving with the world date
    int kind = 0;
    double natalLongitude = 0.0; // radians
    double orb = 0.0;            // radians, the personal-transit orb of the kind
    Colour colour = 0;           // the kind's colour
    double beginning = -1.0;     // day numbers of the local days the aspect enters and leaves its orb
    double end = -1.0;
    int zoneMinutes = 0;         // the world date's zone, minutes east
    double presentAJD = 0.0;     // the world date's instant: its row is white
    bool radians = false;        // angle labels in radians
    std::function<double(int planet, double ajd)> longitude;  // HelioLongitude
    // The program's date text of a day number (EngineServices::
    // DayNumberToDateText) for the read-out; English long form when empty.
    std::function<std::string(double dayNumber)> dateText;
};

struct GraphResult {
    double start = 0.0;          // AJD of the first pixel row (y = 315)
    double stepPerPixelRow = 0.0;  // days from one pixel row (15 twips) to the next
    int pointsDrawn = 0;
};

// Graph geometry, twips.
inline constexpr int kGraphLeft = 750, kGraphWidth = 10950, kGraphHeight = 6600;
inline constexpr int kGraphTop = 315, kGraphBottom = 6195;   // pixel rows read back
inline constexpr int kGraphGridLeft = 1800, kGraphGridRight = 10800;
inline constexpr int kGraphExactX = 6300;

GraphResult DrawAspectGraph(Canvas& canvas, const GraphInput& input);

// The signed deviation the graph plots, radians: |separation - aspect angle|
// (as the table computes it), negative while the transiting body has not yet
// reached the exact aspect point in the sense of increasing longitude. Bodies
// move direct heliocentrically, so negative is applying (left of the dotted
// line) and positive separating (right of it).
double GraphDeviation(double transitingLongitude, double natalLongitude, int kind);

// The title of the graph from items 89, 90, 91, 155, 156: "Course of the
// transit: Transiting Mars square natal Sun within an orb of 2° 0' (exact on
// the dotted line)".
std::string GraphTitle(const GraphInput& input, const std::function<std::string(int)>& text);

// The right click on the graph: for a non-black pixel inside the plotted
// area, item 349, CR LF and item 348 with [date], [time] and [exactness] of
// that pixel row; "" elsewhere.
std::string GraphReadOut(const Canvas& canvas, const GraphInput& input, const GraphResult& result,
                         int xTwips, int yTwips, const std::function<std::string(int)>& text);

}  // namespace vemo::chart
