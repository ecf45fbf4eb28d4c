#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/audio/output_devices.h"

namespace kelvora {

// The outputs the main window offers and the player's choice among them.
// The program's one plays through SystemPlayer (app/system_outputs.h);
// tests hand the window one with devices of their own.
class Outputs {
 public:
  virtual ~Outputs() = default;
  // The system's outputs now; asked each time the output submenu opens.
  virtual std::vector<platform::OutputDevice> List() = 0;
  // How the system describes its default output at this moment.
  virtual std::string DefaultDescription() = 0;
  // The sounds from now on play on `deviceId`; "" for the default output.
  virtual void Use(const std::string& deviceId) = 0;
  // The chosen output's id, once, after a sound found it absent and played
  // on the default output instead.
  virtual std::optional<std::string> TakeMissing() = 0;
};

}  // namespace kelvora
