// The English translation of the tables: complete, and usable as menus and
// dialogs (mnemonics, placeholders).
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTranslator>
#include <set>
#include <vector>

#include "platform/qt/resource_text.h"
#include "res/resources.h"
#include "tests/support/japanese_text.h"

namespace kelvora::res {
namespace {

using testing::HasJapanese;

void AddMenuTexts(std::span<const platform::MenuItem> items, std::vector<const char*>& texts) {
  for (const platform::MenuItem& item : items) {
    if (item.submenu) {
      texts.push_back(item.submenu->text);
      AddMenuTexts(item.submenu->items, texts);
    } else if (item.text) {
      texts.push_back(item.text);
    }
  }
}

// Every text the tables hold that a window may show.
std::vector<const char*> AllTableTexts() {
  std::vector<const char*> texts;
  for (const platform::DialogTemplate* dialog : AllDialogTemplates()) {
    texts.push_back(dialog->title);
    for (const auto& control : dialog->controls) {
      if (control.kind != platform::ControlKind::Icon && control.text)
        texts.push_back(control.text);
    }
  }
  for (const platform::MenuPopup& popup : kMainMenu.popups) {
    texts.push_back(popup.text);
    AddMenuTexts(popup.items, texts);
  }
  for (const ToolTipText& tip : MainToolTips()) texts.push_back(tip.text);
  for (const StringEntry& entry : StringTable()) texts.push_back(entry.text);
  return texts;
}

class EnglishTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(english.load(QStringLiteral(":/translations/kelvora_en.qm")));
  }
  QString English(const char* text) const {
    return english.translate(platform::kResourceTextContext, text);
  }
  QTranslator english;
};

QStringList Placeholders(const QString& text) {
  QStringList found;
  for (const auto& m : QRegularExpression(QStringLiteral("%[1-9]")).globalMatch(text)) {
    found << m.captured();
  }
  found.sort();
  return found;
}

// Texts in ASCII ("OK", "8kHz", "Kelvora ver 1.000") are the same in both languages.
TEST_F(EnglishTest, EveryJapaneseTableTextHasAFinishedEnglishTranslationWithItsPlaceholders) {
  int translated = 0;
  for (const char* text : AllTableTexts()) {
    const QString japanese = QString::fromUtf8(text);
    if (!HasJapanese(japanese)) continue;
    const QString english = English(text);
    ++translated;
    EXPECT_FALSE(english.isEmpty()) << "no English for: " << text;
    EXPECT_FALSE(HasJapanese(english)) << text << " -> " << english.toStdString();
    EXPECT_EQ(Placeholders(english), Placeholders(japanese)) << text;
  }
  EXPECT_GT(translated, 100);
}

QChar Mnemonic(const QString& text) {
  const int at = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
  return at < 0 ? QChar() : text.at(at + 1).toLower();
}

void ExpectDistinctMnemonics(std::span<const platform::MenuItem> items, const QString& menu,
                             const std::function<QString(const char*)>& shown) {
  std::set<QChar> letters;
  for (const platform::MenuItem& item : items) {
    const char* text = item.submenu ? item.submenu->text : item.text;
    if (!text) continue;
    const QChar letter = Mnemonic(shown(text));
    EXPECT_FALSE(letter.isNull()) << "no mnemonic: " << shown(text).toStdString();
    EXPECT_TRUE(letters.insert(letter).second)
        << menu.toStdString() << ": letter twice: " << shown(text).toStdString();
    if (item.submenu) ExpectDistinctMnemonics(item.submenu->items, shown(text), shown);
  }
}

TEST_F(EnglishTest, MenusKeepTheirLettersAndNoMenuOrDialogUsesALetterTwice) {
  const auto english = [this](const char* text) { return English(text); };
  QString letters;
  for (const platform::MenuPopup& popup : kMainMenu.popups) {
    letters += Mnemonic(English(popup.text));
    ExpectDistinctMnemonics(popup.items, English(popup.text), english);
  }
  EXPECT_EQ(letters, "fsh");
  for (const platform::DialogTemplate* dialog : AllDialogTemplates()) {
    std::set<QChar> used;
    for (const auto& control : dialog->controls) {
      if (control.kind == platform::ControlKind::Icon || !control.text) continue;
      const QChar letter = Mnemonic(English(control.text));
      if (!letter.isNull()) {
        EXPECT_TRUE(used.insert(letter).second) << dialog->id << ": " << control.text;
      }
    }
  }
}

}  // namespace
}  // namespace kelvora::res
