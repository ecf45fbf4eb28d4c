#include "ui/status_panel.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <charconv>
#include <utility>

#include "check/check_session.h"
#include "res/resources.h"

namespace kelvora {
namespace {

const QColor kPanelTextColor(0, 0, 122);
const QColor kMarkColor(255, 0, 0);
constexpr int kMarkPenWidth = 2;

// The positions below were laid out over the group boxes of a 9-point dialog
// font with base units of 7 x 12 pixels. A substitute font with other units
// moves the boxes; each element then moves with its box by whole pixels,
// keeping its distance from the box's corner, so that it stays inside it.
constexpr platform::DialogBaseUnits kLayoutBaseUnits{7, 12};

const QRect kFrequencyArea(18, 28, 164, 54);
const QPoint kFrequencyText(35, 38);
const QPoint kRecordText(40, 260);
const QPoint kRateText(270, 260);
const QRect kMarkBounds(20, 30, 160, 50);

// printf's "%<width>" for what to_chars wrote: right-aligned with spaces.
std::string PadLeft(const char* begin, const char* end, std::size_t width) {
  std::string text(begin, end);
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string FormatHertz(std::int32_t hertz) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, hertz);
  return PadLeft(digits, result.ptr, 5) + " Hz";
}

// How far the substitute font moved the group box `control`.
QPoint GroupShift(const platform::ControlTemplate& control, platform::DialogBaseUnits base) {
  const QRect units(control.x, control.y, control.width, control.height);
  return platform::DialogToPixels(units, base).topLeft() -
         platform::DialogToPixels(units, kLayoutBaseUnits).topLeft();
}

}  // namespace

std::string FormatFrequencyText(std::int32_t frequency) { return FormatHertz(frequency); }

std::string FormatRecordText(std::int32_t maxHeard) {
  return maxHeard != 0 ? FormatHertz(maxHeard) : "----- Hz";
}

std::string FormatRateText(std::int32_t correctCount, std::int32_t trialCount) {
  if (trialCount < 1) return "---.- %";
  const double rate = static_cast<double>(correctCount) / static_cast<double>(trialCount) * 100.0;
  char digits[32];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, rate, std::chars_format::fixed, 1);
  return PadLeft(digits, result.ptr, 3) + " %";
}

PanelLayout LayoutPanel(platform::DialogBaseUnits base) {
  const QPoint frequency = GroupShift(res::kPanelGroupBoxes.frequency, base);
  const QPoint record = GroupShift(res::kPanelGroupBoxes.record, base);
  const QPoint rate = GroupShift(res::kPanelGroupBoxes.rate, base);
  PanelLayout layout;
  layout.frequencyArea = kFrequencyArea.translated(frequency);
  layout.frequencyText = kFrequencyText + frequency;
  layout.recordText = kRecordText + record;
  layout.rateText = kRateText + rate;
  layout.markBounds = kMarkBounds.translated(frequency);
  layout.crossFrom1 = QPoint(25, 35) + frequency;
  layout.crossTo1 = QPoint(175, 75) + frequency;
  layout.crossFrom2 = QPoint(175, 35) + frequency;
  layout.crossTo2 = QPoint(25, 75) + frequency;
  return layout;
}

QFont PanelFont(const QWidget& widget) {
  QFont font(QStringLiteral("Arial"));
  // 220 tenths of a point converted for the screen, as a character height.
  font.setPixelSize(platform::MulDiv(220, widget.logicalDpiY(), 720));
  return font;
}

StatusPanel::StatusPanel(QWidget* client, ViewSource view, const PanelLayout& layout)
    : QWidget(client), m_view(std::move(view)), m_layout(layout) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  setGeometry(client->rect());
  // Below everything, the group boxes included: a style that shades a box's
  // interior then shades the panel's cells alike, and no cell shows as a
  // lighter patch inside its box.
  lower();
  m_font = PanelFont(*this);

  // The panel owns only the pixels it draws, so the buttons' own repaints
  // never repaint it (which would redraw it from the session in between).
  const QFontMetrics metrics(m_font);
  int bandWidth = metrics.horizontalAdvance(QString(kPanelBlankLength, ' '));
  for (const char* widest : {"00000 Hz", "----- Hz", "100.0 %", "---.- %"}) {
    bandWidth = std::max(bandWidth, metrics.horizontalAdvance(QString::fromLatin1(widest)));
  }
  QRegion owned(m_layout.frequencyArea);
  owned += QRect(m_layout.recordText, QSize(bandWidth, metrics.height()));
  owned += QRect(m_layout.rateText, QSize(bandWidth, metrics.height()));
  setMask(owned);
}

void StatusPanel::ReadSession() {
  const SessionView session = m_view();
  m_texts.frequency = FormatFrequencyText(session.frequency);
  m_texts.record = FormatRecordText(session.record);
  m_texts.rate = FormatRateText(session.corrects, session.trials);
}

void StatusPanel::Draw() {
  m_drawn = true;
  ReadSession();
  m_pendingMark = PanelMark::None;
  m_markOnScreen = false;
  if (isVisible()) repaint();
}

void StatusPanel::DrawMark(PanelMark mark) {
  if (!m_drawn) return;
  m_pendingMark = mark;
  // Synchronous: the sound that follows blocks the event loop for its length.
  if (isVisible()) repaint(m_layout.frequencyArea);
}

void StatusPanel::paintEvent(QPaintEvent* event) {
  if (!m_drawn) return;
  const PanelMark mark = m_pendingMark;
  if (mark == PanelMark::None) {
    ReadSession();
    // A mark outside this paint's region would outlive it; take it away too.
    if (m_markOnScreen) {
      m_markOnScreen = false;
      if (!(QRegion(m_layout.frequencyArea) - event->region()).isEmpty()) {
        update(m_layout.frequencyArea);
      }
    }
  }

  QPainter painter(this);
  const QColor background = palette().color(QPalette::Window);
  painter.setFont(m_font);
  painter.setPen(kPanelTextColor);
  const QFontMetrics metrics(m_font);
  // Text cells are opaque in the background colour, as the blank text
  // relies on to erase a longer earlier text.
  const auto drawText = [&](QPoint at, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    painter.fillRect(QRect(at, QSize(metrics.horizontalAdvance(shown), metrics.height())),
                     background);
    painter.drawText(at.x(), at.y() + metrics.ascent(), shown);
  };
  const std::string blank(kPanelBlankLength, ' ');

  painter.fillRect(m_layout.frequencyArea, background);
  drawText(m_layout.frequencyText, m_texts.frequency);
  drawText(m_layout.recordText, blank);
  drawText(m_layout.recordText, m_texts.record);
  drawText(m_layout.rateText, blank);
  drawText(m_layout.rateText, m_texts.rate);

  if (mark == PanelMark::None) return;
  painter.setPen(QPen(kMarkColor, kMarkPenWidth, Qt::SolidLine));
  painter.setBrush(Qt::NoBrush);
  if (mark == PanelMark::Circle) {
    painter.drawEllipse(m_layout.markBounds);
  } else {
    painter.drawLine(m_layout.crossFrom1, m_layout.crossTo1);
    painter.drawLine(m_layout.crossFrom2, m_layout.crossTo2);
  }
  m_pendingMark = PanelMark::None;
  m_markOnScreen = true;
}

}  // namespace kelvora
