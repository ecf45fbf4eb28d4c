#pragma once

// The one language the windows speak. Japanese is the program's own language
// (the texts of the tables); English is its translation.

#include <QStringList>

namespace kelvora::res {

enum class Language { Japanese, English };

// The language for a list of interface languages, most preferred first (as
// QLocale::uiLanguages() gives them): Japanese when the first is Japanese or
// when there is no preference (the C or POSIX locale, or no entry at all),
// English for any other language.
Language LanguageForUiLanguages(const QStringList& uiLanguages);

// The language of this run, from the desktop's locale (LANGUAGE, LC_ALL,
// LC_MESSAGES, LANG); what the help opener asks for its page.
Language InterfaceLanguage();

// Without a language preference (the C or POSIX locale) the windows speak
// Japanese, and Qt's dates (those of the save dialog's file list) should too:
// Qt reads them from LC_TIME, which this sets to Japanese where the C library
// knows that locale. Call before the QApplication exists, which reads the
// environment once.
void PreferJapaneseDatesWithoutALocale();

// Installs the translations of InterfaceLanguage() on the running application:
// Qt's own (its dialogs, standard buttons and dates) and the program's. Call
// once, after the QApplication exists.
void InstallTranslations();

}  // namespace kelvora::res
