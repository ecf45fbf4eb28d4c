#include "platform/qt/tool_tips.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPushButton>
#include <QTest>
#include <QToolTip>
#include <QWidget>

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
