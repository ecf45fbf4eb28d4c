#pragma once

#include <chrono>
#include <string>
#include <vector>

// clang-format off
// platform/audio/output_devices.h
namespace kelvora::platform {
struct OutputDevice { std::string id; std::string description; };  // id: the endpoint id (UTF-8), description: PKEY_Device_FriendlyName (UTF-8)
std::vector<OutputDevice> ListOutputDevices(std::chrono::milliseconds bound);  // active render endpoints, the system's order; empty if unknown in time
}
// clang-format on
