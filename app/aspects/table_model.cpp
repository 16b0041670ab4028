#include "app/aspects/table_model.h"

#include <algorithm>
#include <cmath>

namespace vemo {

namespace {

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double RelativeLuminance(Colour c) {
  auto linear = [](int channel) {
    const double v = channel / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(ColourRed(c)) + 0.7152 * linear(ColourGreen(c)) + 0.0722 * linear(ColourBlue(c));
}

}  // namespace

double ContrastRatio(Colour a, Colour b) {
  const double la = RelativeLuminance(a);
  const double lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

CellInk AspectCellInk(Colour kindColour) {
  if (kindColour == 0) return {kExcludedKindText, kAspectCellBackground};
  if (ContrastRatio(kindColour, kAspectCellLightBackground) > ContrastRatio(kindColour, kAspectCellBackground)) {
    return {kindColour, kAspectCellLightBackground};
  }
  return {kindColour, kAspectCellBackground};
}

RowCol GetRowCol(int index, int columns) {
  if (columns <= 0) return {};
  return {index / columns, index % columns};
}

int KindOfCell(const TableCell& cell) {
  if (cell.Role != CellRole::Aspect || cell.Kind < 1 || cell.Kind > kNumKinds) return 0;
  return cell.Kind;
}

int GetTotalNumAspects(const AspectTable& table) {
  const auto isAspect = [](const TableCell& cell) { return KindOfCell(cell) != 0; };
  return static_cast<int>(std::count_if(table.Cells.begin(), table.Cells.end(), isAspect));
}

}  // namespace vemo
