#pragma once

#include "platform/audio/system_player.h"
#include "ui/outputs.h"

namespace kelvora {

// The system's outputs, played on by the program's player.
class SystemOutputs final : public Outputs {
 public:
  explicit SystemOutputs(SystemPlayer& player) : m_player(player) {}
  std::vector<platform::OutputDevice> List() override;
  std::string DefaultDescription() override;
  void Use(const std::string& deviceId) override { m_player.SetOutput(deviceId); }
  std::optional<std::string> TakeMissing() override { return m_player.TakeMissingOutput(); }

 private:
  SystemPlayer& m_player;
};

}  // namespace kelvora
