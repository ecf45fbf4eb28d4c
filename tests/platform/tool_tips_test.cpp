#include "platform/qt/tool_tips.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QWidget>
#include <string>
#include <vector>

#include "res/resources.h"

namespace kelvora::platform {
namespace {

TEST(ToolTips, LineBreaksBecomeNewlinesAndSpacesStay) {
  struct Case {
    const char* text;
    const char* shown;
  } const cases[] = {
      {"周波数を8000 Hzに設定します。", "周波数を8000 Hzに設定します。"},
      {"上げます。\r\n\r\n[Page Up]キー", "上げます。\n\n[Page Up]キー"},
      {"押して下さい。 \r\n\r\n[1]キー", "押して下さい。 \n\n[1]キー"},
      {"stray\rCR", "strayCR"},
  };
  const QFont font("Liberation Sans");
  for (const Case& c : cases) {
    EXPECT_EQ(ToolTips::DisplayText(c.text, font, 10000), QString::fromUtf8(c.shown)) << c.text;
  }
}

TEST(ToolTips, LongLinesWrapWithinTheWidthWithoutLosingText) {
  const QFont font("Liberation Sans");
  const QFontMetrics metrics(font);
  const char* text =
      "現在表示されている周波数のチェックを開始します。\r\n\r\nキーボードの[+]キー, "
      "[Enter]キー, またはスペースキーでも開始出来ます。";
  const int width = 150;
  const QString shown = ToolTips::DisplayText(text, font, width);
  QString rejoined;
  for (const QString& line : shown.split('\n')) {
    EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();
    rejoined += line;
  }
  QString original = QString::fromUtf8(text).remove("\r\n");
  // A wrap at a space drops that space.
  EXPECT_EQ(QString(rejoined).remove(' '), original.remove(' '));
  EXPECT_GT(shown.count('\n'), 2);
}

// The 17 tips in registration order, as the program's documentation gives
// them; every space counts.
const struct {
  int control;
  const char* text;
} kMainTips[] = {
    {IDC_SET_8K, "周波数を8000 Hzに設定します。"},
    {IDC_SET_16K, "周波数を16000 Hzに設定します。"},
    {IDC_UP_1K, "周波数を1000 Hz上げます。\r\n\r\nキーボードの[Page Up]キーでも変更可能です。"},
    {IDC_DOWN_1K, "周波数を1000 Hz下げます。\r\n\r\nキーボードの[Page Down]キーでも変更可能です。"},
    {IDC_UP_100, "周波数を100 Hz上げます。\r\n\r\nキーボードの[↑]キーでも変更可能です。"},
    {IDC_DOWN_100, "周波数を100 Hz下げます。\r\n\r\nキーボードの[↓]キーでも変更可能です。"},
    {IDC_UP_10, "周波数を10 Hz上げます。\r\n\r\nキーボードの[→]キーでも変更可能です。"},
    {IDC_DOWN_10, "周波数を10 Hz下げます。\r\n\r\nキーボードの[←]キーでも変更可能です。"},
    {IDC_START,
     "現在表示されている周波数のチェックを開始します。\r\n\r\nキーボードの[+]キー, [Enter]キー, "
     "またはスペースキーでも開始出来ます。"},
    {IDC_ANSWER1,
     "音が 1回だけ 鳴ったときは、このボタンを押して下さい。 "
     "\r\n\r\nキーボードの[1]キーでも選択出来ます。"},
    {IDC_ANSWER2,
     "音が 2回 鳴ったときは、このボタンを押して下さい。 "
     "\r\n\r\nキーボードの[2]キーでも選択出来ます。"},
    {IDC_ANSWER3,
     "音が 3回 鳴ったときは、このボタンを押して下さい。 "
     "\r\n\r\nキーボードの[3]キーでも選択出来ます。"},
    {IDC_ANSWER4,
     "音が 4回 鳴ったときは、このボタンを押して下さい。 "
     "\r\n\r\nキーボードの[4]キーでも選択出来ます。"},
    {IDC_ANSWER5,
     "音が 5回 鳴ったときは、このボタンを押して下さい。 "
     "\r\n\r\nキーボードの[5]キーでも選択出来ます。"},
    {IDC_DONT_KNOW,
     "音が何度鳴ったか分からないときは、このボタンを押して下さい。 "
     "\r\n\r\nキーボードの[0]キーまたは[-]キーでも選択出来ます。"},
    {IDC_RESTART,
     "現在の記録や設定をリセットし、起動時の状態へ戻ります。\r\n\r\nキーボードの[Home]"
     "キーでも選択出来ます。"},
    {IDOK, "プログラムを終了します。\r\n\r\nキーボードの[ESC]キーでも選択出来ます。"},
};

TEST(ToolTips, MainDialogTipsAreTheDocumentedTextsToTheLastSpace) {
  const auto tips = res::MainToolTips();
  ASSERT_EQ(tips.size(), std::size(kMainTips));
  QWidget window;
  ToolTips shown(&window);
  for (std::size_t n = 0; n < tips.size(); ++n) {
    SCOPED_TRACE(::testing::Message() << "tip " << n + 1 << " of control " << kMainTips[n].control);
    EXPECT_EQ(tips[n].control, kMainTips[n].control);
    EXPECT_EQ(std::string(tips[n].text), kMainTips[n].text);
    // Every line fits in 640 pixels, so it is shown whole: only CR LF becomes LF.
    auto* button = new QPushButton(&window);
    shown.Add(button, tips[n].text);
    EXPECT_EQ(shown.TextOf(button), QString::fromUtf8(kMainTips[n].text).replace("\r\n", "\n"));
  }
}

TEST(ToolTips, ShowsForEnabledControlsOnlyAlsoInInactiveWindows) {
  QWidget window;
  auto* button = new QPushButton("+1kHz", &window);
  ToolTips tips(&window);
  tips.Add(button, "周波数を1000 Hz上げます。\r\n\r\nキーボードの[Page Up]キーでも変更可能です。");
  window.show();
  EXPECT_TRUE(window.testAttribute(Qt::WA_AlwaysShowToolTips));

  const QPoint at = button->rect().center();
  QHelpEvent hover(QEvent::ToolTip, at, button->mapToGlobal(at));
  button->setEnabled(false);
  QApplication::sendEvent(button, &hover);
  EXPECT_FALSE(QToolTip::isVisible());

  button->setEnabled(true);
  QApplication::sendEvent(button, &hover);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), tips.TextOf(button));
  EXPECT_FALSE(QToolTip::text().contains('\r'));

  // Disabled while showing: the tip goes (after the tip window's own fade delay).
  button->setEnabled(false);
  EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }));
}

}  // namespace
}  // namespace kelvora::platform
