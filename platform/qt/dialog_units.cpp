#include "platform/qt/dialog_units.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QStringList>
#include <cstdint>

namespace kelvora::platform {

namespace {
const char* const kDialogFace = "ＭＳ Ｐゴシック";
// Debian's face for the dialog font (fonts-ipafont-gothic).
const char* const kFreeDialogFace = "IPAPGothic";
const char* const kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
}  // namespace

void InstallFontSubstitutions() {
  // Substitutes are only consulted when the named face is not installed
  // (Windows names it in English where the Japanese fonts are not the
  // system's own).
  QFont::insertSubstitutions(QString::fromUtf8(kDialogFace),
                             QStringList{"MS PGothic", kFreeDialogFace, "IPAGothic"});
  QFont::insertSubstitution("Arial", "Liberation Sans");
  // Menus, message boxes and the pictures keep the desktop's face, whose
  // Japanese the system would otherwise take from the fixed-pitch IPAGothic:
  // one Japanese face in every window, and one font file less in memory
  // (about 2.5 MiB). Where the face is not installed, nothing changes.
  QFont font = QGuiApplication::font();
  font.setFamilies({font.family(), QString::fromUtf8(kFreeDialogFace)});
  QGuiApplication::setFont(font);
}

QFont DialogFont() {
  QFont font(QString::fromUtf8(kDialogFace));
  font.setPointSize(9);
  return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(QString::fromLatin1(kLetters));
  // The platform halves the width per 26 letters with rounding: (w / 26 + 1) / 2.
  return {(width / 26 + 1) / 2, metrics.height()};
}

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;  // the platform's answer to a zero divisor
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = (c < 0 ? -c : c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -c : c);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

QRect DialogToPixels(const QRect& dialogUnits, DialogBaseUnits base) {
  return QRect(MulDiv(dialogUnits.x(), base.x, 4), MulDiv(dialogUnits.y(), base.y, 8),
               MulDiv(dialogUnits.width(), base.x, 4), MulDiv(dialogUnits.height(), base.y, 8));
}

}  // namespace kelvora::platform
