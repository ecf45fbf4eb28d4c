#include "platform/qt/tool_tips.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QStringList>
#include <QToolTip>
#include <QWidget>

#include "platform/qt/resource_text.h"

namespace kelvora::platform {

namespace {

// Greedy wrap of one line: break at the last space that fits, else between
// characters (Japanese text has no spaces).
QStringList WrapLine(const QString& line, const QFontMetrics& metrics, int maxWidth) {
  QStringList lines;
  QString rest = line;
  while (metrics.horizontalAdvance(rest) > maxWidth) {
    qsizetype fit = 0;
    while (fit < rest.size() && metrics.horizontalAdvance(rest.left(fit + 1)) <= maxWidth) ++fit;
    if (fit == 0) fit = 1;  // one glyph wider than the tip: show it anyway
    qsizetype cut = fit;
    const qsizetype space = rest.left(fit + 1).lastIndexOf(' ');
    if (space > 0) cut = space;
    lines << rest.left(cut);
    rest = rest.mid(cut);
    if (space > 0 && rest.startsWith(' ')) rest.remove(0, 1);
  }
  lines << rest;
  return lines;
}

}  // namespace

ToolTips::ToolTips(QWidget* window) : QObject(window) {
  window->setAttribute(Qt::WA_AlwaysShowToolTips);
}

void ToolTips::Add(QWidget* control, const char* text) {
  if (!control) return;
  m_texts[control] = DisplayText(text, QToolTip::font(), kMaxTipWidth - kTipChrome);
  control->installEventFilter(this);
  connect(control, &QObject::destroyed, this, [this](QObject* gone) { m_texts.erase(gone); });
}

QString ToolTips::TextOf(const QWidget* control) const {
  const auto it = m_texts.find(control);
  return it == m_texts.end() ? QString() : it->second;
}

QString ToolTips::DisplayText(const char* text, const QFont& font, int maxTextWidth) {
  QString plain = ResourceText(text);
  plain.replace("\r\n", "\n");
  plain.remove('\r');  // a lone CR would show as a box
  const QFontMetrics metrics(font);
  QStringList lines;
  for (const QString& line : plain.split('\n')) lines << WrapLine(line, metrics, maxTextWidth);
  return lines.join('\n');
}

bool ToolTips::eventFilter(QObject* watched, QEvent* event) {
  auto* control = qobject_cast<QWidget*>(watched);
  if (!control) return false;
  if (event->type() == QEvent::ToolTip) {
    // Qt would show tips on disabled widgets; the platform never does.
    if (!control->isEnabled()) {
      QToolTip::hideText();
      return true;
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    QToolTip::showText(help->globalPos(), TextOf(control), control);
    return true;
  }
  if (event->type() == QEvent::EnabledChange && !control->isEnabled() && QToolTip::isVisible() &&
      QToolTip::text() == TextOf(control)) {
    QToolTip::hideText();
  }
  return false;
}

}  // namespace kelvora::platform
