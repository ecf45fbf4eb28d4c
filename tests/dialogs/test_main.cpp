// One QApplication for every dialog test, on the offscreen platform unless the
// caller chose another one.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/dialog_units.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  kelvora::platform::InstallFontSubstitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
