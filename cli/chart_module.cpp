// The chart module of vemo-cli: draws the chart of a computed table and
// writes it as PNG, SVG or PDF, and sets a report on PDF pages. Loaded by vemo-cli only for its chart command, so
// that the other commands run without Qt.
//
// Qt runs here on its offscreen platform: no display is needed or used.

#include <QGuiApplication>

#include <cstdio>
#include <memory>

#include "app/aspects/vocabulary.h"
#include "app/chart/chart.h"
#include "app/time/date_texts.h"
#include "app/chart/report_pages.h"
#include "app/chart/saved_picture.h"
#include "cli/chart.h"

#ifdef _WIN32
#define VEMO_CHART_EXPORT extern "C" __declspec(dllexport)
#else
#define VEMO_CHART_EXPORT extern "C" __attribute__((visibility("default")))
#endif

VEMO_CHART_EXPORT int vemo_cli_write_chart(const vemo::cli::ChartFileRequest* request, std::string* error);
VEMO_CHART_EXPORT int vemo_cli_write_report_pdf(const vemo::cli::ReportPdfRequest* request, std::string* error);

namespace {

// Qt for one call: its own notes (a missing XDG_RUNTIME_DIR, font fallbacks)
// mean nothing to the user of a command, only its errors would; fonts need
// an application object, and the offscreen platform needs no display.
class QtForACommand {
 public:
  explicit QtForACommand(const char* command) {
    static const char* name = nullptr;
    name = command;
    previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
      if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "vemo-cli %s: %s\n", name, qPrintable(text));
    });
    if (QCoreApplication::instance() == nullptr) {
      static int argc = 3;
      static char program[] = "vemo-cli", option[] = "-platform", platform[] = "offscreen";
      static char* argv[] = {program, option, platform, nullptr};
      app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
  }
  ~QtForACommand() { qInstallMessageHandler(previous_); }
  QtForACommand(const QtForACommand&) = delete;
  QtForACommand& operator=(const QtForACommand&) = delete;

 private:
  QtMessageHandler previous_ = nullptr;
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace

int vemo_cli_write_report_pdf(const vemo::cli::ReportPdfRequest* request, std::string* error) {
  using namespace vemo;
  std::string ignored;
  std::string& reason = error != nullptr ? *error : ignored;
  if (request == nullptr) {
    reason = "no report request";
    return cli::kChartNotWritten;
  }
  const QtForACommand qt("report");
  SetNamesLanguage(request->language);
  reason = chart::SaveReportPdf(request->path, request->title, request->lines, request->paper);
  return reason.empty() ? cli::kChartWritten : cli::kChartNotWritten;
}

int vemo_cli_write_chart(const vemo::cli::ChartFileRequest* request, std::string* error) {
  using namespace vemo;
  std::string ignored;
  std::string& reason = error != nullptr ? *error : ignored;
  if (request == nullptr) {
    reason = "no chart request";
    return cli::kChartNotWritten;
  }
  const QtForACommand qt("chart");
  // The module holds its own copy of the names tables' language.
  SetNamesLanguage(request->language);

  chart::Canvas picture;
  const chart::ChartResult drawn = chart::DrawChart(picture, request->input);
  switch (drawn.outcome) {
    case chart::ChartOutcome::Drawn:
      break;
    case chart::ChartOutcome::FilterConflict:
      reason = InProgramLanguage(chart::kFilterConflictMessage, chart::kFilterConflictMessageGerman);
      return cli::kChartNotWritten;
    case chart::ChartOutcome::NoFreeSpot:
      reason = request->noFreeSpotText;
      return cli::kChartNotWritten;
  }
  chart::Canvas composed;
  chart::ComposeSavedPicture(picture, request->caption, composed);
  switch (request->format) {
    case chart::PictureFormat::Svg:
      reason = chart::SaveSvg(composed, request->path, request->caption.title, request->scale);
      break;
    case chart::PictureFormat::Pdf:
      reason = chart::SavePdf(composed, request->path, request->caption.title, request->paper);
      break;
    default: reason = chart::SavePng(composed, request->path, request->scale); break;
  }
  return reason.empty() ? cli::kChartWritten : cli::kChartNotWritten;
}
