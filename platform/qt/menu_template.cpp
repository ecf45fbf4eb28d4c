#include "platform/qt/menu_template.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace kelvora::platform {

QMenuBar* BuildMenuBar(const MenuTemplate& menu, QWidget* parent,
                       std::function<void(int)> onCommand, std::map<int, QAction*>* actions) {
  auto* bar = new QMenuBar(parent);
  for (const MenuPopup& popup : menu.popups) {
    QMenu* submenu = bar->addMenu(QString::fromUtf8(popup.text));
    for (const MenuItem& item : popup.items) {
      if (item.command == 0) {
        submenu->addSeparator();
        continue;
      }
      QAction* action = submenu->addAction(QString::fromUtf8(item.text));
      action->setCheckable(item.checked);
      action->setChecked(item.checked);
      action->setEnabled(!item.grayed);
      const int command = item.command;
      QObject::connect(action, &QAction::triggered, bar, [action, command, onCommand] {
        // The handler owns the check mark: undo Qt's own toggle first.
        if (action->isCheckable()) action->setChecked(!action->isChecked());
        onCommand(command);
      });
      if (actions) (*actions)[command] = action;
    }
  }
  return bar;
}

}  // namespace kelvora::platform
