// Which language the windows speak, from the desktop's interface languages.
#include "res/language.h"

#include <gtest/gtest.h>

namespace kelvora::res {
namespace {

TEST(Language, JapaneseForJapaneseAndForNoPreferenceEnglishForEveryOtherLanguage) {
  struct Case {
    QStringList uiLanguages;
    Language expected;
  };
  const Case cases[] = {
      {{"ja-JP", "ja-Jpan-JP", "ja"}, Language::Japanese},
      {{"ja"}, Language::Japanese},
      {{"ja_JP"}, Language::Japanese},
      {{"C"}, Language::Japanese},
      {{"POSIX"}, Language::Japanese},
      {{"en-US-u-va-posix"}, Language::Japanese},
      {{}, Language::Japanese},
      {{"en-US", "en-Latn-US", "en"}, Language::English},
      {{"de-DE", "de-Latn-DE", "de"}, Language::English},
      // The first choice decides, not a Japanese fallback behind it.
      {{"fr", "ja"}, Language::English},
      {{"ja", "de"}, Language::Japanese},
      // Languages whose codes merely begin with "j" are not Japanese.
      {{"jv-ID"}, Language::English},
      {{"jbo"}, Language::English},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageForUiLanguages(c.uiLanguages), c.expected)
        << c.uiLanguages.join(',').toStdString();
  }
}

}  // namespace
}  // namespace kelvora::res
