#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace kelvora::platform {

// Where the listener changes the rate the output runs at.
enum class RateSetting {
  SoundServer,        // PipeWire's or PulseAudio's configuration
  WindowsSoundPanel,  // the Sound control panel: device, Advanced, default format
};

// What the output that carries our sound does to it, as the platform tells
// it and as the window warns about it: one type from the query to the warning.
struct OutputPath {
  std::uint32_t rate = 0;
  std::uint32_t channels = 0;  // 0: not known
  bool bluetooth = false;
  std::string codec;  // a Bluetooth output's, as the system names it; may be empty
  RateSetting rateSetting = RateSetting::SoundServer;
  bool operator==(const OutputPath&) const = default;
};

// Asks the system about the output our sound plays into on the output
// `deviceId` (as ListOutputDevices names it; empty for the default output):
// on Linux the sound server, about the player's own stream (pulse/); on
// Windows the audio engine, about the endpoint's mix format (wasapi/).
// Blocks the calling thread for at most `bound`; nothing when the answer is
// not known by then. Prints nothing.
std::optional<OutputPath> QueryOutputPath(std::chrono::milliseconds bound,
                                          const std::string& deviceId = {});

}  // namespace kelvora::platform
