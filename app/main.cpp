// vemo: the window program. Everything happens in the main window's start-up
// and event handlers; this file only creates the application and the window.
#include <QApplication>

#include <cstdio>
#include <cstring>

#include "app/ui/frm_main.h"
#include "app/ui/window_utils.h"

int main(int argc, char* argv[]) {
  // Answered before any window system is asked for, so that they work over
  // ssh and in package scripts where no display is available.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("vemo %s\n", VEMO_VERSION_STRING);
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::printf(
          "Usage: vemo [--version] [Qt options]\n"
          "Heliocentric aspects of the planets, in a window.\n"
          "vemo-cli gives the same positions, tables, charts and events on the command line.\n");
      return 0;
    }
  }
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Tessaly"));
  QApplication::setApplicationName(QStringLiteral("VEMO"));
  QApplication::setApplicationVersion(QStringLiteral(VEMO_VERSION_STRING));
  // The desktop entry and icon theme name (Wayland matches windows by it).
  QGuiApplication::setDesktopFileName(QStringLiteral("org.tessaly.vemo"));
  QApplication::setWindowIcon(vemo::ui::ApplicationIcon());
  vemo::ui::FrmMain window;
  // The name the task bar and the window list show; the title line inside
  // the window says what the table holds.
  window.setWindowTitle(QStringLiteral("vemo"));
  if (!window.StartUp()) return 1;
  return QApplication::exec();
}
