#include "res/language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <cstdlib>
#include <initializer_list>

namespace kelvora::res {
namespace {

// Qt speaks English by itself; the tables are Japanese already. A program
// without Qt's translations folder (the static Windows one) carries Qt's
// catalogues in its resources (res/translations/CMakeLists.txt).
constexpr Language kLanguages[] = {
    {"ja", "ja_JP.UTF-8", "qtbase_ja", nullptr, "help/"},
    {"en", "en_US.UTF-8", nullptr, "kelvora_en", "help/en/"},
};

// The language of a desktop whose language the program does not speak.
constexpr std::string_view kOtherLanguages = "en";

}  // namespace

std::span<const Language> Languages() { return kLanguages; }

const Language* FindLanguage(std::string_view code) {
  for (const Language& language : kLanguages) {
    if (language.code == code) return &language;
  }
  return nullptr;
}

const Language& LanguageForUiLanguages(const QStringList& uiLanguages) {
  if (uiLanguages.isEmpty()) return kLanguages[0];
  const QString& first = uiLanguages.first();
  // "C" and "POSIX" are no choice of language; Qt also spells C as "en-US-u-va-posix".
  if (first.compare(QLatin1String("C"), Qt::CaseInsensitive) == 0 ||
      first.compare(QLatin1String("POSIX"), Qt::CaseInsensitive) == 0 ||
      first.endsWith(QLatin1String("-u-va-posix"), Qt::CaseInsensitive))
    return kLanguages[0];
  const QByteArray code =
      first.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower().toLatin1();
  if (const Language* language = FindLanguage(std::string_view(code.constData(), code.size()))) {
    return *language;
  }
  return *FindLanguage(kOtherLanguages);
}

const Language& InterfaceLanguage() {
  return LanguageForUiLanguages(QLocale::system().uiLanguages());
}

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

// The program's own language, which a run without a preference speaks.
constexpr const char* kJapaneseLocale = kLanguages[0].locale;

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

void InstallTranslations(const Language& language) {
  if (language.qtCatalogue != nullptr) {
    Install(QString::fromLatin1(language.qtCatalogue),
            {QLibraryInfo::path(QLibraryInfo::TranslationsPath), QStringLiteral(":/translations")});
  }
  // The program's catalogues are compiled in.
  if (language.catalogue != nullptr) {
    Install(QString::fromLatin1(language.catalogue), {QStringLiteral(":/translations")});
  }
}

}  // namespace kelvora::res
