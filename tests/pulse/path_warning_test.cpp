// The main window with the real sound-server check against a real server,
// on a real X server: the warning names a low rate that our sound would
// really meet, and a server that cannot say shows nothing.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <QApplication>
#include <QTest>
#include <optional>

#include "res/resource.h"
#include "sound/player.h"
#include "tests/pulse/main_window.h"
#include "tests/pulse/pulse_server.h"
#include "tests/support/test_services.h"
#include "ui/kelvora_dlg.h"
#include "ui/sound_path_check.h"

namespace kelvora::pulsetest {
namespace {

class SilentPlayer : public WavePlayer {
 public:
  PlayOutcome Play(std::span<const std::uint8_t>) override { return PlayOutcome::Played; }
  void SetEar(Ear chosen) override { ear = chosen; }
  Ear ear = Ear::Both;
};

// The real check, counting the answers that reached the window's thread.
class CountedCheck : public SoundPathCheck {
 public:
  void Start(Answer answer) override {
    m_real.Start([this, answer = std::move(answer)](KnownPath path) {
      ++answered;
      answer(std::move(path));
    });
  }
  int answered = 0;

 private:
  ServerSoundPathCheck m_real;
};

// A socket that takes connections and never says a word.
class MuteSocket {
 public:
  explicit MuteSocket(const fs::path& path) : m_fd(socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(m_fd, 4);
  }
  ~MuteSocket() { close(m_fd); }

 private:
  int m_fd;
};

enum class Server { Real, None, Mute, Stopped };

TEST(PathWarningTest, TheMainWindowWarnsWhenOurSoundWouldMeetALowRateOnly) {
  const struct {
    const char* what;
    Server kind;
    std::uint32_t sinkRate;
    ServerRates rates;
    std::uint32_t otherStream;  // 0: none
    const char* named;          // null: no warning
    const char* alsoNamed = nullptr;
    const char* sinkProperties = "";
  } cases[] = {
      {"stock, idle at 44100", Server::Real, 44100, {}, 0, nullptr},
      {"held at 44100 by another program", Server::Real, 44100, {}, 44100, "44100 Hz"},
      {"one rate only", Server::Real, 44100, {0, 44100}, 0, "44100 Hz"},
      {"a headset's rate", Server::Real, 16000, {16000, 16000}, 0, "16000 Hz"},
      {"48000", Server::Real, 48000, {}, 0, nullptr},
      {"96000", Server::Real, 96000, {}, 0, nullptr},
      {"Bluetooth, AAC",
       Server::Real,
       48000,
       {},
       0,
       "Bluetooth",
       "AAC",
       "device.bus=bluetooth bluetooth.codec=aac"},
      {"Bluetooth without a codec, at one low rate",
       Server::Real,
       16000,
       {16000, 16000},
       0,
       "16000 Hz",
       "unknown",
       "device.bus=bluetooth"},
      {"no server", Server::None, 0, {}, 0, nullptr},
      {"a socket that never answers", Server::Mute, 0, {}, 0, nullptr},
      {"a stopped server", Server::Stopped, 44100, {0, 44100}, 0, nullptr},
  };
  const fs::path muteDir = fs::temp_directory_path() / ("kelvora-mute-" + std::to_string(getpid()));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PulseServer server;
    std::optional<MuteSocket> mute;
    if (c.kind == Server::Real || c.kind == Server::Stopped) {
      if (!server.Start(c.sinkRate, c.rates, c.sinkProperties)) {
        GTEST_SKIP() << "no PulseAudio server: " << server.error();
      }
      if (c.otherStream) {
        ASSERT_TRUE(server.StartOtherStream(c.otherStream));
      }
      if (c.kind == Server::Stopped) {
        ASSERT_EQ(kill(server.pid(), SIGSTOP), 0);
      }
      setenv("PULSE_SERVER", server.Server().c_str(), 1);
    } else if (c.kind == Server::Mute) {
      fs::create_directories(muteDir);
      fs::remove(muteDir / "native");
      mute.emplace(muteDir / "native");
      setenv("PULSE_SERVER", ("unix:" + (muteDir / "native").string()).c_str(), 1);
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
      if (c.alsoNamed) {
        EXPECT_TRUE(services.ShownMessages()[0].text.contains(c.alsoNamed));
      }
      EXPECT_EQ(services.ShownMessages()[0].owner, &dlg);
    }
  }
  fs::remove_all(muteDir);
  unsetenv("PULSE_SERVER");
}

TEST(PathWarningTest, OneEarOnAOneChannelOutputIsRefusedWithAWarning) {
  for (const int channels : {1, 2}) {
    SCOPED_TRACE(channels);
    PulseServer server;
    if (!server.Start(48000, {}, "", channels)) {
      GTEST_SKIP() << "no PulseAudio server: " << server.error();
    }
    setenv("PULSE_SERVER", server.Server().c_str(), 1);
    SilentPlayer player;
    InstantClock clock;
    testing::TestServices services;
    CountedCheck check;
    MainDlg dlg(player, clock, services, nullptr, &check);
    services.PushModalAnswer([](platform::TemplateDialog&) { return IDOK; });
    services.PushModalAnswer([&](platform::TemplateDialog&) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return check.answered == 1; }, 5000));
      QCoreApplication::processEvents();
      EXPECT_TRUE(services.ShownMessages().empty());
      dlg.OnCommand(ID_SOUND_EAR_LEFT);
      return IDCANCEL;
    });
    dlg.DoModal();
    const bool mono = channels == 1;
    ASSERT_EQ(services.ShownMessages().size(), mono ? 1u : 0u);
    if (mono) {
      EXPECT_TRUE(services.ShownMessages()[0].text.contains("1 チャンネル"));
    }
    EXPECT_EQ(player.ear, mono ? Ear::Both : Ear::Left);
    EXPECT_EQ(dlg.windowTitle() == QString::fromUtf8("Kelvora ver 1.000"), mono);
  }
  unsetenv("PULSE_SERVER");
}

// The texts shown by the main window with the real check against `server`.
std::vector<QString> WarningsWith(const std::string& server) {
  setenv("PULSE_SERVER", server.c_str(), 1);
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
  unsetenv("PULSE_SERVER");
  std::vector<QString> texts;
  for (const auto& shown : services.ShownMessages()) texts.push_back(shown.text);
  return texts;
}

TEST(PathWarningTest, OnPipeWireTheWindowWarnsAboutALowRateAndABluetoothCodec) {
  const struct {
    const char* what;
    std::uint32_t sinkRate;  // 0: the server's own default sink
    const char* sinkProperties;
    const char* named;  // null: no warning
    const char* alsoNamed;
  } cases[] = {
      {"stock", 0, "", nullptr, nullptr},
      {"a null sink at the default rate", 48000, "", nullptr, nullptr},
      {"a null sink at 44100", 44100, "", "44100 Hz", nullptr},
      {"a Bluetooth sink", 48000, "device.bus=bluetooth api.bluez5.codec=sbc", "Bluetooth", "SBC"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PipeWireServer server;
    if (!server.Start()) GTEST_SKIP() << "no PipeWire server: " << server.error();
    if (c.sinkRate) {
      ASSERT_TRUE(server.AddDefaultSink(c.sinkRate, c.sinkProperties));
    }
    const std::vector<QString> warnings = WarningsWith(server.Server());
    ASSERT_EQ(warnings.size(), c.named ? 1u : 0u);
    if (c.named) {
      EXPECT_TRUE(warnings[0].contains(c.named)) << warnings[0].toStdString();
      if (c.alsoNamed) {
        EXPECT_TRUE(warnings[0].contains(c.alsoNamed)) << warnings[0].toStdString();
      }
    }
  }
}

}  // namespace
}  // namespace kelvora::pulsetest
