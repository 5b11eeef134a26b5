// main() of the Qt window tests: one QApplication for all cases, on the offscreen platform
// unless QT_QPA_PLATFORM names another.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

#include "ui/qt/desktop_host.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (!kesmaro::ui::qt::UseUtf8CharacterType()) {
    std::fputs("the Qt window tests need a UTF-8 locale (C.UTF-8)\n", stderr);
    return 1;
  }
  return RUN_ALL_TESTS();
}
