#include <QAction>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>
#include <map>
#include <vector>

#include "check/session_probe.h"
#include "main_dialog_fixture.h"
#include "platform/qt/tool_tips.h"

namespace kelvora::uitest {
namespace {

enum Phase { kIdle, kBusy, kAwaiting };

struct Expected {
  int id;
  bool menu;
  bool enabled[3];  // Idle, Busy, AwaitingAnswer
};

// What the two arrangements and the answer step leave enabled.
const Expected kStates[] = {
    {IDC_START, false, {true, false, false}},
    {IDC_ANSWER1, false, {false, false, true}},
    {IDC_ANSWER2, false, {false, false, true}},
    {IDC_ANSWER3, false, {false, false, true}},
    {IDC_ANSWER4, false, {false, false, true}},
    {IDC_ANSWER5, false, {false, false, true}},
    {IDC_DONT_KNOW, false, {false, false, true}},
    {IDC_RESTART, false, {true, true, true}},
    {IDOK, false, {true, true, true}},
    {IDC_SET_8K, false, {true, false, false}},
    {IDC_SET_16K, false, {true, false, false}},
    {IDC_UP_1K, false, {true, false, false}},
    {IDC_DOWN_1K, false, {true, false, false}},
    {IDC_UP_100, false, {true, false, false}},
    {IDC_DOWN_100, false, {true, false, false}},
    {IDC_UP_10, false, {true, false, false}},
    {IDC_DOWN_10, false, {true, false, false}},
    {ID_FILE_MAKE_WAVE, true, {true, true, true}},
    {ID_APP_EXIT_CMD, true, {true, true, true}},
    {ID_SOUND_VOLUME, true, {true, false, false}},
    {ID_SOUND_AUTO_CHANGE, true, {true, true, true}},
    {ID_SOUND_CONTINUOUS, true, {true, false, false}},
    {ID_SOUND_SILENCE, true, {true, false, false}},
    {ID_HELP_USAGE, true, {true, true, true}},
    {ID_HELP_ABOUT, true, {true, true, true}},
};

std::map<int, bool> EnabledStates(TestDlg& dlg) {
  std::map<int, bool> states;
  for (const Expected& e : kStates) {
    states[e.id] = e.menu ? dlg.menuAction(e.id)->isEnabled() : dlg.GetDlgItem(e.id)->isEnabled();
  }
  return states;
}

std::map<int, bool> ExpectedStates(Phase phase) {
  std::map<int, bool> states;
  for (const Expected& e : kStates) states[e.id] = e.enabled[phase];
  return states;
}

using ControlsTest = MainDialogTest;

TEST_F(ControlsTest, ControlsAndMenuItemsFollowIdleBusyAndAwaitingAnswer) {
  TestDlg dlg(player, clock, services);
  std::vector<std::map<int, bool>> whilePlaying;
  player.onPlay = [&](std::span<const std::uint8_t>) {
    whilePlaying.push_back(EnabledStates(dlg));
  };
  Run(dlg, [&](TestDlg& main) {
    EXPECT_EQ(EnabledStates(main), ExpectedStates(kIdle)) << "at start-up";
    main.OnCommand(IDC_START);
    EXPECT_EQ(EnabledStates(main), ExpectedStates(kAwaiting));
    main.OnCommand(IDC_ANSWER1 + SessionProbe(main.session()).answerCount - 1);
    EXPECT_EQ(EnabledStates(main), ExpectedStates(kIdle)) << "after a right answer";
    main.OnCommand(IDC_START);
    main.OnCommand(IDC_DONT_KNOW);
    EXPECT_EQ(EnabledStates(main), ExpectedStates(kIdle)) << "after a wrong answer";
  });
  // The pattern plays in Busy; the chime and the buzz while the answer is taken.
  ASSERT_EQ(whilePlaying.size(), 4u);
  EXPECT_EQ(whilePlaying[0], ExpectedStates(kBusy));
  EXPECT_EQ(whilePlaying[2], ExpectedStates(kBusy));
}

TEST_F(ControlsTest, ContinuousToneAndSilencePlayInBusyAndReturnToIdle) {
  for (const int command : {ID_SOUND_CONTINUOUS, ID_SOUND_SILENCE}) {
    SCOPED_TRACE(command);
    services.Reset();
    TestDlg dlg(player, clock, services);
    std::vector<std::map<int, bool>> whilePlaying;
    std::vector<CheckState> states;
    player.onPlay = [&](std::span<const std::uint8_t>) {
      whilePlaying.push_back(EnabledStates(dlg));
      states.push_back(dlg.view().state);
    };
    Run(dlg, [&](TestDlg& main) {
      Type(main, Qt::Key_Up);
      main.menuAction(command)->trigger();
      EXPECT_EQ(main.view().state, CheckState::Idle);
      EXPECT_EQ(EnabledStates(main), ExpectedStates(kIdle));
      EXPECT_EQ(main.view().frequency, 8100);
    });
    ASSERT_EQ(whilePlaying.size(), 1u);
    EXPECT_EQ(whilePlaying[0], ExpectedStates(kBusy));
    EXPECT_EQ(states[0], CheckState::Busy);
    player.onPlay = nullptr;
  }
}

TEST_F(ControlsTest, TheAutoChangeItemIsCheckedWhileAutomaticChangeIsOn) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    QAction* item = main.menuAction(ID_SOUND_AUTO_CHANGE);
    item->trigger();
    EXPECT_FALSE(main.view().autoChange);
    EXPECT_FALSE(item->isChecked());
    CheckRight(main);
    EXPECT_EQ(main.view().frequency, 8000) << "no staircase while off";
    item->trigger();
    EXPECT_TRUE(main.view().autoChange);
    EXPECT_TRUE(item->isChecked());
  });
}

struct TipCase {
  int control;
  const char* text;
};

const TipCase kTips[] = {
    {IDC_SET_8K, "周波数を8000 Hzに設定します。"},
    {IDC_SET_16K, "周波数を16000 Hzに設定します。"},
    {IDC_UP_1K, "周波数を1000 Hz上げます。\r\n\r\nキーボードの[Page Up]キーでも変更可能です。"},
    {IDC_DOWN_1K, "周波数を1000 Hz下げます。\r\n\r\nキーボードの[Page Down]キーでも変更可能です。"},
    {IDC_UP_100, "周波数を100 Hz上げます。\r\n\r\nキーボードの[↑]キーでも変更可能です。"},
    {IDC_DOWN_100, "周波数を100 Hz下げます。\r\n\r\nキーボードの[↓]キーでも変更可能です。"},
    {IDC_UP_10, "周波数を10 Hz上げます。\r\n\r\nキーボードの[→]キーでも変更可能です。"},
    {IDC_DOWN_10, "周波数を10 Hz下げます。\r\n\r\nキーボードの[←]キーでも変更可能です。"},
    {IDC_START,
     "現在表示されている周波数のチェックを開始します。\r\n\r\nキーボードの[+]キー, [Enter]キー, "
     "またはスペースキーでも開始出来ます。"},
    {IDC_ANSWER1,
     "音が 1回だけ 鳴ったときは、このボタンを押して下さい。 \r\n\r\nキーボードの[1]キーでも選択"
     "出来ます。"},
    {IDC_ANSWER2,
     "音が 2回 鳴ったときは、このボタンを押して下さい。 \r\n\r\nキーボードの[2]キーでも選択出来"
     "ます。"},
    {IDC_ANSWER3,
     "音が 3回 鳴ったときは、このボタンを押して下さい。 \r\n\r\nキーボードの[3]キーでも選択出来"
     "ます。"},
    {IDC_ANSWER4,
     "音が 4回 鳴ったときは、このボタンを押して下さい。 \r\n\r\nキーボードの[4]キーでも選択出来"
     "ます。"},
    {IDC_ANSWER5,
     "音が 5回 鳴ったときは、このボタンを押して下さい。 \r\n\r\nキーボードの[5]キーでも選択出来"
     "ます。"},
    {IDC_DONT_KNOW,
     "音が何度鳴ったか分からないときは、このボタンを押して下さい。 \r\n\r\nキーボードの[0]キー"
     "または[-]キーでも選択出来ます。"},
    {IDC_RESTART,
     "現在の記録や設定をリセットし、起動時の状態へ戻ります。\r\n\r\nキーボードの[Home]キーでも"
     "選択出来ます。"},
    {IDOK, "プログラムを終了します。\r\n\r\nキーボードの[ESC]キーでも選択出来ます。"},
};

// A text as shown may break long lines; apart from the breaks it is the text.
QString WithoutBreaks(QString text) {
  text.remove('\r');
  text.remove('\n');
  text.remove(' ');
  return text;
}

TEST_F(ControlsTest, SeventeenControlsCarryTheirTipsWithLineBreaksAndNoCarriageReturn) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    const platform::ToolTips* tips = main.toolTips();
    ASSERT_NE(tips, nullptr);
    const QFontMetrics metrics(QToolTip::font());
    for (const TipCase& tip : kTips) {
      SCOPED_TRACE(tip.control);
      const QString shown = tips->TextOf(main.GetDlgItem(tip.control));
      const QString text = QString::fromUtf8(tip.text);
      EXPECT_EQ(WithoutBreaks(shown), WithoutBreaks(text));
      EXPECT_FALSE(shown.contains('\r'));
      EXPECT_EQ(shown.contains("\n\n"), text.contains("\r\n\r\n"));
      for (const QString& line : shown.split('\n')) {
        EXPECT_LE(metrics.horizontalAdvance(line), platform::kMaxTipWidth);
      }
    }
    EXPECT_TRUE(tips->TextOf(main.GetDlgItem(IDCANCEL)).isEmpty());
    EXPECT_TRUE(tips->TextOf(main.GetDlgItem(IDC_FREQ_GROUP)).isEmpty());
    EXPECT_TRUE(main.testAttribute(Qt::WA_AlwaysShowToolTips));
  });
}

// Qt lets a tip fade out on a timer; a test needs it gone at once.
void HideTipNow() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->inherits("QTipLabel")) window->hide();
  }
}

// Hovering `control`: whether a tip shows, and with which text.
QString TipShownFor(QWidget* control) {
  HideTipNow();
  QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), control->mapToGlobal(QPoint(2, 2)));
  QApplication::sendEvent(control, &event);
  const QString shown = QToolTip::isVisible() ? QToolTip::text() : QString();
  HideTipNow();
  return shown;
}

TEST_F(ControlsTest, ADisabledControlShowsNoTip) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    QWidget* answer = main.GetDlgItem(IDC_ANSWER1);
    QWidget* up = main.GetDlgItem(IDC_UP_1K);
    EXPECT_EQ(TipShownFor(answer), QString());
    EXPECT_EQ(TipShownFor(up), main.toolTips()->TextOf(up));
    main.OnCommand(IDC_START);
    EXPECT_EQ(TipShownFor(answer), main.toolTips()->TextOf(answer));
    EXPECT_EQ(TipShownFor(up), QString());
  });
}

}  // namespace
}  // namespace kelvora::uitest
