// The system's player plays through the sound server where one answers and
// through ALSA (PortAudio) where none does, never starting PortAudio beside
// a server.

#include "platform/audio/system_player.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "sound/synthesis.h"
#include "sound/wave_buffer.h"
#include "tests/pulse/pulse_server.h"

namespace kelvora {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool HoldsSound(const Bytes& recorded, const Bytes& image) {
  const auto data = image.begin() + kWaveHeaderSize;
  return std::search(recorded.begin(), recorded.end(), data + 2000, data + WaveDataSize(image)) !=
         recorded.end();
}

TEST(SystemPlayerTest, PlaysThroughTheServerWhereOneAnswersElseThroughAlsa) {
  Bytes chime(kChimeWaveBufferSize), buzz(kBuzzWaveBufferSize);
  RenderChimeAndBuzz(chime, buzz, 9000);
  for (const bool serverRuns : {true, false}) {
    SCOPED_TRACE(serverRuns ? "a server answers" : "no server");
    pulsetest::PulseServer server;
    if (!server.Start(48000)) GTEST_SKIP() << "no PulseAudio server: " << server.error();
    const fs::path alsaFile = server.dir() / "alsa.raw", monitor = server.dir() / "monitor.raw";
    std::ofstream(server.dir() / "asound.conf")
        << "pcm.!default {\ntype file\nslave.pcm { type null }\nformat \"raw\"\nfile \""
        << alsaFile.string() << "\"\n}\n";
    const pid_t recorder = fork();
    if (recorder == 0) {
      const int out = open(monitor.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(out, STDOUT_FILENO);
      execlp("parec", "parec", "-s", server.Server().c_str(), "-d", "kelvora_test.monitor", "--raw",
             "--format=s16le", "--rate=48000", "--channels=1", "--latency-msec=20",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 500 && (!fs::exists(monitor) || fs::file_size(monitor) < 4800); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const pid_t player = fork();
    if (player == 0) {
      setenv("ALSA_CONFIG_PATH", (server.dir() / "asound.conf").c_str(), 1);
      setenv("PULSE_SERVER",
             serverRuns ? server.Server().c_str()
                        : ("unix:" + (server.dir() / "none").string()).c_str(),
             1);
      SystemPlayer sound;
      sound.StartInBackground();
      _exit(sound.Play(chime) == PlayOutcome::Played ? 0 : 1);
    }
    int status = 0;
    waitpid(player, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(recorder, SIGTERM);
    waitpid(recorder, nullptr, 0);
    EXPECT_EQ(HoldsSound(ReadFile(monitor), chime), serverRuns);
    EXPECT_EQ(HoldsSound(ReadFile(alsaFile), chime), !serverRuns);
    // PortAudio never started beside the server: ALSA's device was never opened.
    EXPECT_EQ(fs::exists(alsaFile), !serverRuns);
  }
}

}  // namespace
}  // namespace kelvora
