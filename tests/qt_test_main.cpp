// One QApplication for every GUI test, on the offscreen platform unless the
// caller chose another one, set up as the program sets itself up.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

#include "platform/qt/dialog_units.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  kelvora::platform::InstallFontSubstitutions();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
