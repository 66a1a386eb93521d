// main() of the widget tests: an application exists for the tests, but not while the tests
// are only being listed (that may happen where no display exists).
#include <gtest/gtest.h>

#include <QApplication>

#include "app/accessibility.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  vantorel::InstallAccessibility();
  return RUN_ALL_TESTS();
}
