#pragma once

// The languages the windows speak, one row each. Japanese is the program's
// own language (the texts of the tables); the others are its translations,
// each a res/translations/kelvora_<code>.ts and a help/<code>/ folder.

#include <QStringList>
#include <span>
#include <string_view>

namespace kelvora::res {

struct Language {
  std::string_view code;  // ISO 639-1, as the desktop's interface languages begin
  // The desktop locale that asks for it (what the screenshot tool sets).
  const char* locale;
  // Qt's own catalogue (its dialogs, standard buttons) and the program's,
  // each without ".qm"; nullptr where the texts are in that language already.
  const char* qtCatalogue;
  const char* catalogue;
  // The help pages, relative to the help's data folder.
  const char* helpFolder;
};

// Every language, the program's own first.
std::span<const Language> Languages();
// The row of `code`; nullptr for a language the program does not speak.
const Language* FindLanguage(std::string_view code);

// The language for a list of interface languages, most preferred first (as
// QLocale::uiLanguages() gives them): the first one's language when the
// program speaks it; Japanese when there is no preference (the C or POSIX
// locale, or no entry at all); English for any other language.
const Language& LanguageForUiLanguages(const QStringList& uiLanguages);

// The language of the desktop's locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG).
// The application chooses it once at start-up and hands it on.
const Language& InterfaceLanguage();

// Without a language preference (the C or POSIX locale) the windows speak
// Japanese, and Qt's dates (those of the save dialog's file list) should too:
// Qt reads them from LC_TIME, which this sets to Japanese where the C library
// knows that locale. Call before the QApplication exists, which reads the
// environment once.
void PreferJapaneseDatesWithoutALocale();

// Installs the translations of `language` on the running application: Qt's
// own (its dialogs, standard buttons and dates) and the program's. Call once,
// after the QApplication exists.
void InstallTranslations(const Language& language);

}  // namespace kelvora::res
