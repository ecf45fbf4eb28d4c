// Menu keys and menu images on a real X server, keys pressed by xdotool.

#include <QMenu>
#include <QMenuBar>
#include <QProcess>

#include "tests/ui/main_dialog_fixture.h"

namespace kelvora::uitest {
namespace {

// Presses keys as a user would, through the X server, to the focused window.
void Press(const QStringList& keys) {
  QStringList arguments{"key", "--delay", "40"};
  arguments << keys;
  ASSERT_EQ(QProcess::execute("xdotool", arguments), 0) << keys.join(' ').toStdString();
}

// Lets every event that the X server has sent so far be handled.
void Settle() {
  QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 1, 1);  // a round trip
  QTest::qWait(100);
}

QMenuBar* MenuBarOf(TestDlg& dlg) { return dlg.findChild<QMenuBar*>(); }

class DesktopTest : public MainDialogTest {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "needs an X server";
    MainDialogTest::SetUp();
  }
};

// While the menu bar or an open menu has the keyboard, the dialog's own
// keys do not apply: Down moves into the menu, Esc closes the menu and then
// leaves the menu bar, and only a third Esc reaches the dialog.
TEST_F(DesktopTest, TheMenuBarKeepsEveryKeyWhileItHasTheKeyboard) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& dlg) {
    Press({"alt"});
    Settle();
    Press({"Down"});
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }))
        << "Alt, then Down opens no menu";
    EXPECT_EQ(dlg.view().frequency, 8000);

    Press({"Escape"});
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
    Press({"Escape"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !MenuBarOf(dlg)->hasFocus(); }));
    Settle();
    EXPECT_FALSE(dlg.isEnded()) << "Esc that left the menu bar ended the program";

    Press({"alt+f"});
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    Press({"Escape"});
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
    Settle();
    Press({"Escape"});
    Settle();
    EXPECT_FALSE(MenuBarOf(dlg)->hasFocus());
    Settle();
    EXPECT_FALSE(dlg.isEnded());

    // Back with the dialog, its keys work again.
    Press({"Down"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.view().frequency == 7900; }));
    Press({"Escape"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.isEnded(); }));
  });
}

// After a menu, the keys go back to the window: a second Esc leaves the menu
// bar, and so does a click into the window after the first; then each of the
// start keys starts a check instead of opening the menu again.
TEST_F(DesktopTest, AfterAMenuTheStartKeysStartACheck) {
  const struct {
    const char* name;
    QStringList keys;
    bool click;
  } ways[] = {
      {"two Esc", {"alt+s", "Escape", "Escape"}, false},
      {"one Esc and a click into the window", {"alt+s", "Escape"}, true},
      {"a click into the open menu's window", {"alt+s"}, true},
  };
  TestDlg dlg(player, clock, services);
  Run(dlg, [&](TestDlg& dlg) {
    for (const auto& way : ways) {
      for (const char* start : {"space", "plus", "Return"}) {
        SCOPED_TRACE(std::string(way.name) + ", then " + start);
        Settle();
        // The pointer rests on the status panel, away from every button, as a
        // user's hand would before clicking there.
        const QWidget& panel = dlg.statusPanel();
        const QPoint at = panel.mapToGlobal(QPoint(panel.width() / 2, panel.height() / 2));
        ASSERT_EQ(QProcess::execute(
                      "xdotool", {"mousemove", QString::number(at.x()), QString::number(at.y())}),
                  0);
        Settle();
        ASSERT_FALSE(qobject_cast<QMenuBar*>(QApplication::widgetAt(QCursor::pos())));
        // One key at a time, each handled before the next, as a user types.
        for (const QString& key : way.keys) {
          Press({key});
          if (key == "alt+s") {
            ASSERT_TRUE(
                QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
          }
          Settle();
        }
        if (way.click) {
          ASSERT_EQ(QProcess::execute("xdotool", {"click", "1"}), 0);
          Settle();
        }
        ASSERT_EQ(QApplication::activePopupWidget(), nullptr) << "a menu is still open";
        const int checks = dlg.view().trials;
        Press({start});
        ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.view().state == CheckState::AwaitingAnswer; }))
            << "no check started";
        EXPECT_EQ(dlg.view().trials, checks + 1);
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the key opened a menu";
        Press({QString::number(SessionProbe(dlg.session()).answerCount)});
        ASSERT_TRUE(QTest::qWaitFor([&] { return dlg.view().state == CheckState::Idle; }));
      }
    }
  });
}

// Share of the pixels in `area` that `shown` has kept from `menu` where the
// menu differed from the window beneath it.
double MenuPixelsLeft(const QImage& before, const QImage& menu, const QImage& shown) {
  int differing = 0;
  int kept = 0;
  for (int y = 0; y < menu.height(); ++y) {
    for (int x = 0; x < menu.width(); ++x) {
      if (menu.pixel(x, y) == before.pixel(x, y)) continue;
      ++differing;
      kept += shown.pixel(x, y) == menu.pixel(x, y);
    }
  }
  return differing == 0 ? 0.0 : static_cast<double>(kept) / differing;
}

// A sound blocks the event loop; what the window shows while it plays must
// be the window itself, not the image of the menu the command came from.
TEST_F(DesktopTest, NoImageOfTheClosedMenuStaysOnScreenDuringASound) {
  const struct {
    const char* name;
    QStringList menuKeys;
  } cases[] = {{"continuous tone", {"alt+s", "c"}}, {"silence", {"alt+s", "n"}}};
  TestDlg dlg(player, clock, services);
  Run(dlg, [&](TestDlg& dlg) {
    QScreen* screen = QGuiApplication::primaryScreen();
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      Settle();
      QRect area;
      QImage before, menu, duringSound;
      Press({c.menuKeys.first()});
      ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
      QWidget* popup = QApplication::activePopupWidget();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
      Settle();
      area = popup->frameGeometry();
      menu = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
      before = dlg.grab().toImage();  // the window as it draws itself under the menu
      player.onPlay = [&](std::span<const std::uint8_t>) {
        duringSound =
            screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
      };
      const std::size_t played = player.played.size();
      Press({c.menuKeys.last()});
      ASSERT_TRUE(QTest::qWaitFor([&] { return player.played.size() == played + 1; }));
      player.onPlay = nullptr;

      // The window's own pixels under the menu, in the menu's coordinates.
      const QPoint windowOrigin = dlg.mapToGlobal(QPoint(0, 0));
      QImage beneath(menu.size(), menu.format());
      beneath.fill(Qt::black);
      for (int y = 0; y < menu.height(); ++y) {
        for (int x = 0; x < menu.width(); ++x) {
          const QPoint at = area.topLeft() + QPoint(x, y) - windowOrigin;
          if (before.valid(at)) beneath.setPixel(x, y, before.pixel(at));
        }
      }
      EXPECT_LT(MenuPixelsLeft(beneath.convertToFormat(menu.format()), menu,
                               duringSound.convertToFormat(menu.format())),
                0.05);
    }
  });
}

// Another program may destroy the window by force; the program ends as if
// its window had been closed instead of running on with none.
TEST_F(DesktopTest, AWindowDestroyedFromOutsideEndsTheDialog) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& dlg) {
    ASSERT_EQ(QProcess::execute("xdotool", {"windowclose", QString::number(dlg.winId())}), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.isEnded(); }));
  });
}

}  // namespace
}  // namespace kelvora::uitest
