#include "app/chart/picture_file.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace vemo::chart {

namespace {

// Where the extension of the file name begins (its last dot), or npos.
std::size_t ExtensionStart(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string::npos;
  return dot;
}

}  // namespace

std::string PictureExtension(const std::string& path) {
  const std::size_t dot = ExtensionStart(path);
  // A name ending in a dot has no extension either (Windows drops the dot).
  if (dot == std::string::npos || dot + 1 == path.size()) return "";
  std::string extension = path.substr(dot);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

PictureFileDecision DecidePictureFile(const std::string& name, PictureFormat selectedFilter) {
  PictureFileDecision d;
  const std::string extension = PictureExtension(name);
  if (extension.empty()) {
    d.accepted = true;
    d.format = selectedFilter;
    d.extensionAdded = true;
    const std::string added = selectedFilter == PictureFormat::Svg   ? ".svg"
                              : selectedFilter == PictureFormat::Pdf ? ".pdf"
                                                                     : ".png";
    // "chart." becomes "chart.png", not "chart..png".
    d.path = !name.empty() && name.back() == '.' ? name + added.substr(1) : name + added;
  } else if (extension == ".png") {
    d.accepted = true;
    d.format = selectedFilter == PictureFormat::PrintPng ? PictureFormat::PrintPng : PictureFormat::ScreenPng;
    d.path = name;
  } else if (extension == ".svg" || extension == ".pdf") {
    d.accepted = true;
    d.format = extension == ".svg" ? PictureFormat::Svg : PictureFormat::Pdf;
    d.path = name;
  } else {
    d.refusedExtension = name.substr(ExtensionStart(name));
  }
  return d;
}

Paper PaperOfLocale(const char* lcPaper, const char* lcAll, const char* lang) {
  for (const char* name : {lcPaper, lcAll, lang}) {
    if (name == nullptr || *name == '\0') continue;
    const std::string locale = name;
    const std::size_t underscore = locale.find('_');
    if (underscore == std::string::npos) return Paper::A4;
    const std::string territory = locale.substr(underscore + 1, locale.find_first_of(".@", underscore) - underscore - 1);
    // The territories whose glibc locales set LC_PAPER to Letter.
    static const char* const kLetter[] = {"US", "CA", "MX", "PR", "GT", "SV", "HN", "NI", "CR",
                                          "PA", "DO", "CO", "VE", "CL", "PH"};
    for (const char* letter : kLetter) {
      if (territory == letter) return Paper::Letter;
    }
    return Paper::A4;
  }
  return Paper::A4;
}

Paper PaperFromEnvironment() {
  return PaperOfLocale(std::getenv("LC_PAPER"), std::getenv("LC_ALL"), std::getenv("LANG"));
}

}  // namespace vemo::chart
