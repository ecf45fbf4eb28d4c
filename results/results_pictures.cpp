#include "results/results_pictures.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace kelvora::results {
namespace {

// Room for "22000" on the left, the title above and the x labels below.
constexpr double kLeft = 52, kRight = 14, kTop = 24, kBottom = 26;
constexpr double kMarkRadius = 5;

const QColor kPaper{255, 255, 255};
const QColor kInk{0, 0, 0};
const QColor kGrid{215, 215, 215};
const QColor kRecordGreen{0, 128, 0};

struct EarStyle {
  Ear ear;
  const char* name;
  QColor colour;
};
// Right red, left blue: the audiogram's convention.
const EarStyle kEarStyles[] = {
    {Ear::Both, "両耳", kPanelBlue},
    {Ear::Left, "左耳", QColor(0, 100, 230)},
    {Ear::Right, "右耳", QColor(210, 0, 0)},
};

QRectF PlotRect(const QRectF& area) { return area.adjusted(kLeft, kTop, -kRight, -kBottom); }

QFont LabelFont() {
  QFont font;
  font.setPixelSize(11);
  return font;
}

double HzToY(const QRectF& plot, double hz) { return plot.bottom() - hz / kTopHz * plot.height(); }

// The paper, the title, the frequency grid and its labels.
void DrawFrame(QPainter& painter, const QRectF& area, const QString& title) {
  painter.fillRect(area, kPaper);
  const QRectF plot = PlotRect(area);
  painter.setFont(LabelFont());
  const QFontMetricsF metrics(painter.font());
  painter.setPen(kInk);
  painter.drawText(QRectF(area.left(), area.top() + 4, area.width(), kTop - 4),
                   Qt::AlignHCenter | Qt::AlignTop, title);
  for (int hz = 0; hz <= kTopHz; hz += kGridHz) {
    const double y = HzToY(plot, hz);
    painter.setPen(QPen(kGrid, 1));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(kInk);
    painter.drawText(QRectF(area.left(), y - metrics.height() / 2, kLeft - 6, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(hz));
  }
  painter.setPen(QPen(kInk, 1));
  painter.drawRect(plot);
  painter.drawText(QRectF(area.left() + 2, area.top() + 4, kLeft, kTop - 4),
                   Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Hz"));
}

void DrawXLabel(QPainter& painter, const QRectF& plot, double x, const QString& text) {
  painter.setPen(QPen(kInk, 1));
  painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
  painter.drawText(QRectF(x - 60, plot.bottom() + 4, 120, kBottom - 4),
                   Qt::AlignHCenter | Qt::AlignTop, text);
}

// 1, 2, 5, 10, 20, 50, ...: at most about ten labels along `count` checks.
int CheckLabelStep(int count) {
  for (int scale = 1;; scale *= 10) {
    for (int step : {1, 2, 5}) {
      if (count / (step * scale) <= 10) return step * scale;
    }
  }
}

void DrawMarker(QPainter& painter, QPointF at, Marker marker, const QColor& colour) {
  painter.setPen(QPen(colour, 2));
  painter.setBrush(Qt::NoBrush);
  if (marker == Marker::Circle) {
    painter.drawEllipse(at, kMarkRadius, kMarkRadius);
  } else {
    painter.drawLine(at + QPointF(-kMarkRadius, -kMarkRadius),
                     at + QPointF(kMarkRadius, kMarkRadius));
    painter.drawLine(at + QPointF(kMarkRadius, -kMarkRadius),
                     at + QPointF(-kMarkRadius, kMarkRadius));
  }
}

void DrawEarMarker(QPainter& painter, QPointF at, Ear ear, const QColor& colour) {
  if (ear == Ear::Both) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRect(QRectF(at.x() - 4, at.y() - 4, 8, 8));
    painter.setBrush(Qt::NoBrush);
  } else {
    DrawMarker(painter, at, ear == Ear::Left ? Marker::Cross : Marker::Circle, colour);
  }
}

void DrawEmpty(QPainter& painter, const QRectF& plot, const QString& text) {
  painter.setPen(kInk);
  painter.drawText(plot, Qt::AlignCenter, text);
}

}  // namespace

QPointF StaircasePosition(const QRectF& area, const StaircaseModel& model, double check,
                          double hz) {
  const QRectF plot = PlotRect(area);
  // Half a check of room at both ends keeps the first and last marks whole.
  const double span = static_cast<double>(std::max<std::size_t>(model.points.size(), 1));
  return {plot.left() + (check - 0.5) / span * plot.width(), HzToY(plot, hz)};
}

void DrawStaircase(QPainter& painter, const QRectF& area, const StaircaseModel& model) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  DrawFrame(painter, area, QStringLiteral("今回の検査の経過"));
  const QRectF plot = PlotRect(area);
  if (model.points.empty()) {
    DrawEmpty(painter, plot, QStringLiteral("まだ答えた検査がありません"));
    painter.restore();
    return;
  }
  const int count = static_cast<int>(model.points.size());
  const int step = CheckLabelStep(count);
  for (int check = 1; check <= count; ++check) {
    if (check == 1 || check % step == 0) {
      DrawXLabel(painter, plot, StaircasePosition(area, model, check, 0).x(),
                 QString::number(check));
    }
  }
  if (model.recordHz) {
    const double y = HzToY(plot, *model.recordHz);
    painter.setPen(QPen(kRecordGreen, 1.5, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(kRecordGreen);
    painter.drawText(QRectF(plot.left() + 4, y - 16, plot.width() - 8, 15),
                     Qt::AlignLeft | Qt::AlignBottom,
                     QStringLiteral("最高可聴周波数 %1 Hz").arg(*model.recordHz));
  }
  QPainterPath line;
  for (const StaircasePoint& p : model.points) {
    const QPointF at = StaircasePosition(area, model, p.check, p.frequencyHz);
    if (p.check == 1) {
      line.moveTo(at);
    } else {
      line.lineTo(at);
    }
  }
  painter.setPen(QPen(kPanelBlue, 1.5));
  painter.drawPath(line);
  for (const StaircasePoint& p : model.points) {
    DrawMarker(painter, StaircasePosition(area, model, p.check, p.frequencyHz), p.marker, kMarkRed);
  }
  painter.restore();
}

void DrawSessions(QPainter& painter, const QRectF& area,
                  const std::vector<SessionPoint>& sessions) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  DrawFrame(painter, area, QStringLiteral("これまでの最高可聴周波数"));
  const QRectF plot = PlotRect(area);
  if (sessions.empty()) {
    DrawEmpty(painter, plot, QStringLiteral("記録された検査がまだありません"));
    painter.restore();
    return;
  }
  // Sessions are sorted by time; a single day still gets a day's width.
  double first = static_cast<double>(sessions.front().time);
  double last = static_cast<double>(sessions.back().time);
  const double pad = std::max((last - first) * 0.05, 43200.0);
  first -= pad;
  last += pad;
  const auto xOf = [&](double t) {
    return plot.left() + (t - first) / (last - first) * plot.width();
  };
  const bool withHours = last - first < 3 * 86400.0;
  constexpr int kDateLabels = 4;
  for (int n = 0; n <= kDateLabels; ++n) {
    const double t = first + (last - first) * (0.1 + 0.8 * n / kDateLabels);
    const QDateTime when = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(t));
    DrawXLabel(
        painter, plot, xOf(t),
        when.toString(withHours ? QStringLiteral("MM/dd HH:mm") : QStringLiteral("yyyy/MM/dd")));
  }
  painter.setClipRect(plot.adjusted(-kMarkRadius, -kMarkRadius, kMarkRadius, kMarkRadius));
  for (const SessionPoint& s : sessions) {
    const EarStyle& style = kEarStyles[static_cast<int>(s.ear)];
    DrawEarMarker(painter, QPointF(xOf(static_cast<double>(s.time)), HzToY(plot, s.recordHz)),
                  s.ear, style.colour);
  }
  painter.setClipping(false);
  // The legend in the title's row, right-aligned, where it hides no point.
  painter.setFont(LabelFont());
  double x = plot.right() - 3 * 52;
  const double y = area.top() + kTop / 2 + 1;
  for (const EarStyle& style : kEarStyles) {
    DrawEarMarker(painter, QPointF(x + 6, y), style.ear, style.colour);
    painter.setPen(kInk);
    painter.drawText(QRectF(x + 16, y - 8, 36, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromUtf8(style.name));
    x += 52;
  }
  painter.restore();
}

}  // namespace kelvora::results
