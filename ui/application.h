#pragma once

#include <QApplication>

namespace kelvora {

// The program's application object: what must run before Qt reads the
// desktop's locale, then the C library's number format, the font
// substitutions and the translations, in that order. The program, the
// screenshot tool and the language tests all start through it.
class KelvoraApplication : public QApplication {
 public:
  KelvoraApplication(int& argc, char** argv);
};

}  // namespace kelvora
