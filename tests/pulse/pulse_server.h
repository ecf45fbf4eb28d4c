#pragma once

// A PulseAudio server of the test's own: its own runtime and home folders,
// one null sink at a given rate as the default, stopped by its process id.
// Its daemon.conf is Debian's (default 44100 Hz, alternate 48000 Hz) unless
// the test gives the rates; other programs' streams are started and stopped
// by process id too.

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace kelvora::pulsetest {

namespace fs = std::filesystem;

// The server's own rates, as in daemon.conf; 0 keeps Debian's.
struct ServerRates {
  std::uint32_t defaultRate = 0;
  std::uint32_t alternateRate = 0;
};

class PulseServer {
 public:
  // Starts the server; false (and the reason in `error`) when it cannot run.
  // `sinkProperties` as module-null-sink's sink_properties takes them.
  bool Start(std::uint32_t rate, ServerRates rates = {}, const std::string& sinkProperties = "",
             int channels = 2) {
    std::string name = (fs::temp_directory_path() / "kelvora-pulse-XXXXXX").string();
    if (!mkdtemp(name.data())) return Fail("no temporary folder");
    m_dir = name;
    fs::create_directories(m_dir / "runtime");
    fs::create_directories(m_dir / "home");
    fs::permissions(m_dir / "runtime", fs::perms::owner_all);
    if (rates.defaultRate || rates.alternateRate) {
      // ~/.config/pulse/daemon.conf takes the place of the system's.
      const fs::path config = m_dir / "home" / ".config" / "pulse";
      fs::create_directories(config);
      std::ofstream conf(config / "daemon.conf");
      if (rates.defaultRate) conf << "default-sample-rate = " << rates.defaultRate << "\n";
      if (rates.alternateRate) conf << "alternate-sample-rate = " << rates.alternateRate << "\n";
    }
    std::ofstream(m_dir / "default.pa")
        << "load-module module-native-protocol-unix auth-anonymous=1 socket=" << Socket().string()
        << "\nload-module module-null-sink sink_name=kelvora_test rate="
        << rate
        // An idle null sink sits at two seconds of latency and, rewinding,
        // holds a new stream's first full buffer for one to two seconds; a
        // sink of a sound card starts playing at once.
        << " channels=" << channels << " norewinds=1"
        << (sinkProperties.empty() ? "" : " sink_properties=\"" + sinkProperties + "\"")
        << "\nset-default-sink kelvora_test\n";
    const std::string script = (m_dir / "default.pa").string();
    const std::string log = (m_dir / "server.log").string();
    std::vector<std::string> args = {"pulseaudio",
                                     "-n",
                                     "--daemonize=no",
                                     "--exit-idle-time=-1",
                                     "--disallow-exit",
                                     "--disallow-module-loading=no",
                                     "--use-pid-file=no",
                                     "--system=false",
                                     "--log-target=stderr",
                                     "-F",
                                     script};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = {
        "HOME=" + (m_dir / "home").string(), "XDG_RUNTIME_DIR=" + (m_dir / "runtime").string(),
        "XDG_CONFIG_HOME=" + (m_dir / "home").string(), "PATH=/usr/bin:/bin"};
    std::vector<char*> envp;
    for (std::string& each : env) envp.push_back(each.data());
    envp.push_back(nullptr);
    m_pid = fork();
    if (m_pid < 0) return Fail("no process for pulseaudio");
    if (m_pid == 0) {
      // A test that dies leaves no server behind.
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      const int in = open("/dev/null", O_RDONLY);
      const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(in, STDIN_FILENO);
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
      execvpe("pulseaudio", argv.data(), envp.data());
      _exit(127);
    }
    // Ready once the socket takes connections; give up after ten seconds.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (fs::exists(Socket()) &&
          std::system(("pactl -s " + Server() + " info >/dev/null 2>&1").c_str()) == 0) {
        return true;
      }
      int status = 0;
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_pid = 0;
        return Fail("pulseaudio did not start (Debian package pulseaudio):\n" + ReadLog());
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return Fail("pulseaudio did not answer within 10 s:\n" + ReadLog());
  }

  // Another program plays silence at `rate` into the default sink until the
  // server stops; true once its stream is on the server.
  bool StartOtherStream(std::uint32_t rate) {
    const pid_t pid = fork();
    if (pid < 0) return false;
    if (pid == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      const int in = open("/dev/zero", O_RDONLY);
      const int out = open("/dev/null", O_WRONLY);
      dup2(in, STDIN_FILENO);
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
      const std::string server = Server();
      const std::string rateArg = "--rate=" + std::to_string(rate);
      execlp("pacat", "pacat", "--playback", "-s", server.c_str(), rateArg.c_str(), "--channels=2",
             "--format=s16le", "--raw", static_cast<char*>(nullptr));
      _exit(127);
    }
    m_others.push_back(pid);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (std::system(("pactl -s " + Server() + " list short sink-inputs | grep -q .").c_str()) ==
          0) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  ~PulseServer() {
    for (const pid_t other : m_others) {
      kill(other, SIGTERM);
      waitpid(other, nullptr, 0);
    }
    if (m_pid > 0) {
      kill(m_pid, SIGCONT);
      kill(m_pid, SIGTERM);
      waitpid(m_pid, nullptr, 0);
    }
    if (!m_dir.empty()) fs::remove_all(m_dir);
  }

  // As PULSE_SERVER takes it.
  std::string Server() const { return "unix:" + Socket().string(); }
  pid_t pid() const { return m_pid; }
  const fs::path& dir() const { return m_dir; }
  const std::string& error() const { return m_error; }

 private:
  fs::path Socket() const { return m_dir / "runtime" / "native"; }
  std::string ReadLog() const {
    std::ifstream in(m_dir / "server.log");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Fail(std::string why) {
    m_error = std::move(why);
    return false;
  }

  fs::path m_dir;
  pid_t m_pid = 0;
  std::vector<pid_t> m_others;
  std::string m_error;
};

// PipeWire as Debian 12's desktop runs it (pipewire, wireplumber and
// pipewire-pulse, on a session bus of its own), with its own runtime, home
// and configuration folders; every process is stopped by its id.
class PipeWireServer {
 public:
  // False (and the reason in `error`) when the server cannot run here.
  bool Start() {
    std::string name = (fs::temp_directory_path() / "kelvora-pipewire-XXXXXX").string();
    if (!mkdtemp(name.data())) return Fail("no temporary folder");
    m_dir = name;
    for (const char* each : {"runtime", "home", "config"}) fs::create_directories(m_dir / each);
    fs::permissions(m_dir / "runtime", fs::perms::owner_all);
    m_env = {"HOME=" + (m_dir / "home").string(), "XDG_RUNTIME_DIR=" + (m_dir / "runtime").string(),
             "XDG_CONFIG_HOME=" + (m_dir / "config").string(), "PATH=/usr/bin:/bin"};
    // The bus forks away from us; its id comes back in a file.
    const fs::path bus = m_dir / "bus", busPid = m_dir / "bus.pid";
    const std::string busCommand =
        "dbus-daemon --session --fork --print-address=3 --print-pid=4 3>" + bus.string() + " 4>" +
        busPid.string();
    if (Spawn({"/bin/sh", "-c", busCommand}, "dbus.log", /*keep=*/false) != 0) {
      return Fail("no session bus (Debian package dbus):\n" + ReadLog("dbus.log"));
    }
    std::ifstream(busPid) >> m_busPid;
    std::string address;
    std::getline(std::ifstream(bus) >> std::ws, address);
    m_env.push_back("DBUS_SESSION_BUS_ADDRESS=" + address);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    // The others connect to pipewire once, at their start.
    Spawn({"pipewire"}, "pipewire.log", /*keep=*/true);
    while (!fs::exists(m_dir / "runtime" / "pipewire-0") &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    for (const char* program : {"wireplumber", "pipewire-pulse"}) {
      Spawn({program}, std::string(program) + ".log", /*keep=*/true);
    }
    // Ready once WirePlumber has given the server an output, as a desktop's
    // has by the time a program starts; the answer to `info` comes earlier.
    while (std::chrono::steady_clock::now() < deadline) {
      if (Pactl("info") == 0 && Pactl("list short sinks | grep -q .") == 0) return true;
      for (const pid_t pid : m_pids) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
          return Fail(
              "PipeWire did not start (Debian packages pipewire, wireplumber, "
              "pipewire-pulse):\n" +
              ReadLog("pipewire.log") + ReadLog("wireplumber.log") + ReadLog("pipewire-pulse.log"));
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return Fail("PipeWire did not answer within 10 s");
  }

  // A null sink as the default; true once the server shows it.
  bool AddDefaultSink(std::uint32_t rate, const std::string& sinkProperties = "") {
    std::string load =
        "load-module module-null-sink sink_name=kelvora_test rate=" + std::to_string(rate) +
        " channels=2";
    if (!sinkProperties.empty()) load += " sink_properties='" + sinkProperties + "'";
    if (Pactl(load) != 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      if (Pactl("set-default-sink kelvora_test") == 0 &&
          Pactl("get-default-sink | grep -qx kelvora_test") == 0) {
        return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  ~PipeWireServer() {
    for (auto pid = m_pids.rbegin(); pid != m_pids.rend(); ++pid) {
      kill(*pid, SIGTERM);
      waitpid(*pid, nullptr, 0);
    }
    if (m_busPid > 0) kill(m_busPid, SIGTERM);
    if (!m_dir.empty()) fs::remove_all(m_dir);
  }

  std::string Server() const { return "unix:" + (m_dir / "runtime" / "pulse" / "native").string(); }
  const std::string& error() const { return m_error; }

 private:
  int Pactl(const std::string& what) const {
    return std::system(("pactl -s " + Server() + " " + what + " >/dev/null 2>&1").c_str());
  }
  // Runs `args` with the server's environment; a kept one runs on (its id
  // noted), another is waited for and its exit status returned.
  int Spawn(std::vector<std::string> args, const std::string& log, bool keep) {
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = m_env;
    std::vector<char*> envp;
    for (std::string& each : env) envp.push_back(each.data());
    envp.push_back(nullptr);
    const std::string logPath = (m_dir / log).string();
    const pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
      if (keep) prctl(PR_SET_PDEATHSIG, SIGTERM);
      const int in = open("/dev/null", O_RDONLY);
      const int out = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(in, STDIN_FILENO);
      dup2(out, STDOUT_FILENO);
      dup2(out, STDERR_FILENO);
      execvpe(argv[0], argv.data(), envp.data());
      _exit(127);
    }
    if (keep) {
      m_pids.push_back(pid);
      return 0;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string ReadLog(const std::string& log) const {
    std::ifstream in(m_dir / log);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Fail(std::string why) {
    m_error = std::move(why);
    return false;
  }

  fs::path m_dir;
  std::vector<std::string> m_env;
  std::vector<pid_t> m_pids;
  pid_t m_busPid = 0;
  std::string m_error;
};

}  // namespace kelvora::pulsetest
