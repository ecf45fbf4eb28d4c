#include "platform/pulse/pulse_player.h"

#include <pulse/channelmap.h>
#include <pulse/stream.h>

#include <algorithm>
#include <array>
#include <bit>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/pulse/connection.h"
#include "platform/pulse/our_names.h"
#include "platform/pulse/sinks.h"
#include "sound/wave_buffer.h"

namespace kelvora::pulse {
namespace {

// The image's samples go to the server exactly as they lie in the buffer.
static_assert(std::endian::native == std::endian::little,
              "WaveImage samples are little-endian and are handed to the server unchanged");

// Connecting, finding the sink and placing the stream: a server on the same
// machine takes milliseconds.
constexpr auto kSetupBound = std::chrono::seconds(1);
// How long past a sound's own length (and the buffer's) Play waits for it
// before giving it up.
constexpr auto kStallBound = std::chrono::seconds(1);
// The stream's buffer, asked for as the latency, so the sink holds no more
// than this behind what it has played; the silence after each sound is as
// long. Each sound is handed to the server whole, so it delays no onset.
constexpr pa_usec_t kBufferUsec = 200000;

// Zeros for the silence after every sound; static, so no sound allocates.
constexpr std::array<std::uint8_t, 19200> kSilence{};

// Lets an operation run on without waiting for it; a request that could not
// be made (null) is no operation.
void Forget(pa_operation* operation) {
  if (operation) pa_operation_unref(operation);
}

std::chrono::steady_clock::duration PlayingTime(std::size_t frames) {
  return std::chrono::ceil<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(static_cast<double>(frames) / kSampleRate));
}

}  // namespace

struct PulsePlayer::State {
  explicit State(std::string server) : connection(std::move(server)) {
    // The longest sound on two channels, once, so that no sound allocates.
    sound.reserve(std::size_t{2} * kTwoSecondDataSize);
  }

  // Held by whoever runs the connection's loop; guards it and the stream.
  std::timed_mutex busy;
  Connection connection;
  pa_stream* stream = nullptr;
  std::uint8_t streamChannels = 0;
  std::string streamSink;
  std::vector<std::uint8_t> sound;

  // The listener's choices and what became of them; never held while the
  // loop runs.
  std::mutex settings;
  std::string chosen;
  Ear ear = Ear::Both;
  std::optional<std::string> missing;
  bool missingSaid = false;
  // What the stream's sink was like when the stream was last placed or
  // asked, and for which output: the answer while a sound plays.
  std::optional<platform::OutputPath> lastPath;
  std::string lastPathOutput;

  void DropStream() {
    if (!stream) return;
    pa_stream_set_state_callback(stream, nullptr, nullptr);
    pa_stream_disconnect(stream);
    pa_stream_unref(stream);
    stream = nullptr;
    streamSink.clear();
  }

  bool StreamReady() const { return stream && pa_stream_get_state(stream) == PA_STREAM_READY; }

  // Connected, with nothing left over from a connection that broke.
  bool Connect(Clock::time_point deadline) {
    if (!connection.Ready()) DropStream();
    return connection.Connect(deadline);
  }

  // Where a sound for `output` goes now: the sink of that name while it is
  // there, else the default sink. Empty when the server did not say.
  std::string SinkFor(const std::string& output, Clock::time_point deadline, bool* absent) {
    *absent = false;
    if (!output.empty()) {
      if (SinkNamed(connection, output, deadline)) return output;
      if (!connection.Ready()) return {};
      *absent = true;
    }
    return DefaultSinkName(connection, deadline).value_or(std::string());
  }

  // Our stream on `sink` with `channels`, kept from before where it is
  // still there; corked.
  bool StreamOn(const std::string& sink, std::uint8_t channels, Clock::time_point deadline) {
    if (StreamReady() && streamSink == sink && streamChannels == channels) return true;
    DropStream();
    const pa_sample_spec format = {PA_SAMPLE_S16LE, kSampleRate, channels};
    pa_channel_map map;
    if (channels == 1) {
      pa_channel_map_init_mono(&map);
    } else {
      pa_channel_map_init_stereo(&map);  // left first
    }
    pa_proplist* properties = OurProperties();
    pa_proplist_sets(properties, PA_PROP_MEDIA_NAME, kOurName);
    stream = pa_stream_new_with_proplist(connection.context(), kOurName, &format, &map, properties);
    pa_proplist_free(properties);
    if (!stream) return false;
    pa_buffer_attr buffer;
    buffer.maxlength = static_cast<std::uint32_t>(-1);
    buffer.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(kBufferUsec, &format));
    buffer.prebuf = static_cast<std::uint32_t>(-1);
    buffer.minreq = static_cast<std::uint32_t>(-1);
    buffer.fragsize = static_cast<std::uint32_t>(-1);
    // Not moved: a sound that plays whole plays on the sink it started on,
    // and a sink that goes away takes the sound with it (given up) instead
    // of finishing it elsewhere.
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_START_CORKED | PA_STREAM_DONT_MOVE |
                                                      PA_STREAM_ADJUST_LATENCY);
    if (pa_stream_connect_playback(stream, sink.c_str(), &buffer, flags, nullptr, nullptr) < 0 ||
        !connection.RunUntil(
            deadline, [this] { return pa_stream_get_state(stream) != PA_STREAM_CREATING; }) ||
        !StreamReady()) {
      DropStream();
      return false;
    }
    streamSink = sink;
    streamChannels = channels;
    return true;
  }

  // The sink our stream is on, as it is now (the server has had its chance
  // to move it to our rate by the time the stream was ready).
  std::optional<platform::OutputPath> StreamSinkPath(Clock::time_point deadline) {
    if (!StreamReady()) return std::nullopt;
    const std::optional<Sink> sink =
        SinkAt(connection, pa_stream_get_device_index(stream), deadline);
    return sink ? sink->path : std::nullopt;
  }

  void Remember(const std::string& output, std::optional<platform::OutputPath> path) {
    std::lock_guard lock(settings);
    lastPath = std::move(path);
    lastPathOutput = output;
  }

  // Both ears get the mono samples as they are; one ear gets them on its
  // channel of a two-channel frame (left first), the other ear zeros.
  void CopySound(std::span<const std::uint8_t> samples, Ear ear) {
    if (ear == Ear::Both) {
      sound.assign(samples.begin(), samples.end());
      return;
    }
    sound.assign(2 * samples.size(), 0);
    const std::size_t at = ear == Ear::Left ? 0 : 2;
    for (std::size_t i = 0; i < samples.size(); i += 2) {
      sound[2 * i + at] = samples[i];
      sound[2 * i + at + 1] = samples[i + 1];
    }
  }

  // Writes the sound and then one whole buffer of silence, drains the
  // stream and corks it again.
  PlayOutcome PlayOut(std::size_t frames) {
    const pa_buffer_attr* buffer = pa_stream_get_buffer_attr(stream);
    // Some sinks end a stream with their own buffer still holding what it
    // rendered last, and drop it; with a whole buffer of silence after the
    // sound, only silence can be lost.
    const std::size_t silence =
        buffer ? buffer->tlength : pa_usec_to_bytes(kBufferUsec, pa_stream_get_sample_spec(stream));
    const std::size_t total = sound.size() + silence;
    std::size_t written = 0;
    bool uncorked = false;
    int drained = 0;  // 1 drained, -1 failed
    Clock::time_point started = Clock::now();
    // A stream reused from an earlier sound starts from an empty buffer.
    Forget(pa_stream_flush(stream, nullptr, nullptr));
    const auto deadline =
        Clock::now() + PlayingTime(frames) + std::chrono::microseconds(kBufferUsec) + kStallBound;
    const auto pump = [&]() -> bool {
      if (!StreamReady()) return true;
      // Everything at once: the server holds it all (far less than its
      // largest buffer), so a busy machine that keeps us from running for a
      // while cannot starve the sound in the middle.
      while (written < total) {
        const std::uint8_t* data;
        std::size_t piece;
        if (written < sound.size()) {
          data = sound.data() + written;
          piece = sound.size() - written;
        } else {
          data = kSilence.data();
          piece = std::min(total - written, kSilence.size());
        }
        if (pa_stream_write(stream, data, piece, nullptr, 0, PA_SEEK_RELATIVE) < 0) return true;
        written += piece;
      }
      if (!uncorked && written > 0) {
        Forget(pa_stream_cork(stream, 0, nullptr, nullptr));
        started = Clock::now();
        uncorked = true;
      }
      if (written == total && drained == 0) {
        drained = 2;  // asked
        pa_operation* drain = pa_stream_drain(
            stream,
            [](pa_stream*, int success, void* userdata) {
              *static_cast<int*>(userdata) = success ? 1 : -1;
            },
            &drained);
        if (!drain) drained = -1;
        Forget(drain);
      }
      return drained == 1 || drained == -1;
    };
    const bool ended = connection.RunUntil(deadline, pump);
    if (!ended || !StreamReady()) {
      // A server that stopped answering keeps nothing of ours for the next
      // sound: the connection goes with the stream.
      DropStream();
      if (!ended) connection.Close();
      return PlayOutcome::GivenUp;
    }
    if (drained != 1) {
      DropStream();
      return PlayOutcome::GivenUp;
    }
    // Nothing can be played faster than its length.
    std::this_thread::sleep_until(started + PlayingTime(frames));
    if (!connection.Await(pa_stream_cork(stream, 1, nullptr, nullptr),
                          Clock::now() + std::chrono::milliseconds(200))) {
      DropStream();
    }
    return PlayOutcome::Played;
  }
};

PulsePlayer::PulsePlayer(std::string server)
    : m_state(std::make_unique<State>(std::move(server))) {}

PulsePlayer::~PulsePlayer() {
  std::lock_guard lock(m_state->busy);
  m_state->DropStream();
}

bool PulsePlayer::Connect(std::chrono::milliseconds bound) {
  const auto deadline = Clock::now() + bound;
  std::unique_lock lock(m_state->busy, std::defer_lock);
  return lock.try_lock_until(deadline) && m_state->Connect(deadline);
}

void PulsePlayer::SetEar(Ear ear) {
  std::lock_guard lock(m_state->settings);
  m_state->ear = ear;
}

void PulsePlayer::SetOutput(std::string sinkName) {
  std::lock_guard lock(m_state->settings);
  if (sinkName == m_state->chosen) return;
  m_state->chosen = std::move(sinkName);
  m_state->missing.reset();
  m_state->missingSaid = false;
}

std::optional<std::string> PulsePlayer::TakeMissingOutput() {
  std::lock_guard lock(m_state->settings);
  return std::exchange(m_state->missing, std::nullopt);
}

PlayOutcome PulsePlayer::Play(std::span<const std::uint8_t> image) {
  const std::span<const std::uint8_t> sound = WaveImageBytes(image);
  if (sound.size() < kWaveHeaderSize + 2) return PlayOutcome::NotOpened;
  const std::size_t frames = (sound.size() - kWaveHeaderSize) / 2;
  std::string chosen;
  Ear ear;
  {
    std::lock_guard lock(m_state->settings);
    chosen = m_state->chosen;
    ear = m_state->ear;
  }
  const auto deadline = Clock::now() + kSetupBound;
  std::unique_lock lock(m_state->busy, std::defer_lock);
  if (!lock.try_lock_until(deadline) || !m_state->Connect(deadline)) return PlayOutcome::NotOpened;
  bool absent = false;
  const std::string sink = m_state->SinkFor(chosen, deadline, &absent);
  {
    std::lock_guard settings(m_state->settings);
    if (absent && !m_state->missingSaid && chosen == m_state->chosen) {
      m_state->missing = chosen;
      m_state->missingSaid = true;
    } else if (!absent && !sink.empty()) {
      m_state->missingSaid = false;
    }
  }
  const std::uint8_t channels = ear == Ear::Both ? 1 : 2;
  const bool placed =
      m_state->StreamReady() && m_state->streamSink == sink && m_state->streamChannels == channels;
  if (sink.empty() || !m_state->StreamOn(sink, channels, deadline)) return PlayOutcome::NotOpened;
  // A question asked while the sound plays gets the sink it plays into.
  if (!placed) m_state->Remember(chosen, m_state->StreamSinkPath(deadline));
  m_state->CopySound(sound.subspan(kWaveHeaderSize, 2 * frames), ear);
  return m_state->PlayOut(frames);
}

std::optional<platform::OutputPath> PulsePlayer::QueryPath(std::chrono::milliseconds bound,
                                                           const std::string& sinkName) {
  const auto deadline = Clock::now() + bound;
  std::unique_lock lock(m_state->busy, std::defer_lock);
  if (!lock.try_lock_until(deadline)) {
    // A sound plays: its stream was placed on the sink it plays into.
    std::lock_guard settings(m_state->settings);
    return m_state->lastPathOutput == sinkName ? m_state->lastPath : std::nullopt;
  }
  Ear ear;
  {
    std::lock_guard settings(m_state->settings);
    ear = m_state->ear;
  }
  if (!m_state->Connect(deadline)) return std::nullopt;
  bool absent = false;
  const std::string sink = m_state->SinkFor(sinkName, deadline, &absent);
  if (sink.empty() || !m_state->StreamOn(sink, ear == Ear::Both ? 1 : 2, deadline))
    return std::nullopt;
  std::optional<platform::OutputPath> path = m_state->StreamSinkPath(deadline);
  m_state->Remember(sinkName, path);
  return path;
}

namespace {

struct ProgramPlayer {
  std::mutex mutex;
  std::condition_variable changed;
  bool pending = false;
  PulsePlayer* player = nullptr;
  int asking = 0;
};

ProgramPlayer& Program() {
  static ProgramPlayer program;
  return program;
}

}  // namespace

void ExpectProgramPlayer() {
  std::lock_guard lock(Program().mutex);
  Program().pending = true;
}

void SetProgramPlayer(PulsePlayer* player) {
  ProgramPlayer& program = Program();
  std::unique_lock lock(program.mutex);
  if (!player) program.changed.wait(lock, [&] { return program.asking == 0; });
  program.player = player;
  program.pending = false;
  program.changed.notify_all();
}

std::optional<platform::OutputPath> QueryProgramPath(std::chrono::milliseconds bound,
                                                     const std::string& sinkName) {
  const auto deadline = Clock::now() + bound;
  ProgramPlayer& program = Program();
  std::unique_lock lock(program.mutex);
  if (!program.changed.wait_until(lock, deadline, [&] { return !program.pending; })) {
    return std::nullopt;
  }
  if (PulsePlayer* player = program.player) {
    ++program.asking;
    lock.unlock();
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    std::optional<platform::OutputPath> path = player->QueryPath(left, sinkName);
    lock.lock();
    --program.asking;
    program.changed.notify_all();
    return path;
  }
  lock.unlock();
  // The program plays otherwise (or is a test): a player of the moment finds
  // the sink as the program's would.
  PulsePlayer once;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return once.QueryPath(left, sinkName);
}

}  // namespace kelvora::pulse
