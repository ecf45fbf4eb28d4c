#pragma once

// Tooltips of a dialog's controls, shown as the original platform shows them:
// "\r\n" breaks the line, lines wider than 640 pixels wrap, tips show also
// while the window is inactive, and a disabled control shows no tip.
//
//   m_tips = std::make_unique<platform::ToolTips>(this);
//   for (const auto& tip : res::kMainToolTips) m_tips->Add(GetDlgItem(tip.control), tip.text);

#include <QFont>
#include <QObject>
#include <QString>
#include <map>

class QWidget;

namespace kelvora::platform {

inline constexpr int kMaxTipWidth = 640;
// Frame and margins of the tip window around its text, both sides together.
inline constexpr int kTipChrome = 10;

class ToolTips : public QObject {
 public:
  // `window` is the dialog; it gets Qt::WA_AlwaysShowToolTips.
  explicit ToolTips(QWidget* window);

  // Registers the tip of one control; `text` is UTF-8 with "\r\n" breaks.
  // A null control is ignored.
  void Add(QWidget* control, const char* text);

  // The text as shown for `control` (after DisplayText), or empty.
  QString TextOf(const QWidget* control) const;

  // "\r\n" -> "\n" (no CR is ever shown), then lines wider than
  // `maxTextWidth` pixels in `font` are wrapped, at a space where there is one.
  static QString DisplayText(const char* text, const QFont& font, int maxTextWidth);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::map<const QObject*, QString> m_texts;
};

}  // namespace kelvora::platform
