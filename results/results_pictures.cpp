#include "results/results_pictures.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <functional>

namespace kelvora::results {
namespace {

// Room for "22000" on the left, the title row above, the x labels below.
constexpr double kLeft = 52, kRight = 14, kTop = 24, kBottom = 26;
constexpr double kRow = 16;  // the title's line, and each legend row beneath it
constexpr double kMarkRadius = 5;
// From the frame to the centre of an outermost marker: the whole marker
// and its confirmation band stay inside.
constexpr double kMarkRoom = kMarkRadius + 4;
constexpr double kSwatch = 14;      // a legend entry's marker and its gap
constexpr double kLegendGap = 12;   // between legend entries, and after the title
constexpr double kLegendInset = 6;  // the legend's end before the frame's right edge

const QColor kPaper{255, 255, 255};
const QColor kInk{0, 0, 0};
const QColor kGrid{215, 215, 215};
const QColor kRecordGreen{0, 128, 0};
const QColor kConfirmPurple{140, 0, 170};
const QColor kFailedGrey{120, 120, 120};
const QColor kLegendGrey{90, 90, 90};

// Right red, left blue: the audiogram's convention.
QColor EarColour(Ear ear) {
  switch (ear) {
    case Ear::Left:
      return {0, 100, 230};
    case Ear::Right:
      return {210, 0, 0};
    case Ear::Both:
    default:
      return kPanelBlue;
  }
}

// `top`: the title row and the legend rows beneath it, if any.
QRectF PlotRect(const QRectF& area, double top = kTop) {
  return area.adjusted(kLeft, top, -kRight, -kBottom);
}

// The application's font, every property set, so that a window's own font
// does not change the picture: the screen and the saved PNG draw alike.
QFont LabelFont() {
  QFont font = QGuiApplication::font();
  font.setFamilies(font.families().isEmpty() ? QStringList{font.family()} : font.families());
  font.setStyleHint(font.styleHint());
  font.setWeight(QFont::Normal);
  font.setStyle(QFont::StyleNormal);
  font.setPixelSize(11);
  return font;
}

double HzToY(const QRectF& plot, const Axis& axis, double hz) {
  return plot.bottom() - (hz - axis.low) / (axis.high - axis.low) * plot.height();
}

QRectF MarkRect(QPointF at) {
  return {at.x() - kMarkRadius - 1, at.y() - kMarkRadius - 1, 2 * kMarkRadius + 2,
          2 * kMarkRadius + 2};
}

// The fitted axis leaves a share of its span beyond the data; on a short
// plot that can be less than a marker, so widen it until the markers on the
// lowest and highest values are whole. The ticks stay as they were fitted.
Axis FrequencyAxisFor(int lowestHz, int highestHz, double plotHeight) {
  Axis axis = FitFrequencyAxis(lowestHz, highestHz);
  if (plotHeight <= 2 * kMarkRoom) return axis;
  for (int round = 0; round < 12; ++round) {
    const double hzPerPixel = (axis.high - axis.low) / plotHeight;
    axis.low = std::min(axis.low, lowestHz - kMarkRoom * hzPerPixel);
    axis.high = std::max(axis.high, highestHz + kMarkRoom * hzPerPixel);
  }
  return axis;
}

Axis StaircaseHzAxis(const StaircaseModel& model, double plotHeight) {
  int low = model.points.empty() ? 0 : model.points.front().frequencyHz;
  int high = low;
  for (const StaircasePoint& p : model.points) {
    low = std::min(low, p.frequencyHz);
    high = std::max(high, p.frequencyHz);
  }
  for (const ConfirmationLevel& level : model.levels) {
    low = std::min(low, level.levelHz);
    high = std::max(high, level.levelHz);
  }
  return FrequencyAxisFor(low, high, plotHeight);
}

int LastCheck(const StaircaseModel& model) {
  return model.points.empty() ? 1 : std::max(model.points.back().check, 1);
}

// A legend above the plot, right-aligned, so it hides no point. Each entry
// draws its marker in the square before its text.
using Swatch = std::function<void(QPainter&, QPointF)>;
struct LegendEntry {
  QString text;
  Swatch swatch;
  QRectF box;  // the marker and the text
};

// Where DrawPaper writes the title: no wider than the plot, since a
// listener's or an output's name in it may be of any length.
QRectF TitleBox(const QRectF& area, const QString& title) {
  const QFontMetricsF metrics(LabelFont());
  const QRectF plot = PlotRect(area);
  return QRectF(plot.left(), area.top() + 4,
                std::min(metrics.horizontalAdvance(title), plot.width()), kRow);
}

// Beside the title when the row holds both; otherwise in rows of their own
// beneath it, as many entries to a row as fit. Returns the plot's top margin.
double PlaceLegend(const QRectF& area, const QString& title, std::vector<LegendEntry>& entries) {
  const QFontMetricsF metrics(LabelFont());
  const double left = PlotRect(area).left();
  const double right = PlotRect(area).right() - kLegendInset;
  std::vector<double> widths;
  double total = 0;
  for (const LegendEntry& e : entries) {
    widths.push_back(kSwatch + metrics.horizontalAdvance(e.text) + 2);
    total += widths.back() + (widths.size() > 1 ? kLegendGap : 0);
  }
  const auto placeRow = [&](std::size_t first, std::size_t end, double y) {
    double x = right;
    for (std::size_t n = end; n-- > first;) {
      x -= widths[n];
      entries[n].box = QRectF(x, y, widths[n], kRow);
      x -= kLegendGap;
    }
  };
  const double titleRow = area.top() + 4;
  if (right - total >= TitleBox(area, title).right() + kLegendGap) {
    placeRow(0, entries.size(), titleRow);
    return kTop;
  }
  double y = titleRow + kRow;
  for (std::size_t first = 0; first < entries.size(); y += kRow) {
    std::size_t end = first + 1;
    double used = widths[first];
    while (end < entries.size() && used + kLegendGap + widths[end] <= right - left) {
      used += kLegendGap + widths[end++];
    }
    placeRow(first, end, y);
    first = end;
  }
  return y - area.top() + (kTop - 4 - kRow);
}

void DrawLegend(QPainter& painter, const std::vector<LegendEntry>& entries) {
  painter.setFont(LabelFont());
  for (const LegendEntry& e : entries) {
    e.swatch(painter, QPointF(e.box.left() + kSwatch / 2 - 1, e.box.center().y()));
    painter.setPen(kInk);
    painter.drawText(e.box.adjusted(kSwatch, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, e.text);
  }
}

// The paper and the title.
void DrawPaper(QPainter& painter, const QRectF& area, const QString& title) {
  painter.fillRect(area, kPaper);
  painter.setFont(LabelFont());
  painter.setPen(kInk);
  const QRectF plot = PlotRect(area);
  const QString shown = QFontMetricsF(LabelFont()).elidedText(title, Qt::ElideRight, plot.width());
  painter.drawText(QRectF(plot.left(), area.top() + 4, plot.width(), kRow),
                   Qt::AlignLeft | Qt::AlignVCenter, shown);
}

// The paper, the title, the frequency grid and its labels.
void DrawFrame(QPainter& painter, const QRectF& area, const QRectF& plot, const Axis& axis,
               const QString& title, const QString& unit) {
  DrawPaper(painter, area, title);
  const QFontMetricsF metrics(painter.font());
  for (std::int64_t hz : axis.ticks) {
    const double y = HzToY(plot, axis, static_cast<double>(hz));
    painter.setPen(QPen(kGrid, 1));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(kInk);
    painter.drawText(QRectF(area.left(), y - metrics.height() / 2, kLeft - 6, metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(hz));
  }
  painter.setPen(QPen(kInk, 1));
  painter.drawRect(plot);
  painter.drawText(QRectF(area.left() + 2, area.top() + 4, kLeft, kTop - 4),
                   Qt::AlignLeft | Qt::AlignTop, unit);
}

// A tick below the plot and its text centred under it, moved inward at the
// picture's edges so that no label is cut.
void DrawXLabel(QPainter& painter, const QRectF& area, const QRectF& plot, double x,
                const QString& text) {
  painter.setPen(QPen(kInk, 1));
  painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3));
  const double width = QFontMetricsF(painter.font()).horizontalAdvance(text) + 4;
  const double left = std::clamp(x - width / 2, area.left(), area.right() - width);
  painter.drawText(QRectF(left, plot.bottom() + 4, width, kBottom - 4),
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

// A session's record is the ear's marker hollow; its confirmed frequency the
// same marker filled, a little smaller, so both show when they coincide.
void DrawEarMarker(QPainter& painter, QPointF at, Ear ear, const QColor& colour, bool filled) {
  const double r = filled ? kMarkRadius - 1 : kMarkRadius;
  painter.setPen(filled ? QPen(Qt::NoPen) : QPen(colour, 1.8));
  painter.setBrush(filled ? QBrush(colour) : QBrush(Qt::NoBrush));
  if (ear == Ear::Both) {
    painter.drawRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
  } else if (ear == Ear::Right) {
    painter.drawEllipse(at, r, r);
  } else if (!filled) {
    painter.drawLine(at + QPointF(-r, -r), at + QPointF(r, r));
    painter.drawLine(at + QPointF(r, -r), at + QPointF(-r, r));
  } else {
    // A thick cross of two bars.
    QPainterPath cross;
    const double w = 1.8;
    cross.addPolygon(QPolygonF({at + QPointF(-r, -r + w), at + QPointF(-r + w, -r),
                                at + QPointF(r, r - w), at + QPointF(r - w, r)}));
    cross.addPolygon(QPolygonF({at + QPointF(r - w, -r), at + QPointF(r, -r + w),
                                at + QPointF(-r + w, r), at + QPointF(-r, r - w)}));
    cross.setFillRule(Qt::WindingFill);
    painter.drawPath(cross);
  }
  painter.setBrush(Qt::NoBrush);
}

// The band behind a confirmation level's checks: solid green when the level
// was confirmed, dashed grey when it failed, purple while it runs.
void DrawLevelBand(QPainter& painter, const QRectF& band, LevelOutcome outcome) {
  QColor colour = outcome == LevelOutcome::Confirmed ? kRecordGreen
                  : outcome == LevelOutcome::Failed  ? kFailedGrey
                                                     : kConfirmPurple;
  QColor fill = colour;
  fill.setAlpha(45);
  painter.setPen(QPen(colour, 1.5, outcome == LevelOutcome::Failed ? Qt::DashLine : Qt::SolidLine));
  painter.setBrush(fill);
  painter.drawRoundedRect(band, 3, 3);
  painter.setBrush(Qt::NoBrush);
}

// The staircase's x: half a check beyond the first and the last, and room
// for a whole marker besides.
QPointF PointAt(const QRectF& plot, const Axis& axis, int lastCheck, double check, double hz) {
  const double width = plot.width() - 2 * kMarkRoom;
  return {plot.left() + kMarkRoom + (check - 0.5) / lastCheck * width, HzToY(plot, axis, hz)};
}

QRectF LevelBand(const QRectF& plot, const Axis& axis, int lastCheck,
                 const ConfirmationLevel& level) {
  const double width = (plot.width() - 2 * kMarkRoom) / lastCheck;
  const double y = HzToY(plot, axis, level.levelHz);
  const double left = PointAt(plot, axis, lastCheck, level.firstCheck, level.levelHz).x();
  const double right = PointAt(plot, axis, lastCheck, level.lastCheck, level.levelHz).x();
  const double half = std::min(width * 0.45, kMarkRadius + 3);
  return {left - half, y - kMarkRadius - 3, right - left + 2 * half, 2 * kMarkRadius + 6};
}

std::vector<LegendEntry> StaircaseLegend(const StaircaseModel& model, const PictureTexts& texts) {
  std::vector<LegendEntry> entries = {
      {texts.right,
       [](QPainter& p, QPointF at) { DrawMarker(p, at, Marker::Circle, kMarkRed); },
       {}},
      {texts.wrong,
       [](QPainter& p, QPointF at) { DrawMarker(p, at, Marker::Cross, kMarkRed); },
       {}},
  };
  if (!model.levels.empty()) {
    entries.push_back(
        {texts.confirming,
         [](QPainter& p, QPointF at) { DrawMarker(p, at, Marker::Circle, kConfirmPurple); },
         {}});
    const auto band = [](LevelOutcome outcome) {
      return [outcome](QPainter& p, QPointF at) {
        DrawLevelBand(p, QRectF(at.x() - 6, at.y() - 5, 12, 10), outcome);
      };
    };
    entries.push_back({texts.levelConfirmed, band(LevelOutcome::Confirmed), {}});
    entries.push_back({texts.levelFailed, band(LevelOutcome::Failed), {}});
  }
  return entries;
}

std::vector<LegendEntry> SessionsLegend(const PictureTexts& texts) {
  const auto ear = [](Ear e) {
    return [e](QPainter& p, QPointF at) { DrawEarMarker(p, at, e, EarColour(e), false); };
  };
  const auto kind = [](bool filled) {
    return [filled](QPainter& p, QPointF at) {
      p.setPen(filled ? QPen(Qt::NoPen) : QPen(kLegendGrey, 1.8));
      p.setBrush(filled ? QBrush(kLegendGrey) : QBrush(Qt::NoBrush));
      p.drawEllipse(at, filled ? kMarkRadius - 1 : kMarkRadius,
                    filled ? kMarkRadius - 1 : kMarkRadius);
      p.setBrush(Qt::NoBrush);
    };
  };
  return {{texts.bothEars, ear(Ear::Both), {}},
          {texts.leftEar, ear(Ear::Left), {}},
          {texts.rightEar, ear(Ear::Right), {}},
          {texts.record, kind(false), {}},
          {texts.confirmed, kind(true), {}}};
}

// The record's label beside its line, at the first place that covers no
// mark: above the line, then below it, from the left to the right.
QRectF PlaceRecordLabel(const QRectF& plot, double y, QSizeF size,
                        const std::vector<QRectF>& marks) {
  std::vector<QRectF> candidates;
  // Close to the line first, then clear of the marks that sit on it.
  for (double gap : {2.0, kMarkRadius + 3}) {
    for (double x = plot.left() + 4; x + size.width() <= plot.right() - 4; x += 12) {
      candidates.emplace_back(QPointF(x, y - gap - size.height()), size);
      candidates.emplace_back(QPointF(x, y + gap), size);
    }
  }
  for (const QRectF& c : candidates) {
    if (!plot.contains(c)) continue;
    if (std::none_of(marks.begin(), marks.end(),
                     [&c](const QRectF& m) { return m.intersects(c); })) {
      return c;
    }
  }
  return candidates.empty() ? QRectF(QPointF(plot.left() + 4, y - 2 - size.height()), size)
                            : candidates.front();
}

// Where the message of an empty picture goes: the middle of the plot.
QRectF EmptyTextBox(const QRectF& plot, const QString& text) {
  const QFontMetricsF metrics(LabelFont());
  const QSizeF size(metrics.horizontalAdvance(text) + 4, metrics.height());
  return {QPointF(plot.center().x() - size.width() / 2, plot.center().y() - size.height() / 2),
          size};
}

struct StaircaseParts {
  PictureLayout layout;
  int lastCheck = 1;
  std::vector<LegendEntry> legend;
  std::optional<QRectF> recordLabel;
};

StaircaseParts StaircaseLayoutParts(const QRectF& area, const StaircaseModel& model,
                                    const PictureTexts& texts) {
  StaircaseParts parts;
  PictureLayout& layout = parts.layout;
  layout.labels.push_back(TitleBox(area, texts.staircaseTitle));
  // Nothing to draw: the title and a word instead of an axis of nothing.
  if (model.points.empty()) {
    layout.plot = PlotRect(area);
    layout.labels.push_back(EmptyTextBox(layout.plot, texts.noChecks));
    return parts;
  }
  parts.legend = StaircaseLegend(model, texts);
  layout.plot = PlotRect(area, PlaceLegend(area, texts.staircaseTitle, parts.legend));
  layout.hzAxis = StaircaseHzAxis(model, layout.plot.height());
  parts.lastCheck = LastCheck(model);
  for (const StaircasePoint& p : model.points) {
    layout.marks.push_back(
        MarkRect(PointAt(layout.plot, layout.hzAxis, parts.lastCheck, p.check, p.frequencyHz)));
  }
  for (const LegendEntry& e : parts.legend) layout.labels.push_back(e.box);
  if (model.recordHz) {
    const QFontMetricsF metrics(LabelFont());
    const QString text = texts.recordLine.arg(*model.recordHz);
    const QSizeF size(metrics.horizontalAdvance(text) + 4, metrics.height());
    parts.recordLabel = PlaceRecordLabel(
        layout.plot, HzToY(layout.plot, layout.hzAxis, *model.recordHz), size, layout.marks);
    layout.labels.push_back(*parts.recordLabel);
  }
  return parts;
}

struct SessionsParts {
  PictureLayout layout;
  Axis timeAxis;
  std::vector<LegendEntry> legend;
  std::vector<QPointF> records;
  std::vector<std::optional<QPointF>> confirmed;
};

SessionsParts SessionsLayoutParts(const QRectF& area, const std::vector<SessionPoint>& sessions,
                                  const PictureTexts& texts) {
  SessionsParts parts;
  PictureLayout& layout = parts.layout;
  layout.labels.push_back(TitleBox(area, texts.sessionsTitle));
  if (sessions.empty()) {
    layout.plot = PlotRect(area);
    layout.labels.push_back(EmptyTextBox(layout.plot, texts.noSessions));
    return parts;
  }
  parts.legend = SessionsLegend(texts);
  layout.plot = PlotRect(area, PlaceLegend(area, texts.sessionsTitle, parts.legend));
  for (const LegendEntry& e : parts.legend) layout.labels.push_back(e.box);
  int low = sessions.front().recordHz, high = low;
  for (const SessionPoint& s : sessions) {
    low = std::min({low, s.recordHz, s.confirmedHz.value_or(low)});
    high = std::max({high, s.recordHz, s.confirmedHz.value_or(high)});
  }
  const QRectF& plot = layout.plot;
  layout.hzAxis = FrequencyAxisFor(low, high, plot.height());
  const std::int64_t first = sessions.front().time;
  parts.timeAxis = FitTimeAxis(first, sessions.back().time,
                               QDateTime::fromSecsSinceEpoch(first).offsetFromUtc());
  const auto xOf = [&](double t) {
    return plot.left() +
           (t - parts.timeAxis.low) / (parts.timeAxis.high - parts.timeAxis.low) * plot.width();
  };
  for (const SessionPoint& s : sessions) {
    const double x = xOf(static_cast<double>(s.time));
    QPointF record(x, HzToY(plot, layout.hzAxis, s.recordHz));
    std::optional<QPointF> confirmed;
    if (s.confirmedHz) confirmed = QPointF(x, HzToY(plot, layout.hzAxis, *s.confirmedHz));
    // A confirmed frequency just below the record would merge with it into
    // one blot: the two stand side by side instead. At the record itself the
    // filled marker sits inside the hollow one.
    if (confirmed && *s.confirmedHz != s.recordHz &&
        std::abs(confirmed->y() - record.y()) < 2 * kMarkRadius + 2) {
      record.rx() -= kMarkRadius + 1.5;
      confirmed->rx() += kMarkRadius + 1.5;
    }
    parts.records.push_back(record);
    layout.marks.push_back(MarkRect(record));
    parts.confirmed.push_back(confirmed);
    if (confirmed) layout.marks.push_back(MarkRect(*confirmed));
  }
  return parts;
}

void DrawEmpty(QPainter& painter, const QRectF& box, const QString& text) {
  painter.setPen(kInk);
  painter.drawText(box, Qt::AlignCenter, text);
}

}  // namespace

PictureLayout LayOutStaircase(const QRectF& area, const StaircaseModel& model,
                              const PictureTexts& texts) {
  return StaircaseLayoutParts(area, model, texts).layout;
}

PictureLayout LayOutSessions(const QRectF& area, const std::vector<SessionPoint>& sessions,
                             const PictureTexts& texts) {
  return SessionsLayoutParts(area, sessions, texts).layout;
}

QPointF StaircasePosition(const QRectF& area, const StaircaseModel& model,
                          const PictureTexts& texts, double check, double hz) {
  const StaircaseParts parts = StaircaseLayoutParts(area, model, texts);
  return PointAt(parts.layout.plot, parts.layout.hzAxis, parts.lastCheck, check, hz);
}

void DrawStaircase(QPainter& painter, const QRectF& area, const StaircaseModel& model,
                   const PictureTexts& texts) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const StaircaseParts parts = StaircaseLayoutParts(area, model, texts);
  const QRectF plot = parts.layout.plot;
  if (model.points.empty()) {
    DrawPaper(painter, area, texts.staircaseTitle);
    DrawEmpty(painter, parts.layout.labels.back(), texts.noChecks);
    painter.restore();
    return;
  }
  const Axis& axis = parts.layout.hzAxis;
  const int count = parts.lastCheck;
  DrawFrame(painter, area, plot, axis, texts.staircaseTitle, texts.hz);
  DrawLegend(painter, parts.legend);
  const int step = CheckLabelStep(count);
  for (int check = 1; check <= count; ++check) {
    if (check == 1 || check % step == 0) {
      DrawXLabel(painter, area, plot, PointAt(plot, axis, count, check, axis.low).x(),
                 QString::number(check));
    }
  }
  for (const ConfirmationLevel& level : model.levels) {
    DrawLevelBand(painter, LevelBand(plot, axis, count, level), level.outcome);
  }
  if (model.recordHz && parts.recordLabel) {
    const double y = HzToY(plot, axis, *model.recordHz);
    painter.setPen(QPen(kRecordGreen, 1.5, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(kRecordGreen);
    painter.drawText(*parts.recordLabel, Qt::AlignCenter, texts.recordLine.arg(*model.recordHz));
  }
  QPainterPath line;
  for (std::size_t n = 0; n < model.points.size(); ++n) {
    const StaircasePoint& p = model.points[n];
    const QPointF at = PointAt(plot, axis, count, p.check, p.frequencyHz);
    if (n == 0) {
      line.moveTo(at);
    } else {
      line.lineTo(at);
    }
  }
  painter.setPen(QPen(kPanelBlue, 1.5));
  painter.drawPath(line);
  for (const StaircasePoint& p : model.points) {
    DrawMarker(painter, PointAt(plot, axis, count, p.check, p.frequencyHz), p.marker,
               p.confirming ? kConfirmPurple : kMarkRed);
  }
  painter.restore();
}

void DrawSessions(QPainter& painter, const QRectF& area, const std::vector<SessionPoint>& sessions,
                  const PictureTexts& texts) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const SessionsParts parts = SessionsLayoutParts(area, sessions, texts);
  const QRectF plot = parts.layout.plot;
  if (sessions.empty()) {
    DrawPaper(painter, area, texts.sessionsTitle);
    DrawEmpty(painter, parts.layout.labels.back(), texts.noSessions);
    painter.restore();
    return;
  }
  DrawFrame(painter, area, plot, parts.layout.hzAxis, texts.sessionsTitle, texts.hz);
  DrawLegend(painter, parts.legend);
  const Axis& time = parts.timeAxis;
  for (std::int64_t t : time.ticks) {
    const QDateTime when = QDateTime::fromSecsSinceEpoch(t);
    const double x =
        plot.left() + (static_cast<double>(t) - time.low) / (time.high - time.low) * plot.width();
    DrawXLabel(painter, area, plot, x,
               when.toString(time.withinADay ? QStringLiteral("MM/dd HH:mm")
                                             : QStringLiteral("yyyy/MM/dd")));
  }
  for (std::size_t n = 0; n < sessions.size(); ++n) {
    const QColor colour = EarColour(sessions[n].ear);
    DrawEarMarker(painter, parts.records[n], sessions[n].ear, colour, false);
    if (parts.confirmed[n])
      DrawEarMarker(painter, *parts.confirmed[n], sessions[n].ear, colour, true);
  }
  painter.restore();
}

}  // namespace kelvora::results
