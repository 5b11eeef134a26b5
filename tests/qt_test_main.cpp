// main() of the Qt window tests: one QApplication for all cases, on the platform the test
// program names (KESMARO_QT_PLATFORM): "offscreen", or "xcb" for what an X display shows.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

#include "ui/qt/desktop_host.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    // Without an X display the cases that need one skip themselves.
    const bool display = !qEnvironmentVariableIsEmpty("DISPLAY");
    qputenv("QT_QPA_PLATFORM", display ? KESMARO_QT_PLATFORM : "offscreen");
  }
  QApplication app(argc, argv);
  if (!kesmaro::ui::qt::UseUtf8CharacterType()) {
    std::fputs("the Qt window tests need a UTF-8 locale (C.UTF-8)\n", stderr);
    return 1;
  }
  return RUN_ALL_TESTS();
}
