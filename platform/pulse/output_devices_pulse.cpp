#include "platform/audio/output_devices.h"
#include "platform/pulse/sinks.h"

namespace kelvora::platform {

std::vector<OutputDevice> ListOutputDevices(std::chrono::milliseconds bound) {
  std::vector<OutputDevice> devices;
  for (pulse::Sink& sink : pulse::ListSinks(bound)) {
    devices.push_back({std::move(sink.name), std::move(sink.description)});
  }
  return devices;
}

std::string DefaultOutputDescription(std::chrono::milliseconds bound) {
  return pulse::DefaultSinkDescription(bound);
}

}  // namespace kelvora::platform
