#include "platform/output_path.h"
#include "platform/pulse/sink_rate.h"

namespace kelvora::platform {

std::optional<OutputPath> QueryOutputPath(std::chrono::milliseconds bound) {
  return pulse::QueryStreamSink(bound);
}

}  // namespace kelvora::platform
