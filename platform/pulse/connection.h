#pragma once

#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/operation.h>

#include <chrono>
#include <functional>
#include <string>

namespace kelvora::pulse {

using Clock = std::chrono::steady_clock;

// A connection to the sound server (PulseAudio, or PipeWire's PulseAudio
// service) whose main loop runs only while the caller waits for something,
// and never past the caller's deadline: a server that accepted us and then
// stopped answering holds nobody longer than that. The client carries the
// program's name, icon and role. Never starts a server (no autospawn).
// Not thread-safe: one thread at a time.
class Connection {
 public:
  // `server` as PULSE_SERVER takes it; empty for the usual one.
  explicit Connection(std::string server = {});
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // True once the server has taken us, connecting first where needed.
  bool Connect(Clock::time_point deadline);
  bool Ready() const;
  // Drops the connection (and everything on it); the next Connect starts anew.
  void Close();

  // Runs the loop until `done` says so; false when the deadline came first
  // or the connection broke.
  bool RunUntil(Clock::time_point deadline, const std::function<bool()>& done);
  // Waits for an operation and lets it go; false when it did not end in time
  // (it is cancelled then) or could not be asked at all (null).
  bool Await(pa_operation* operation, Clock::time_point deadline);

  pa_context* context() const { return m_context; }

 private:
  std::string m_server;
  pa_mainloop* m_loop = nullptr;
  pa_context* m_context = nullptr;
};

}  // namespace kelvora::pulse
