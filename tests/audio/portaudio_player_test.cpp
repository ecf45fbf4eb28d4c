#include "platform/audio/portaudio_player.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
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

// Both ears: the mono samples as they are. One ear: two-channel frames, that
// ear's channel (left first) the image's samples, the other channel zeros.
TEST_F(PortAudioPlayerTest, OneEarGetsEverySampleOnItsChannelAndTheOtherSilence) {
  Bytes pattern(kTestWaveBufferSize, kCanary);
  RenderTestPattern(pattern, 1000, 9000, {true, false, true, true, false});
  const struct {
    const char* name;
    Ear ear;
    std::size_t channels;
    std::size_t channel;
  } ears[] = {{"both", Ear::Both, 1, 0}, {"left", Ear::Left, 2, 0}, {"right", Ear::Right, 2, 1}};

  const fs::path recording = m_dir / "recording.raw";
  PlayInChild(
      RecordingDevice(recording),
      [&] {
        PortAudioPlayer player;
        player.Initialize();
        for (const auto& ear : ears) {
          player.SetEar(ear.ear);
          player.Play(pattern);
          fs::rename(recording, m_dir / ear.name);
        }
      },
      "^$");

  const auto data = pattern.begin() + kWaveHeaderSize;
  for (const auto& ear : ears) {
    SCOPED_TRACE(ear.name);
    const Bytes recorded = ReadFile(m_dir / ear.name);
    std::printf("%s: %zu bytes recorded for %zu bytes of samples\n", ear.name, recorded.size(),
                static_cast<std::size_t>(kTwoSecondDataSize));
    const std::size_t frameSize = 2 * ear.channels;
    ASSERT_GE(recorded.size(), kTwoSecondDataSize * ear.channels);
    ASSERT_EQ(recorded.size() % frameSize, 0u);
    Bytes heard, other;
    for (std::size_t frame = 0; frame < recorded.size(); frame += frameSize) {
      for (std::size_t channel = 0; channel < ear.channels; ++channel) {
        Bytes& into = channel == ear.channel ? heard : other;
        into.push_back(recorded[frame + 2 * channel]);
        into.push_back(recorded[frame + 2 * channel + 1]);
      }
    }
    EXPECT_TRUE(std::equal(data, data + kTwoSecondDataSize, heard.begin()));
    EXPECT_TRUE(std::all_of(heard.begin() + kTwoSecondDataSize, heard.end(),
                            [](std::uint8_t byte) { return byte == 0; }));
    EXPECT_TRUE(
        std::all_of(other.begin(), other.end(), [](std::uint8_t byte) { return byte == 0; }));
  }
}

TEST_F(PortAudioPlayerTest, UnplayableSoundsReturnAtOnceAndTheProgramGoesOn) {
  const struct {
    const char* name;
    std::string device;
    const char* printed;
  } cases[] = {
      {"no device at all", kMissingCard, "^$"},
      // PortAudio's own lines about the failed ALSA calls are kept off stderr too.
      {"a device whose every write fails", RecordingDevice(m_dir / "missing" / "recording.raw"),
       "^$"},
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

// Records what the player writes into a named pipe, but stops reading
// `stallAfter` bytes in until `resume` exists: the device stalls the way a
// stopped sound server does, and moves on when it is continued.
class StallingPipeReader {
 public:
  StallingPipeReader(fs::path pipe, fs::path resume, std::size_t stallAfter)
      : m_pipe(std::move(pipe)), m_resume(std::move(resume)), m_stallAfter(stallAfter) {
    ::mkfifo(m_pipe.c_str(), 0600);
    // Both ends held here, so the player's opens never block and the pipe
    // never reports its end between two streams.
    m_read = ::open(m_pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    m_keep = ::open(m_pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    m_thread = std::thread([this] { Run(); });
  }
  ~StallingPipeReader() { Finish(); }

  // Reads what is left and returns everything recorded.
  const Bytes& Finish() {
    if (m_thread.joinable()) {
      m_done = true;
      m_thread.join();
      std::uint8_t chunk[4096];
      for (ssize_t n; (n = ::read(m_read, chunk, sizeof chunk)) > 0;) {
        m_bytes.insert(m_bytes.end(), chunk, chunk + n);
      }
      ::close(m_keep);
      ::close(m_read);
    }
    return m_bytes;
  }

 private:
  void Run() {
    std::uint8_t chunk[4096];
    while (!m_done) {
      const bool stalled = m_bytes.size() >= m_stallAfter && !fs::exists(m_resume);
      pollfd ready{m_read, POLLIN, 0};
      if (stalled || ::poll(&ready, 1, 20) <= 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        continue;
      }
      const std::size_t wanted = m_bytes.size() < m_stallAfter
                                     ? std::min(sizeof chunk, m_stallAfter - m_bytes.size())
                                     : sizeof chunk;
      const ssize_t n = ::read(m_read, chunk, wanted);
      if (n > 0) m_bytes.insert(m_bytes.end(), chunk, chunk + n);
    }
  }

  fs::path m_pipe, m_resume;
  std::size_t m_stallAfter;
  int m_read = -1, m_keep = -1;
  std::atomic<bool> m_done = false;
  Bytes m_bytes;
  std::thread m_thread;
};

// A stalled device holds no window: Play gives a sound up a second after it
// should have ended, skips sounds while the device still holds the old one,
// and once the device moves again the old sound does not run on into the
// next.
TEST_F(PortAudioPlayerTest, AStalledDeviceHoldsPlayForAtMostTheSoundAndASecond) {
  Bytes pattern(kTestWaveBufferSize, kCanary);
  Bytes chime(kChimeWaveBufferSize, kCanary);
  Bytes buzz(kBuzzWaveBufferSize, kCanary);
  RenderTestPattern(pattern, 1000, 9000, {true, true, true, true, true});
  RenderChimeAndBuzz(chime, buzz, 9000);

  const fs::path pipe = m_dir / "device.pipe";
  const fs::path resume = m_dir / "resume";
  StallingPipeReader reader(pipe, resume, 32 * 1024);
  PlayInChild(
      RecordingDevice(pipe),
      [&] {
        using Clock = std::chrono::steady_clock;
        PortAudioPlayer player;
        player.Initialize();
        auto start = Clock::now();
        player.Play(pattern);
        const auto patternTook = Clock::now() - start;
        start = Clock::now();
        player.Play(chime);  // the device still holds the pattern
        const auto chimeTook = Clock::now() - start;
        std::ofstream(resume.string()) << "go";
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        player.Play(buzz);
        if (patternTook < std::chrono::seconds(2) ||
            patternTook > std::chrono::milliseconds(3500)) {
          std::printf(
              "pattern took %lld ms\n",
              static_cast<long long>(
                  std::chrono::duration_cast<std::chrono::milliseconds>(patternTook).count()));
        }
        if (chimeTook > std::chrono::milliseconds(100)) std::printf("chime waited\n");
        std::fflush(stdout);
        std::_Exit(0);  // as the program would, with the device held up
      },
      "^$");
  const Bytes& recorded = reader.Finish();

  // The pattern as far as it got, then the buzz whole, then only silence.
  const auto buzzData = buzz.begin() + kWaveHeaderSize;
  const auto buzzAt =
      std::search(recorded.begin(), recorded.end(), buzzData, buzzData + kBuzzDataSize);
  ASSERT_NE(buzzAt, recorded.end()) << "the buzz never arrived whole";
  const std::size_t patternBytes = static_cast<std::size_t>(buzzAt - recorded.begin());
  EXPECT_LT(patternBytes, kTwoSecondDataSize) << "the pattern given up was played to its end";
  EXPECT_TRUE(std::equal(recorded.begin(), buzzAt, pattern.begin() + kWaveHeaderSize));
  EXPECT_TRUE(std::all_of(buzzAt + kBuzzDataSize, recorded.end(),
                          [](std::uint8_t byte) { return byte == 0; }));
}

}  // namespace
}  // namespace kelvora
