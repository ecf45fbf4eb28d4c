#include "res/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <cstdlib>
#include <initializer_list>

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

bool IsNoPreference(const char* locale) {
  if (locale == nullptr || *locale == '\0') return true;
  const QByteArray name(locale);
  return name == "C" || name.startsWith("C.") || name == "POSIX";
}

// The first of the variables that is set, as the C library looks them up.
const char* FirstSet(std::initializer_list<const char*> names) {
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
}

constexpr const char* kJapaneseLocale = "ja_JP.UTF-8";

}  // namespace

void PreferJapaneseDatesWithoutALocale() {
  const char* language = FirstSet({"LANGUAGE"});
  const char* messages = FirstSet({"LC_ALL", "LC_MESSAGES", "LANG"});
  const char* time = FirstSet({"LC_ALL", "LC_TIME", "LANG"});
  // Only a run that is Japanese for want of a preference, with C dates.
  if (!IsNoPreference(time) || !IsNoPreference(messages)) return;
  if (language != nullptr && !QByteArray(language).startsWith("ja")) return;
  // A locale the C library lacks would make its whole setlocale() fail.
  if (std::setlocale(LC_TIME, kJapaneseLocale) == nullptr) return;
  std::setlocale(LC_TIME, "C");
  if (const char* all = FirstSet({"LC_ALL"})) {
    // LC_ALL would hide LC_TIME: the same locale as LANG, the other categories
    // unset as LC_ALL had them overridden.
    qputenv("LANG", all);
    for (const char* category : {"LC_ALL", "LC_CTYPE", "LC_NUMERIC", "LC_COLLATE", "LC_MONETARY",
                                 "LC_MESSAGES", "LC_PAPER", "LC_NAME", "LC_ADDRESS", "LC_TELEPHONE",
                                 "LC_MEASUREMENT", "LC_IDENTIFICATION"}) {
      qunsetenv(category);
    }
  }
  qputenv("LC_TIME", kJapaneseLocale);
}

namespace {

// Loads `file` from the first of `folders` that has it into a translator
// owned by the application.
void Install(const QString& file, std::initializer_list<QString> folders) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  for (const QString& folder : folders) {
    if (translator->load(file, folder)) {
      QCoreApplication::installTranslator(translator);
      return;
    }
  }
  delete translator;
}

}  // namespace

void InstallTranslations() {
  if (InterfaceLanguage() == Language::Japanese) {
    // The tables are Japanese already; only Qt's own texts need translating.
    // A program without Qt's translations folder (the static Windows one)
    // carries the file in its resources.
    Install(QStringLiteral("qtbase_ja"),
            {QLibraryInfo::path(QLibraryInfo::TranslationsPath), QStringLiteral(":/translations")});
  } else {
    // Qt speaks English by itself; the program's English is compiled in.
    Install(QStringLiteral("kelvora_en"), {QStringLiteral(":/translations")});
  }
}

}  // namespace kelvora::res
