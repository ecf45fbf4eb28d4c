#include "platform/pulse/sink_rate.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>

#include <memory>
#include <string>

namespace kelvora::pulse {
namespace {

// Rates outside these bounds come from a confused server, not from a sink.
constexpr std::uint32_t kLowestRate = 1000;
constexpr std::uint32_t kHighestRate = 768000;

struct Query {
  pa_context* context = nullptr;
  pa_operation* operation = nullptr;
  bool finished = false;
  std::optional<std::uint32_t> rate;

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
    if (rate >= kLowestRate && rate <= kHighestRate) query.rate = rate;
  }
  // One sink by name; the list ends with eol (negative on error).
  if (eol != 0) query.Finish();
}

void OnServerInfo(pa_context* context, const pa_server_info* info, void* userdata) {
  auto& query = *static_cast<Query*>(userdata);
  if (!info || !info->default_sink_name || !*info->default_sink_name) {
    query.Finish();
    return;
  }
  // The name is copied by the request; `info` dies when this returns.
  query.Follow(
      pa_context_get_sink_info_by_name(context, info->default_sink_name, OnSinkInfo, &query));
}

void OnContextState(pa_context* context, void* userdata) {
  auto& query = *static_cast<Query*>(userdata);
  switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
      query.Follow(pa_context_get_server_info(context, OnServerInfo, &query));
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

std::optional<std::uint32_t> QueryDefaultSinkRate(std::chrono::milliseconds bound,
                                                  const char* server) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + bound;

  const std::unique_ptr<pa_mainloop, decltype(&pa_mainloop_free)> loop(pa_mainloop_new(),
                                                                       &pa_mainloop_free);
  if (!loop) return std::nullopt;
  Query query;
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
  const std::optional<std::uint32_t> rate = query.finished ? query.rate : std::nullopt;

  if (query.operation) {
    pa_operation_cancel(query.operation);
    pa_operation_unref(query.operation);
  }
  pa_context_set_state_callback(query.context, nullptr, nullptr);
  pa_context_disconnect(query.context);
  pa_context_unref(query.context);
  return rate;
}

}  // namespace kelvora::pulse
