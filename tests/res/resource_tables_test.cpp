#include <gtest/gtest.h>

#include <QLabel>
#include <set>
#include <tuple>

#include "platform/qt/services.h"
#include "platform/qt/template_dialog.h"
#include "res/resources.h"

namespace kelvora::res {
namespace {

using platform::ControlKind;
namespace CS = platform::ControlStyle;

const platform::ControlTemplate* FindControl(const platform::DialogTemplate& dialog, int id) {
  for (const auto& control : dialog.controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

TEST(ResourceTables, EveryDialogHasUniqueIdsFitsItsSizeAndHidesItsCancel) {
  for (const platform::DialogTemplate* dialog : AllDialogTemplates()) {
    std::set<int> ids;
    for (const auto& control : dialog->controls) {
      if (control.id != IDC_STATIC) {
        EXPECT_TRUE(ids.insert(control.id).second) << dialog->id << ": " << control.id;
      }
      EXPECT_LE(control.x + control.width, dialog->width) << dialog->id << ": " << control.text;
      EXPECT_LE(control.y + control.height, dialog->height) << dialog->id << ": " << control.text;
    }
    // The About box has no Cancel button; Esc ends it as Cancel all the same.
    const auto* cancel = FindControl(*dialog, IDCANCEL);
    if (dialog->id == IDD_ABOUTBOX) continue;
    ASSERT_NE(cancel, nullptr) << dialog->id;
    EXPECT_EQ(cancel->kind, ControlKind::PushButton);
    EXPECT_TRUE(cancel->style & CS::Hidden) << dialog->id;
    EXPECT_NE(FindControl(*dialog, IDOK), nullptr) << dialog->id;
  }
}

TEST(ResourceTables, AcceleratorsAreTwentyTwoDistinctKeysForKnownCommands) {
  const auto table = MainAccelerators();
  EXPECT_EQ(table.size(), 22u);
  std::set<std::tuple<int, int, int>> keys;
  std::set<int> menuCommands;
  for (const auto& popup : kMainMenu.popups) {
    for (const auto& item : popup.items) menuCommands.insert(item.command);
  }
  for (const auto& entry : table) {
    EXPECT_TRUE(keys.insert({entry.kind, entry.key, entry.modifiers.toInt()}).second) << entry.key;
    EXPECT_TRUE(FindControl(kMainTemplate, entry.command) || menuCommands.count(entry.command))
        << entry.command;
  }
}

TEST(ResourceTables, SeventeenTipsEachForADistinctVisibleButtonOfTheMainDialog) {
  const auto tips = MainToolTips();
  EXPECT_EQ(tips.size(), 17u);
  std::set<int> controls;
  for (const auto& tip : tips) {
    const auto* control = FindControl(kMainTemplate, tip.control);
    ASSERT_NE(control, nullptr) << tip.control;
    EXPECT_NE(control->kind, ControlKind::GroupBox) << tip.control;
    EXPECT_FALSE(control->style & CS::Hidden) << tip.control;
    EXPECT_TRUE(controls.insert(tip.control).second) << tip.control;
  }
}

TEST(ResourceTables, MenuCommandsAreUniqueAndHaveMnemonics) {
  std::set<int> commands;
  for (const auto& popup : kMainMenu.popups) {
    EXPECT_TRUE(QString::fromUtf8(popup.text).contains('&'));
    for (const auto& item : popup.items) {
      if (item.command == 0) continue;
      EXPECT_TRUE(commands.insert(item.command).second) << item.command;
      EXPECT_TRUE(QString::fromUtf8(item.text).contains('&')) << item.command;
    }
  }
}

// The ear submenu follows automatic change: three radio items, both ears
// checked, none of them reached by a key.
TEST(ResourceTables, EarSubmenuFollowsAutoChangeWithThreeRadioItemsAndNoKey) {
  const auto& sound = kMainMenu.popups[1];
  ASSERT_GE(sound.items.size(), 3u);
  EXPECT_EQ(sound.items[1].command, ID_SOUND_AUTO_CHANGE);
  const platform::MenuPopup* ears = sound.items[2].submenu;
  ASSERT_NE(ears, nullptr);
  EXPECT_STREQ(ears->text, "検査する耳(&E)");
  const struct {
    int command;
    const char* text;
    bool checked;
  } want[] = {{ID_SOUND_EAR_BOTH, "両耳(&B)", true},
              {ID_SOUND_EAR_LEFT, "左耳(&L)", false},
              {ID_SOUND_EAR_RIGHT, "右耳(&R)", false}};
  ASSERT_EQ(ears->items.size(), std::size(want));
  for (std::size_t n = 0; n < std::size(want); ++n) {
    const auto& item = ears->items[n];
    SCOPED_TRACE(want[n].text);
    EXPECT_EQ(item.command, want[n].command);
    EXPECT_STREQ(item.text, want[n].text);
    EXPECT_EQ(item.checked, want[n].checked);
    EXPECT_TRUE(item.radio);
    EXPECT_FALSE(item.grayed);
    EXPECT_EQ(item.submenu, nullptr);
    for (const auto& entry : MainAccelerators()) EXPECT_NE(entry.command, item.command);
  }
}

TEST(ResourceTables, StringTableHoldsEveryNamedString) {
  for (int id :
       {IDS_ABOUTBOX, IDP_SOCKETS_INIT_FAILED, IDS_APP_TITLE, IDS_VOLUME_TITLE, IDS_NO_MEMORY}) {
    EXPECT_FALSE(LoadString(id).isEmpty()) << id;
  }
  EXPECT_TRUE(LoadString(4711).isEmpty());
}

TEST(ResourceTables, BothIconsAreCompiledInAtBothSizes) {
  for (const char* name : {kAppIconName, kMainFrameIconName}) {
    const QIcon icon = platform::LoadIcon(name);
    EXPECT_EQ(icon.pixmap(16, 16).size(), QSize(16, 16)) << name;
    EXPECT_EQ(icon.pixmap(32, 32).size(), QSize(32, 32)) << name;
  }
  platform::QtServices services;  // built, never run
  platform::TemplateDialog about(kAboutTemplate, services);
  int icons = 0;
  for (const auto* label : about.client()->findChildren<QLabel*>()) {
    if (!label->pixmap().isNull()) ++icons;
  }
  EXPECT_EQ(icons, 2);
}

// The window's icon is the program file's (res/icons/kelvora.ico): the same
// four sizes, so a scaled taskbar or Alt+Tab never enlarges a small image.
TEST(ResourceTables, TheProgramsIconHasEverySizeOfTheProgramFilesIcon) {
  struct Case {
    const char* name;
    QList<QSize> sizes;
  };
  const Case cases[] = {
      {kAppIconName, {QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(256, 256)}},
      {kMainFrameIconName, {QSize(16, 16), QSize(32, 32)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QIcon icon = platform::LoadIcon(c.name);
    EXPECT_EQ(icon.availableSizes(), c.sizes);
    for (const QSize& size : c.sizes) EXPECT_EQ(icon.pixmap(size).size(), size);
  }
}

}  // namespace
}  // namespace kelvora::res
