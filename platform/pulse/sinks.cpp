#include "platform/pulse/sinks.h"

#include <pulse/introspect.h>

namespace kelvora::pulse {
namespace {

// Rates outside these bounds come from a confused server, not from a sink.
constexpr std::uint32_t kLowestRate = 1000;
constexpr std::uint32_t kHighestRate = 768000;

Sink SinkOf(const pa_sink_info& info) {
  Sink sink;
  sink.index = info.index;
  sink.name = info.name ? info.name : "";
  sink.description = info.description && *info.description ? info.description : sink.name;
  const std::uint32_t rate = info.sample_spec.rate;
  if (rate >= kLowestRate && rate <= kHighestRate) {
    platform::OutputPath path;
    path.rate = rate;
    path.channels = info.sample_spec.channels;
    const char* bus = pa_proplist_gets(info.proplist, PA_PROP_DEVICE_BUS);
    path.bluetooth = bus && std::string(bus) == "bluetooth";
    // PulseAudio 15 and later name it one way, PipeWire the other.
    for (const char* key : {"bluetooth.codec", "api.bluez5.codec"}) {
      const char* codec = pa_proplist_gets(info.proplist, key);
      if (path.bluetooth && codec && *codec) {
        path.codec = codec;
        break;
      }
    }
    path.rateSetting = platform::RateSetting::SoundServer;
    sink.path = path;
  }
  return sink;
}

struct Sinks {
  std::vector<Sink> found;
  bool complete = false;  // the list ended without an error
};

void OnSink(pa_context*, const pa_sink_info* info, int eol, void* userdata) {
  auto& sinks = *static_cast<Sinks*>(userdata);
  if (info) sinks.found.push_back(SinkOf(*info));
  if (eol > 0) sinks.complete = true;
}

std::optional<Sink> OneSink(Connection& connection, pa_operation* operation, Sinks& sinks,
                            Clock::time_point deadline) {
  if (!connection.Await(operation, deadline) || sinks.found.size() != 1) return std::nullopt;
  return sinks.found.front();
}

}  // namespace

std::optional<std::vector<Sink>> AllSinks(Connection& connection, Clock::time_point deadline) {
  if (!connection.Connect(deadline)) return std::nullopt;
  Sinks sinks;
  if (!connection.Await(pa_context_get_sink_info_list(connection.context(), OnSink, &sinks),
                        deadline) ||
      !sinks.complete) {
    return std::nullopt;
  }
  return std::move(sinks.found);
}

std::optional<Sink> SinkNamed(Connection& connection, const std::string& name,
                              Clock::time_point deadline) {
  if (name.empty() || !connection.Connect(deadline)) return std::nullopt;
  Sinks sinks;
  return OneSink(
      connection,
      pa_context_get_sink_info_by_name(connection.context(), name.c_str(), OnSink, &sinks), sinks,
      deadline);
}

std::optional<Sink> SinkAt(Connection& connection, std::uint32_t index,
                           Clock::time_point deadline) {
  if (!connection.Connect(deadline)) return std::nullopt;
  Sinks sinks;
  return OneSink(connection,
                 pa_context_get_sink_info_by_index(connection.context(), index, OnSink, &sinks),
                 sinks, deadline);
}

std::optional<std::string> DefaultSinkName(Connection& connection, Clock::time_point deadline) {
  if (!connection.Connect(deadline)) return std::nullopt;
  struct Answer {
    std::optional<std::string> name;
  } answer;
  const auto onInfo = [](pa_context*, const pa_server_info* info, void* userdata) {
    auto& answer = *static_cast<Answer*>(userdata);
    if (info && info->default_sink_name && *info->default_sink_name) {
      answer.name = info->default_sink_name;
    }
  };
  if (!connection.Await(pa_context_get_server_info(connection.context(), onInfo, &answer),
                        deadline)) {
    return std::nullopt;
  }
  return answer.name;
}

}  // namespace kelvora::pulse

namespace kelvora::pulse {

std::vector<Sink> ListSinks(std::chrono::milliseconds bound, const std::string& server) {
  Connection connection(server);
  return AllSinks(connection, Clock::now() + bound).value_or(std::vector<Sink>());
}

std::string DefaultSinkDescription(std::chrono::milliseconds bound, const std::string& server) {
  const auto deadline = Clock::now() + bound;
  Connection connection(server);
  const std::optional<std::string> name = DefaultSinkName(connection, deadline);
  if (!name) return {};
  const std::optional<Sink> sink = SinkNamed(connection, *name, deadline);
  return sink ? sink->description : std::string();
}

}  // namespace kelvora::pulse
