// kelvora-render: writes any sound of the program to a WAVE file.
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "sound/player.h"
#include "sound/wave_buffer.h"
#include "tools/render_options.h"

namespace {

// Where the temporary file is while it may exist; read by the signal handler.
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> g_temporaryFolder{-1};
char g_temporaryName[64];

void WatchTemporaryFile(int folder, const char* name) {
  g_temporaryFolder.store(-1);
  if (name == nullptr) return;
  std::strncpy(g_temporaryName, name, sizeof g_temporaryName - 1);
  g_temporaryFolder.store(folder);
}

// Async-signal-safe calls only.
void RemoveTemporaryFileAndDie(int signal) {
  const int folder = g_temporaryFolder.load();
  if (folder >= 0) ::unlinkat(folder, g_temporaryName, 0);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void InstallSignalHandlers() {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction action {};
    // A signal ignored by whoever started us (nohup, a background job) stays ignored.
    if (::sigaction(signal, nullptr, &action) != 0 || action.sa_handler == SIG_IGN) continue;
    action.sa_handler = RemoveTemporaryFileAndDie;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    ::sigaction(signal, &action, nullptr);
  }
  // A closed pipe or the file size limit then fail a write, reported in one
  // line like any other failure, instead of killing the program silently.
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "kelvora-render: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using kelvora::RenderCommand;
  InstallSignalHandlers();
  const std::vector<std::string> args(argv + 1, argv + argc);
  const RenderCommand command = kelvora::ParseRenderArguments(args);
  std::string error;
  if (command.action == RenderCommand::Action::kHelp) {
    const std::string usage = kelvora::RenderUsage();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(usage.data());
    return kelvora::WriteImageFile("-", bytes, usage.size(), &error) ? 0 : Fail(error);
  }
  if (command.action == RenderCommand::Action::kError) return Fail(command.error);
  kelvora::WaveBuffer image;
  if (!kelvora::RenderSound(command.options, image)) {
    return Fail("not enough memory for the sound");
  }
  const std::span<const std::uint8_t> wave = kelvora::WaveImageBytes(image.bytes());
  if (!kelvora::WriteImageFile(command.options.output, wave.data(), wave.size(), &error,
                               WatchTemporaryFile)) {
    return Fail(error);
  }
  return 0;
}
