#include "platform/qt/template_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <vector>

#include "tests/support/test_services.h"

namespace kelvora::platform {
namespace {

namespace CS = ControlStyle;

constexpr int kPlay = 1000, kEdit = 1018, kSlider = 1004, kFade = 1024, kIcon = 1030, kLabel = 1031,
              kGroup = 1032;

const ControlTemplate kControls[] = {
    {kIdOk, ControlKind::PushButton, 196, 153, 72, 20, "完了(&E)", CS::TabStop},
    {kEdit, ControlKind::Edit, 23, 62, 28, 14, "30", CS::Border | CS::TabStop | CS::AutoHScroll},
    {kSlider, ControlKind::Slider, 82, 49, 152, 26, "Slider1", CS::AutoTicks | CS::TabStop},
    {kPlay, ControlKind::DefaultPushButton, 173, 101, 88, 20, "再生(&P)", CS::TabStop},
    {kIdCancel, ControlKind::PushButton, 17, 101, 50, 14, "ｷｬﾝｾﾙ", CS::Hidden | CS::TabStop},
    {kFade, ControlKind::CheckBox, 39, 34, 109, 16, "フェイド", CS::TabStop | CS::Disabled},
    {kLabel, ControlKind::StaticText, 18, 26, 226, 14, "音量", CS::NoWrap},
    {kGroup, ControlKind::GroupBox, 7, 7, 261, 138, "グループ", CS::None},
    {kIcon, ControlKind::Icon, 7, 36, 20, 20, "appicon", CS::None},
};
const DialogTemplate kTemplate = {129, "テスト", 275, 180, DialogStyle::None, kControls};

// Without a default button or an enabled first control.
const ControlTemplate kPlainControls[] = {
    {kFade, ControlKind::CheckBox, 39, 34, 109, 16, "フェイド", CS::TabStop | CS::Disabled},
    {kEdit, ControlKind::Edit, 38, 9, 40, 15, "440.0", CS::TabStop},
    {kPlay, ControlKind::PushButton, 49, 55, 47, 18, "視聴(&P)", CS::TabStop},
    {kIdOk, ControlKind::PushButton, 119, 77, 61, 18, "終了(&X)", CS::TabStop},
    {kIdCancel, ControlKind::PushButton, 7, 81, 50, 14, "ｷｬﾝｾﾙ", CS::Hidden | CS::TabStop},
};
const DialogTemplate kPlainTemplate = {143, "", 187, 102, DialogStyle::SystemMenu, kPlainControls};

class RecordingDialog : public TemplateDialog {
 public:
  explicit RecordingDialog(Services& services, const DialogTemplate& t = kTemplate)
      : TemplateDialog(t, services) {}
  std::vector<int> commands;
  int destroyed = 0;
  bool closeDuringInit = false;

 protected:
  bool OnInitDialog() override {
    if (closeDuringInit) PostClose();
    return true;
  }
  void OnCommand(int id) override {
    commands.push_back(id);
    TemplateDialog::OnCommand(id);
  }
  void OnDestroy() override { ++destroyed; }
};

class TemplateDialogTest : public ::testing::Test {
 protected:
  testing::TestServices services;
};

TEST_F(TemplateDialogTest, EveryControlStandsAtItsTemplatePositionInPixels) {
  RecordingDialog dialog(services);
  const DialogBaseUnits base = BaseUnitsOf(DialogFont());
  EXPECT_EQ(dialog.client()->size(), DialogToPixels(QRect(0, 0, 275, 180), base).size());
  for (const ControlTemplate& control : kControls) {
    QWidget* widget = dialog.GetDlgItem(control.id);
    ASSERT_NE(widget, nullptr) << control.id;
    EXPECT_EQ(widget->parentWidget(), dialog.client());
    QRect expected =
        DialogToPixels(QRect(control.x, control.y, control.width, control.height), base);
    if (control.kind == ControlKind::Icon) expected.setSize(QSize(32, 32));
    EXPECT_EQ(widget->geometry(), expected) << control.id;
  }
  EXPECT_NE(qobject_cast<QPushButton*>(dialog.GetDlgItem(kPlay)), nullptr);
  EXPECT_TRUE(qobject_cast<QPushButton*>(dialog.GetDlgItem(kPlay))->isDefault());
  EXPECT_NE(qobject_cast<QLineEdit*>(dialog.GetDlgItem(kEdit)), nullptr);
  EXPECT_NE(qobject_cast<QSlider*>(dialog.GetDlgItem(kSlider)), nullptr);
  EXPECT_NE(qobject_cast<QCheckBox*>(dialog.GetDlgItem(kFade)), nullptr);
  EXPECT_NE(qobject_cast<QLabel*>(dialog.GetDlgItem(kLabel)), nullptr);
  EXPECT_NE(qobject_cast<QGroupBox*>(dialog.GetDlgItem(kGroup)), nullptr);
  EXPECT_EQ(dialog.GetDlgItem(4711), nullptr);
}

TEST_F(TemplateDialogTest, RunningDialogShowsItsControlsButNeverTheHiddenCancel) {
  RecordingDialog dialog(services);
  services.PushModalAnswer([](TemplateDialog& shown) {
    EXPECT_TRUE(shown.isVisible());
    EXPECT_TRUE(shown.GetDlgItem(kIdOk)->isVisible());
    EXPECT_FALSE(shown.GetDlgItem(kIdCancel)->isVisible());
    EXPECT_FALSE(shown.GetDlgItem(kFade)->isEnabled());
    EXPECT_TRUE(shown.GetDlgItem(kIdOk)->hasFocus());  // first tab stop
    return kIdOk;
  });
  EXPECT_EQ(dialog.DoModal(), kIdOk);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.destroyed, 1);
  ASSERT_EQ(services.ShownDialogs().size(), 1u);
  EXPECT_EQ(services.ShownDialogs()[0].templateId, 129);
  EXPECT_EQ(services.ShownDialogs()[0].title, "テスト");
  EXPECT_TRUE(services.ShownDialogs()[0].shown);
}

TEST_F(TemplateDialogTest, WaysOfClosingEndAsOkOrCancel) {
  struct Case {
    const char* name;
    std::function<void(TemplateDialog&)> act;
    int expected;
  } const cases[] = {
      {"Esc", [](TemplateDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, kIdCancel},
      {"close box", [](TemplateDialog& d) { d.close(); }, kIdCancel},
      {"OK button",
       [](TemplateDialog& d) { QTest::mouseClick(d.GetDlgItem(kIdOk), Qt::LeftButton); }, kIdOk},
      {"mnemonic of OK",
       [](TemplateDialog& d) {
         QTest::keyClick(&d, Qt::Key_E, Qt::AltModifier);
         // A mnemonic animates the press and clicks a moment later.
         EXPECT_TRUE(QTest::qWaitFor([&d] { return d.isEnded(); }));
       },
       kIdOk},
  };
  for (const Case& c : cases) {
    RecordingDialog dialog(services);
    services.PushModalAnswer([&](TemplateDialog& d) {
      c.act(d);
      return 99;  // ignored once the dialog has ended
    });
    EXPECT_EQ(dialog.DoModal(), c.expected) << c.name;
    EXPECT_EQ(dialog.commands, std::vector<int>{c.expected}) << c.name;
  }
}

TEST_F(TemplateDialogTest, EnterPressesTheDefaultButtonOrMeansOkWithoutOne) {
  RecordingDialog withDefault(services);
  services.PushModalAnswer([](TemplateDialog& d) {
    d.GetDlgItem(kEdit)->setFocus();
    QTest::keyClick(d.GetDlgItem(kEdit), Qt::Key_Return);
    return kIdCancel;
  });
  EXPECT_EQ(withDefault.DoModal(), kIdCancel);
  EXPECT_EQ(withDefault.commands, (std::vector<int>{kPlay}));

  RecordingDialog plain(services, kPlainTemplate);
  services.PushModalAnswer([](TemplateDialog& d) {
    EXPECT_TRUE(d.GetDlgItem(kEdit)->hasFocus());  // the disabled check box is skipped
    // Typing replaces the text, as in a field that the dialog gave the focus.
    EXPECT_EQ(qobject_cast<QLineEdit*>(d.GetDlgItem(kEdit))->selectedText(), "440.0");
    QTest::keyClick(d.GetDlgItem(kEdit), Qt::Key_Return);
    return kIdCancel;
  });
  EXPECT_EQ(plain.DoModal(), kIdOk);

  // A button that had the focus is the default only while it has it.
  RecordingDialog visited(services, kPlainTemplate);
  services.PushModalAnswer([](TemplateDialog& d) {
    d.GetDlgItem(kPlay)->setFocus(Qt::TabFocusReason);
    d.GetDlgItem(kEdit)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(d.GetDlgItem(kEdit), Qt::Key_Return);
    return kIdCancel;
  });
  EXPECT_EQ(visited.DoModal(), kIdOk);
  EXPECT_EQ(visited.commands, (std::vector<int>{kIdOk}));
}

TEST_F(TemplateDialogTest, CloseRequestedDuringInitialisationEndsBeforeAnyInput) {
  RecordingDialog dialog(services);
  dialog.closeDuringInit = true;
  bool answered = false;
  services.PushModalAnswer([&](TemplateDialog& d) {
    answered = true;
    d.EndDialog(kIdOk);
    return kIdOk;
  });
  EXPECT_EQ(dialog.DoModal(), kIdCancel);
  EXPECT_FALSE(answered);
  EXPECT_EQ(services.PendingModalAnswers(), 0);
  EXPECT_EQ(dialog.destroyed, 1);
  ASSERT_EQ(services.ShownDialogs().size(), 1u);
  EXPECT_FALSE(services.ShownDialogs()[0].shown);
}

TEST_F(TemplateDialogTest, AnswerlessRunEndsAsCancel) {
  RecordingDialog dialog(services);
  EXPECT_EQ(dialog.DoModal(), kIdCancel);
}

TEST_F(TemplateDialogTest, AcceleratorsReachOnCommandEvenForDisabledButtons) {
  static const Accelerator table[] = {
      {Accelerator::Character, '+', Qt::NoModifier, kFade},
      {Accelerator::VirtualKey, Qt::Key_Escape, Qt::NoModifier, kIdOk},
  };
  RecordingDialog dialog(services);
  dialog.SetAccelerators(table);
  services.PushModalAnswer([](TemplateDialog& d) {
    QTest::keyClick(d.GetDlgItem(kIdOk), Qt::Key_Plus, Qt::ShiftModifier);  // kFade is disabled
    QTest::keyClick(d.GetDlgItem(kEdit), Qt::Key_Escape);                   // OK here, not Cancel
    return kIdCancel;
  });
  EXPECT_EQ(dialog.DoModal(), kIdOk);
  EXPECT_EQ(dialog.commands, (std::vector<int>{kFade, kIdOk}));
}

TEST_F(TemplateDialogTest, ItemTextsReadAndWriteEveryKindOfControl) {
  RecordingDialog dialog(services);
  for (int id : {kIdOk, kEdit, kLabel, kGroup, kFade}) {
    dialog.SetDlgItemText(id, "Kelvora ver 1.000");
    EXPECT_EQ(dialog.GetDlgItemText(id), "Kelvora ver 1.000") << id;
  }
  dialog.SetDlgItemText(0, "スピーカの音量設定 [Kelvora]");
  EXPECT_EQ(dialog.windowTitle(), "スピーカの音量設定 [Kelvora]");
}

TEST_F(TemplateDialogTest, CloseBoxOnlyWithSystemMenuStyle) {
  RecordingDialog without(services, kTemplate);
  RecordingDialog with(services, kPlainTemplate);
  EXPECT_FALSE(without.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(with.windowFlags() & Qt::WindowCloseButtonHint);
}

}  // namespace
}  // namespace kelvora::platform
