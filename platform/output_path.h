#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace kelvora::platform {

// Where the listener changes the rate the output runs at.
enum class RateSetting {
  kSoundServer,        // PipeWire's or PulseAudio's configuration
  kWindowsSoundPanel,  // the Sound control panel: device, Advanced, default format
};

// What the output that carries our sound does to it.
struct OutputPath {
  std::uint32_t rate = 0;
  std::uint32_t channels = 0;  // 0: not known
  bool bluetooth = false;
  std::string codec;  // a Bluetooth output's, as the system names it; may be empty
  RateSetting rateSetting = RateSetting::kSoundServer;
};

// Asks the system about the output our sound plays into: on Linux the sound
// server, about a stream of our own (pulse/); on Windows the audio engine,
// about the mix format of the output `deviceId` names, or of the default
// output where it names none or one that is absent (wasapi/). Blocks the
// calling thread for at most `bound`; nothing when the answer is not known
// by then. Prints nothing.
std::optional<OutputPath> QueryOutputPath(std::chrono::milliseconds bound,
                                          const std::string& deviceId = {});

}  // namespace kelvora::platform
