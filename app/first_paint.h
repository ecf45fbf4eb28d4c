#pragma once

#include <QObject>
#include <functional>

namespace kelvora {

// Calls `then` once, from the event loop, right after the first window of the
// application has been painted. The sound service's device scan waits for
// this: started earlier, it competes with the first frame for the processor.
class AfterFirstPaint : public QObject {
 public:
  explicit AfterFirstPaint(std::function<void()> then);
  ~AfterFirstPaint() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> m_then;
};

}  // namespace kelvora
