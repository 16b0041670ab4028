#include "app/aspects/table_model.h"

namespace vemo {

RowCol GetRowCol(int index, int columns) {
  if (columns <= 0) return {};
  return {index / columns, index % columns};
}

int FirstKindInText(const std::string& text) {
  for (int k = 1; k <= kNumKinds; ++k) {
    if (text.find(Aspect(k).Abbrev) != std::string::npos) return k;
  }
  return 0;
}

int GetTotalNumAspects(const AspectTable& table) {
  int total = 0;
  for (const TableCell& cell : table.Cells) {
    // Only aspect cells are read: a corner caption taken from the program text
    // could contain an abbreviation by chance ("Con" in a caption).
    if (cell.Role != CellRole::Aspect) continue;
    for (int k = 1; k <= kNumKinds; ++k) {
      if (cell.Text.find(Aspect(k).Abbrev) != std::string::npos) ++total;
    }
  }
  return total;
}

}  // namespace vemo
