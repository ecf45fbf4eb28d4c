#include "platform/qt/menu_template.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include "platform/qt/resource_text.h"

namespace kelvora::platform {
namespace {

void AddItems(QMenu* menu, std::span<const MenuItem> items, QObject* owner,
              const std::function<void(int)>& onCommand, std::map<int, QAction*>* actions) {
  QActionGroup* radioGroup = nullptr;
  for (const MenuItem& item : items) {
    if (!item.radio) radioGroup = nullptr;
    if (item.submenu) {
      QMenu* submenu = menu->addMenu(ResourceText(item.submenu->text));
      submenu->menuAction()->setEnabled(!item.grayed);
      AddItems(submenu, item.submenu->items, owner, onCommand, actions);
      continue;
    }
    if (item.command == 0) {
      menu->addSeparator();
      continue;
    }
    QAction* action = menu->addAction(ResourceText(item.text));
    action->setCheckable(item.checked || item.radio);
    if (item.radio) {
      if (!radioGroup) radioGroup = new QActionGroup(menu);
      radioGroup->addAction(action);
    }
    action->setChecked(item.checked);
    action->setEnabled(!item.grayed);
    const int command = item.command;
    const bool radio = item.radio;
    QObject::connect(action, &QAction::triggered, owner, [action, command, radio, onCommand] {
      // The handler owns the check mark: undo Qt's own toggle first.
      if (action->isCheckable() && !radio) action->setChecked(!action->isChecked());
      onCommand(command);
    });
    if (actions) (*actions)[command] = action;
  }
}

}  // namespace

QMenuBar* BuildMenuBar(const MenuTemplate& menu, QWidget* parent,
                       const std::function<void(int)>& onCommand,
                       std::map<int, QAction*>* actions) {
  auto* bar = new QMenuBar(parent);
  for (const MenuPopup& popup : menu.popups) {
    AddItems(bar->addMenu(ResourceText(popup.text)), popup.items, bar, onCommand, actions);
  }
  return bar;
}

QAction* PopupActionOf(const QAction* item) {
  if (!item) return nullptr;
  for (QObject* holder : item->associatedObjects()) {
    if (auto* menu = qobject_cast<QMenu*>(holder)) return menu->menuAction();
  }
  return nullptr;
}

}  // namespace kelvora::platform
