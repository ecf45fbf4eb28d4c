#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace kelvora::pulse {

// The sample rate of the sound server's default sink, the one a new stream
// plays on, asked through libpulse (PulseAudio, or PipeWire's PulseAudio
// service). Blocks the calling thread for at most `bound`. Nothing when no
// server runs (none is started), it refuses, does not answer in time, or
// answers with no believable rate. `server` as in PULSE_SERVER; null for the
// usual one. Prints nothing.
std::optional<std::uint32_t> QueryDefaultSinkRate(std::chrono::milliseconds bound,
                                                  const char* server = nullptr);

}  // namespace kelvora::pulse
