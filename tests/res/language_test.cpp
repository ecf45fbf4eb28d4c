// Which language the windows speak, from the desktop's interface languages.
#include "res/language.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTranslator>
#include <set>

namespace kelvora::res {
namespace {

TEST(Language, JapaneseForJapaneseAndForNoPreferenceEnglishForEveryOtherLanguage) {
  struct Case {
    QStringList uiLanguages;
    std::string_view expected;  // the language's code
  };
  const Case cases[] = {
      {{"ja-JP", "ja-Jpan-JP", "ja"}, "ja"},
      {{"ja"}, "ja"},
      {{"ja_JP"}, "ja"},
      {{"C"}, "ja"},
      {{"POSIX"}, "ja"},
      {{"en-US-u-va-posix"}, "ja"},
      {{}, "ja"},
      {{"en-US", "en-Latn-US", "en"}, "en"},
      {{"de-DE", "de-Latn-DE", "de"}, "en"},
      // The first choice decides, not a Japanese fallback behind it.
      {{"fr", "ja"}, "en"},
      {{"ja", "de"}, "ja"},
      // Languages whose codes merely begin with "j" are not Japanese.
      {{"jv-ID"}, "en"},
      {{"jbo"}, "en"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageForUiLanguages(c.uiLanguages).code, c.expected)
        << c.uiLanguages.join(',').toStdString();
  }
}

// A language is one row: the desktop that asks for it gets it, and its
// catalogue and its help pages are there.
TEST(Language, EveryRowIsChosenByItsCodeAndHasItsCatalogueAndHelp) {
  std::set<std::string_view> codes;
  for (const Language& language : Languages()) {
    const QString code = QString::fromLatin1(language.code.data(), language.code.size());
    SCOPED_TRACE(code.toStdString());
    EXPECT_TRUE(codes.insert(language.code).second);
    EXPECT_EQ(FindLanguage(language.code), &language);
    EXPECT_EQ(&LanguageForUiLanguages({code + QStringLiteral("-XX"), code}), &language);
    EXPECT_TRUE(QString::fromLatin1(language.locale).startsWith(code + QLatin1Char('_')));
    if (language.catalogue != nullptr) {
      QTranslator translator;
      EXPECT_TRUE(translator.load(QString::fromLatin1(language.catalogue),
                                  QStringLiteral(":/translations")));
    }
    EXPECT_TRUE(QFileInfo(QStringLiteral(KELVORA_HELP_ROOT "/") +
                          QString::fromLatin1(language.helpFolder) + QStringLiteral("index.html"))
                    .isFile());
  }
  // The program's own language needs no catalogue of its own.
  EXPECT_EQ(Languages().front().catalogue, nullptr);
}

}  // namespace
}  // namespace kelvora::res
