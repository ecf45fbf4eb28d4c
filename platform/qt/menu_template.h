#pragma once

// Menus as data, like a menu resource: popups of items and separators.
// BuildMenuBar turns one into a QMenuBar and returns the action of every
// command so it can be enabled, grayed or checked by number.

#include <functional>
#include <map>
#include <span>

class QAction;
class QMenuBar;
class QWidget;

namespace kelvora::platform {

struct MenuItem {
  int command;       // 0 for a separator
  const char* text;  // UTF-8, "&" marks the mnemonic; nullptr for a separator
  bool checked;      // initial check mark (the item is then checkable)
  bool grayed;       // initially disabled
};

struct MenuPopup {
  const char* text;
  std::span<const MenuItem> items;
};

struct MenuTemplate {
  int id;
  std::span<const MenuPopup> popups;
};

// `onCommand` receives the command number when an item is chosen. A checkable
// item does not toggle itself: its mark changes only through its action, as
// the handlers decide.
QMenuBar* BuildMenuBar(const MenuTemplate& menu, QWidget* parent,
                       std::function<void(int)> onCommand, std::map<int, QAction*>* actions);

}  // namespace kelvora::platform
