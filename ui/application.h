#pragma once

#include <QApplication>

#include "res/language.h"

namespace kelvora {

// The program's application object: what must run before Qt reads the
// desktop's locale, then the C library's number format, the font
// substitutions and the translations, in that order. The program, the
// screenshot tool and the language tests all start through it.
class KelvoraApplication : public QApplication {
 public:
  KelvoraApplication(int& argc, char** argv);

  // The language of the windows, chosen once from the desktop's locale.
  const res::Language& language() const { return m_language; }

 private:
  const res::Language& m_language;
};

}  // namespace kelvora
