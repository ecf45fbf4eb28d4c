#pragma once

// A server of either kind with two null sinks of the test's own, each with a
// description (one of them Japanese), a recording of a sink's monitor, and
// the bit-exact comparison of what was recorded with the sounds' images.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "sound/player.h"
#include "sound/wave_buffer.h"
#include "tests/pulse/pulse_server.h"

namespace kelvora::pulsetest {

using Bytes = std::vector<std::uint8_t>;

// The first one is the default; the second is the listener's choice.
inline constexpr const char* kFirst = "kelvora_first";
inline constexpr const char* kSecond = "kelvora_second";
inline constexpr const char* kFirstDescription = "Speakers, analog";
inline constexpr const char* kSecondDescription = "試験用 ヘッドホン";

inline std::string Shell(const std::string& command) {
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
    if (!Load(kFirst, kFirstDescription) || !Load(kSecond, kSecondDescription)) return false;
    Shell(Pactl("set-default-sink ") + kFirst);
    return true;
  }
  // A null sink of that name and description, as a sink that comes back.
  bool Load(const std::string& name, const std::string& description) {
    if (Shell(Pactl("load-module module-null-sink sink_name=") + name +
              " rate=48000 channels=2 norewinds=1 \"sink_properties=\\\"device.description='" +
              description + "'\\\"\"")
            .empty()) {
      return Fail("no null sink " + name);
    }
    // PipeWire may answer before its list shows the sink.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Shell(Pactl("list short sinks")).find(name + "\t") == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline) return Fail("null sink not listed " + name);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
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
    // Emptied here, not only by the recorder, so that a file left by an
    // earlier recording never passes for this one's flow.
    std::ofstream(file, std::ios::trunc);
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
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
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

// Every sound, in order, each sample exactly as in its image on its ear's
// channels (the mono stream on both), zeros on the other channel, between
// the sounds and after them.
inline void ExpectSoundsIn(const Bytes& recorded, const std::vector<Sound>& sounds) {
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

inline bool AllZero(const Bytes& recorded) {
  return std::all_of(recorded.begin(), recorded.end(), [](std::uint8_t b) { return !b; });
}

// A test on either server (the parameter: PipeWire) with our two sinks and
// a folder of its own for the recordings.
class TwoSinksTest : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!m_servers.Start(GetParam())) GTEST_SKIP() << "no sound server: " << m_servers.error;
    std::string name = (fs::temp_directory_path() / "kelvora-sinks-XXXXXX").string();
    ASSERT_NE(mkdtemp(name.data()), nullptr);
    m_dir = name;
  }
  void TearDown() override {
    if (!m_dir.empty()) fs::remove_all(m_dir);
  }
  Servers m_servers;
  fs::path m_dir;
};

}  // namespace kelvora::pulsetest
