#include "tools/render_options.h"

#include <unistd.h>

#include <charconv>
#include <cmath>
#include <span>
#include <string_view>

#include "sound/player.h"
#include "sound/synthesis.h"

namespace kelvora {
namespace {

enum OptionBit : unsigned {
  kFrequencyOption = 1,
  kVolumeOption = 2,
  kSlotsOption = 4,
  kFadeOption = 8,
  kOutputOption = 16,
};

struct SoundEntry {
  std::string_view name;
  RenderSoundKind kind;
  unsigned allowed;
  unsigned required;
};

constexpr SoundEntry kSounds[] = {
    {"pattern", RenderSoundKind::Pattern,
     kFrequencyOption | kVolumeOption | kSlotsOption | kOutputOption,
     kFrequencyOption | kSlotsOption | kOutputOption},
    {"continuous", RenderSoundKind::Continuous, kFrequencyOption | kVolumeOption | kOutputOption,
     kFrequencyOption | kOutputOption},
    {"silence", RenderSoundKind::Silence, kOutputOption, kOutputOption},
    {"chime", RenderSoundKind::Chime, kVolumeOption | kOutputOption, kOutputOption},
    {"buzz", RenderSoundKind::Buzz, kVolumeOption | kOutputOption, kOutputOption},
    {"sample", RenderSoundKind::Sample, kVolumeOption | kOutputOption, kOutputOption},
    {"export", RenderSoundKind::Export,
     kFrequencyOption | kVolumeOption | kFadeOption | kOutputOption,
     kFrequencyOption | kOutputOption},
};

struct OptionEntry {
  std::string_view name;
  OptionBit bit;
  bool takesValue;
};

constexpr OptionEntry kOptions[] = {
    {"--frequency", kFrequencyOption, true},
    {"--volume", kVolumeOption, true},
    {"--slots", kSlotsOption, true},
    {"--fade", kFadeOption, false},
    {"-o", kOutputOption, true},
};

std::string_view OptionName(OptionBit bit) {
  for (const OptionEntry& option : kOptions) {
    if (option.bit == bit) return option.name;
  }
  return {};
}

// Whole decimal integers only: no sign other than '-', no spaces, no suffix.
bool ParseWhole(const std::string& text, std::int32_t min, std::int32_t max, std::int32_t* value) {
  std::int32_t parsed = 0;
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, parsed);
  if (text.empty() || ec != std::errc() || stop != end || parsed < min || parsed > max) {
    return false;
  }
  *value = parsed;
  return true;
}

// Plain decimal notation ("440", "440.5", ".5"), read the same in every locale;
// signs, exponents, hex, inf and nan are refused.
bool ParseDecimal(const std::string& text, double* value) {
  std::size_t digits = 0;
  std::size_t points = 0;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.') {
      ++points;
    } else {
      return false;
    }
  }
  if (digits == 0 || points > 1) return false;
  double parsed = 0.0;
  const char* end = text.data() + text.size();
  const auto [stop, ec] = std::from_chars(text.data(), end, parsed, std::chars_format::fixed);
  if (ec != std::errc() || stop != end || !std::isfinite(parsed)) return false;
  *value = parsed;
  return true;
}

RenderCommand Error(std::string message) {
  RenderCommand command;
  command.action = RenderCommand::Action::Error;
  command.error = std::move(message) + " (see --help)";
  return command;
}

}  // namespace

std::string Quoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string quoted = "'";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    switch (c) {
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\t':
        quoted += "\\t";
        break;
      default:
        if (byte < 0x20 || byte == 0x7f) {
          quoted += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "'";
}

RenderCommand ParseRenderArguments(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      RenderCommand command;
      command.action = RenderCommand::Action::Help;
      return command;
    }
  }
  if (args.empty()) return Error("no sound given");

  const SoundEntry* sound = nullptr;
  for (const SoundEntry& entry : kSounds) {
    if (args[0] == entry.name) sound = &entry;
  }
  if (sound == nullptr) return Error("unknown sound " + Quoted(args[0]));

  RenderOptions options;
  options.sound = sound->kind;
  unsigned seen = 0;
  for (std::size_t k = 1; k < args.size(); ++k) {
    const std::string& arg = args[k];
    const OptionEntry* option = nullptr;
    for (const OptionEntry& entry : kOptions) {
      if (arg == entry.name) option = &entry;
    }
    if (option == nullptr) {
      if (!arg.empty() && arg[0] == '-') return Error("unknown option " + Quoted(arg));
      return Error("unexpected argument " + Quoted(arg));
    }
    const std::string name(option->name);
    if ((sound->allowed & option->bit) == 0) {
      return Error(name + " does not apply to the " + std::string(sound->name) + " sound");
    }
    if ((seen & option->bit) != 0) return Error(name + " given twice");
    seen |= option->bit;
    if (!option->takesValue) {
      options.fade = true;
      continue;
    }
    if (k + 1 >= args.size()) return Error(name + " needs a value");
    const std::string& value = args[++k];

    switch (option->bit) {
      case kFrequencyOption:
        if (sound->kind == RenderSoundKind::Export) {
          if (!ParseDecimal(value, &options.exportFrequency) || !(options.exportFrequency > 0.1) ||
              !(options.exportFrequency <= 24000.0)) {
            return Error(
                "--frequency must be a decimal number of hertz above 0.1 and up to 24000, "
                "not " +
                Quoted(value));
          }
        } else if (!ParseWhole(value, kLowestFrequency, kHighestFrequency, &options.frequency)) {
          return Error("--frequency must be a whole number of hertz from 20 to 22000, not " +
                       Quoted(value));
        }
        break;
      case kVolumeOption:
        if (!ParseWhole(value, 0, 30000, &options.volume)) {
          return Error("--volume must be a whole number from 0 to 30000, not " + Quoted(value));
        }
        break;
      case kSlotsOption:
        if (value.size() != 5 || value.find_first_not_of("01") != std::string::npos) {
          return Error("--slots must be five characters 0 or 1 for slots 1 to 5, not " +
                       Quoted(value));
        }
        for (std::size_t slot = 0; slot < 5; ++slot) options.slots[slot] = value[slot] == '1';
        break;
      case kOutputOption:
        // A name starting with '-' is far more likely a forgotten value.
        if (value.empty() || (value[0] == '-' && value != "-")) {
          return Error("-o needs a file name or - for standard output, not " + Quoted(value));
        }
        options.output = value;
        break;
      default:
        break;
    }
  }

  const unsigned missing = sound->required & ~seen;
  for (const OptionEntry& option : kOptions) {
    if ((missing & option.bit) != 0) {
      return Error("the " + std::string(sound->name) + " sound needs " +
                   std::string(OptionName(option.bit)));
    }
  }

  RenderCommand command;
  command.action = RenderCommand::Action::Render;
  command.options = options;
  return command;
}

std::string RenderUsage() {
  return "Usage: kelvora-render SOUND [OPTIONS] -o FILE\n"
         "Writes one of Kelvora's sounds to a WAVE file (48000 Hz, 16-bit mono),\n"
         "byte for byte the image the program plays or saves.\n"
         "\n"
         "  kelvora-render pattern    --frequency HZ [--volume N] --slots 10110 -o FILE\n"
         "  kelvora-render continuous --frequency HZ [--volume N] -o FILE\n"
         "  kelvora-render silence    -o FILE\n"
         "  kelvora-render chime      [--volume N] -o FILE\n"
         "  kelvora-render buzz       [--volume N] -o FILE\n"
         "  kelvora-render sample     [--volume N] -o FILE\n"
         "  kelvora-render export     --frequency HZ [--fade] [--volume N] -o FILE\n"
         "\n"
         "  --frequency HZ  pattern, continuous: whole hertz from 20 to 22000;\n"
         "                  export: a decimal number above 0.1 and up to 24000\n"
         "  --volume N      0 to 30000 (percent times 300); default 9000\n"
         "  --slots XXXXX   which of the five slots hold a burst, 0 or 1 each\n"
         "  --fade          export: 1000-sample fade-in and fade-out\n"
         "  -o FILE         the file to write; - writes to standard output\n"
         "  --help          this text\n"
         "\n"
         "Exit status: 0 on success, 2 on bad arguments or a file that cannot be\n"
         "written (nothing is left behind then).\n";
}

bool RenderSound(const RenderOptions& options, WaveBuffer& image) {
  switch (options.sound) {
    case RenderSoundKind::Pattern:
      if (!image.Allocate(kTestWaveBufferSize)) return false;
      RenderTestPattern(image.bytes(), options.frequency, options.volume, options.slots);
      return true;
    case RenderSoundKind::Continuous:
      if (!image.Allocate(kTestWaveBufferSize)) return false;
      RenderContinuousTone(image.bytes(), options.frequency, options.volume);
      return true;
    case RenderSoundKind::Silence:
      if (!image.Allocate(kTestWaveBufferSize)) return false;
      RenderSilence(image.bytes());
      return true;
    case RenderSoundKind::Chime:
    case RenderSoundKind::Buzz: {
      // The two are only ever made together.
      WaveBuffer other;
      const bool chime = options.sound == RenderSoundKind::Chime;
      if (!image.Allocate(chime ? kChimeWaveBufferSize : kBuzzWaveBufferSize) ||
          !other.Allocate(chime ? kBuzzWaveBufferSize : kChimeWaveBufferSize)) {
        return false;
      }
      if (chime) {
        RenderChimeAndBuzz(image.bytes(), other.bytes(), options.volume);
      } else {
        RenderChimeAndBuzz(other.bytes(), image.bytes(), options.volume);
      }
      return true;
    }
    case RenderSoundKind::Sample:
      if (!image.Allocate(kSampleWaveBufferSize)) return false;
      RenderVolumeSample(image.bytes(), options.volume);
      return true;
    case RenderSoundKind::Export:
      if (!image.Allocate(kExportWaveBufferSize)) return false;
      RenderExportTone(image.bytes(), options.exportFrequency, options.volume, options.fade);
      return true;
  }
  return false;
}

bool WriteImageFile(const std::string& path, const std::uint8_t* data, std::size_t size,
                    std::string* error, platform::TemporaryFileWatch watch) {
  const std::span<const std::uint8_t> bytes(data, size);
  const bool toStandardOutput = path == "-";
  const platform::WriteResult result = toStandardOutput
                                           ? platform::WriteToDescriptor(STDOUT_FILENO, bytes)
                                           : platform::WriteFileSafely(path, bytes, watch);
  if (result.ok()) return true;
  *error = (toStandardOutput ? std::string("cannot write to standard output")
                             : "cannot write " + Quoted(path)) +
           ": " + result.message;
  return false;
}

}  // namespace kelvora
