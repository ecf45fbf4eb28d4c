#include <deque>

#include "main_dialog_fixture.h"
#include "ui/sound_path_check.h"

namespace kelvora::uitest {
namespace {

using Rate = std::optional<std::uint32_t>;

platform::OutputPath PathAt(std::uint32_t rate) {
  platform::OutputPath path;
  path.rate = rate;
  return path;
}

// Answers at once with the next queued rate; with none queued it holds the
// question until the test answers it.
class FakePathCheck : public SoundPathCheck {
 public:
  void Start(Answer answer) override {
    ++asked;
    if (rates.empty()) {
      held = std::move(answer);
      return;
    }
    const Rate rate = rates.front();
    rates.pop_front();
    answer(rate ? KnownPath(PathAt(*rate)) : std::nullopt);
  }
  std::deque<Rate> rates;
  Answer held;
  int asked = 0;
};

class SoundPathTest : public MainDialogTest {
 protected:
  // The texts of the warnings shown so far; each must be the warning box.
  std::vector<QString> Warnings(QWidget* owner) {
    std::vector<QString> texts;
    for (const auto& shown : services.ShownMessages()) {
      EXPECT_EQ(shown.caption, QString::fromUtf8("Kelvora ver 1.000"));
      EXPECT_EQ(shown.icon, platform::MessageIcon::Exclamation);
      EXPECT_EQ(shown.owner, owner);
      texts.push_back(shown.text);
    }
    return texts;
  }
  FakePathCheck check;
};

bool Names(const QString& text, const char* rate, const char* half) {
  return text.contains(QString::fromUtf8(rate) + " Hz") &&
         text.contains(QString::fromUtf8(half) + " Hz") && text.contains("default.clock.rate") &&
         text.contains("default-sample-rate");
}

TEST_F(SoundPathTest, AnOutputBelow48000HzIsPointedOutOnceTheMainWindowIsUp) {
  const struct {
    Rate rate;
    const char* named;  // null: nothing shown
    const char* half;
  } cases[] = {
      {44100, "44100", "22050"}, {16000, "16000", "8000"},  {47999, "47999", "23999"},
      {48000, nullptr, nullptr}, {96000, nullptr, nullptr}, {std::nullopt, nullptr, nullptr},
  };
  for (const auto& c : cases) {
    services.Reset();
    check.rates = {c.rate};
    check.asked = 0;
    TestDlg dlg(player, clock, services, nullptr, &check);
    int duringVolume = -1;
    Run(
        dlg,
        [&](TestDlg& main) {
          QCoreApplication::processEvents();
          const std::vector<QString> warnings = Warnings(&main);
          ASSERT_EQ(warnings.size(), c.named ? 1u : 0u) << c.rate.value_or(0);
          if (c.named) {
            EXPECT_TRUE(Names(warnings[0], c.named, c.half)) << warnings[0].toStdString();
          }
        },
        [&](TemplateDialog&) {
          duringVolume = static_cast<int>(services.ShownMessages().size());
          return IDOK;
        });
    EXPECT_EQ(check.asked, 1);
    EXPECT_EQ(duringVolume, 0);
  }
}

TEST_F(SoundPathTest, AnAnswerThatComesAfterTheWindowIsUpIsShownWhenItComes) {
  TestDlg dlg(player, clock, services, nullptr, &check);
  Run(dlg, [&](TestDlg& main) {
    QCoreApplication::processEvents();
    EXPECT_TRUE(services.ShownMessages().empty());
    ASSERT_TRUE(check.held);
    check.held(PathAt(16000));
    ASSERT_EQ(Warnings(&main).size(), 1u);
    EXPECT_TRUE(Names(Warnings(&main)[0], "16000", "8000"));
  });
}

TEST_F(SoundPathTest, TheVolumeMenuAsksAgainAndWarnsOnlyWhenTheRateChanged) {
  // Start-up first, then each choice of the volume menu item.
  const Rate answers[] = {44100, 44100, std::nullopt, 44100, 16000, 48000, 16000};
  const std::size_t warnedAfter[] = {1, 1, 1, 1, 2, 2, 3};
  check.rates.assign(std::begin(answers), std::end(answers));
  TestDlg dlg(player, clock, services, nullptr, &check);
  Run(dlg, [&](TestDlg& main) {
    QCoreApplication::processEvents();
    EXPECT_EQ(Warnings(&main).size(), warnedAfter[0]);
    for (std::size_t i = 1; i < std::size(answers); ++i) {
      const int dialogs = static_cast<int>(services.ShownDialogs().size());
      main.OnCommand(ID_SOUND_VOLUME);
      EXPECT_EQ(services.ShownDialogs().at(dialogs).templateId, IDD_VOLUME);
      EXPECT_EQ(Warnings(&main).size(), warnedAfter[i]) << "answer " << i;
    }
    EXPECT_TRUE(Names(Warnings(&main)[2], "16000", "8000"));
  });
  EXPECT_EQ(check.asked, static_cast<int>(std::size(answers)));
}

TEST(SoundPathWarningTest, ABluetoothOutputNamesItsCodecAndBothWarningsShareOneText) {
  const struct {
    const char* codec;  // as the server names it
    const char* shown;
    std::uint32_t fromHz;
  } cases[] = {{"sbc", "SBC", 14000},   {"aac", "AAC", 17000},  {"aptx_hd", "APTX", 18000},
               {"ldac", "LDAC", 20000}, {"", "unknown", 14000}, {"opus_05", "unknown", 14000},
               {"sbc_xq", "SBC", 14000}};
  for (const auto& c : cases) {
    platform::OutputPath path = PathAt(48000);
    path.bluetooth = true;
    path.codec = c.codec;
    const QString text = SoundPathWarning(path);
    EXPECT_TRUE(text.contains("Bluetooth") && text.contains(c.shown) &&
                text.contains(QString::number(c.fromHz) + " Hz"))
        << c.codec << ": " << text.toStdString();
    EXPECT_FALSE(text.contains("default-sample-rate")) << c.codec;
  }
  platform::OutputPath both = PathAt(16000);
  both.bluetooth = true;
  both.codec = "aac";
  const QString text = SoundPathWarning(both);
  EXPECT_TRUE(Names(text, "16000", "8000") && text.contains("AAC")) << text.toStdString();
  EXPECT_TRUE(SoundPathWarning(PathAt(48000)).isEmpty());
  EXPECT_TRUE(SoundPathWarning(std::nullopt).isEmpty());
}

TEST(SoundPathWarningTest, TheWindowsAudioEngineGetsTheWindowsWayToChangeTheRate) {
  platform::OutputPath path = PathAt(44100);
  path.rateSetting = platform::RateSetting::WindowsSoundPanel;
  const QString text = SoundPathWarning(path);
  EXPECT_TRUE(text.contains("44100 Hz") && text.contains("22050 Hz") &&
              text.contains(QString::fromUtf8("「サウンド」")) &&
              text.contains(QString::fromUtf8("「既定の形式」")))
      << text.toStdString();
  EXPECT_FALSE(text.contains("default.clock.rate") || text.contains("default-sample-rate"));
  path.rate = 48000;
  EXPECT_TRUE(SoundPathWarning(path).isEmpty());
}

}  // namespace
}  // namespace kelvora::uitest
