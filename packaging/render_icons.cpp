// vemo-render-icons OUTPUT_FOLDER: draws the application icon at every size of
// the freedesktop icon theme into OUTPUT_FOLDER/<n>x<n>/apps/org.tessaly.vemo.png,
// from the same drawing and code the window takes its icon from, so that the
// menu and the title bar never show two different pictures.
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

#include "app/ui/window_utils.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vemo-render-icons OUTPUT_FOLDER\n");
    return 2;
  }
  // No window is shown; the build machine need not have a display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  for (int size : vemo::ui::ApplicationIconSizes()) {
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    const QString file = out.filePath(folder + QStringLiteral("/org.tessaly.vemo.png"));
    const QImage image = vemo::ui::ApplicationIconImage(size);
    if (image.isNull() || !out.mkpath(folder) || !image.save(file, "PNG")) {
      std::fprintf(stderr, "vemo-render-icons: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
