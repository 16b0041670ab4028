// main() of the viewer tests: a QApplication on the offscreen platform and
// the shipped program text, in English.
#include <QApplication>

#include <cstdio>

#include <gtest/gtest.h>

#include "app/text/program_text.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (const std::string error = vemo::LoadProgramText(VEMO_SOURCE_DATA_DIR); !error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
