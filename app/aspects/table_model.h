// The aspect table as plain values: grid size and, per cell, its text, colours,
// weight, visibility and role. Compute fills it; the window draws it into its
// cell boxes; totals, durations, the chart and the cell click read it, and
// take each aspect's kind from TableCell::Kind, never from the cell's words,
// which change with the language.
#pragma once

#include <string>
#include <vector>

#include "app/aspects/vocabulary.h"

namespace vemo {

enum class CellRole {
  Empty,     // nothing written (an aspect cell without aspect, an unused slot)
  Corner,    // caption of the two-date grid's top-left 2x2 corner
  Position,  // a planet's longitude
  Glyph,     // a planet's chart glyph (GlyphPlanet, Text = its Starfont character)
  Aspect,    // an aspect found by Compute
};

inline constexpr Colour kBlack = Rgb(0, 0, 0);
inline constexpr Colour kWhite = Rgb(255, 255, 255);

// The ground of the aspect cells: the kind colours (yellow, cyan, green ...)
// read best on black.
inline constexpr Colour kAspectCellBackground = kBlack;
// The ground for the few colours too dark to read on black (blue, brown).
inline constexpr Colour kAspectCellLightBackground = kWhite;
// Text of an aspect whose kind is left out of the chart (colour 0): a light
// neutral grey that reads on black and is none of the palette's colours.
inline constexpr Colour kExcludedKindText = Rgb(208, 208, 208);

// Contrast ratio of two colours, 1 (none) to 21 (black on white), from their
// relative luminances L1 >= L2 as (L1 + 0.05) / (L2 + 0.05), with the sRGB
// transfer curve undone (W3C, Web Content Accessibility Guidelines 2.1,
// "contrast ratio" and "relative luminance").
double ContrastRatio(Colour a, Colour b);

// How an aspect cell is inked: the kind's colour as text on the ground that
// gives it the higher contrast, black unless white reads better (of the chart
// palette only blue (0,0,255) and brown (128,64,0), about 2.5:1 on black and
// 8:1 on white); a kind of colour 0, which is only left out of the chart,
// in kExcludedKindText on black, so the table still shows every aspect.
struct CellInk {
  Colour Text = kBlack;
  Colour Background = kAspectCellBackground;
};
CellInk AspectCellInk(Colour kindColour);

struct TableCell {
  std::string Text;            // lines joined by CR LF
  CellRole Role = CellRole::Empty;
  bool Visible = true;
  bool Bold = false;
  // Colours as the cell is drawn; an aspect cell takes AspectCellInk of its
  // kind's colour. Empty cells are drawn on kAspectCellBackground.
  Colour TextColour = kBlack;
  Colour Background = kWhite;
  int GlyphPlanet = 0;         // planet 1..9 of a glyph cell, else 0
  // Aspect cells: the kind, the first and second planet (as duration records
  // name them), the deviation from exactness (radians) and the applying sign
  // (-1 applying, 0 unchanged or not computed, +1 separating). A pair has at
  // most one aspect (Compute keeps the first kind in orb), so Kind is the
  // cell's only kind. Set whether or not Compute writes the texts.
  int Kind = 0;
  int Planet1 = 0;
  int Planet2 = 0;
  double Deviation = 0.0;
  int Sign = 0;
};

struct AspectTable {
  int NumRows = 0;   // intNumRows
  int NumCols = 0;   // intNumCols
  bool TwoDate = false;
  std::vector<TableCell> Cells;  // index = NumCols * row + col
  // The per-kind summary: txbReport's first part in the one-date family,
  // txbReport1 in the two-date family.
  std::string Summary;
  // One-date family: the pattern and midpoint lines appended after the summary.
  std::string PatternText;

  int NumCells() const { return static_cast<int>(Cells.size()); }
  const TableCell& At(int row, int col) const { return Cells[static_cast<size_t>(NumCols * row + col)]; }
  TableCell& At(int row, int col) { return Cells[static_cast<size_t>(NumCols * row + col)]; }
  // The text beside the table: Summary followed by PatternText.
  std::string ReportText() const { return Summary + PatternText; }
};

// GetRowCol: row = index div columns, col = index mod columns.
struct RowCol {
  int Row = 0;
  int Col = 0;
};
RowCol GetRowCol(int index, int columns);

// The kind 1..7 of an aspect cell; 0 for every other cell, whatever its text
// (a corner caption is no aspect even if it reads like one).
int KindOfCell(const TableCell& cell);

// GetTotalNumAspects: the number of aspect cells (one aspect each).
int GetTotalNumAspects(const AspectTable& table);

}  // namespace vemo
