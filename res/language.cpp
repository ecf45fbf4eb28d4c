#include "res/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kelvora::res {

Language LanguageForUiLanguages(const QStringList& uiLanguages) {
  if (uiLanguages.isEmpty()) return Language::Japanese;
  const QString first = uiLanguages.first();
  // "C" and "POSIX" are no choice of language; Qt also spells C as "en-US-u-va-posix".
  if (first.compare(QLatin1String("C"), Qt::CaseInsensitive) == 0 ||
      first.compare(QLatin1String("POSIX"), Qt::CaseInsensitive) == 0 ||
      first.endsWith(QLatin1String("-u-va-posix"), Qt::CaseInsensitive))
    return Language::Japanese;
  const QString language = first.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0);
  return language.compare(QLatin1String("ja"), Qt::CaseInsensitive) == 0 ? Language::Japanese
                                                                         : Language::English;
}

Language InterfaceLanguage() { return LanguageForUiLanguages(QLocale::system().uiLanguages()); }

namespace {

// Loads `file` from `folder` into a translator owned by the application.
void Install(const QString& file, const QString& folder) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (translator->load(file, folder))
    QCoreApplication::installTranslator(translator);
  else
    delete translator;
}

}  // namespace

void InstallTranslations() {
  if (InterfaceLanguage() == Language::Japanese) {
    // The tables are Japanese already; only Qt's own texts need translating.
    Install(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  } else {
    // Qt speaks English by itself; the program's English is compiled in.
    Install(QStringLiteral("kelvora_en"), QStringLiteral(":/translations"));
  }
}

}  // namespace kelvora::res
