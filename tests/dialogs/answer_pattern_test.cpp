// The pattern line of the answer reveal dialog (its caption: tests/dialogs).
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "dialogs/answer_dlg.h"

namespace kelvora {
namespace {

struct TextCase {
  std::array<bool, 5> tones;
  const char* pattern;
};

class AnswerTextsTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(AnswerTextsTest, ComposePatternLine) {
  EXPECT_EQ(ComposeAnswerPattern(GetParam().tones), GetParam().pattern);
}

INSTANTIATE_TEST_SUITE_P(Examples, AnswerTextsTest,
                         ::testing::Values(TextCase{{true, false, true, true, false},
                                                    "＿　○　＿　＿　＿　○　＿　○　＿　＿　＿　＿"},
                                           TextCase{{true, true, true, true, true},
                                                    "＿　○　＿　○　＿　○　＿　○　＿　○　＿　＿"},
                                           TextCase{
                                               {false, false, false, false, true},
                                               "＿　＿　＿　＿　＿　＿　＿　＿　＿　○　＿　＿"}));

TEST(AnswerTexts, PatternLineUsesFullWidthSymbolsAndIdeographicSpacesOnly) {
  // UTF-8 of U+FF3F, U+25CB and U+3000: the line holds nothing else.
  const std::string lowLine = "\xEF\xBC\xBF", circle = "\xE2\x97\x8B", gap = "\xE3\x80\x80";
  const std::string line = ComposeAnswerPattern({false, true, false, false, true});
  // Slot k is symbol 2k: tones 2 and 5 are symbols 4 and 10.
  const std::string expected = lowLine + gap + lowLine + gap + lowLine + gap + circle + gap +
                               lowLine + gap + lowLine + gap + lowLine + gap + lowLine + gap +
                               lowLine + gap + circle + gap + lowLine + gap + lowLine;
  EXPECT_EQ(line, expected);
}

}  // namespace
}  // namespace kelvora
