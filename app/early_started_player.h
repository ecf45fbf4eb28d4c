#pragma once

#include <cstdint>
#include <thread>

#include "platform/audio/portaudio_player.h"
#include "sound/player.h"

namespace kelvora {

// The PortAudio player, with the sound service started on a thread of its own
// as the program starts: starting it enumerates every device, which would
// otherwise hold up the volume dialog or the first sound. The first Play
// waits for the start to finish; no later sound waits for anything.
class EarlyStartedPlayer : public WavePlayer {
 public:
  EarlyStartedPlayer();
  ~EarlyStartedPlayer() override;
  EarlyStartedPlayer(const EarlyStartedPlayer&) = delete;
  EarlyStartedPlayer& operator=(const EarlyStartedPlayer&) = delete;

  // Called on the UI thread only.
  void Play(std::span<const std::uint8_t> image) override;

 private:
  void WaitForStart();

  PortAudioPlayer m_player;
  std::thread m_starting;
};

}  // namespace kelvora
