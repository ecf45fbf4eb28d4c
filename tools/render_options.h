#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/safe_file.h"
#include "sound/frequency_range.h"
#include "sound/volume.h"
#include "sound/wave_buffer.h"

namespace kelvora {

// The sounds kelvora-render can write, one per renderer of the program.
enum class RenderSoundKind { Pattern, Continuous, Silence, Chime, Buzz, Sample, Export };

struct RenderOptions {
  RenderSoundKind sound = RenderSoundKind::Pattern;
  std::int32_t frequency = 0;    // pattern, continuous: whole hertz
  double exportFrequency = 0.0;  // export: any hertz the export dialog accepts
  std::int32_t volume = kStartVolume;
  std::array<bool, 5> slots{};  // pattern: slots 1 to 5
  bool fade = false;            // export
  std::string output;           // "-" is standard output
};

struct RenderCommand {
  enum class Action { Render, Help, Error };
  Action action = Action::Error;
  RenderOptions options;
  std::string error;  // one line, for Action::Error
};

// Reads the arguments after the program name. Nothing is rendered or written.
RenderCommand ParseRenderArguments(const std::vector<std::string>& args);

// The text of --help.
std::string RenderUsage();

// Renders the chosen sound into `image`, allocating it as the program would;
// false when a buffer cannot be had. The image's size is 44 + WaveDataSize().
bool RenderSound(const RenderOptions& options, WaveBuffer& image);

// `text` in single quotes, with backslashes and control characters escaped
// (\\, \n, \t, \x1b), so that a message holding it stays on one line.
std::string Quoted(std::string_view text);

// Writes `size` bytes to `path` ("-" for standard output) with
// platform::WriteFileSafely, which `watch` is handed on to. On failure `error`
// gets one line naming the file, and no file is left behind.
bool WriteImageFile(const std::string& path, const std::uint8_t* data, std::size_t size,
                    std::string* error, platform::TemporaryFileWatch watch = nullptr);

}  // namespace kelvora
