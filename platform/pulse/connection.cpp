#include "platform/pulse/connection.h"

#include <pulse/proplist.h>

#include "platform/pulse/our_names.h"

namespace kelvora::pulse {

Connection::Connection(std::string server) : m_server(std::move(server)) {}

Connection::~Connection() { Close(); }

bool Connection::Ready() const {
  return m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY;
}

void Connection::Close() {
  if (m_context) {
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
  }
  if (m_loop) {
    pa_mainloop_free(m_loop);
    m_loop = nullptr;
  }
}

bool Connection::Connect(Clock::time_point deadline) {
  if (Ready()) return true;
  Close();
  m_loop = pa_mainloop_new();
  if (!m_loop) return false;
  pa_proplist* properties = OurProperties();
  m_context = pa_context_new_with_proplist(pa_mainloop_get_api(m_loop), kOurName, properties);
  pa_proplist_free(properties);
  if (!m_context) return false;
  // Starting a server is the desktop's business, never ours.
  if (pa_context_connect(m_context, m_server.empty() ? nullptr : m_server.c_str(),
                         PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    Close();
    return false;
  }
  const bool settled = RunUntil(deadline, [this] {
    const pa_context_state_t state = pa_context_get_state(m_context);
    return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
  });
  if (!settled || !Ready()) {
    Close();
    return false;
  }
  return true;
}

bool Connection::RunUntil(Clock::time_point deadline, const std::function<bool()>& done) {
  if (!m_loop) return false;
  while (!done()) {
    if (m_context && !PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context))) return false;
    const auto left =
        std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    if (pa_mainloop_prepare(m_loop, static_cast<int>(left.count())) < 0 ||
        pa_mainloop_poll(m_loop) < 0 || pa_mainloop_dispatch(m_loop) < 0) {
      return false;
    }
  }
  return true;
}

bool Connection::Await(pa_operation* operation, Clock::time_point deadline) {
  if (!operation) return false;
  const bool done = RunUntil(
      deadline, [operation] { return pa_operation_get_state(operation) != PA_OPERATION_RUNNING; });
  if (!done) pa_operation_cancel(operation);
  pa_operation_unref(operation);
  return done;
}

}  // namespace kelvora::pulse
