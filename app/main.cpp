// vemo: the window program. Everything happens in the main window's start-up
// and event handlers; this file only creates the application and the window.
#include <QApplication>

#include "app/ui/frm_main.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Tessaly"));
  QApplication::setApplicationName(QStringLiteral("VEMO"));
  vemo::ui::FrmMain window;
  if (!window.StartUp()) return 1;
  return QApplication::exec();
}
