#include "platform/audio/portaudio_player.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sound/synthesis.h"
#include "sound/wave_buffer.h"

namespace kelvora {
namespace {

namespace fs = std::filesystem;

// Buffers start filled with a byte that no render writes into the spare tail,
// so a recording that ran past an image's data would show it.
constexpr std::uint8_t kCanary = 0xA5;

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// ALSA devices as text for an ALSA configuration file.
std::string RecordingDevice(const fs::path& file) {
  return "type file\nslave.pcm { type null }\nformat \"raw\"\nfile \"" + file.string() + "\"\n";
}
const char* const kMissingCard = "type hw\ncard \"NoSuchCard\"\n";

// ALSA reads its configuration, and the player starts PortAudio, once per
// process; so each playing runs in a forked child of its own, under an ALSA
// configuration that holds nothing but its default device.
class PortAudioPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "fast");  // the child sees our paths
    std::string name = (fs::temp_directory_path() / "kelvora-audio-XXXXXX").string();
    ASSERT_NE(mkdtemp(name.data()), nullptr);
    m_dir = name;
  }
  void TearDown() override { fs::remove_all(m_dir); }

  // Runs `play` in a child whose ALSA default device is `device`; the child
  // must end normally, having printed (stdout and stderr) what `printed`
  // matches.
  template <typename Play>
  void PlayInChild(const std::string& device, Play play, const char* printed) {
    const fs::path config = m_dir / "asound.conf";
    std::ofstream(config) << "pcm.!default {\n" << device << "}\n";
    EXPECT_EXIT(
        {
          dup2(STDERR_FILENO, STDOUT_FILENO);
          setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
          play();
          std::exit(0);
        },
        ::testing::ExitedWithCode(0), printed);
  }

  fs::path m_dir;
};

TEST_F(PortAudioPlayerTest, DeviceReceivesEverySampleOfChimeBuzzAndPatternWithNothingBefore) {
  Bytes chime(kChimeWaveBufferSize, kCanary);
  Bytes buzz(kBuzzWaveBufferSize, kCanary);
  Bytes pattern(kTestWaveBufferSize, kCanary);
  RenderChimeAndBuzz(chime, buzz, 9000);
  RenderTestPattern(pattern, 1000, 9000, {true, false, true, true, false});
  const struct {
    const char* name;
    const Bytes& image;
  } sounds[] = {{"chime", chime}, {"buzz", buzz}, {"pattern", pattern}};

  const fs::path recording = m_dir / "recording.raw";
  PlayInChild(
      RecordingDevice(recording),
      [&] {
        PortAudioPlayer player;
        player.Initialize();
        for (const auto& sound : sounds) {
          player.Play(sound.image);
          fs::rename(recording, m_dir / sound.name);  // each stream starts a new recording
        }
      },
      "^$");

  for (const auto& sound : sounds) {
    SCOPED_TRACE(sound.name);
    const Bytes recorded = ReadFile(m_dir / sound.name);
    const std::size_t dataSize = WaveDataSize(sound.image);
    ASSERT_GE(recorded.size(), dataSize);
    const auto data = sound.image.begin() + kWaveHeaderSize;
    const auto firstDifference = std::mismatch(data, data + dataSize, recorded.begin()).first;
    EXPECT_EQ(firstDifference - data, static_cast<std::ptrdiff_t>(dataSize))
        << "first recorded byte that differs from the image's data";
    // The player follows each sound with silence; only zeros may come after it.
    EXPECT_TRUE(std::all_of(recorded.begin() + dataSize, recorded.end(),
                            [](std::uint8_t byte) { return byte == 0; }));
  }
}

TEST_F(PortAudioPlayerTest, UnplayableSoundsReturnAtOnceAndTheProgramGoesOn) {
  const struct {
    const char* name;
    std::string device;
    const char* printed;
  } cases[] = {
      {"no device at all", kMissingCard, "^$"},
      // PortAudio itself prints the failed ALSA calls; the player adds nothing.
      {"a device whose every write fails", RecordingDevice(m_dir / "missing" / "recording.raw"),
       ""},
  };
  Bytes chime(kChimeWaveBufferSize, kCanary);
  Bytes buzz(kBuzzWaveBufferSize, kCanary);
  RenderChimeAndBuzz(chime, buzz, 9000);

  for (const auto& unplayable : cases) {
    SCOPED_TRACE(unplayable.name);
    PlayInChild(
        unplayable.device,
        [&] {
          PortAudioPlayer player;  // started by the first Play
          player.Play(chime);
          player.Play(buzz);
        },
        unplayable.printed);
  }
}

}  // namespace
}  // namespace kelvora
