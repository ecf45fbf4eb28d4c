#pragma once

// The two pictures of the results window, drawn with QPainter on white
// paper, so that they read the same on a dark desktop and in a saved PNG.

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <vector>

#include "results/staircase.h"

class QPainter;

namespace kelvora::results {

// The status panel's colours: the marks and the frequency text.
inline constexpr QColor kMarkRed{255, 0, 0};
inline constexpr QColor kPanelBlue{0, 0, 122};

inline constexpr int kTopHz = 22000;
inline constexpr int kGridHz = 2000;

// Where the staircase picture in `area` puts the point of `check` at `hz`.
QPointF StaircasePosition(const QRectF& area, const StaircaseModel& model, double check, double hz);

void DrawStaircase(QPainter& painter, const QRectF& area, const StaircaseModel& model);
void DrawSessions(QPainter& painter, const QRectF& area, const std::vector<SessionPoint>& sessions);

}  // namespace kelvora::results
