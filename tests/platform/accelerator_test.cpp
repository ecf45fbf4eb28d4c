#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <vector>

#include "platform/qt/accelerators.h"

namespace kelvora::platform {
namespace {

constexpr int kStart = 1005, kDontKnow = 1012, kRestart = 1013, kDown100 = 1021, kSet8k = 1024,
              kOk = 1;

const Accelerator kTable[] = {
    {Accelerator::Character, '+', Qt::NoModifier, kStart},
    {Accelerator::Character, '-', Qt::NoModifier, kDontKnow},
    {Accelerator::Character, '?', Qt::NoModifier, kDontKnow},
    {Accelerator::VirtualKey, Qt::Key_C, Qt::NoModifier, kRestart},
    {Accelerator::VirtualKey, Qt::Key_Down, Qt::NoModifier, kDown100},
    {Accelerator::VirtualKey, Qt::Key_Escape, Qt::NoModifier, kOk},
    {Accelerator::VirtualKey, Qt::Key_Home, Qt::NoModifier, kSet8k},
    {Accelerator::VirtualKey, Qt::Key_Return, Qt::NoModifier, kStart},
    {Accelerator::VirtualKey, Qt::Key_X, Qt::ControlModifier, kOk},
};

TEST(Accelerators, KeysMatchByCharacterOrByExactModifiers) {
  struct Case {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    QString text;
    std::optional<int> expected;
  } const cases[] = {
      {"+ on the main keyboard", Qt::Key_Plus, Qt::ShiftModifier, "+", kStart},
      {"+ on the keypad", Qt::Key_Plus, Qt::KeypadModifier, "+", kStart},
      {"- on the keypad", Qt::Key_Minus, Qt::KeypadModifier, "-", kDontKnow},
      {"? needs Shift", Qt::Key_Question, Qt::ShiftModifier, "?", kDontKnow},
      {"C", Qt::Key_C, Qt::NoModifier, "c", kRestart},
      {"Shift+C", Qt::Key_C, Qt::ShiftModifier, "C", std::nullopt},
      {"Ctrl+C", Qt::Key_C, Qt::ControlModifier, "\x03", std::nullopt},
      {"Alt+C is left to the mnemonic", Qt::Key_C, Qt::AltModifier, "c", std::nullopt},
      {"Home", Qt::Key_Home, Qt::NoModifier, "", kSet8k},
      {"Alt+Home", Qt::Key_Home, Qt::AltModifier, "", std::nullopt},
      {"Ctrl+X", Qt::Key_X, Qt::ControlModifier, "\x18", kOk},
      {"X alone", Qt::Key_X, Qt::NoModifier, "x", std::nullopt},
      {"Ctrl+Shift+X", Qt::Key_X, Qt::ControlModifier | Qt::ShiftModifier, "\x18", std::nullopt},
      {"Down", Qt::Key_Down, Qt::NoModifier, "", kDown100},
      {"Down on the keypad", Qt::Key_Down, Qt::KeypadModifier, "", kDown100},
      {"Shift+Down", Qt::Key_Down, Qt::ShiftModifier, "", std::nullopt},
      {"Ctrl+Down", Qt::Key_Down, Qt::ControlModifier, "", std::nullopt},
      {"Enter on the keypad", Qt::Key_Enter, Qt::KeypadModifier, "\r", kStart},
      {"Esc", Qt::Key_Escape, Qt::NoModifier, "\x1b", kOk},
      {"Tab", Qt::Key_Tab, Qt::NoModifier, "\t", std::nullopt},
      {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, "", std::nullopt},
      {"Ctrl with a listed character", Qt::Key_Plus, Qt::ControlModifier, "+", std::nullopt},
  };
  for (const Case& c : cases) {
    const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers, c.text);
    EXPECT_EQ(TranslateAccelerator(event, kTable), c.expected) << c.name;
  }
}

// A window with two buttons, the second disabled, and the table installed.
class FilterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window);
    restart = new QPushButton("初めからやり直す(&C)", &window);
    start = new QPushButton("チェック開始", &window);
    layout->addWidget(restart);
    layout->addWidget(start);
    QObject::connect(restart, &QPushButton::clicked, [this] { clicked.push_back(kRestart); });
    start->setEnabled(false);
    window.show();
    QApplication::setActiveWindow(&window);
    restart->setFocus();
  }

  QWidget window;
  QPushButton* restart = nullptr;
  QPushButton* start = nullptr;
  std::vector<int> commands;
  std::vector<int> clicked;
  AcceleratorFilter filter{&window, kTable, [this](int id) { commands.push_back(id); }};
};

TEST_F(FilterTest, TableComesBeforeTheFocusedButtonAndReachesDisabledCommands) {
  QTest::keyClick(restart, Qt::Key_Return);  // would press the focused button
  QTest::keyClick(restart, Qt::Key_Plus, Qt::ShiftModifier);
  EXPECT_EQ(commands, (std::vector<int>{kStart, kStart}));
  EXPECT_TRUE(clicked.empty());
}

TEST_F(FilterTest, TabAndMnemonicsKeepTheirMeaning) {
  QTest::keyClick(restart, Qt::Key_C, Qt::AltModifier);
  // A mnemonic animates the press and clicks a moment later.
  EXPECT_TRUE(QTest::qWaitFor([this] { return !clicked.empty(); }));
  EXPECT_EQ(clicked, std::vector<int>{kRestart});
  EXPECT_TRUE(commands.empty());

  start->setEnabled(true);
  QTest::keyClick(restart, Qt::Key_Tab);
  EXPECT_TRUE(start->hasFocus());
  EXPECT_TRUE(commands.empty());
}

TEST_F(FilterTest, KeysOfOtherWindowsAreLeftAlone) {
  QWidget other;
  QTest::keyClick(&other, Qt::Key_Return);
  EXPECT_TRUE(commands.empty());
}

}  // namespace
}  // namespace kelvora::platform
