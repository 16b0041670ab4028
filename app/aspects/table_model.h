// The aspect table as plain values: grid size and, per cell, its text, colours,
// weight, visibility and role. Compute fills it; the window draws it into its
// cell boxes; totals, durations, the chart and the cell click read it.
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

struct TableCell {
  std::string Text;            // lines joined by CR LF
  CellRole Role = CellRole::Empty;
  bool Visible = true;
  bool Bold = false;
  Colour TextColour = kBlack;
  Colour Background = kWhite;
  int GlyphPlanet = 0;         // planet 1..9 of a glyph cell, else 0
  // Aspect cells: the kind, the first and second planet (as duration records
  // name them), the deviation from exactness (radians) and the applying sign
  // (-1 applying, 0 unchanged or not computed, +1 separating).
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

// GetTotalNumAspects: the number of aspect cells whose text contains an aspect
// abbreviation (each kind counted at most once per cell).
int GetTotalNumAspects(const AspectTable& table);

// First kind 1..7 whose abbreviation occurs in the text, 0 when none.
int FirstKindInText(const std::string& text);

}  // namespace vemo
