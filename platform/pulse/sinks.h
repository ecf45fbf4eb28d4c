#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/output_path.h"
#include "platform/pulse/connection.h"

namespace kelvora::pulse {

// What a sink says of itself.
struct Sink {
  std::uint32_t index = 0;
  std::string name;         // stable across runs: what the program remembers
  std::string description;  // what the desktop shows
  // Nothing when the sink names no believable rate.
  std::optional<platform::OutputPath> path;
};

// One round trip each, within the deadline; nothing when the server did not
// answer in time or has no such sink.
std::optional<std::vector<Sink>> AllSinks(Connection& connection, Clock::time_point deadline);
std::optional<Sink> SinkNamed(Connection& connection, const std::string& name,
                              Clock::time_point deadline);
std::optional<Sink> SinkAt(Connection& connection, std::uint32_t index, Clock::time_point deadline);
// The server's default sink; nothing when it has none or did not say in time.
std::optional<std::string> DefaultSinkName(Connection& connection, Clock::time_point deadline);

}  // namespace kelvora::pulse

namespace kelvora::pulse {

// platform::ListOutputDevices and DefaultOutputDescription, asked of `server`
// (as PULSE_SERVER takes it; empty for the usual one) on a connection of
// their own.
std::vector<Sink> ListSinks(std::chrono::milliseconds bound, const std::string& server = {});
std::string DefaultSinkDescription(std::chrono::milliseconds bound, const std::string& server = {});

}  // namespace kelvora::pulse
