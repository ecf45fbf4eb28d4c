// The main window with the real sound-server check against a real server,
// on a real X server: the warning names a low rate and nothing else shows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "check/command_ids.h"
#include "res/resource.h"
#include "sound/player.h"
#include "tests/pulse/pulse_server.h"
#include "tests/support/test_services.h"
#include "ui/kelvora_dlg.h"
#include "ui/sound_path_check.h"

namespace kelvora::pulsetest {
namespace {

class SilentPlayer : public WavePlayer {
 public:
  PlayOutcome Play(std::span<const std::uint8_t>) override { return PlayOutcome::Played; }
};

class InstantClock : public SessionClock {
 public:
  void Sleep(int) override {}
};

// The real check, counting the answers that reached the window's thread.
class CountedCheck : public SoundPathCheck {
 public:
  void Start(Answer answer) override {
    m_real.Start([this, answer = std::move(answer)](std::optional<std::uint32_t> rate) {
      ++answered;
      answer(rate);
    });
  }
  int answered = 0;

 private:
  ServerSoundPathCheck m_real;
};

TEST(PathWarningTest, TheMainWindowWarnsAboutALowRateOfARealServerOnly) {
  const struct {
    std::uint32_t rate;  // 0: no server
    const char* named;   // null: no warning
  } cases[] = {{44100, "44100 Hz"}, {16000, "16000 Hz"}, {48000, nullptr}, {0, nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rate);
    PulseServer server;
    if (c.rate != 0) {
      if (!server.Start(c.rate)) GTEST_SKIP() << "no PulseAudio server: " << server.error();
      setenv("PULSE_SERVER", server.Server().c_str(), 1);
    } else {
      setenv("PULSE_SERVER", "unix:/nonexistent/kelvora/native", 1);
    }
    SilentPlayer player;
    InstantClock clock;
    testing::TestServices services;
    CountedCheck check;
    CKelvoraDlg dlg(player, clock, services, nullptr, &check);
    services.PushModalAnswer([](platform::TemplateDialog&) { return IDOK; });
    services.PushModalAnswer([&](platform::TemplateDialog&) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return check.answered == 1; }, 5000));
      QCoreApplication::processEvents();
      return IDCANCEL;
    });
    dlg.DoModal();
    ASSERT_EQ(services.ShownMessages().size(), c.named ? 1u : 0u);
    if (c.named) {
      EXPECT_TRUE(services.ShownMessages()[0].text.contains(c.named));
      EXPECT_EQ(services.ShownMessages()[0].owner, &dlg);
    }
  }
  unsetenv("PULSE_SERVER");
}

}  // namespace
}  // namespace kelvora::pulsetest
