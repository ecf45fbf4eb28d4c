#include <vector>

#include "check/session_probe.h"
#include "main_dialog_fixture.h"

namespace kelvora::uitest {
namespace {

struct KeyCase {
  const char* name;
  std::function<void(TestDlg&)> press;
  int command;
};

std::function<void(TestDlg&)> Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
  return [=](TestDlg& dlg) { Type(dlg, key, modifiers); };
}
std::function<void(TestDlg&)> Char(char character, Qt::KeyboardModifiers modifiers = {}) {
  return [=](TestDlg& dlg) { Type(dlg, character, modifiers); };
}

// The 22 entries of the key table, and the other keys that produce their characters.
std::vector<KeyCase> KeyTable() {
  return {
      {"+", Char('+'), IDC_START},
      {"keypad +", Key(Qt::Key_Plus, Qt::KeypadModifier), IDC_START},
      {"-", Char('-'), IDC_DONT_KNOW},
      {"keypad -", Key(Qt::Key_Minus, Qt::KeypadModifier), IDC_DONT_KNOW},
      {"0", Char('0'), IDC_DONT_KNOW},
      {"keypad 0", Key(Qt::Key_0, Qt::KeypadModifier), IDC_DONT_KNOW},
      {"1", Char('1'), IDC_ANSWER1},
      {"2", Char('2'), IDC_ANSWER2},
      {"3", Char('3'), IDC_ANSWER3},
      {"4", Char('4'), IDC_ANSWER4},
      {"5", Char('5'), IDC_ANSWER5},
      {"keypad 5", Key(Qt::Key_5, Qt::KeypadModifier), IDC_ANSWER5},
      {"?", Char('?', Qt::ShiftModifier), IDC_DONT_KNOW},
      {"C", Key(Qt::Key_C), IDC_RESTART},
      {"Down", Key(Qt::Key_Down), IDC_DOWN_100},
      {"Esc", Key(Qt::Key_Escape), IDOK},
      {"F1", Key(Qt::Key_F1), ID_HELP_USAGE},
      {"Home", Key(Qt::Key_Home), IDC_SET_8K},
      {"Left", Key(Qt::Key_Left), IDC_DOWN_10},
      {"Page Down", Key(Qt::Key_PageDown), IDC_DOWN_1K},
      {"Page Up", Key(Qt::Key_PageUp), IDC_UP_1K},
      {"Enter", Key(Qt::Key_Return), IDC_START},
      {"keypad Enter", Key(Qt::Key_Enter, Qt::KeypadModifier), IDC_START},
      {"Right", Key(Qt::Key_Right), IDC_UP_10},
      {"Space", Key(Qt::Key_Space), IDC_START},
      {"Up", Key(Qt::Key_Up), IDC_UP_100},
      {"Ctrl+X", Key(Qt::Key_X, Qt::ControlModifier), IDOK},
  };
}

using KeyboardTest = MainDialogTest;

// Keys reach their handlers whether or not the button of the same number is
// enabled: answers in Idle, frequency keys while an answer is awaited.
TEST_F(KeyboardTest, EveryKeyOfTheTableSendsItsCommandInIdleAndWhileAnAnswerIsAwaited) {
  for (const bool awaiting : {false, true}) {
    for (const KeyCase& key : KeyTable()) {
      SCOPED_TRACE(std::string(key.name) + (awaiting ? " awaiting an answer" : " in Idle"));
      services.Reset();
      TestDlg dlg(player, clock, services);
      Run(dlg, [&](TestDlg& main) {
        if (awaiting) {
          main.OnCommand(IDC_START);
          ASSERT_EQ(main.view().state, CheckState::AwaitingAnswer);
          main.commands.clear();
        }
        key.press(main);
        EXPECT_EQ(main.commands, std::vector<int>{key.command});
      });
    }
  }
}

TEST_F(KeyboardTest, ModifiedKeysOutsideTheTableSendNothing) {
  const KeyCase keys[] = {
      {"Shift+C", Key(Qt::Key_C, Qt::ShiftModifier), 0},
      {"Ctrl+C", Key(Qt::Key_C, Qt::ControlModifier), 0},
      {"Alt+Home", Key(Qt::Key_Home, Qt::AltModifier), 0},
      {"Shift+Up", Key(Qt::Key_Up, Qt::ShiftModifier), 0},
      {"Ctrl+1", Key(Qt::Key_1, Qt::ControlModifier), 0},
  };
  for (const KeyCase& key : keys) {
    SCOPED_TRACE(key.name);
    services.Reset();
    TestDlg dlg(player, clock, services);
    Run(dlg, [&](TestDlg& main) {
      key.press(main);
      EXPECT_TRUE(main.commands.empty());
      EXPECT_EQ(main.view().frequency, 8000);
      EXPECT_EQ(main.view().trials, 0);
      EXPECT_FALSE(main.isEnded());
    });
  }
}

TEST_F(KeyboardTest, AltMnemonicsPressTheirButtons) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    Type(main, Qt::Key_Up);
    Type(main, Qt::Key_C, Qt::AltModifier);
    // A mnemonic presses the button visibly, releasing it a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return main.commands.size() == 2; }));
    EXPECT_EQ(main.commands, (std::vector<int>{IDC_UP_100, IDC_RESTART}));
    EXPECT_EQ(main.view().frequency, 8000);
  });
}

TEST_F(KeyboardTest, EnterSpaceAndPlusStartACheck) {
  const KeyCase keys[] = {
      {"Enter", Key(Qt::Key_Return), 0}, {"Space", Key(Qt::Key_Space), 0}, {"+", Char('+'), 0}};
  for (const KeyCase& key : keys) {
    SCOPED_TRACE(key.name);
    services.Reset();
    player.played.clear();
    TestDlg dlg(player, clock, services);
    Run(dlg, [&](TestDlg& main) {
      key.press(main);
      EXPECT_EQ(main.view().state, CheckState::AwaitingAnswer);
      EXPECT_EQ(main.view().trials, 1);
      EXPECT_EQ(player.played.size(), 1u);
    });
  }
}

TEST_F(KeyboardTest, FrequencyKeysMoveTheFrequencyFrom8000) {
  const struct {
    const char* name;
    Qt::Key key;
    std::int32_t frequency;
  } keys[] = {
      {"Up", Qt::Key_Up, 8100},          {"Down", Qt::Key_Down, 7900},
      {"Right", Qt::Key_Right, 8010},    {"Left", Qt::Key_Left, 7990},
      {"Page Up", Qt::Key_PageUp, 9000}, {"Page Down", Qt::Key_PageDown, 7000},
  };
  for (const auto& key : keys) {
    SCOPED_TRACE(key.name);
    services.Reset();
    TestDlg dlg(player, clock, services);
    Run(dlg, [&](TestDlg& main) {
      const QWidget* focus = QApplication::focusWidget();
      Type(main, key.key);
      EXPECT_EQ(main.view().frequency, key.frequency);
      EXPECT_EQ(main.statusPanel().texts().frequency, FormatFrequencyText(key.frequency));
      EXPECT_EQ(QApplication::focusWidget(), focus) << "arrows do not move the focus";
    });
  }
}

TEST_F(KeyboardTest, HomeGoesTo8000KeepingTheRecordWhileCRestarts) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    CheckRight(main);
    ASSERT_EQ(main.view().frequency, 10000);
    Type(main, Qt::Key_Home);
    EXPECT_EQ(main.view().frequency, 8000);
    EXPECT_EQ(main.view().record, 8000);
    Type(main, Qt::Key_PageUp);
    Type(main, Qt::Key_C);
    EXPECT_EQ(main.view().frequency, 8000);
    EXPECT_EQ(main.view().record, 0);
  });
}

TEST_F(KeyboardTest, DigitsAnswerOnlyWhileAnAnswerIsAwaited) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    for (char digit : {'1', '2', '3', '4', '5', '0'}) Type(main, digit);
    EXPECT_EQ(main.view().state, CheckState::Idle);
    EXPECT_EQ(main.view().corrects, 0);
    EXPECT_EQ(main.view().trials, 0);

    Type(main, Qt::Key_Return);
    Type(main, static_cast<char>('0' + SessionProbe(main.session()).answerCount));
    EXPECT_EQ(main.view().state, CheckState::Idle);
    EXPECT_EQ(main.view().corrects, 1);
    EXPECT_EQ(QApplication::focusWidget(), main.GetDlgItem(IDC_START))
        << "the start button has the focus again after the check";
  });
}

TEST_F(KeyboardTest, F1OpensTheLocalHelpPage) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) { Type(main, Qt::Key_F1); });
  ASSERT_EQ(services.OpenRequests().size(), 1u);
  EXPECT_EQ(services.OpenRequests()[0].argument, ".\\help\\index.html");
}

TEST_F(KeyboardTest, TabMovesTheFocusAndSendsNoCommand) {
  TestDlg dlg(player, clock, services);
  Run(dlg, [](TestDlg& main) {
    const QWidget* before = QApplication::focusWidget();
    Type(main, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), before);
    Type(main, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), before);
    EXPECT_TRUE(main.commands.empty());
  });
}

}  // namespace
}  // namespace kelvora::uitest
