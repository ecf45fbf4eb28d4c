#include "platform/audio/portaudio_player.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <portaudio.h>

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cmath>
#include <thread>

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

// PortAudio for the whole process, with the default output device as found
// at start-up. Starting enumerates every device, so it happens once per run.
class SoundService {
 public:
  static SoundService& Get() {
    static SoundService service;
    return service;
  }

  SoundService(const SoundService&) = delete;
  SoundService& operator=(const SoundService&) = delete;
  ~SoundService() {
    if (m_started) {
      Pa_Terminate();
    }
  }

  // Null when there is nothing to play on.
  const PaStreamParameters* output() const { return m_hasDevice ? &m_output : nullptr; }

 private:
  SoundService() {
    QuietLibraryMessages();
    m_started = Pa_Initialize() == paNoError;
    if (!m_started) {
      return;
    }
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    const PaDeviceInfo* info = device == paNoDevice ? nullptr : Pa_GetDeviceInfo(device);
    if (info == nullptr) {
      return;
    }
    m_output.device = device;
    m_output.channelCount = 1;
    m_output.sampleFormat = paInt16;
    // Each sound is written in one go, so a large buffer delays no onset and
    // rides out a busy machine.
    m_output.suggestedLatency = info->defaultHighOutputLatency;
    m_output.hostApiSpecificStreamInfo = nullptr;
    m_hasDevice = true;
  }

  bool m_started = false;
  bool m_hasDevice = false;
  PaStreamParameters m_output{};
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

bool WriteSilence(PaStream* stream, unsigned long frames) {
  while (frames > 0) {
    const unsigned long chunk = std::min<unsigned long>(frames, kSilence.size());
    if (!Written(Pa_WriteStream(stream, kSilence.data(), chunk))) {
      return false;
    }
    frames -= chunk;
  }
  return true;
}

}  // namespace

void PortAudioPlayer::Initialize() { SoundService::Get(); }

void PortAudioPlayer::Play(std::span<const std::uint8_t> image) {
  const PaStreamParameters* output = SoundService::Get().output();
  const std::span<const std::uint8_t> sound = WaveImageBytes(image);
  const unsigned long frames =
      sound.size() < kWaveHeaderSize ? 0 : (sound.size() - kWaveHeaderSize) / 2;
  if (output == nullptr || frames == 0) {
    return;
  }
  PaStream* stream = nullptr;
  if (Pa_OpenStream(&stream, nullptr, output, kSampleRate, paFramesPerBufferUnspecified,
                    paClipOff | paDitherOff, nullptr, nullptr) != paNoError) {
    return;
  }
  if (Pa_StartStream(stream) == paNoError) {
    // Some drivers (PulseAudio's ALSA plugin, for one) end a drain while
    // their buffer still holds samples, and drop them. With a whole buffer
    // of silence after the sound, every sample of the sound has left that
    // buffer once the last write returns, and only silence can be lost.
    const long buffer = Pa_GetStreamWriteAvailable(stream);
    const unsigned long silence =
        buffer > 0 ? static_cast<unsigned long>(buffer) : DelayFrames(stream);
    // Nothing can be played before it is written.
    const auto soundEnd = std::chrono::steady_clock::now() + PlayingTime(frames);
    if (Written(Pa_WriteStream(stream, sound.data() + kWaveHeaderSize, frames)) &&
        WriteSilence(stream, silence)) {
      // Stopping drains the stream; aborting would discard what is queued.
      Pa_StopStream(stream);
      // Where a drain returns early, the sound may still be playing.
      std::this_thread::sleep_until(soundEnd + PlayingTime(DelayFrames(stream)));
    }
  }
  // After a failure, closing abandons whatever is queued without waiting.
  Pa_CloseStream(stream);
}

}  // namespace kelvora
