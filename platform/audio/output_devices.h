#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace kelvora::platform {

// One output of the system, as its sound service names and describes it.
struct OutputDevice {
  std::string id;           // the system's stable name (a sink name / an endpoint id)
  std::string description;  // as the system's own volume controls show it
};

// The system's outputs in the system's order; empty when the system does not
// answer within `bound` (or has no sound service the program plays through).
// Blocks the calling thread for at most `bound`. Prints nothing.
std::vector<OutputDevice> ListOutputDevices(std::chrono::milliseconds bound);

// The description of the output the system plays to by default at this
// moment; empty when not known within `bound`.
std::string DefaultOutputDescription(std::chrono::milliseconds bound);

}  // namespace kelvora::platform
