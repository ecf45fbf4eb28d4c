#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <functional>

class QWidget;

namespace kelvora::platform {

// Tells when another program has destroyed a window's X11 window (a
// desktop tool that closes windows by force): Qt goes on as if the window
// were there, so a modal run would never end. Does nothing on other
// platforms. Lives as long as the object.
class WindowGoneFilter : public QAbstractNativeEventFilter {
 public:
  WindowGoneFilter(QWidget* window, std::function<void()> onGone);
  ~WindowGoneFilter() override;
  WindowGoneFilter(const WindowGoneFilter&) = delete;
  WindowGoneFilter& operator=(const WindowGoneFilter&) = delete;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

 private:
  QPointer<QWidget> m_window;
  std::function<void()> m_onGone;
};

}  // namespace kelvora::platform
