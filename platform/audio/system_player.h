#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "sound/player.h"

namespace kelvora {

// The sound player of the system the program runs on. Linux: the sound
// server's own stream (pulse/pulse_player.h) where a server answers at
// start, else PortAudio on ALSA's default device (portaudio_player.h);
// Windows: a shared-mode stream of the audio engine (WASAPI). Play returns once the sound
// has been played; a sound that cannot be played is skipped without a word.
class SystemPlayer final : public WavePlayer {
 public:
  SystemPlayer();
  ~SystemPlayer() override;

  // Starts the sound service where starting it takes a while, and returns at
  // once; called once the first window has been painted.
  void StartInBackground();

  PlayOutcome Play(std::span<const std::uint8_t> image) override;
  void SetEar(Ear ear) override;

  // The output the sounds from now on go to, by the id ListOutputDevices
  // gives it (platform/audio/output_devices.h); "" for the system's default.
  void SetOutput(std::string deviceId);
  // The chosen output's id, once, after a Play found it absent and played on
  // the default output instead.
  std::optional<std::string> TakeMissingOutput();

 private:
  struct Device;
  std::unique_ptr<Device> m_device;
};

}  // namespace kelvora
