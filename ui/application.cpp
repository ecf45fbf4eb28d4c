#include "ui/application.h"

#include <clocale>

#include "platform/qt/dialog_units.h"
#include "res/language.h"

namespace kelvora {
namespace {

int& BeforeQt(int& argc) {
  res::PreferJapaneseDatesWithoutALocale();
  return argc;
}

}  // namespace

KelvoraApplication::KelvoraApplication(int& argc, char** argv)
    : QApplication(BeforeQt(argc), argv), m_language(res::InterfaceLanguage()) {
  // QApplication hands the user's locale to the C library; no number that the
  // program reads or writes may take a decimal comma from it.
  std::setlocale(LC_NUMERIC, "C");
  platform::InstallFontSubstitutions();
  // One language everywhere, Qt's own dialogs included.
  res::InstallTranslations(m_language);
}

}  // namespace kelvora
