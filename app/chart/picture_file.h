// Which kind of picture file a chosen name gets: the name's extension
// decides, so that a file's content never contradicts its name (a file
// called chart.png that holds SVG would open nowhere). Qt-free, for the
// window's Save chart as and for vemo-cli chart.
#pragma once

#include <string>

namespace vemo::chart {

enum class PictureFormat {
  ScreenPng,  // the raster as on the screen, 96 dpi
  PrintPng,   // replayed at twice the resolution, 192 dpi
  Svg,
  Pdf,  // vectors on one page of A4 or Letter
};

enum class Paper { A4, Letter };

// The extension of the file name at the end of a path, from its last dot,
// in lower case: "/d/Chart.PNG" gives ".png", "/d.x/chart" and "chart." give
// "" (no extension). Both "/" and "\" end a folder.
std::string PictureExtension(const std::string& path);

struct PictureFileDecision {
  bool accepted = false;
  PictureFormat format = PictureFormat::ScreenPng;
  std::string path;               // the name to write, with its extension
  bool extensionAdded = false;    // the name had none: the filter's was added
  std::string refusedExtension;   // the extension as typed, when it is no picture's
};

// A name chosen in the save dialog with one of its filters selected:
//   ".png" (any case): PNG, the print PNG when that filter is selected;
//   ".svg": SVG, ".pdf": PDF, whatever the filter;
//   no extension: the filter's extension is added (".png", ".svg", ".pdf");
//   any other extension: refused (nothing is to be written).
PictureFileDecision DecidePictureFile(const std::string& name, PictureFormat selectedFilter);

// The paper of a locale's name ("en_US.UTF-8", "de_DE@euro"): Letter where
// its territory uses it (the United States and Canada, Mexico, most of
// Central America, Colombia, Venezuela, Chile, Puerto Rico and the
// Philippines), else A4. The names are tried in the order given (LC_PAPER,
// LC_ALL, LANG); the first that is set and not empty decides, and a name
// without a territory ("C", "POSIX") gives A4, as does no name at all.
Paper PaperOfLocale(const char* lcPaper, const char* lcAll, const char* lang);
// PaperOfLocale of this process's environment.
Paper PaperFromEnvironment();

}  // namespace vemo::chart
