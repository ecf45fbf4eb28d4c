#include "platform/qt/accelerators.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QWidget>

namespace kelvora::platform {

namespace {

// Modifiers that decide a match; keypad and layout-group bits do not.
Qt::KeyboardModifiers Relevant(Qt::KeyboardModifiers modifiers) {
  return modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

int NormalisedKey(int key) { return key == Qt::Key_Enter ? Qt::Key_Return : key; }

}  // namespace

std::optional<int> TranslateAccelerator(const QKeyEvent& event,
                                        std::span<const Accelerator> table) {
  const Qt::KeyboardModifiers modifiers = Relevant(event.modifiers());
  const int key = NormalisedKey(event.key());
  for (const Accelerator& entry : table) {
    if (entry.kind == Accelerator::VirtualKey && NormalisedKey(entry.key) == key &&
        Relevant(entry.modifiers) == modifiers) {
      return entry.command;
    }
  }
  // Ctrl and Alt turn a key into a control or menu character, not the typed one.
  const QString text = event.text();
  if (text.size() != 1 ||
      (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    return std::nullopt;
  }
  for (const Accelerator& entry : table) {
    if (entry.kind == Accelerator::Character && text.at(0).unicode() == entry.key) {
      return entry.command;
    }
  }
  return std::nullopt;
}

AcceleratorFilter::AcceleratorFilter(QWidget* window, std::span<const Accelerator> table,
                                     std::function<void(int)> onCommand)
    : m_window(window), m_table(table), m_onCommand(std::move(onCommand)) {
  // Application-wide, so the table is seen before any widget's own handling.
  qApp->installEventFilter(this);
}

AcceleratorFilter::~AcceleratorFilter() { qApp->removeEventFilter(this); }

bool AcceleratorFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride &&
      type != QEvent::MouseButtonPress) {
    return false;
  }
  auto* target = qobject_cast<QWidget*>(watched);
  if (!m_window || !target || (target != m_window && !m_window->isAncestorOf(target))) {
    return false;
  }
  if (type == QEvent::MouseButtonPress) {
    LeaveMenuBarOnClick(target);
    return false;
  }
  // While the menu bar has the keyboard (Alt tapped, or a menu just closed
  // with Esc) every key is its own: arrows move through it, Esc leaves it.
  if (qobject_cast<QMenuBar*>(target) || QApplication::activePopupWidget()) return false;
  const auto command = TranslateAccelerator(*static_cast<QKeyEvent*>(event), m_table);
  if (!command) return false;
  if (event->type() == QEvent::ShortcutOverride) {
    // Claim the key so no shortcut takes it; it comes back as a KeyPress.
    event->accept();
    return true;
  }
  m_onCommand(*command);
  return true;
}

// A menu bar keeps the keyboard after its menu closes until Esc; a click
// into the window means the user has left it, though Qt only lets go of the
// keyboard when the click lands on a widget that takes the focus. Its own Esc
// hands the focus back to where it was before the menu bar took it.
void AcceleratorFilter::LeaveMenuBarOnClick(QWidget* target) {
  auto* bar = qobject_cast<QMenuBar*>(QApplication::focusWidget());
  if (!bar || qobject_cast<QMenuBar*>(target) || !m_window->isAncestorOf(bar)) return;
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(bar, &escape);
}

}  // namespace kelvora::platform
