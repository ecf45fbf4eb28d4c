#include "app/first_paint.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace kelvora {

AfterFirstPaint::AfterFirstPaint(std::function<void()> then) : m_then(std::move(then)) {
  QCoreApplication::instance()->installEventFilter(this);
}

AfterFirstPaint::~AfterFirstPaint() = default;

bool AfterFirstPaint::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Paint && m_then) {
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget != nullptr && widget->isWindow()) {
      QCoreApplication::instance()->removeEventFilter(this);
      // Queued, so that the painted frame reaches the screen first.
      QTimer::singleShot(0, this, [then = std::move(m_then)] { then(); });
      m_then = nullptr;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kelvora
