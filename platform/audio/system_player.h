#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "sound/player.h"

namespace kelvora {

// The sound player of the system the program runs on: PortAudio on Linux
// (portaudio_player.h), a shared-mode stream of the audio engine (WASAPI) on
// Windows.
// Play returns once the sound has been played; a sound that cannot be played
// is skipped without a word.
class SystemPlayer final : public WavePlayer {
 public:
  SystemPlayer();
  ~SystemPlayer() override;

  // Starts the sound service where starting it takes a while, and returns at
  // once; called once the first window has been painted.
  void StartInBackground();

  PlayOutcome Play(std::span<const std::uint8_t> image) override;
  void SetEar(Ear ear) override;

  // The output the sounds from now on play on, by the system's id for it
  // (output_devices.h); "" is the default output.
  void SetOutput(std::string deviceId);
  // The chosen output's id, once, after a Play found it absent and played on
  // the default output instead; nothing again until it is chosen anew or a
  // Play has found it present again.
  std::optional<std::string> TakeMissingOutput();

 private:
  struct Device;
  std::unique_ptr<Device> m_device;
};

}  // namespace kelvora
