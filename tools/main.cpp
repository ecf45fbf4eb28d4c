// kelvora-render: writes any sound of the program to a WAVE file.
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "platform/files/safe_file.h"
#include "sound/player.h"
#include "sound/wave_buffer.h"
#include "tools/render_options.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "kelvora-render: %s\n", message.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using kelvora::RenderCommand;
  const kelvora::platform::TemporaryFileWatch watch =
      kelvora::platform::RemoveTemporaryFileOnInterrupt();
  const std::vector<std::string> args(argv + 1, argv + argc);
  const RenderCommand command = kelvora::ParseRenderArguments(args);
  std::string error;
  if (command.action == RenderCommand::Action::Help) {
    const std::string usage = kelvora::RenderUsage();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(usage.data());
    return kelvora::WriteImageFile("-", bytes, usage.size(), &error) ? 0 : Fail(error);
  }
  if (command.action == RenderCommand::Action::Error) return Fail(command.error);
  kelvora::WaveBuffer image;
  if (!kelvora::RenderSound(command.options, image)) {
    return Fail("not enough memory for the sound");
  }
  const std::span<const std::uint8_t> wave = kelvora::WaveImageBytes(image.bytes());
  if (!kelvora::WriteImageFile(command.options.output, wave.data(), wave.size(), &error, watch)) {
    return Fail(error);
  }
  return 0;
}
