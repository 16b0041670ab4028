// A report on paper: the report window's text set on pages for a PDF file
// or a printer. The title in bold on the first page, then the report's lines
// in a fixed-pitch face (its columns are padded with blanks), as many to a
// page as fit, and "Page N of M" at the foot of every page.
#pragma once

#include <string>
#include <vector>

#include "app/chart/picture_file.h"

class QPagedPaintDevice;

namespace vemo::chart {

// Draws the report on the device's pages, starting on its current page:
// the font is made small enough (from 10 points down to 6) for the longest
// line to fit the page's width; a line longer still is wrapped at its
// blanks. False when the device cannot be painted on.
bool PaintReport(QPagedPaintDevice& device, const std::string& title, const std::vector<std::string>& lines);

// The report as a PDF on `paper` with margins of 15 mm, written whole or not
// at all. "" or the reason.
std::string SaveReportPdf(const std::string& path, const std::string& title, const std::vector<std::string>& lines,
                          Paper paper);

}  // namespace vemo::chart
