#pragma once

// The status panel of the main dialog: current frequency, record and rate of
// right answers, drawn at fixed pixel positions over three group boxes, and
// the red circle or cross over the frequency after an answer.
//
// Qt paints only in paint events, so the panel keeps what it shows (three
// texts and at most one mark) and paints that. Every paint reads the session
// afresh, as the dialog's own painting did, except the one that shows a mark:
// a mark goes on screen over the texts as they stood, and the next paint of
// any kind removes it.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "check/check_session.h"
#include "platform/qt/dialog_template.h"
#include "platform/qt/dialog_units.h"

namespace kelvora {

// "%5d Hz" of the frequency.
std::string FormatFrequencyText(std::int32_t frequency);
// "%5d Hz" of the record, "----- Hz" while there is none.
std::string FormatRecordText(std::int32_t maxHeard);
// "%3.1f %" of the rate of right answers, "---.- %" before the first check.
// Always with a decimal point, whatever the C library's locale.
std::string FormatRateText(std::int32_t correctCount, std::int32_t trialCount);

enum class PanelMark { None, Circle, Cross };

struct PanelTexts {
  std::string frequency;
  std::string record;
  std::string rate;
  bool operator==(const PanelTexts&) const = default;
};

// Where the panel draws, in pixels of the dialog's client area.
struct PanelLayout {
  QRect frequencyArea;  // cleared at every drawing; holds the frequency and the marks
  QPoint frequencyText;
  QPoint recordText;
  QPoint rateText;
  QRect markBounds;  // the circle's bounding rectangle
  QPoint crossFrom1, crossTo1, crossFrom2, crossTo2;
};

// The panel's positions over the main template's group boxes for the given
// dialog base units (see status_panel.cpp for why the units matter).
PanelLayout LayoutPanel(platform::DialogBaseUnits base);

// Arial 22 pt for the screen of `widget` (29 pixels at 96 dpi).
QFont PanelFont(const QWidget& widget);

inline constexpr int kPanelBlankLength = 17;

class StatusPanel : public QWidget {
 public:
  // Where the panel reads the session at each drawing.
  using ViewSource = std::function<SessionView()>;
  // A child of `client` covering it, below every control; paints nothing
  // until the first Draw, so that no unset session field is ever shown.
  StatusPanel(QWidget* client, ViewSource view, const PanelLayout& layout);

  // DrawStatusPanel: the three texts from the session, no mark; on screen now.
  void Draw();
  // DrawCorrectMark / DrawWrongMark: on screen now, until the next paint.
  void DrawMark(PanelMark mark);

  bool IsDrawn() const { return m_drawn; }
  const PanelTexts& texts() const { return m_texts; }
  // The mark waiting for its one paint (None once it has been painted).
  PanelMark pendingMark() const { return m_pendingMark; }
  const PanelLayout& layout() const { return m_layout; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ReadSession();

  ViewSource m_view;
  PanelLayout m_layout;
  QFont m_font;
  PanelTexts m_texts;
  bool m_drawn = false;
  PanelMark m_pendingMark = PanelMark::None;
  bool m_markOnScreen = false;
};

}  // namespace kelvora
