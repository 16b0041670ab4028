// main() of the viewer tests: a QApplication on the offscreen platform.
#include <QApplication>

#include "app/text/program_text.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The captions are program text, from the qel.dat beside the test.
  if (const std::string error = vemo::LoadProgramText(QCoreApplication::applicationDirPath().toStdString());
      !error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
