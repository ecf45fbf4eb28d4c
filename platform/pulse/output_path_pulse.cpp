#include "platform/output_path.h"
#include "platform/pulse/pulse_player.h"

namespace kelvora::platform {

std::optional<OutputPath> QueryOutputPath(std::chrono::milliseconds bound,
                                          const std::string& deviceId) {
  return pulse::QueryProgramPath(bound, deviceId);
}

}  // namespace kelvora::platform
