#pragma once

// Accelerator tables: keys that send a command number.
//
// A Character entry matches the typed character (QKeyEvent::text()), whatever
// key or keypad produced it, as long as neither Ctrl nor Alt is held.
// A VirtualKey entry matches the key with exactly the listed modifiers
// (Qt::KeypadModifier is ignored, and keypad Enter counts as Return), so an
// entry without modifiers does not match while Shift, Ctrl or Alt is held.
// Virtual-key entries are tried before character entries (the platform sees
// the key before the character it produces); within a kind, table order wins.

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>
#include <span>

class QKeyEvent;
class QWidget;

namespace kelvora::platform {

struct Accelerator {
  enum Kind { Character, VirtualKey };
  Kind kind;
  int key;                          // Character: the character (e.g. '+'); VirtualKey: a Qt::Key
  Qt::KeyboardModifiers modifiers;  // VirtualKey only
  int command;
};

std::optional<int> TranslateAccelerator(const QKeyEvent& event, std::span<const Accelerator> table);

// Consults a table for every key press addressed to `window` or any widget
// inside it (not to other windows such as open popup menus), before the
// widgets' own keyboard handling and before shortcuts. A match is consumed
// and handed to `onCommand`. Keys that match nothing (Tab, Shift+Tab, Alt
// mnemonics, ...) keep their usual meaning, and so does every key while the
// menu bar or one of its menus has the keyboard. A click into the window
// takes the keyboard back from the menu bar. Lives as long as the object.
class AcceleratorFilter : public QObject {
 public:
  AcceleratorFilter(QWidget* window, std::span<const Accelerator> table,
                    std::function<void(int)> onCommand);
  ~AcceleratorFilter() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void LeaveMenuBarOnClick(QWidget* target);

  QPointer<QWidget> m_window;
  std::span<const Accelerator> m_table;
  std::function<void(int)> m_onCommand;
};

}  // namespace kelvora::platform
