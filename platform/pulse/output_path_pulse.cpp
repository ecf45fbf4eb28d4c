#include "platform/output_path.h"
#include "platform/pulse/sink_rate.h"

namespace kelvora::platform {

std::optional<OutputPath> QueryOutputPath(std::chrono::milliseconds bound,
                                          const std::string& /*deviceId*/) {
  const std::optional<pulse::SinkPath> sink = pulse::QueryStreamSink(bound);
  if (!sink) return std::nullopt;
  OutputPath path;
  path.rate = sink->rate;
  path.channels = sink->channels;
  path.bluetooth = sink->bluetooth;
  path.codec = sink->codec;
  path.rateSetting = RateSetting::kSoundServer;
  return path;
}

}  // namespace kelvora::platform
