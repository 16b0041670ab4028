// vemo-cli chart: the chart of a table as a PNG, SVG or PDF file, drawn
// without a window.
//
// The drawing needs Qt (QtGui and QtSvg), which the other commands never
// load: it lives in the module vemo_cli_chart (libvemo_cli_chart.so,
// vemo_cli_chart.dll) in the program folder, which vemo-cli loads only for
// this command. The command itself computes the table and hands the module
// plain values.
#pragma once

#include <string>
#include <vector>

#include "app/chart/chart_input.h"
#include "app/chart/picture_file.h"
#include "cli/commands.h"

namespace vemo::cli {

// What the module draws and writes.
struct ChartFileRequest {
  chart::ChartInput input;
  chart::PictureCaption caption;
  std::string path;             // .png, .svg or .pdf
  chart::PictureFormat format = chart::PictureFormat::ScreenPng;  // ScreenPng, Svg or Pdf
  int scale = 1;                // PNG: 1 to 3 times the screen resolution; SVG: its printed size
  chart::Paper paper = chart::Paper::A4;  // PDF: its page
  std::string noFreeSpotText;   // the message when the glyphs find no place
  int language = 0;             // of the names the chart draws (the module has its own)
};

// Outcomes of the module's function.
inline constexpr int kChartWritten = 0;
inline constexpr int kChartNotWritten = 1;  // error holds the reason

// The module's one export:
//   extern "C" int vemo_cli_write_chart(const ChartFileRequest* request,
//                                       std::string* error);
inline constexpr const char* kChartModuleFunction = "vemo_cli_write_chart";
using WriteChartFunction = int (*)(const ChartFileRequest*, std::string*);

// File name of the module in the program folder.
std::string ChartModuleFileName();

// A report as a PDF, the module's second export:
//   extern "C" int vemo_cli_write_report_pdf(const ReportPdfRequest* request,
//                                            std::string* error);
// returning kChartWritten or kChartNotWritten (error holds the reason).
struct ReportPdfRequest {
  std::string path;
  std::string title;
  std::vector<std::string> lines;
  chart::Paper paper = chart::Paper::A4;
  int language = 0;  // of the page numbers (the module has its own)
};
inline constexpr const char* kReportPdfFunction = "vemo_cli_write_report_pdf";
using WriteReportPdfFunction = int (*)(const ReportPdfRequest*, std::string*);

// The module's functions, the module loaded on first use and kept; null
// with the reason in error when it cannot be loaded (or, on Windows, where
// vemo-cli is built without it).
WriteChartFunction LoadChartModule(std::string& error);
WriteReportPdfFunction LoadReportPdfWriter(std::string& error);

// The chart-only options, taken out of args (the rest is for the table
// parser). Returns "" or a one-line usage message; out stays empty when
// --out is not given.
struct ChartOptions {
  bool help = false;
  std::string out;
  chart::PictureFormat format = chart::PictureFormat::ScreenPng;
  int scale = 1;
  bool hasScale = false;
  chart::Paper paper = chart::PaperFromEnvironment();
  bool hasPaper = false;
  bool sectors = true;
  bool earthOnly = false;
  bool outerOnly = false;
};
std::string ParseChartArguments(const Arguments& args, ChartOptions& options, Arguments& rest);

// vemo-cli chart --mode MODE ... --out FILE
int RunChart(const Arguments& args);

}  // namespace vemo::cli
