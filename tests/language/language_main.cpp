// The GUI tests of one language: `--locale=NAME` sets the desktop's locale
// (LC_ALL and LANG, no LANGUAGE list) before Qt reads it, and the program's
// locale and translations are set up as the program sets them up.
#include <gtest/gtest.h>

#include <cstring>

#include "ui/application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--locale=", 9) == 0) {
      qputenv("LC_ALL", argv[i] + 9);
      qputenv("LANG", argv[i] + 9);
      qunsetenv("LANGUAGE");
      qunsetenv("LC_MESSAGES");
    }
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  kelvora::KelvoraApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
