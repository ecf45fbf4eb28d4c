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

struct MenuPopup;

struct MenuItem {
  int command;                         // 0 for a separator or a submenu
  const char* text;                    // UTF-8, "&" marks the mnemonic; nullptr for a separator
  bool checked;                        // initial check mark (the item is then checkable)
  bool grayed;                         // initially disabled
  const MenuPopup* submenu = nullptr;  // the popup this item opens (text: the popup's)
  bool radio = false;  // neighbouring radio items share one mark, as radio buttons do
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
// the handlers decide. A radio item takes its group's mark when chosen (the
// handler may move it on); checking one radio item's action clears the others.
QMenuBar* BuildMenuBar(const MenuTemplate& menu, QWidget* parent,
                       const std::function<void(int)>& onCommand, std::map<int, QAction*>* actions);

// The action that opens the popup holding `item` (grays or enables the whole
// submenu); null if it is in none.
QAction* PopupActionOf(const QAction* item);

}  // namespace kelvora::platform
