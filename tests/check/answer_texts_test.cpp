// The caption and pattern line of the answer reveal dialog.
#include <gtest/gtest.h>

#include <string>

#include "check/check_session.h"

namespace kelvora {
namespace {

struct TextCase {
  std::array<bool, 5> slots;
  int count;
  const char* caption;
  const char* pattern;
};

class AnswerTextsTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(AnswerTextsTest, ComposeCaptionAndPatternLine) {
  EXPECT_EQ(ComposeAnswerCaption(GetParam().count), GetParam().caption);
  EXPECT_EQ(ComposeAnswerPattern(GetParam().slots), GetParam().pattern);
}

INSTANTIATE_TEST_SUITE_P(Examples, AnswerTextsTest,
                         ::testing::Values(TextCase{{true, false, true, true, false},
                                                    3,
                                                    "残念！ 正解は 3 回でした。",
                                                    "＿　○　＿　＿　＿　○　＿　○　＿　＿　＿　＿"},
                                           TextCase{{true, true, true, true, true},
                                                    5,
                                                    "残念！ 正解は 5 回でした。",
                                                    "＿　○　＿　○　＿　○　＿　○　＿　○　＿　＿"},
                                           TextCase{
                                               {false, false, false, false, true},
                                               1,
                                               "残念！ 正解は 1 回でした。",
                                               "＿　＿　＿　＿　＿　＿　＿　＿　＿　○　＿　＿"}));

TEST(AnswerTexts, PatternLineUsesFullWidthSymbolsAndIdeographicSpacesOnly) {
  // UTF-8 of U+FF3F, U+25CB and U+3000: the line holds nothing else.
  const std::string lowLine = "\xEF\xBC\xBF", circle = "\xE2\x97\x8B", gap = "\xE3\x80\x80";
  const std::string line = ComposeAnswerPattern({false, true, false, false, true});
  // Slot k is symbol 2k: slots 2 and 5 are symbols 4 and 10.
  const std::string expected = lowLine + gap + lowLine + gap + lowLine + gap + circle + gap +
                               lowLine + gap + lowLine + gap + lowLine + gap + lowLine + gap +
                               lowLine + gap + circle + gap + lowLine + gap + lowLine;
  EXPECT_EQ(line, expected);
}

TEST(AnswerTexts, CaptionMixesFullWidthMarksWithAsciiSpaces) {
  // "！" U+FF01 and "。" U+3002 around three plain spaces.
  EXPECT_EQ(ComposeAnswerCaption(2),
            "\xE6\xAE\x8B\xE5\xBF\xB5\xEF\xBC\x81 \xE6\xAD\xA3\xE8\xA7\xA3\xE3\x81\xAF 2 "
            "\xE5\x9B\x9E\xE3\x81\xA7\xE3\x81\x97\xE3\x81\x9F\xE3\x80\x82");
}

}  // namespace
}  // namespace kelvora
