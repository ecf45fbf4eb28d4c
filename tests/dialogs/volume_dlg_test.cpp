#include "dialogs/volume_dlg.h"

#include <QPushButton>
#include <QSlider>
#include <QStyleOptionSlider>

#include "dialog_fixture.h"
#include "res/resources.h"
#include "sound/synthesis.h"

namespace kelvora::testing {
namespace {

using platform::TemplateDialog;

Bytes VolumeSample(std::int32_t volume) {
  Bytes image(kSampleWaveBufferSize);
  RenderVolumeSample(image, volume);
  image.resize(kWaveHeaderSize + kVolumeSampleDataSize);
  return image;
}

class VolumeDlgTest : public DialogTest {
 protected:
  static QSlider* Slider(TemplateDialog& d) {
    return qobject_cast<QSlider*>(d.GetDlgItem(IDC_VOLUME_SLIDER));
  }
  static QString Field(TemplateDialog& d) { return d.GetDlgItemText(IDC_VOLUME_PERCENT); }

  RecordingPlayer player;
};

TEST_F(VolumeDlgTest, OpensAtTheCallersLevelWithFocusOnTheFinishButton) {
  RecordingAllocator allocator;
  SetBufferAllocator(&allocator);
  CVolumeDlg dlg(player, services);
  dlg.SetVolume(9000);
  RunModal(dlg, [&](TemplateDialog& d) {
    EXPECT_EQ(Slider(d)->minimum(), 0);
    EXPECT_EQ(Slider(d)->maximum(), 100);
    EXPECT_EQ(Slider(d)->tickInterval(), 10);
    EXPECT_EQ(Slider(d)->value(), 30);
    EXPECT_EQ(Field(d), "30");
    EXPECT_EQ(d.focusWidget(), d.GetDlgItem(platform::kIdOk));
    EXPECT_FALSE(d.windowFlags() & Qt::WindowCloseButtonHint);
    qobject_cast<QPushButton*>(d.GetDlgItem(platform::kIdOk))->click();
  });
  EXPECT_EQ(dlg.endResult(), platform::kIdOk);
  EXPECT_EQ(dlg.volume(), 9000);
  EXPECT_FALSE(dlg.failed());
  EXPECT_EQ(services.ShownDialogs().at(0).title, "スピーカの音量設定 [Kelvora]");
  EXPECT_TRUE(services.ShownMessages().empty());
  EXPECT_EQ(allocator.sizes, std::vector<std::size_t>{97024});
  EXPECT_EQ(allocator.releases, 1);
}

struct TypedCase {
  const char* typed;
  int slider;
  std::int32_t volume;
};

TEST_F(VolumeDlgTest, TypedTextMovesTheSliderAndKeepsItsText) {
  const std::string manyNines(300, '9');
  const TypedCase cases[] = {
      {"150", 100, 30000},
      {"100", 100, 30000},
      {"64", 64, 19200},
      {"0", 0, 0},
      {"abc", 0, 0},
      {"", 0, 0},
      {"-20", 0, 0},
      {"  42%", 42, 12600},
      {"7.9", 7, 2100},
      {"99999999999999999999999", 100, 30000},
      {manyNines.c_str(), 100, 30000},
      {"-99999999999999999999999", 0, 0},
  };
  for (const TypedCase& c : cases) {
    SCOPED_TRACE(std::string("typed \"") + c.typed + '"');
    CVolumeDlg dlg(player, services);
    dlg.SetVolume(9000);
    RunModal(dlg, [&](TemplateDialog& d) {
      TypeInto(d.GetDlgItem(IDC_VOLUME_PERCENT), c.typed);
      EXPECT_EQ(Slider(d)->value(), c.slider);
      EXPECT_EQ(Field(d), QString(c.typed));
      d.EndDialog(platform::kIdOk);
    });
    EXPECT_EQ(dlg.volume(), c.volume);
  }
}

TEST_F(VolumeDlgTest, UserMovesOfTheSliderRewriteTheField) {
  CVolumeDlg dlg(player, services);
  dlg.SetVolume(9000);
  RunModal(dlg, [&](TemplateDialog& d) {
    QSlider* slider = Slider(d);
    TypeInto(d.GetDlgItem(IDC_VOLUME_PERCENT), "150");  // the field is rewritten from the slider

    // Keyboard.
    const struct {
      Qt::Key key;
      const char* field;
    } keys[] = {{Qt::Key_Left, "99"},
                {Qt::Key_Home, "0"},
                {Qt::Key_Right, "1"},
                {Qt::Key_PageUp, "11"},
                {Qt::Key_End, "100"}};
    for (const auto& k : keys) {
      QTest::keyClick(slider, k.key);
      EXPECT_EQ(Field(d), k.field) << "after key " << k.key;
    }
    EXPECT_EQ(dlg.volume(), 30000);

    // Mouse: drag the handle to the left end.
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    const QPoint handle =
        slider->style()
            ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider)
            .center();
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, handle);
    QTest::mouseMove(slider, QPoint(handle.x() - slider->width() / 2, handle.y()));
    const QString midDrag = Field(d);
    QTest::mouseMove(slider, QPoint(-50, handle.y()));
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, QPoint(-50, handle.y()));
    EXPECT_NE(midDrag, "100");  // followed during the drag, not only at the release
    EXPECT_EQ(slider->value(), 0);
    EXPECT_EQ(Field(d), "0");
    d.EndDialog(platform::kIdOk);
  });
  EXPECT_EQ(dlg.volume(), 0);
}

TEST_F(VolumeDlgTest, ProgramMovesOfTheSliderAreSilentButFieldChangesAreNot) {
  CVolumeDlg dlg(player, services);
  dlg.SetVolume(9000);
  RunModal(dlg, [&](TemplateDialog& d) {
    Slider(d)->setValue(80);
    EXPECT_EQ(Field(d), "30");
    EXPECT_EQ(dlg.volume(), 9000);

    d.SetDlgItemText(IDC_VOLUME_PERCENT, "55");
    EXPECT_EQ(Slider(d)->value(), 55);
    EXPECT_EQ(dlg.volume(), 16500);
    d.EndDialog(platform::kIdOk);
  });
}

TEST_F(VolumeDlgTest, SamplePlaysAtTheSliderLevelUnderTheWaitCursor) {
  CVolumeDlg dlg(player, services);
  dlg.SetVolume(9000);
  RunModal(dlg, [&](TemplateDialog& d) {
    auto* sample = qobject_cast<QPushButton*>(d.GetDlgItem(IDC_PLAY_SAMPLE));
    TypeInto(d.GetDlgItem(IDC_VOLUME_PERCENT), "150");
    sample->click();

    // The slider, not the field, is what plays.
    Slider(d)->setValue(40);
    sample->click();

    // Enter in the field or on the slider presses the sample button and
    // leaves the dialog open.
    TypeInto(d.GetDlgItem(IDC_VOLUME_PERCENT), "0");
    QTest::keyClick(d.GetDlgItem(IDC_VOLUME_PERCENT), Qt::Key_Return);
    Slider(d)->setFocus();
    QTest::keyClick(Slider(d), Qt::Key_Enter);
    EXPECT_FALSE(d.isEnded());
    d.EndDialog(platform::kIdOk);
  });
  ASSERT_EQ(player.played.size(), 4u);
  EXPECT_EQ(player.played[0], VolumeSample(30000));
  EXPECT_EQ(player.played[1], VolumeSample(12000));
  EXPECT_EQ(player.played[2], VolumeSample(0));
  EXPECT_EQ(player.played[3], VolumeSample(0));
  EXPECT_EQ(player.waitCursorDepths, (std::vector<int>{1, 1, 1, 1}));
  EXPECT_EQ(platform::WaitCursorDepth(), 0);
  EXPECT_EQ(dlg.volume(), 0);
}

TEST_F(VolumeDlgTest, EscapeKeepsTheLevelSetInTheDialog) {
  CVolumeDlg dlg(player, services);
  dlg.SetVolume(9000);
  RunModal(dlg, [&](TemplateDialog& d) {
    TypeInto(d.GetDlgItem(IDC_VOLUME_PERCENT), "64");
    QTest::keyClick(d.GetDlgItem(IDC_VOLUME_PERCENT), Qt::Key_Escape);
    EXPECT_TRUE(d.isEnded());
  });
  EXPECT_EQ(dlg.endResult(), platform::kIdCancel);
  EXPECT_EQ(dlg.volume(), 19200);
}

TEST_F(VolumeDlgTest, WithoutItsBufferItSaysSoAndEndsBeforeAnyInput) {
  RecordingAllocator failing(/*fail=*/true);
  SetBufferAllocator(&failing);
  CVolumeDlg dlg(player, services);
  dlg.SetVolume(9000);
  bool userActed = false;
  RunModal(dlg, [&](TemplateDialog&) { userActed = true; });

  EXPECT_FALSE(userActed);
  EXPECT_TRUE(dlg.failed());
  EXPECT_EQ(dlg.volume(), 9000);
  ASSERT_EQ(services.ShownDialogs().size(), 1u);
  EXPECT_FALSE(services.ShownDialogs()[0].shown);
  ASSERT_EQ(services.ShownMessages().size(), 1u);
  const auto& message = services.ShownMessages()[0];
  EXPECT_EQ(message.text,
            "動作に必要なメモリが確保出来ませんでした。\r\nアプリケーションを強制終了します。");
  EXPECT_EQ(message.caption, "Kelvora ver 1.000");
  EXPECT_EQ(message.icon, platform::MessageIcon::Stop);
  EXPECT_TRUE(player.played.empty());
}

}  // namespace
}  // namespace kelvora::testing
