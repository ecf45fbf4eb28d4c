#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/output_path.h"

namespace kelvora::pulse {

// What the sink that this program's sound plays into says of itself (its
// rate, channels, device.bus and a Bluetooth sink's codec), asked
// through libpulse (PulseAudio, or PipeWire's PulseAudio service). An idle
// sink may run at a lower rate and switch to ours as soon as our sound
// starts, so the question opens a short stream of its own at `streamRate`,
// one channel, corked (it never plays a sample), and reads the sink the
// server put it on, after the server has had its chance to switch. Blocks
// the calling thread for at most `bound`. Nothing when no server runs (none
// is started), it refuses, does not answer in time, or answers with no
// believable rate. `server` as in PULSE_SERVER; null for the usual one.
// Prints nothing.
std::optional<platform::OutputPath> QueryStreamSink(std::chrono::milliseconds bound,
                                                    std::uint32_t streamRate = 48000,
                                                    const char* server = nullptr);

}  // namespace kelvora::pulse
