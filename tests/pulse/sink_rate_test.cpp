#include "platform/pulse/sink_rate.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cstdio>

#include "tests/pulse/pulse_server.h"

namespace kelvora::pulsetest {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr milliseconds kBound(300);
// A loaded machine may take a little longer to come back from the deadline.
constexpr milliseconds kSlack(200);

struct Asked {
  std::optional<std::uint32_t> rate;
  std::optional<platform::OutputPath> path;
  milliseconds took;
  std::string printed;  // on stderr
};

Asked Ask(const std::string& server) {
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  std::FILE* capture = std::tmpfile();
  dup2(fileno(capture), STDERR_FILENO);
  const Clock::time_point start = Clock::now();
  Asked asked;
  asked.path = pulse::QueryStreamSink(kBound, 48000, server.c_str());
  if (asked.path) asked.rate = asked.path->rate;
  asked.took = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
  std::rewind(capture);
  for (int c; (c = std::fgetc(capture)) != EOF;) asked.printed.push_back(static_cast<char>(c));
  std::fclose(capture);
  return asked;
}

#define START_OR_SKIP(server, ...) \
  if (!(server).Start(__VA_ARGS__)) GTEST_SKIP() << "no PulseAudio server: " << (server).error()

// The rate our sound would meet, not the one an idle sink waits at.
TEST(SinkRateTest, ReadsTheRateTheSinkTakesForOurStream) {
  const struct {
    const char* what;
    std::uint32_t sinkRate;
    ServerRates rates;
    std::uint32_t otherStream;  // 0: none
    std::uint32_t expected;
  } cases[] = {
      {"stock: an idle sink switches to ours", 44100, {}, 0, 48000},
      {"held by another program", 44100, {}, 44100, 44100},
      {"one rate only", 44100, {0, 44100}, 0, 44100},
      {"a headset's rate", 16000, {16000, 16000}, 0, 16000},
      {"48000", 48000, {}, 0, 48000},
      {"96000, moved to ours", 96000, {}, 0, 48000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PulseServer server;
    START_OR_SKIP(server, c.sinkRate, c.rates);
    if (c.otherStream) {
      ASSERT_TRUE(server.StartOtherStream(c.otherStream));
    }
    const Asked asked = Ask(server.Server());
    EXPECT_EQ(asked.rate, c.expected);
    EXPECT_LE(asked.took, kBound + kSlack);
    EXPECT_EQ(asked.printed, "");
  }
}

TEST(SinkRateTest, ReadsWhatPipeWireSaysOfTheSinkOurStreamPlaysInto) {
  const struct {
    const char* what;
    std::uint32_t sinkRate;  // 0: none added, the server's own default
    const char* sinkProperties;
    std::uint32_t expected;
    const char* codec;
  } cases[] = {
      {"stock", 0, "", 48000, ""},
      {"a null sink at 44100", 44100, "", 44100, ""},
      {"a Bluetooth sink", 48000, "device.bus=bluetooth api.bluez5.codec=sbc", 48000, "sbc"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PipeWireServer server;
    if (!server.Start()) GTEST_SKIP() << "no PipeWire server: " << server.error();
    if (c.sinkRate) {
      ASSERT_TRUE(server.AddDefaultSink(c.sinkRate, c.sinkProperties));
    }
    const Asked asked = Ask(server.Server());
    ASSERT_TRUE(asked.path.has_value());
    EXPECT_EQ(asked.rate, c.expected);
    EXPECT_EQ(asked.path->bluetooth, *c.codec != '\0');
    EXPECT_EQ(asked.path->codec, c.codec);
    EXPECT_EQ(asked.printed, "");
  }
}

// A listening socket that answers every connection with `reply`, or with
// nothing at all when `listen` is false (refused).
class FakeServer {
 public:
  FakeServer(const fs::path& path, bool listening, std::string reply) : m_reply(std::move(reply)) {
    m_fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    if (!listening) {
      close(m_fd);  // the name stays, nobody behind it
      m_fd = -1;
      return;
    }
    listen(m_fd, 4);
    m_thread = std::thread([this] {
      const int client = accept(m_fd, nullptr, nullptr);
      if (client < 0) return;
      if (send(client, m_reply.data(), m_reply.size(), MSG_NOSIGNAL) < 0) {
      }
      char sink[4096];
      while (recv(client, sink, sizeof sink, 0) > 0) {
      }
      close(client);
    });
  }
  ~FakeServer() {
    if (m_fd >= 0) {
      shutdown(m_fd, SHUT_RDWR);
      close(m_fd);
    }
    if (m_thread.joinable()) m_thread.join();
  }

 private:
  int m_fd = -1;
  std::string m_reply;
  std::thread m_thread;
};

TEST(SinkRateTest, NoServerRefusalOrGarbageIsUnknownWithinTheBoundAndSilent) {
  const fs::path dir = fs::temp_directory_path() / ("kelvora-fake-" + std::to_string(getpid()));
  fs::create_directories(dir);
  struct Case {
    const char* what;
    bool exists, listening;
    std::string reply;
  };
  const Case cases[] = {
      {"no server", false, false, ""},
      {"refused", true, false, ""},
      {"garbage", true, true, std::string(64, '\xff')},
      {"says nothing", true, true, ""},
  };
  for (const Case& c : cases) {
    const fs::path socket = dir / "native";
    fs::remove(socket);
    std::optional<FakeServer> fake;
    if (c.exists) fake.emplace(socket, c.listening, c.reply);
    const Asked asked = Ask("unix:" + socket.string());
    EXPECT_EQ(asked.rate, std::nullopt) << c.what;
    EXPECT_LE(asked.took, kBound + kSlack) << c.what;
    EXPECT_EQ(asked.printed, "") << c.what;
  }
  fs::remove_all(dir);
}

TEST(SinkRateTest, AStoppedServerIsUnknownAfterTheBoundAndAnswersOnceContinued) {
  PulseServer server;
  START_OR_SKIP(server, 44100u);
  ASSERT_EQ(kill(server.pid(), SIGSTOP), 0);
  const Asked stopped = Ask(server.Server());
  kill(server.pid(), SIGCONT);
  EXPECT_EQ(stopped.rate, std::nullopt);
  EXPECT_GE(stopped.took, kBound - milliseconds(5));
  EXPECT_LE(stopped.took, kBound + kSlack);
  EXPECT_EQ(stopped.printed, "");
  EXPECT_EQ(Ask(server.Server()).rate, 48000u);
}

}  // namespace
}  // namespace kelvora::pulsetest
