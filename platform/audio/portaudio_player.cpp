#include "platform/audio/portaudio_player.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <portaudio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/stream_name.h"
#include "sound/wave_buffer.h"

namespace kelvora {
namespace {

// The image's samples go to the device exactly as they lie in the buffer.
static_assert(std::endian::native == std::endian::little,
              "WaveImage samples are little-endian and are handed to the device unchanged");

// Zeros written after every sound (see Play); static, so that no sound
// allocates.
constexpr std::array<std::int16_t, 4800> kSilence{};

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
void IgnoreJackMessage(const char*) {}

// The program reports nothing about sound, but the libraries print to stderr
// while they probe devices that are absent (ALSA card aliases, a JACK server
// that is not running).
void QuietLibraryMessages() {
  snd_lib_error_set_handler(IgnoreAlsaMessage);
  // Some PortAudio builds bring JACK along; it can only be reached by name.
  using SetMessageFunction = void (*)(void (*)(const char*));
  for (const char* name : {"jack_set_error_function", "jack_set_info_function"}) {
    if (void* symbol = dlsym(RTLD_DEFAULT, name)) {
      reinterpret_cast<SetMessageFunction>(symbol)(IgnoreJackMessage);
    }
  }
}

// PortAudio prints the ALSA calls that fail (a server that died, a broken
// ~/.asoundrc) straight to stderr, with no way to hand it a printer of our
// own. The program reports nothing about sound, so stderr points at
// /dev/null while a PortAudio call runs. Only the sound thread makes such
// calls, and the window's thread waits for it meanwhile.
class QuietStderr {
 public:
  QuietStderr() : m_saved(::dup(STDERR_FILENO)) {
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (m_saved >= 0 && null >= 0) ::dup2(null, STDERR_FILENO);
    if (null >= 0) ::close(null);
  }
  ~QuietStderr() {
    if (m_saved < 0) return;
    ::dup2(m_saved, STDERR_FILENO);
    ::close(m_saved);
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int m_saved;
};

// An underflow is reported after the samples were written anyway.
bool Written(PaError result) { return result == paNoError || result == paOutputUnderflowed; }

// How far behind the writing the device may be playing.
unsigned long DelayFrames(PaStream* stream) {
  const PaStreamInfo* info = Pa_GetStreamInfo(stream);
  return info == nullptr ? 0
                         : static_cast<unsigned long>(std::ceil(info->outputLatency * kSampleRate));
}

std::chrono::steady_clock::duration PlayingTime(unsigned long frames) {
  return std::chrono::ceil<std::chrono::steady_clock::duration>(
      std::chrono::duration<double>(static_cast<double>(frames) / kSampleRate));
}

bool WriteSilence(PaStream* stream, unsigned long frames, int channels) {
  while (frames > 0) {
    const unsigned long chunk = std::min<unsigned long>(frames, kSilence.size() / channels);
    if (!Written(Pa_WriteStream(stream, kSilence.data(), chunk))) {
      return false;
    }
    frames -= chunk;
  }
  return true;
}

// How long the first sound waits for the service to start: the device scan
// takes a tenth of a second or so; a server that hangs must not hold a
// window for longer than this.
constexpr auto kStartWait = std::chrono::seconds(2);
// How long past a sound's own length (and the device's latency) Play waits
// for it before giving it up.
constexpr auto kStallBound = std::chrono::seconds(1);
// A sound goes to the device in pieces this long, so that a sound given up
// stops within one piece once the server answers again.
constexpr unsigned long kPieceFrames = kSampleRate / 20;

// The one thread that talks to PortAudio, with the default output device as
// found at start-up. It is never destroyed: a thread held up by a stalled
// server may still be inside PortAudio when the process ends.
class SoundThread {
 public:
  static SoundThread& Get() {
    static SoundThread* const thread = new SoundThread;
    return *thread;
  }

  void RequestStart() {
    std::lock_guard lock(m_mutex);
    RequestStartLocked();
  }

  void WaitUntilStarted() {
    std::unique_lock lock(m_mutex);
    RequestStartLocked();
    m_changed.wait(lock, [this] { return m_started; });
  }

  PlayOutcome Play(std::span<const std::uint8_t> image, Ear ear) {
    const std::span<const std::uint8_t> sound = WaveImageBytes(image);
    if (sound.size() < kWaveHeaderSize + 2) return PlayOutcome::NotOpened;
    const unsigned long frames = (sound.size() - kWaveHeaderSize) / 2;

    std::unique_lock lock(m_mutex);
    RequestStartLocked();
    if (!m_changed.wait_for(lock, kStartWait, [this] { return m_started; })) {
      return PlayOutcome::NotOpened;
    }
    // No device; or a sound given up earlier is still held by the server.
    if (!m_hasDevice || m_busy) return PlayOutcome::NotOpened;

    // The thread plays its own copy: a sound given up may be read after Play
    // has returned and its buffer has been rendered anew.
    CopySound(sound.subspan(kWaveHeaderSize, 2 * frames), ear);
    m_frames = frames;
    m_busy = true;
    m_abandoned = false;
    m_outcome = PlayOutcome::NotOpened;
    m_changed.notify_all();
    const auto deadline = std::chrono::steady_clock::now() + PlayingTime(frames) +
                          std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(m_output.suggestedLatency)) +
                          kStallBound;
    if (!m_changed.wait_until(lock, deadline, [this] { return !m_busy; })) {
      m_abandoned = true;
      return PlayOutcome::GivenUp;
    }
    return m_outcome;
  }

 private:
  SoundThread() {
    // Sized for the longest sound on two channels once, so that no sound
    // allocates.
    m_sound.reserve(std::size_t{2} * kTwoSecondDataSize);
    NameOurSoundStream();
    std::thread([this] { Run(); }).detach();
    std::atexit([] { Get().Stop(); });
  }

  // Both ears get the mono samples as they are; one ear gets them on its
  // channel of a two-channel frame (left first), the other ear zeros.
  void CopySound(std::span<const std::uint8_t> samples, Ear ear) {
    if (ear == Ear::Both) {
      m_channels = 1;
      m_sound.assign(samples.begin(), samples.end());
      return;
    }
    m_channels = 2;
    m_sound.assign(2 * samples.size(), 0);
    const std::size_t at = ear == Ear::Left ? 0 : 2;
    for (std::size_t i = 0; i < samples.size(); i += 2) {
      m_sound[2 * i + at] = samples[i];
      m_sound[2 * i + at + 1] = samples[i + 1];
    }
  }

  void RequestStartLocked() {
    if (m_startRequested) return;
    m_startRequested = true;
    m_changed.notify_all();
  }

  // At exit: closes the service unless the thread is held up inside it.
  void Stop() {
    std::unique_lock lock(m_mutex);
    if (m_busy || (m_startRequested && !m_started)) return;
    m_quit = true;
    m_changed.notify_all();
    m_changed.wait_for(lock, std::chrono::seconds(1), [this] { return m_stopped; });
  }

  void Run() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_startRequested || m_quit; });
    if (!m_quit) {
      lock.unlock();
      Start();
      lock.lock();
      m_started = true;
      m_changed.notify_all();
    }
    for (;;) {
      m_changed.wait(lock, [this] { return m_busy || m_quit; });
      if (m_quit) break;
      lock.unlock();
      PlayOne();
      lock.lock();
      m_busy = false;
      m_changed.notify_all();
    }
    if (m_serviceUp) {
      QuietStderr quiet;
      Pa_Terminate();
    }
    m_stopped = true;
    m_changed.notify_all();
  }

  void Start() {
    QuietStderr quiet;
    QuietLibraryMessages();
    m_serviceUp = Pa_Initialize() == paNoError;
    if (!m_serviceUp) return;
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (info == nullptr) return;
    m_output.device = device;
    m_output.channelCount = 1;
    m_output.sampleFormat = paInt16;
    // Each sound is written in one go, so a large buffer delays no onset and
    // rides out a busy machine.
    m_output.suggestedLatency = info->defaultHighOutputLatency;
    m_output.hostApiSpecificStreamInfo = nullptr;
    std::lock_guard lock(m_mutex);
    m_hasDevice = true;
  }

  // Runs on the sound thread with the mutex released; m_sound, m_frames and
  // m_channels stay as they are until m_busy is cleared.
  void PlayOne() {
    QuietStderr quiet;
    PaStream* stream = nullptr;
    PaStreamParameters output = m_output;
    output.channelCount = m_channels;
    if (Pa_OpenStream(&stream, nullptr, &output, kSampleRate, paFramesPerBufferUnspecified,
                      paClipOff | paDitherOff, nullptr, nullptr) != paNoError) {
      return;
    }
    if (Pa_StartStream(stream) == paNoError) {
      // Started: from here on a sound not written whole was given up.
      m_outcome = PlayOutcome::GivenUp;
      // Some drivers (PulseAudio's ALSA plugin, for one) end a drain while
      // their buffer still holds samples, and drop them. With a whole buffer
      // of silence after the sound, every sample of the sound has left that
      // buffer once the last write returns, and only silence can be lost.
      const long buffer = Pa_GetStreamWriteAvailable(stream);
      const unsigned long silence =
          buffer > 0 ? static_cast<unsigned long>(buffer) : DelayFrames(stream);
      // Nothing can be played before it is written.
      const auto soundEnd = std::chrono::steady_clock::now() + PlayingTime(m_frames);
      if (WriteSound(stream) && !m_abandoned && WriteSilence(stream, silence, m_channels) &&
          !m_abandoned) {
        // Stopping drains the stream; aborting would discard what is queued.
        if (Pa_StopStream(stream) == paNoError) m_outcome = PlayOutcome::Played;
        // Where a drain returns early, the sound may still be playing.
        std::this_thread::sleep_until(soundEnd + PlayingTime(DelayFrames(stream)));
      } else if (m_abandoned) {
        // Whatever the server still holds of a sound given up must not
        // play into the next one.
        Pa_AbortStream(stream);
      }
    }
    // After a failure, closing abandons whatever is queued without waiting.
    Pa_CloseStream(stream);
  }

  bool WriteSound(PaStream* stream) {
    const std::uint8_t* samples = m_sound.data();
    for (unsigned long done = 0; done < m_frames;) {
      if (m_abandoned) return false;
      const unsigned long piece = std::min(kPieceFrames, m_frames - done);
      if (!Written(Pa_WriteStream(stream, samples + std::size_t{2} * m_channels * done, piece)))
        return false;
      done += piece;
    }
    return true;
  }

  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_startRequested = false;
  bool m_started = false;
  bool m_hasDevice = false;
  bool m_busy = false;
  bool m_quit = false;
  bool m_stopped = false;
  std::atomic<bool> m_abandoned = false;
  // What PlayOne made of the sound; read once m_busy is cleared.
  PlayOutcome m_outcome = PlayOutcome::NotOpened;
  // Written by the sound thread before m_started is set; read-only after.
  bool m_serviceUp = false;
  PaStreamParameters m_output{};
  std::vector<std::uint8_t> m_sound;
  unsigned long m_frames = 0;
  int m_channels = 1;
};

}  // namespace

void PortAudioPlayer::StartInBackground() { SoundThread::Get().RequestStart(); }

void PortAudioPlayer::Initialize() { SoundThread::Get().WaitUntilStarted(); }

PlayOutcome PortAudioPlayer::Play(std::span<const std::uint8_t> image) {
  return SoundThread::Get().Play(image, m_ear);
}

}  // namespace kelvora
