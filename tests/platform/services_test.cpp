#include "platform/qt/services.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "platform/qt/menu_template.h"
#include "tests/support/test_services.h"

namespace kelvora::platform {
namespace {

class ServicesTest : public ::testing::Test {
 protected:
  testing::TestServices services;
};

TEST_F(ServicesTest, MessageBoxesAreRecordedWithTextCaptionAndIcon) {
  EXPECT_EQ(
      services.MessageBox(nullptr, "一行目\r\n二行目", "Kelvora ver 1.000", MessageIcon::Stop), 1);
  ASSERT_EQ(services.ShownMessages().size(), 1u);
  EXPECT_EQ(services.ShownMessages()[0].text, "一行目\r\n二行目");
  EXPECT_EQ(services.ShownMessages()[0].caption, "Kelvora ver 1.000");
  EXPECT_EQ(services.ShownMessages()[0].icon, MessageIcon::Stop);
}

TEST_F(ServicesTest, SaveDialogAnswersInOrderThenCancels) {
  services.PushSaveFileAnswer(QString("/tmp/a.wav"));
  services.PushSaveFileAnswer(std::nullopt);
  SaveFileOptions options;
  options.defaultExtension = "wav";
  options.initialName = "*.wav";
  EXPECT_EQ(services.GetSaveFileName(nullptr, options), QString("/tmp/a.wav"));
  EXPECT_EQ(services.GetSaveFileName(nullptr, options), std::nullopt);
  EXPECT_EQ(services.GetSaveFileName(nullptr, options), std::nullopt);
  ASSERT_EQ(services.SaveFileRequests().size(), 3u);
  EXPECT_EQ(services.SaveFileRequests()[0].defaultExtension, "wav");
}

TEST_F(ServicesTest, OpenResolvesRelativePathsAgainstTheCurrentDirectory) {
  struct Case {
    const char* argument;
    QUrl expected;
  } const cases[] = {
      {".\\help\\index.html", QUrl::fromLocalFile(QDir::current().filePath("help/index.html"))},
      {"help/index.html", QUrl::fromLocalFile(QDir::current().filePath("help/index.html"))},
      {"/srv/page.html", QUrl::fromLocalFile("/srv/page.html")},
      {"https://kelvora.example/", QUrl("https://kelvora.example/")},
  };
  for (const Case& c : cases) services.OpenWithDefaultHandler(c.argument);
  ASSERT_EQ(services.OpenRequests().size(), std::size(cases));
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(services.OpenRequests()[i].argument, cases[i].argument);
    EXPECT_EQ(services.OpenRequests()[i].url, cases[i].expected) << cases[i].argument;
  }
}

TEST_F(ServicesTest, WaitCursorNestsAndNeverGoesBelowZero) {
  BeginWaitCursor();
  BeginWaitCursor();
  EXPECT_EQ(WaitCursorDepth(), 2);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  EndWaitCursor();
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  EndWaitCursor();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EndWaitCursor();
  EXPECT_EQ(WaitCursorDepth(), 0);
}

TEST_F(ServicesTest, MenuItemsReportTheirCommandAndLeaveTheCheckMarkToTheHandler) {
  static const MenuItem items[] = {
      {32771, "音量の設定(&V)", false, true},
      {32772, "周波数を自動的に変える(&A)", true, false},
      {0, nullptr, false, false},
      {32773, "連続音(&C)", false, false},
  };
  static const MenuPopup popups[] = {{"サウンド(&S)", items}};
  const MenuTemplate menu = {137, popups};
  std::vector<int> commands;
  std::map<int, QAction*> actions;
  QWidget owner;
  QMenuBar* bar = BuildMenuBar(
      menu, &owner, [&](int id) { commands.push_back(id); }, &actions);
  ASSERT_EQ(bar->actions().size(), 1);
  EXPECT_EQ(bar->actions()[0]->menu()->actions().size(), 4);  // separator included
  ASSERT_EQ(actions.size(), 3u);
  EXPECT_FALSE(actions[32771]->isEnabled());
  EXPECT_TRUE(actions[32772]->isChecked());

  actions[32772]->trigger();
  actions[32773]->trigger();
  EXPECT_EQ(commands, (std::vector<int>{32772, 32773}));
  EXPECT_TRUE(actions[32772]->isChecked());
}

// Choosing a radio item moves its group's one mark there (choosing the
// marked one keeps it); the submenu grays as a whole through its popup action.
TEST_F(ServicesTest, RadioItemsOfASubmenuShareOneMark) {
  static const MenuItem ears[] = {
      {32780, "両耳(&B)", true, false, nullptr, true},
      {32781, "左耳(&L)", false, false, nullptr, true},
      {32782, "右耳(&R)", false, false, nullptr, true},
  };
  static const MenuPopup earMenu = {"検査する耳(&E)", ears};
  static const MenuItem items[] = {
      {32772, "周波数を自動的に変える(&A)", true, false},
      {0, nullptr, false, false, &earMenu},
  };
  static const MenuPopup popups[] = {{"サウンド(&S)", items}};
  const MenuTemplate menu = {137, popups};
  std::vector<int> commands;
  std::map<int, QAction*> actions;
  QWidget owner;
  QMenuBar* bar = BuildMenuBar(
      menu, &owner, [&](int id) { commands.push_back(id); }, &actions);
  const QList<QAction*> sound = bar->actions()[0]->menu()->actions();
  ASSERT_EQ(sound.size(), 2);
  ASSERT_NE(sound[1]->menu(), nullptr);
  EXPECT_EQ(sound[1]->text(), QString::fromUtf8("検査する耳(&E)"));
  EXPECT_EQ(PopupActionOf(actions[32781]), sound[1]);

  const struct {
    int chosen;
    int marked;
  } steps[] = {{32781, 32781}, {32781, 32781}, {32782, 32782}, {32780, 32780}};
  for (const auto& step : steps) {
    actions[step.chosen]->trigger();
    for (int id : {32780, 32781, 32782}) {
      EXPECT_EQ(actions[id]->isChecked(), id == step.marked) << step.chosen << " " << id;
    }
  }
  EXPECT_EQ(commands, (std::vector<int>{32781, 32781, 32782, 32780}));
  EXPECT_TRUE(actions[32772]->isChecked());
}

}  // namespace
}  // namespace kelvora::platform
