#include "platform/qt/window_gone.h"

#include <QCoreApplication>
#include <QTimer>
#include <QWidget>
#include <cstdint>

namespace kelvora::platform {
namespace {

// DestroyNotify as the X11 protocol lays it out; the xcb platform hands
// events over in that form.
struct DestroyNotify {
  std::uint8_t responseType;
  std::uint8_t pad;
  std::uint16_t sequence;
  std::uint32_t event;
  std::uint32_t window;
};
constexpr std::uint8_t kDestroyNotify = 17;

}  // namespace

WindowGoneFilter::WindowGoneFilter(QWidget* window, std::function<void()> onGone)
    : m_window(window), m_onGone(std::move(onGone)) {
  QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowGoneFilter::~WindowGoneFilter() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool WindowGoneFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t" || !m_window) return false;
  const auto* event = static_cast<const DestroyNotify*>(message);
  if ((event->responseType & 0x7F) != kDestroyNotify) return false;
  const WId own = m_window->internalWinId();
  if (own == 0 || event->window != static_cast<std::uint32_t>(own)) return false;
  // Not from inside the platform's event handling.
  QTimer::singleShot(0, m_window, m_onGone);
  return false;
}

}  // namespace kelvora::platform
