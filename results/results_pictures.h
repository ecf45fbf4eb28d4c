#pragma once

// The two pictures of the results window, drawn with QPainter on white
// paper, so that they read the same on a dark desktop and in a saved PNG.

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <vector>

#include "results/staircase.h"

class QPainter;

namespace kelvora::results {

// The status panel's colours: the marks and the frequency text.
inline constexpr QColor kMarkRed{255, 0, 0};
inline constexpr QColor kPanelBlue{0, 0, 122};

// Every word the pictures show; the window fills them from its string table.
struct PictureTexts {
  QString staircaseTitle;
  QString sessionsTitle;
  QString noChecks;
  QString noSessions;
  QString hz;          // the unit over the frequency labels
  QString recordLine;  // the record's label, %1 the frequency
  QString right;       // a right answer
  QString wrong;       // a wrong answer or "don't know"
  QString confirming;  // a check of a confirmation
  QString levelConfirmed;
  QString levelFailed;
  QString bothEars;
  QString leftEar;
  QString rightEar;
  QString record;     // a session's record alone, unconfirmed (hollow)
  QString confirmed;  // a session's confirmed frequency (filled)
};

// Where a picture puts its parts, so that a test can see that no text
// covers a mark or another text. The legend stands beside the title when
// the row holds both, else in rows beneath it. A picture with nothing to
// draw has no ticks, no marks and, after its title, the text that says so.
struct PictureLayout {
  QRectF plot;
  Axis hzAxis;
  std::vector<QRectF> marks;   // every marker drawn in the plot
  std::vector<QRectF> labels;  // the title first, then every text and legend entry
};

PictureLayout LayOutStaircase(const QRectF& area, const StaircaseModel& model,
                              const PictureTexts& texts);
PictureLayout LayOutSessions(const QRectF& area, const std::vector<SessionPoint>& sessions,
                             const PictureTexts& texts);

// Where the staircase picture in `area` puts the point of `check` at `hz`.
QPointF StaircasePosition(const QRectF& area, const StaircaseModel& model,
                          const PictureTexts& texts, double check, double hz);

void DrawStaircase(QPainter& painter, const QRectF& area, const StaircaseModel& model,
                   const PictureTexts& texts);
void DrawSessions(QPainter& painter, const QRectF& area, const std::vector<SessionPoint>& sessions,
                  const PictureTexts& texts);

}  // namespace kelvora::results
