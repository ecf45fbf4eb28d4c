#pragma once
// Whether a text shows Japanese writing: kana, kanji, Japanese punctuation or
// full-width forms. The answer's pattern symbols (○, ＿ and the ideographic
// space between them) are the same in every language and do not count.

#include <QString>

namespace kelvora::testing {

inline bool IsJapaneseCharacter(char32_t c) {
  if (c == 0x3000 || c == 0xFF3F) return false;
  return (c >= 0x3001 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x9FFF) ||
         (c >= 0xFF01 && c <= 0xFF9F);
}

inline bool HasJapanese(const QString& text) {
  for (char32_t c : text.toUcs4()) {
    if (IsJapaneseCharacter(c)) return true;
  }
  return false;
}

}  // namespace kelvora::testing
