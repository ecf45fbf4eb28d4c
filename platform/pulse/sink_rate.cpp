#include "platform/pulse/sink_rate.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>
#include <pulse/proplist.h>
#include <pulse/stream.h>

#include <memory>
#include <string>

namespace kelvora::pulse {
namespace {

// Rates outside these bounds come from a confused server, not from a sink.
constexpr std::uint32_t kLowestRate = 1000;
constexpr std::uint32_t kHighestRate = 768000;

struct Query {
  pa_context* context = nullptr;
  pa_stream* stream = nullptr;
  pa_sample_spec sampleFormat{};
  pa_operation* operation = nullptr;
  bool finished = false;
  std::optional<platform::OutputPath> path;

  void Finish() { finished = true; }

  // Replaces the operation in flight; a failed request ends the query.
  void Follow(pa_operation* next) {
    if (operation) pa_operation_unref(operation);
    operation = next;
    if (!next) Finish();
  }
};

void OnSinkInfo(pa_context*, const pa_sink_info* info, int eol, void* userdata) {
  auto& query = *static_cast<Query*>(userdata);
  if (info) {
    const std::uint32_t rate = info->sample_spec.rate;
    if (rate >= kLowestRate && rate <= kHighestRate) {
      platform::OutputPath path;
      path.rate = rate;
      path.channels = info->sample_spec.channels;
      const char* bus = pa_proplist_gets(info->proplist, PA_PROP_DEVICE_BUS);
      path.bluetooth = bus && std::string(bus) == "bluetooth";
      // PulseAudio 15 and later name it one way, PipeWire the other.
      for (const char* key : {"bluetooth.codec", "api.bluez5.codec"}) {
        const char* codec = pa_proplist_gets(info->proplist, key);
        if (path.bluetooth && codec && *codec) {
          path.codec = codec;
          break;
        }
      }
      query.path = path;
    }
  }
  // One sink by name; the list ends with eol (negative on error).
  if (eol != 0) query.Finish();
}

void OnStreamState(pa_stream* stream, void* userdata) {
  auto& query = *static_cast<Query*>(userdata);
  switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
      // The server has placed the stream and, where it could, moved the
      // sink to the stream's rate before it said ready.
      query.Follow(pa_context_get_sink_info_by_index(
          query.context, pa_stream_get_device_index(stream), OnSinkInfo, &query));
      return;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
      query.Finish();
      return;
    default:
      return;
  }
}

void OpenStream(Query& query) {
  query.stream = pa_stream_new(query.context, "Kelvora", &query.sampleFormat, nullptr);
  if (!query.stream) {
    query.Finish();
    return;
  }
  pa_stream_set_state_callback(query.stream, OnStreamState, &query);
  // Corked, it is never asked for a sample; the default sink, as for our
  // sound.
  if (pa_stream_connect_playback(query.stream, nullptr, nullptr, PA_STREAM_START_CORKED, nullptr,
                                 nullptr) < 0) {
    query.Finish();
  }
}

void OnContextState(pa_context* context, void* userdata) {
  auto& query = *static_cast<Query*>(userdata);
  switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
      OpenStream(query);
      return;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
      query.Finish();
      return;
    default:
      return;
  }
}

}  // namespace

std::optional<platform::OutputPath> QueryStreamSink(std::chrono::milliseconds bound,
                                                    std::uint32_t streamRate, const char* server) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + bound;

  const std::unique_ptr<pa_mainloop, decltype(&pa_mainloop_free)> loop(pa_mainloop_new(),
                                                                       &pa_mainloop_free);
  if (!loop) return std::nullopt;
  Query query;
  query.sampleFormat = {PA_SAMPLE_S16LE, streamRate, 1};
  if (!pa_sample_spec_valid(&query.sampleFormat)) return std::nullopt;
  query.context = pa_context_new(pa_mainloop_get_api(loop.get()), "Kelvora");
  if (!query.context) return std::nullopt;
  pa_context_set_state_callback(query.context, OnContextState, &query);
  // Starting a server is the desktop's business; without one there is no
  // resampling to warn about.
  if (pa_context_connect(query.context, server, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    query.Finish();
  }

  // The loop is driven by hand so that a server that accepted the connection
  // and then stopped answering cannot hold the caller past the deadline.
  while (!query.finished) {
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    if (left.count() <= 0) break;
    if (pa_mainloop_prepare(loop.get(), static_cast<int>(left.count())) < 0 ||
        pa_mainloop_poll(loop.get()) < 0 || pa_mainloop_dispatch(loop.get()) < 0) {
      break;
    }
  }
  std::optional<platform::OutputPath> path = query.finished ? query.path : std::nullopt;

  if (query.operation) {
    pa_operation_cancel(query.operation);
    pa_operation_unref(query.operation);
  }
  if (query.stream) {
    pa_stream_set_state_callback(query.stream, nullptr, nullptr);
    pa_stream_disconnect(query.stream);
    pa_stream_unref(query.stream);
  }
  pa_context_set_state_callback(query.context, nullptr, nullptr);
  pa_context_disconnect(query.context);
  pa_context_unref(query.context);
  return path;
}

}  // namespace kelvora::pulse
