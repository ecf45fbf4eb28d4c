// kelvora-render: writes any sound of the program to a WAVE file.
#include <cstdio>
#include <string>
#include <vector>

#include "sound/player.h"
#include "sound/wave_buffer.h"
#include "tools/render_options.h"

int main(int argc, char** argv) {
  using kelvora::RenderCommand;
  const std::vector<std::string> args(argv + 1, argv + argc);
  const RenderCommand command = kelvora::ParseRenderArguments(args);
  if (command.action == RenderCommand::Action::kHelp) {
    std::fputs(kelvora::RenderUsage().c_str(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 2;
  }
  if (command.action == RenderCommand::Action::kError) {
    std::fprintf(stderr, "kelvora-render: %s\n", command.error.c_str());
    return 2;
  }
  kelvora::WaveBuffer image;
  if (!kelvora::RenderSound(command.options, image)) {
    std::fprintf(stderr, "kelvora-render: not enough memory for the sound\n");
    return 2;
  }
  const std::span<const std::uint8_t> bytes = kelvora::WaveImageBytes(image.bytes());
  std::string error;
  if (!kelvora::WriteImageFile(command.options.output, bytes.data(), bytes.size(), &error)) {
    std::fprintf(stderr, "kelvora-render: %s\n", error.c_str());
    return 2;
  }
  return 0;
}
