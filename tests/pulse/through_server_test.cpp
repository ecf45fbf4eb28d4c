// A sound played by the player arrives at the server: ALSA's default device
// goes through PulseAudio's ALSA plugin to a null sink, whose monitor parec
// records; the server knows the stream by the program's name.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>

#include "platform/audio/portaudio_player.h"
#include "sound/synthesis.h"
#include "sound/wave_buffer.h"
#include "tests/pulse/pulse_server.h"

namespace kelvora::pulsetest {
namespace {

using Samples = std::vector<std::int16_t>;

// Half a second of 1000 Hz, many device buffers long: every sample must pass
// the server, in one piece.
constexpr std::uint32_t kToneFrames = 24000;

std::vector<std::uint8_t> ShortTone() {
  std::vector<std::uint8_t> image(kWaveHeaderSize + 2 * kToneFrames);
  WriteWaveHeader(image, 2 * kToneFrames);
  for (std::uint32_t i = 0; i < kToneFrames; ++i) {
    StoreSample(image, kWaveHeaderSize + 2 * i,
                8000.0 * std::sin(2 * std::numbers::pi * 1000 * i / 48000.0));
  }
  return image;
}

Samples ReadSamples(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Samples samples(bytes.size() / 2);
  if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

// From the first to the last sample above the noise of resampling.
std::size_t AudibleSpan(const Samples& samples) {
  const auto loud = [](std::int16_t s) { return std::abs(s) > 256; };
  const auto first = std::find_if(samples.begin(), samples.end(), loud);
  if (first == samples.end()) return 0;
  const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
  return static_cast<std::size_t>(last - first);
}

std::string SinkInputs(const PulseServer& server) {
  std::string out;
  if (std::FILE* pipe =
          popen(("pactl -s " + server.Server() + " list sink-inputs 2>/dev/null").c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

TEST(ThroughServerTest, APlayedToneArrivesAtTheSinkWholeAndNothingLongerThanIt) {
  const std::vector<std::uint8_t> tone = ShortTone();
  for (const std::uint32_t rate : {48000u, 44100u}) {
    SCOPED_TRACE(rate);
    PulseServer server;
    if (!server.Start(rate)) GTEST_SKIP() << "no PulseAudio server: " << server.error();
    const fs::path alsa = server.dir() / "asound.conf";
    std::ofstream(alsa) << "pcm.!default { type pulse server \"" << server.Server() << "\" }\n";
    const fs::path recording = server.dir() / "monitor.raw";

    const pid_t recorder = fork();
    ASSERT_GE(recorder, 0);
    if (recorder == 0) {
      const int out = open(recording.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(out, STDOUT_FILENO);
      execlp("parec", "parec", "-s", server.Server().c_str(), "-d", "kelvora_test.monitor", "--raw",
             "--format=s16le", "--rate=48000", "--channels=1", "--latency-msec=20",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    // The monitor flows once parec's file grows.
    for (int i = 0; i < 500 && ReadSamples(recording).size() < 2400; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const std::size_t before = ReadSamples(recording).size();

    const pid_t player = fork();
    ASSERT_GE(player, 0);
    if (player == 0) {
      setenv("ALSA_CONFIG_PATH", alsa.c_str(), 1);
      PortAudioPlayer sound;
      sound.Play(tone);
      _exit(0);
    }
    // While it plays, the server shows the stream under the program's name.
    int status = 0;
    std::string shown;
    while (waitpid(player, &status, WNOHANG) == 0) {
      if (shown.find("application.name = \"Kelvora\"") == std::string::npos) {
        shown = SinkInputs(server);
      }
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (const char* property : {"application.name = \"Kelvora\"",
                                 "application.icon_name = \"kelvora\"", "media.role = \"music\""}) {
      EXPECT_NE(shown.find(property), std::string::npos) << property << " in:\n" << shown;
    }
    // Half a second of monitor beyond the end of playing holds the whole tone.
    const std::size_t enough = ReadSamples(recording).size() + 24000;
    for (int i = 0; i < 500 && ReadSamples(recording).size() < enough; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(recorder, SIGTERM);
    waitpid(recorder, nullptr, 0);

    const Samples recorded = ReadSamples(recording);
    ASSERT_GT(recorded.size(), before);
    // The whole tone and nothing longer: resampling at 44100 Hz blurs the
    // ends by up to 2 ms.
    const std::size_t span = AudibleSpan(recorded);
    EXPECT_GE(span + 96, kToneFrames);
    EXPECT_LE(span, kToneFrames + 96);
  }
}

}  // namespace
}  // namespace kelvora::pulsetest
