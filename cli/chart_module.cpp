// The chart module of vemo-cli: draws the chart of a computed table and
// writes it as PNG, SVG or PDF. Loaded by vemo-cli only for its chart command, so
// that the other commands run without Qt.
//
// Qt runs here on its offscreen platform: no display is needed or used.

#include <QGuiApplication>

#include <cstdio>
#include <memory>

#include "app/chart/chart.h"
#include "app/chart/saved_picture.h"
#include "cli/chart.h"

#ifdef _WIN32
#define VEMO_CHART_EXPORT extern "C" __declspec(dllexport)
#else
#define VEMO_CHART_EXPORT extern "C" __attribute__((visibility("default")))
#endif

VEMO_CHART_EXPORT int vemo_cli_write_chart(const vemo::cli::ChartFileRequest* request, std::string* error);

int vemo_cli_write_chart(const vemo::cli::ChartFileRequest* request, std::string* error) {
  using namespace vemo;
  std::string ignored;
  std::string& reason = error != nullptr ? *error : ignored;
  if (request == nullptr) {
    reason = "no chart request";
    return cli::kChartNotWritten;
  }
  // Qt's own notes (a missing XDG_RUNTIME_DIR, font fallbacks) mean nothing
  // to the user of a command; only its errors would.
  const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "vemo-cli chart: %s\n", qPrintable(text));
  });
  struct RestoreHandler {
    QtMessageHandler handler;
    ~RestoreHandler() { qInstallMessageHandler(handler); }
  } restore{previous};
  // Fonts need an application object; the offscreen platform needs no display.
  std::unique_ptr<QGuiApplication> app;
  if (QCoreApplication::instance() == nullptr) {
    int argc = 3;
    char name[] = "vemo-cli", option[] = "-platform", platform[] = "offscreen";
    char* argv[] = {name, option, platform, nullptr};
    app = std::make_unique<QGuiApplication>(argc, argv);
  }

  chart::Canvas picture;
  const chart::ChartResult drawn = chart::DrawChart(picture, request->input);
  switch (drawn.outcome) {
    case chart::ChartOutcome::Drawn:
      break;
    case chart::ChartOutcome::FilterConflict:
      reason = chart::kFilterConflictMessage;
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
