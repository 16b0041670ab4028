#include "app/chart/picture_file.h"

#include <algorithm>
#include <cctype>

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
    const std::string added = selectedFilter == PictureFormat::Svg ? ".svg" : ".png";
    // "chart." becomes "chart.png", not "chart..png".
    d.path = !name.empty() && name.back() == '.' ? name + added.substr(1) : name + added;
  } else if (extension == ".png") {
    d.accepted = true;
    d.format = selectedFilter == PictureFormat::PrintPng ? PictureFormat::PrintPng : PictureFormat::ScreenPng;
    d.path = name;
  } else if (extension == ".svg") {
    d.accepted = true;
    d.format = PictureFormat::Svg;
    d.path = name;
  } else {
    d.refusedExtension = name.substr(ExtensionStart(name));
  }
  return d;
}

}  // namespace vemo::chart
