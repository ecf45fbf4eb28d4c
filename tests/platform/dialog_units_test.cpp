#include "platform/qt/dialog_units.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

namespace kelvora::platform {
namespace {

TEST(DialogUnits, MulDivRoundsHalvesAwayFromZero) {
  struct Case {
    int a, b, c, expected;
  } const cases[] = {
      {225, 6, 4, 338},                  // 337.5
      {17, 13, 8, 28},                   // 27.625
      {80, 13, 8, 130},                  // exact
      {1, 1, 2, 1},                      // 0.5
      {-1, 1, 2, -1},                    // -0.5
      {5, 3, -2, -8},                    // -7.5
      {7, 1, 0, -1},                     // zero divisor
      {100000, 100000, 100000, 100000},  // needs 64 bits in between
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
  }
}

TEST(DialogUnits, RectangleScalesByQuarterAndEighthOfTheBaseUnits) {
  const QRect pixels = DialogToPixels(QRect(20, 80, 225, 17), DialogBaseUnits{6, 13});
  EXPECT_EQ(pixels, QRect(30, 130, 338, 28));
}

TEST(DialogUnits, BaseUnitsAreTheRoundedHalfOfTheAverageOverTwentySixLetters) {
  // In a monospaced face the average of the 52 letters is one letter's width:
  // (52w / 26 + 1) / 2 = w.
  QFont mono("Liberation Mono");
  mono.setPixelSize(10);  // 0.6 em: a whole 6 px per letter
  const QFontMetrics metrics(mono);
  const int letter = metrics.horizontalAdvance('A');
  ASSERT_EQ(metrics.horizontalAdvance(QString(52, 'A')), 52 * letter) << "not monospaced";
  const DialogBaseUnits base = BaseUnitsOf(mono);
  EXPECT_EQ(base.x, letter);
  EXPECT_EQ(base.y, metrics.height());
}

TEST(DialogUnits, MissingWindowsFacesResolveToTheirFreeCounterparts) {
  EXPECT_EQ(QFontInfo(DialogFont()).family(), "IPAPGothic");
  EXPECT_EQ(QFontInfo(DialogFont()).pointSize(), 9);
  EXPECT_EQ(QFontInfo(QFont("Arial")).family(), "Liberation Sans");
}

}  // namespace
}  // namespace kelvora::platform
