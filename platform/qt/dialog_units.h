#pragma once

// Dialog units as the original platform computes them: one horizontal unit is
// a quarter of the dialog font's average character width, one vertical unit
// an eighth of its cell height.

#include <QFont>
#include <QRect>

namespace kelvora::platform {

struct DialogBaseUnits {
  int x;  // average width of the 52 letters A-Z a-z, rounded as the platform does
  int y;  // the font's cell height
};

// Makes the faces named by the templates and the status panel resolve to the
// free faces of Debian when the original ones are missing:
// "ＭＳ Ｐゴシック" -> IPAPGothic, "Arial" -> Liberation Sans; and gives the
// application's font IPAPGothic, where installed, for the Japanese its own
// face lacks. Call once, after the QApplication exists and before any dialog is built.
void InstallFontSubstitutions();

// The templates' font: 9 point "ＭＳ Ｐゴシック" (after substitution).
QFont DialogFont();

DialogBaseUnits BaseUnitsOf(const QFont& font);

// (a * b) / c rounded to nearest, halves away from zero, in 64 bits.
int MulDiv(int a, int b, int c);

// Dialog-unit rectangle -> pixels for the given base units.
QRect DialogToPixels(const QRect& dialogUnits, DialogBaseUnits base);

}  // namespace kelvora::platform
