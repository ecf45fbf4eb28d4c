#pragma once

#include <cstdint>
#include <span>

#include "sound/player.h"

namespace kelvora {

// Plays WaveImages on the default output device, 48000 Hz mono 16-bit,
// through PortAudio's blocking API; for one ear, on two channels with the
// other one silent. Play returns once the last sample has
// been played; a sound that cannot be played is skipped without a word, and
// the outcome says so.
//
// Every PortAudio call runs on one sound thread of the process, so a sound
// server that stops answering can hold up that thread but never the caller:
// Play gives up on a sound once its length plus a second has passed, and the
// sounds that follow are skipped until the server answers again.
//
// The sound service is started once per process and closed when the process
// ends: starting it enumerates every device, which is too slow to repeat for
// each sound, and competes with the first window for the processor.
class PortAudioPlayer : public WavePlayer {
 public:
  // Starts the sound service on the sound thread and returns at once. The
  // first Play waits for the start, at most a couple of seconds.
  void StartInBackground();

  // Starts the sound service and waits for it. Harmless when started.
  void Initialize();

  PlayOutcome Play(std::span<const std::uint8_t> image) override;
  void SetEar(Ear ear) override { m_ear = ear; }

 private:
  Ear m_ear = Ear::Both;
};

}  // namespace kelvora
