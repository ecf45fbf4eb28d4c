// Qt's dates in Japanese when the desktop has no language preference: how
// PreferJapaneseDatesWithoutALocale leaves the locale variables.
#include <gtest/gtest.h>

#include <clocale>

#include "res/language.h"

namespace kelvora::res {
namespace {

constexpr const char* kVariables[] = {"LANGUAGE", "LC_ALL", "LC_TIME", "LC_MESSAGES", "LANG"};

// The variables as a test sets them, put back as they were afterwards.
class LocaleEnvironment {
 public:
  LocaleEnvironment() {
    for (const char* name : kVariables) m_saved.push_back(qgetenv(name));
  }
  ~LocaleEnvironment() {
    for (std::size_t i = 0; i < std::size(kVariables); ++i) {
      if (m_saved[i].isNull()) {
        qunsetenv(kVariables[i]);
      } else {
        qputenv(kVariables[i], m_saved[i]);
      }
    }
  }

 private:
  std::vector<QByteArray> m_saved;
};

TEST(LocaleEnvironment, DatesTurnJapaneseOnlyWhenNothingAsksForALanguage) {
  if (std::setlocale(LC_TIME, "ja_JP.UTF-8") == nullptr) GTEST_SKIP() << "no ja_JP.UTF-8 locale";
  std::setlocale(LC_TIME, "C");
  struct Case {
    const char* language;
    const char* all;
    const char* lang;
    const char* time;  // LC_TIME before
    const char* expectedTime;
    const char* expectedLang;
  };
  const Case cases[] = {
      // No preference: LC_ALL gives way to LANG, so LC_TIME can be Japanese.
      {nullptr, "C.UTF-8", nullptr, nullptr, "ja_JP.UTF-8", "C.UTF-8"},
      {nullptr, nullptr, "C", nullptr, "ja_JP.UTF-8", "C"},
      {nullptr, nullptr, "POSIX", nullptr, "ja_JP.UTF-8", "POSIX"},
      {nullptr, nullptr, nullptr, nullptr, "ja_JP.UTF-8", nullptr},
      {"ja", nullptr, "C.UTF-8", nullptr, "ja_JP.UTF-8", "C.UTF-8"},
      // A language asked for, or dates of a locale of their own: left alone.
      {"en", nullptr, "C.UTF-8", nullptr, nullptr, "C.UTF-8"},
      {nullptr, nullptr, "en_US.UTF-8", nullptr, nullptr, "en_US.UTF-8"},
      {nullptr, nullptr, "ja_JP.UTF-8", nullptr, nullptr, "ja_JP.UTF-8"},
      {nullptr, nullptr, "C.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8", "C.UTF-8"},
  };
  for (const Case& c : cases) {
    const LocaleEnvironment restore;
    for (const char* name : kVariables) qunsetenv(name);
    if (c.language) qputenv("LANGUAGE", c.language);
    if (c.all) qputenv("LC_ALL", c.all);
    if (c.lang) qputenv("LANG", c.lang);
    if (c.time) qputenv("LC_TIME", c.time);
    PreferJapaneseDatesWithoutALocale();
    const std::string where = std::string(c.all ? c.all : "-") + "/" + (c.lang ? c.lang : "-");
    EXPECT_EQ(qgetenv("LC_TIME"), QByteArray(c.expectedTime)) << where;
    EXPECT_EQ(qgetenv("LANG"), QByteArray(c.expectedLang)) << where;
    // LC_ALL is gone only where it would hide LC_TIME.
    EXPECT_EQ(qEnvironmentVariableIsSet("LC_ALL"), c.all != nullptr && c.expectedTime == nullptr)
        << where;
  }
}

}  // namespace
}  // namespace kelvora::res
