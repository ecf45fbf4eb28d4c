// Plays WaveImages through the Windows audio engine (WASAPI): a shared-mode
// stream on the chosen endpoint, opened for each sound, filled by polling and
// drained before Play returns. Where the engine mixes at 48000 Hz the stream
// takes its mix format and every sample is written in it exactly, so that the
// engine passes it on unchanged; at any other rate the engine converts.
#include <windows.h>
// The audio engine's interfaces.
#include <audioclient.h>
#include <mmdeviceapi.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "platform/audio/system_player.h"
#include "platform/wasapi/endpoint.h"
#include "platform/wasapi/mix_frames.h"
#include "sound/wave_buffer.h"

namespace kelvora {
namespace {

using platform::wasapi::FrameLayout;
using platform::wasapi::Released;
using platform::wasapi::SampleKind;

// The stream's buffer: long enough that a late poll never starves it.
constexpr REFERENCE_TIME kBufferDuration = 1'000'000;  // 100 ms in 100 ns units
constexpr DWORD kPollMilliseconds = 10;
// How long past the sound's own length a stream may take before it is given
// up: a device that stops taking samples must not hold the program.
constexpr auto kGrace = std::chrono::seconds(2);

struct CoTaskFormat {
  WAVEFORMATEX* p = nullptr;
  ~CoTaskFormat() { CoTaskMemFree(p); }
};

// The format the stream is opened with and how its frames are written.
struct StreamFormat {
  std::vector<std::uint8_t> bytes;  // a WAVEFORMATEX and its extension
  FrameLayout layout;
  DWORD flags = 0;
  const WAVEFORMATEX* format() const { return reinterpret_cast<const WAVEFORMATEX*>(bytes.data()); }
};

StreamFormat StreamFormatFor(const WAVEFORMATEX& mix) {
  StreamFormat stream;
  const std::optional<FrameLayout> layout = platform::wasapi::LayoutOf(mix);
  if (layout) {
    const auto* first = reinterpret_cast<const std::uint8_t*>(&mix);
    stream.bytes.assign(first, first + sizeof(WAVEFORMATEX) + mix.cbSize);
    stream.layout = *layout;
  } else {
    // A kind this player does not write: 16-bit samples, converted by the engine.
    WAVEFORMATEX pcm{};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = 2;
    pcm.wBitsPerSample = 16;
    pcm.nBlockAlign = 4;
    const auto* first = reinterpret_cast<const std::uint8_t*>(&pcm);
    stream.bytes.assign(first, first + sizeof pcm);
    stream.layout = FrameLayout{SampleKind::Int16, 2};
  }
  auto* format = reinterpret_cast<WAVEFORMATEX*>(stream.bytes.data());
  if (!layout || format->nSamplesPerSec != kSampleRate) {
    format->nSamplesPerSec = kSampleRate;
    format->nAvgBytesPerSec = kSampleRate * format->nBlockAlign;
    stream.flags = AUDCLNT_STREAMFLAGS_AUTOCONVERTPCM | AUDCLNT_STREAMFLAGS_SRC_DEFAULT_QUALITY;
  }
  return stream;
}

std::chrono::milliseconds PlayingTime(std::size_t frames) {
  return std::chrono::milliseconds(frames * 1000 / kSampleRate + 1);
}

}  // namespace

struct SystemPlayer::Device {
  Ear ear = Ear::Both;
  std::string output;
  bool outputMissing = false;
  bool missingTaken = false;

  PlayOutcome Play(std::span<const std::uint8_t> samples);
};

SystemPlayer::SystemPlayer() : m_device(std::make_unique<Device>()) {}
SystemPlayer::~SystemPlayer() = default;

// The audio engine runs as a service of the system: nothing to start.
void SystemPlayer::StartInBackground() {}

void SystemPlayer::SetEar(Ear ear) { m_device->ear = ear; }

void SystemPlayer::SetOutput(std::string deviceId) {
  m_device->output = std::move(deviceId);
  m_device->outputMissing = false;
  m_device->missingTaken = false;
}

std::optional<std::string> SystemPlayer::TakeMissingOutput() {
  if (!m_device->outputMissing || m_device->missingTaken) return std::nullopt;
  m_device->missingTaken = true;
  return m_device->output;
}

PlayOutcome SystemPlayer::Play(std::span<const std::uint8_t> image) {
  const std::span<const std::uint8_t> sound = WaveImageBytes(image);
  if (sound.size() < 44) return PlayOutcome::NotOpened;
  return m_device->Play(sound.subspan(44));
}

PlayOutcome SystemPlayer::Device::Play(std::span<const std::uint8_t> samples) {
  const platform::wasapi::ComScope com;
  if (!com.ok()) return PlayOutcome::NotOpened;
  platform::wasapi::Endpoint endpoint;
  if (!platform::wasapi::OpenEndpoint(output, endpoint)) return PlayOutcome::NotOpened;
  if (!endpoint.missing) missingTaken = false;
  outputMissing = endpoint.missing;

  Released<IAudioClient> client;
  CoTaskFormat mix;
  if (FAILED(endpoint.device.p->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                         reinterpret_cast<void**>(&client.p))) ||
      FAILED(client.p->GetMixFormat(&mix.p)) || mix.p == nullptr) {
    return PlayOutcome::NotOpened;
  }
  const StreamFormat stream = StreamFormatFor(*mix.p);
  Released<IAudioRenderClient> render;
  UINT32 bufferFrames = 0;
  REFERENCE_TIME latency = 0;
  if (FAILED(client.p->Initialize(AUDCLNT_SHAREMODE_SHARED, stream.flags, kBufferDuration, 0,
                                  stream.format(), nullptr)) ||
      FAILED(client.p->GetBufferSize(&bufferFrames)) || bufferFrames == 0 ||
      FAILED(client.p->GetService(__uuidof(IAudioRenderClient),
                                  reinterpret_cast<void**>(&render.p)))) {
    return PlayOutcome::NotOpened;
  }
  client.p->GetStreamLatency(&latency);

  // The engine takes samples from the buffer ahead of the device: with a
  // buffer and the engine's latency of silence after the sound, every sample
  // of the sound has reached the device once the buffer has run empty.
  const std::size_t soundFrames = samples.size() / 2;
  const std::size_t silenceFrames =
      bufferFrames + static_cast<std::size_t>(latency * kSampleRate / 10'000'000);
  const std::size_t totalFrames = soundFrames + silenceFrames;
  const std::size_t frameBytes = platform::wasapi::BytesPerFrame(stream.layout);
  const auto deadline = std::chrono::steady_clock::now() + PlayingTime(totalFrames) + kGrace;

  // Fills what the buffer has room for; false when the device is gone or
  // refuses the samples.
  std::size_t written = 0;
  const auto fill = [&]() -> bool {
    UINT32 padding = 0;
    if (FAILED(client.p->GetCurrentPadding(&padding))) return false;
    const std::size_t room = bufferFrames - std::min(padding, bufferFrames);
    const std::size_t frames = std::min(room, totalFrames - written);
    if (frames == 0) return true;
    BYTE* data = nullptr;
    if (FAILED(render.p->GetBuffer(static_cast<UINT32>(frames), &data))) return false;
    const std::size_t sound = written < soundFrames ? std::min(frames, soundFrames - written) : 0;
    platform::wasapi::WriteFrames(samples.subspan(2 * written, 2 * sound), ear, stream.layout,
                                  {data, sound * frameBytes});
    std::memset(data + sound * frameBytes, 0, (frames - sound) * frameBytes);
    if (FAILED(render.p->ReleaseBuffer(static_cast<UINT32>(frames), 0))) return false;
    written += frames;
    return true;
  };

  if (!fill()) return PlayOutcome::NotOpened;
  if (FAILED(client.p->Start())) return PlayOutcome::NotOpened;
  bool whole = true;
  while (whole && written < totalFrames) {
    Sleep(kPollMilliseconds);
    whole = fill() && std::chrono::steady_clock::now() < deadline;
  }
  // Drained: the last of the silence has been taken by the engine.
  for (UINT32 padding = 1; whole && padding > 0;) {
    whole = SUCCEEDED(client.p->GetCurrentPadding(&padding)) &&
            std::chrono::steady_clock::now() < deadline;
    if (whole && padding > 0) Sleep(kPollMilliseconds);
  }
  client.p->Stop();
  return whole ? PlayOutcome::Played : PlayOutcome::GivenUp;
}

}  // namespace kelvora
