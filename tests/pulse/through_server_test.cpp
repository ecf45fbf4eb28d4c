// A sound played by the player arrives at the server: ALSA's default device
// goes through PulseAudio to a null sink, whose monitor parec records.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/audio/portaudio_player.h"
#include "sound/synthesis.h"
#include "sound/wave_buffer.h"
#include "tests/pulse/pulse_server.h"

namespace kelvora::pulsetest {
namespace {

using Samples = std::vector<std::int16_t>;

Samples ReadSamples(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Samples samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

// From the first to the last sample louder than the faint end of a fade.
std::size_t AudibleSpan(const Samples& samples) {
  const auto loud = [](std::int16_t s) { return std::abs(s) > 64; };
  const auto first = std::find_if(samples.begin(), samples.end(), loud);
  if (first == samples.end()) return 0;
  const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
  return static_cast<std::size_t>(last - first);
}

bool Succeeds(const std::string& command) { return std::system(command.c_str()) == 0; }

TEST(ThroughServerTest, TheChimeArrivesAtTheSinkAtItsLength) {
  std::vector<std::uint8_t> chime(kChimeWaveBufferSize), buzz(kBuzzWaveBufferSize);
  RenderChimeAndBuzz(chime, buzz, 9000);
  Samples sent(kChimeDataSize / 2);
  std::memcpy(sent.data(), chime.data() + kWaveHeaderSize, kChimeDataSize);
  const std::size_t expected = AudibleSpan(sent);
  ASSERT_GT(expected, 0u);

  for (const std::uint32_t rate : {48000u, 44100u}) {
    SCOPED_TRACE(rate);
    PulseServer server;
    if (!server.Start(rate)) GTEST_SKIP() << "no PulseAudio server: " << server.error();
    const fs::path alsa = server.dir() / "asound.conf";
    std::ofstream(alsa) << "pcm.!default { type pulse server \"" << server.Server()
                        << "\" }\nctl.!default { type pulse server \"" << server.Server()
                        << "\" }\n";
    const fs::path recording = server.dir() / "monitor.raw";

    const pid_t recorder = fork();
    ASSERT_GE(recorder, 0);
    if (recorder == 0) {
      const int out = open(recording.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(out, STDOUT_FILENO);
      close(out);
      const int in = open("/dev/null", O_RDONLY);
      dup2(in, STDIN_FILENO);
      execlp("parec", "parec", "-s", server.Server().c_str(), "-d", "kelvora_test.monitor",
             "--raw", "--format=s16le", "--rate=48000", "--channels=1", "--latency-msec=20",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    // Recording has begun once the server lists parec's stream.
    const std::string listed = "pactl -s " + server.Server() +
                               " list short source-outputs 2>/dev/null | grep -q .";
    for (int i = 0; i < 500 && !Succeeds(listed); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }

    const pid_t player = fork();
    ASSERT_GE(player, 0);
    if (player == 0) {
      setenv("ALSA_CONFIG_PATH", alsa.c_str(), 1);
      PortAudioPlayer sound;
      sound.Initialize();
      sound.Play(chime);
      _exit(0);
    }
    int status = 0;
    auto t0 = std::chrono::steady_clock::now();
    waitpid(player, &status, 0);
    fprintf(stderr, "DEBUG play took %ld ms\n", (long)std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now()-t0).count());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    // The monitor trails the sink a little; wait for silence after the sound.
    for (int i = 0; i < 300; ++i) {
      const Samples now = ReadSamples(recording);
      const std::size_t span = AudibleSpan(now);
      if (span > 0 && now.size() > 4800 &&
          std::none_of(now.end() - 4800, now.end(), [](std::int16_t s) { return s != 0; })) {
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(recorder, SIGTERM);
    waitpid(recorder, nullptr, 0);

    const std::size_t span = AudibleSpan(ReadSamples(recording));
    { auto r = ReadSamples(recording); int m=0; for (auto x: r) m = std::max(m, std::abs(x)); fprintf(stderr, "DEBUG size %zu max %d\n", r.size(), m); }
    // Within 10 ms either way: the resampling at 44100 Hz blurs the ends a little.
    EXPECT_NEAR(static_cast<double>(span), static_cast<double>(expected), 480.0);
  }
}

}  // namespace
}  // namespace kelvora::pulsetest
