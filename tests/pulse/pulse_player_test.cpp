// The player's own stream on a real PulseAudio and a real PipeWire server:
// two null sinks with descriptions of their own, each sink's monitor
// recorded with parec, the stream's properties read with pactl.

#include "platform/pulse/pulse_player.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <future>
#include <memory>
#include <optional>

#include "platform/pulse/sinks.h"
#include "sound/synthesis.h"
#include "sound/wave_buffer.h"
#include "tests/pulse/pulse_server.h"

namespace kelvora::pulsetest {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

// The first one is the default; the second is the listener's choice.
constexpr const char* kFirst = "kelvora_first";
constexpr const char* kSecond = "kelvora_second";
constexpr const char* kFirstDescription = "Speakers, analog";
constexpr const char* kSecondDescription = "試験用 ヘッドホン";
constexpr milliseconds kBound(2000);

std::string Shell(const std::string& command) {
  std::string out;
  if (std::FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    pclose(pipe);
  }
  return out;
}

// A server of either kind with our two sinks, the first one the default.
struct Servers {
  std::unique_ptr<PulseServer> pulse;
  std::unique_ptr<PipeWireServer> pipeWire;
  std::string address, error;

  bool Start(bool usePipeWire) {
    if (usePipeWire) {
      pipeWire = std::make_unique<PipeWireServer>();
      if (!pipeWire->Start()) return Fail(pipeWire->error());
      address = pipeWire->Server();
    } else {
      pulse = std::make_unique<PulseServer>();
      if (!pulse->Start(48000)) return Fail(pulse->error());
      address = pulse->Server();
    }
    for (const auto& [name, description] :
         {std::pair{kFirst, kFirstDescription}, std::pair{kSecond, kSecondDescription}}) {
      if (Shell(Pactl("load-module module-null-sink sink_name=") + name +
                " rate=48000 channels=2 norewinds=1 \"sink_properties=\\\"device.description='" +
                description + "'\\\"\"")
              .empty()) {
        return Fail(std::string("no null sink ") + name);
      }
    }
    Shell(Pactl("set-default-sink ") + kFirst);
    return true;
  }
  std::string Pactl(const std::string& what) const { return "pactl -s " + address + " " + what; }
  // Unloads the null sink of that name.
  void Unload(const std::string& sink) const {
    const std::string modules = Shell(Pactl("list short modules"));
    const std::size_t at = modules.find("sink_name=" + sink + " ");
    if (at == std::string::npos) return;
    const std::size_t line = modules.rfind('\n', at) + 1;
    Shell(Pactl("unload-module ") + modules.substr(line, modules.find('\t', line) - line));
  }
  bool Fail(std::string why) {
    error = std::move(why);
    return false;
  }
};

// Records a sink's monitor, two channels, from its start until destroyed.
class Monitor {
 public:
  Monitor(const Servers& servers, const std::string& sink, const fs::path& file) : m_file(file) {
    m_pid = fork();
    if (m_pid == 0) {
      const int out = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(out, STDOUT_FILENO);
      execlp("parec", "parec", "-s", servers.address.c_str(), "-d", (sink + ".monitor").c_str(),
             "--raw", "--format=s16le", "--rate=48000", "--channels=2", "--latency-msec=20",
             static_cast<char*>(nullptr));
      _exit(127);
    }
    WaitFor(9600);  // the monitor flows
  }
  ~Monitor() { Stop(); }
  void WaitFor(std::size_t bytes) const {
    for (int i = 0; i < 500 && Size() < bytes; ++i) {
      std::this_thread::sleep_for(milliseconds(10));
    }
  }
  // A quarter of a second more of the monitor than was recorded so far.
  Bytes Finish() {
    WaitFor(Size() + 48000);
    Stop();
    std::ifstream in(m_file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Heard() const {
    std::ifstream in(m_file, std::ios::binary);
    const Bytes bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>{});
    return std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != 0; });
  }

 private:
  std::size_t Size() const {
    std::error_code error;
    const auto size = fs::file_size(m_file, error);
    return error ? 0 : size;
  }
  void Stop() {
    if (m_pid <= 0) return;
    kill(m_pid, SIGTERM);
    waitpid(m_pid, nullptr, 0);
    m_pid = 0;
  }
  fs::path m_file;
  pid_t m_pid = 0;
};

struct Sound {
  const char* name;
  Bytes image;
  Ear ear;
};

std::vector<Sound> Sounds() {
  Bytes chime(kChimeWaveBufferSize), buzz(kBuzzWaveBufferSize), pattern(kTestWaveBufferSize);
  RenderChimeAndBuzz(chime, buzz, 9000);
  RenderTestPattern(pattern, 1000, 9000, {true, false, true, true, false});
  return {{"chime", chime, Ear::Both}, {"buzz", buzz, Ear::Left}, {"pattern", pattern, Ear::Right}};
}

// Every sound, in order, each sample exactly as in its image on its ear's
// channels (the mono stream on both), zeros on the other channel, between
// the sounds and after them.
void ExpectSoundsIn(const Bytes& recorded, const std::vector<Sound>& sounds) {
  const std::size_t frames = recorded.size() / 4;
  const auto channel = [&](std::size_t frame, int c) {
    std::int16_t value;
    std::memcpy(&value, &recorded[4 * frame + 2 * c], 2);
    return value;
  };
  std::size_t at = 0;
  for (const Sound& sound : sounds) {
    SCOPED_TRACE(sound.name);
    const std::size_t samples = WaveDataSize(sound.image) / 2;
    std::vector<std::int16_t> data(samples);
    std::memcpy(data.data(), sound.image.data() + kWaveHeaderSize, 2 * samples);
    const std::size_t first =
        std::find_if(data.begin(), data.end(), [](auto s) { return s; }) - data.begin();
    while (at < frames && !channel(at, 0) && !channel(at, 1)) ++at;
    ASSERT_LE(at + samples - first, frames) << "the sound is not there whole";
    for (std::size_t i = first; i < samples; ++i, ++at) {
      const std::int16_t left = sound.ear == Ear::Right ? 0 : data[i];
      const std::int16_t right = sound.ear == Ear::Left ? 0 : data[i];
      ASSERT_EQ(channel(at, 0), left) << "sample " << i;
      ASSERT_EQ(channel(at, 1), right) << "sample " << i;
    }
  }
  for (; at < frames; ++at) ASSERT_TRUE(!channel(at, 0) && !channel(at, 1)) << "frame " << at;
}

class PulsePlayerTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!m_servers.Start(GetParam())) GTEST_SKIP() << "no sound server: " << m_servers.error;
    std::string name = (fs::temp_directory_path() / "kelvora-player-XXXXXX").string();
    ASSERT_NE(mkdtemp(name.data()), nullptr);
    m_dir = name;
  }
  void TearDown() override {
    if (!m_dir.empty()) fs::remove_all(m_dir);
  }
  std::string SinkInputs() const { return Shell(m_servers.Pactl("list sink-inputs")); }
  Servers m_servers;
  fs::path m_dir;
};

TEST_P(PulsePlayerTest, ListsEveryOutputByItsDescriptionInTheServersOrder) {
  std::vector<std::pair<std::string, std::string>> listed;
  for (const pulse::Sink& sink : pulse::ListSinks(kBound, m_servers.address)) {
    if (sink.name == kFirst || sink.name == kSecond)
      listed.emplace_back(sink.name, sink.description);
  }
  const std::vector<std::pair<std::string, std::string>> expected = {{kFirst, kFirstDescription},
                                                                     {kSecond, kSecondDescription}};
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(pulse::DefaultSinkDescription(kBound, m_servers.address), kFirstDescription);
}

TEST_P(PulsePlayerTest, PlaysEverySoundBitExactOnTheChosenSinkAndNothingOnTheOther) {
  const std::vector<Sound> sounds = Sounds();
  Monitor first(m_servers, kFirst, m_dir / "first.raw");
  Monitor second(m_servers, kSecond, m_dir / "second.raw");
  pulse::PulsePlayer player(m_servers.address);
  player.SetOutput(kSecond);
  for (const Sound& sound : sounds) {
    player.SetEar(sound.ear);
    EXPECT_EQ(player.Play(sound.image), PlayOutcome::Played) << sound.name;
  }
  EXPECT_EQ(player.TakeMissingOutput(), std::nullopt);
  ExpectSoundsIn(second.Finish(), sounds);
  const Bytes none = first.Finish();
  EXPECT_TRUE(std::all_of(none.begin(), none.end(), [](std::uint8_t b) { return !b; }));

  // The sound-path question reads the sink of the stream the sounds played
  // on, which stays there, one stream named as the program.
  const std::optional<platform::OutputPath> path = player.QueryPath(kBound, kSecond);
  ASSERT_TRUE(path.has_value());
  EXPECT_EQ(path->rate, 48000u);
  EXPECT_EQ(path->channels, 2u);
  const std::string shown = SinkInputs();
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '#'), 1) << shown;
  for (const char* property : {"media.name = \"Kelvora\"", "application.name = \"Kelvora\"",
                               "application.icon_name = \"kelvora\"", "media.role = \"music\""}) {
    EXPECT_NE(shown.find(property), std::string::npos) << property << " in:\n" << shown;
  }
}

TEST_P(PulsePlayerTest, AChosenSinkUnloadedWhileIdleSendsTheNextSoundToTheDefaultSayingSoOnce) {
  const std::vector<Sound> sounds = Sounds();
  pulse::PulsePlayer player(m_servers.address);
  player.SetOutput(kSecond);
  ASSERT_EQ(player.Play(sounds[0].image), PlayOutcome::Played);
  m_servers.Unload(kSecond);
  Monitor first(m_servers, kFirst, m_dir / "first.raw");
  EXPECT_EQ(player.Play(sounds[0].image), PlayOutcome::Played);
  EXPECT_EQ(player.TakeMissingOutput(), kSecond);
  EXPECT_EQ(player.TakeMissingOutput(), std::nullopt);
  EXPECT_EQ(player.Play(sounds[0].image), PlayOutcome::Played);
  EXPECT_EQ(player.TakeMissingOutput(), std::nullopt);
  ExpectSoundsIn(first.Finish(), {sounds[0], sounds[0]});
}

TEST_P(PulsePlayerTest, AChosenSinkUnloadedDuringAPatternGivesItUpWithinTheBound) {
  const std::vector<Sound> sounds = Sounds();
  pulse::PulsePlayer player(m_servers.address);
  player.SetOutput(kSecond);
  Monitor second(m_servers, kSecond, m_dir / "second.raw");
  const auto start = Clock::now();
  auto playing = std::async(std::launch::async, [&] { return player.Play(sounds[2].image); });
  while (!second.Heard() && Clock::now() - start < std::chrono::seconds(2)) {
    std::this_thread::sleep_for(milliseconds(10));
  }
  m_servers.Unload(kSecond);
  EXPECT_EQ(playing.get(), PlayOutcome::GivenUp);
  // The pattern's two seconds, its buffer and the stall bound at most.
  EXPECT_LE(Clock::now() - start, std::chrono::milliseconds(3200 + 500));
  EXPECT_EQ(player.Play(sounds[0].image), PlayOutcome::Played);
  EXPECT_EQ(player.TakeMissingOutput(), kSecond);
}

INSTANTIATE_TEST_SUITE_P(Servers, PulsePlayerTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "PipeWire" : "PulseAudio"; });

TEST(PulsePlayerFaultTest, AStoppedServerGivesTheSoundUpWithinTheBoundAndNoServerIsNotOpened) {
  PulseServer server;
  if (!server.Start(48000)) GTEST_SKIP() << "no PulseAudio server: " << server.error();
  const std::vector<Sound> sounds = Sounds();
  pulse::PulsePlayer player(server.Server());
  ASSERT_EQ(player.Play(sounds[0].image), PlayOutcome::Played);
  const auto start = Clock::now();
  auto playing = std::async(std::launch::async, [&] { return player.Play(sounds[2].image); });
  std::this_thread::sleep_for(milliseconds(300));
  ASSERT_EQ(kill(server.pid(), SIGSTOP), 0);
  EXPECT_EQ(playing.get(), PlayOutcome::GivenUp);
  EXPECT_LE(Clock::now() - start, std::chrono::milliseconds(3200 + 500));
  EXPECT_EQ(player.Play(sounds[0].image), PlayOutcome::NotOpened);  // still stopped
  kill(server.pid(), SIGCONT);
  EXPECT_EQ(player.Play(sounds[0].image), PlayOutcome::Played);

  pulse::PulsePlayer nobody("unix:" + (server.dir() / "nobody").string());
  EXPECT_FALSE(nobody.Connect(milliseconds(300)));
  EXPECT_EQ(nobody.Play(sounds[0].image), PlayOutcome::NotOpened);
}

}  // namespace
}  // namespace kelvora::pulsetest
