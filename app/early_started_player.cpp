#include "app/early_started_player.h"

namespace kelvora {

EarlyStartedPlayer::EarlyStartedPlayer() : m_starting([this] { m_player.Initialize(); }) {}

// The service itself is closed at process exit, after this thread is gone.
EarlyStartedPlayer::~EarlyStartedPlayer() { WaitForStart(); }

void EarlyStartedPlayer::Play(std::span<const std::uint8_t> image) {
  WaitForStart();
  m_player.Play(image);
}

void EarlyStartedPlayer::WaitForStart() {
  if (m_starting.joinable()) m_starting.join();
}

}  // namespace kelvora
