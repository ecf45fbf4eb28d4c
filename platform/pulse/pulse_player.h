#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/output_path.h"
#include "sound/player.h"

namespace kelvora::pulse {

// Plays WaveImages through the sound server (PulseAudio, or PipeWire's
// PulseAudio service) on a playback stream of our own, "Kelvora", on the
// chosen sink or the default one: 48000 Hz, 16-bit, mono; for one ear two
// channels with the other one silent. Play returns once the sound and the
// silence after it have been played out (drained). Every wait is bounded:
// a server that stops answering, or a sink that goes away under the sound,
// gives the sound up (GivenUp); no server or no sink: NotOpened. Never starts
// a server.
//
// Between sounds the stream stays on its sink, corked: the sound-path
// question reads the sink it plays into (QueryPath), and the desktop's volume
// controls show one stream of ours for the whole run.
//
// Play, QueryPath and Connect may be called from different threads; they
// take turns.
class PulsePlayer final : public WavePlayer {
 public:
  // `server` as PULSE_SERVER takes it; empty for the usual one.
  explicit PulsePlayer(std::string server = {});
  ~PulsePlayer() override;
  PulsePlayer(const PulsePlayer&) = delete;
  PulsePlayer& operator=(const PulsePlayer&) = delete;

  // True when the server answers within `bound`.
  bool Connect(std::chrono::milliseconds bound);

  PlayOutcome Play(std::span<const std::uint8_t> image) override;
  void SetEar(Ear ear) override;

  // The sink the sounds from now on go to, by name; empty for the default.
  void SetOutput(std::string sinkName);
  // The chosen sink's name, once, after a Play found it absent and played on
  // the default sink instead; then nothing until the sink has been seen again.
  std::optional<std::string> TakeMissingOutput();

  // What the sink that our stream plays into on output `sinkName` (empty: the
  // default; an absent one: the default, where the sound would go) is like
  // while our stream is on it, for the ear chosen now. Waits at most `bound`;
  // while a sound plays, the answer read when its stream was placed.
  std::optional<platform::OutputPath> QueryPath(std::chrono::milliseconds bound,
                                                const std::string& sinkName);

 private:
  struct State;
  std::unique_ptr<State> m_state;
};

// The sound-path question asks the program's own player, once the program
// knows whether it plays through the server. Expect... says that it will be
// told; Set... tells (null: not through the server) and, with null, waits
// for a question still asking the player before that goes.
void ExpectProgramPlayer();
void SetProgramPlayer(PulsePlayer* player);

// Answers platform::QueryOutputPath: through the program's player, or where
// the program plays otherwise, as such a player would find it.
std::optional<platform::OutputPath> QueryProgramPath(std::chrono::milliseconds bound,
                                                     const std::string& sinkName);

}  // namespace kelvora::pulse
