#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "check/check_session.h"
#include "check/session_probe.h"
#include "check/session_window.h"
#include "sound/player.h"
#include "sound/wave_buffer.h"

namespace kelvora::testing {

// A main window that writes down every call as a line of text and never
// waits: Sleep and Play return at once, and the clock is whatever `now` says.
class RecordingWindow final : public SessionWindow {
 public:
  // Names the session's buffers in the log ("play test", "play chime", ...).
  void Watch(const CheckSession& session) { m_session = &session; }

  void EnableControl(SessionCommand control, bool enabled) override {
    Log("enable " + NameOf(control) + (enabled ? " 1" : " 0"));
  }
  void EnableMenuItem(SessionCommand item, bool enabled) override {
    Log("menu " + NameOf(item) + (enabled ? " 1" : " 0"));
  }
  void CheckMenuItem(SessionCommand item, bool checked) override {
    Log("check " + NameOf(item) + (checked ? " 1" : " 0"));
  }
  // The command as the log writes it: its name in the enumeration.
  static std::string NameOf(SessionCommand command) {
    static constexpr const char* kNames[] = {
        "Start",    "Answer1",       "Answer2", "Answer3", "Answer4",    "Answer5",
        "DontKnow", "Restart",       "Up1k",    "Down1k",  "Up100",      "Down100",
        "Up10",     "Down10",        "Set8k",   "Set16k",  "AutoChange", "ContinuousTone",
        "Silence",  "ConfirmRecord", "Volume"};
    return kNames[static_cast<int>(command)];
  }
  void BeginWaitCursor() override { Log("wait begin"); }
  void EndWaitCursor() override { Log("wait end"); }
  void DrawStatusPanel() override { Log("panel"); }
  void DrawCorrectMark() override { Log("mark correct"); }
  void DrawWrongMark() override { Log("mark wrong"); }
  void ShowAnswer(int checkFrequency, int answerCount, const std::array<bool, 5>& slots) override {
    if (m_session != nullptr) stateAtAnswer = m_session->view().state;
    Log("answer " + std::to_string(checkFrequency) + " | " + std::to_string(answerCount) + " | " +
        SlotsText(slots));
  }
  // "10110": which slots sounded.
  static std::string SlotsText(const std::array<bool, 5>& slots) {
    std::string text;
    for (bool tone : slots) text += tone ? '1' : '0';
    return text;
  }
  void Sleep(int milliseconds) override { Log("sleep " + std::to_string(milliseconds)); }
  PlayOutcome Play(std::span<const std::uint8_t> image) override {
    Log("play " + BufferName(image));
    // What the listener hears is the image as it stands at this moment.
    played.assign(WaveImageBytes(image).begin(), WaveImageBytes(image).end());
    if (onPlay) onPlay();
    return BufferName(image) == "test" ? patternOutcome : PlayOutcome::Played;
  }
  std::time_t Now() override {
    Log("time");
    return now;
  }

  std::vector<std::string> log;
  std::time_t now = 1000;
  std::vector<std::uint8_t> played;
  CheckState stateAtAnswer = CheckState::Idle;
  // Runs while a sound "plays", as if a command arrived in the middle of it.
  std::function<void()> onPlay;
  // What becomes of each test pattern.
  PlayOutcome patternOutcome = PlayOutcome::Played;

 private:
  void Log(std::string line) { log.push_back(std::move(line)); }

  std::string BufferName(std::span<const std::uint8_t> bytes) const {
    const std::uint8_t* image = bytes.data();
    if (m_session == nullptr) return "?";
    if (image == SessionProbe(*m_session).testWave.data()) return "test";
    if (image == SessionProbe(*m_session).chimeWave.data()) return "chime";
    if (image == SessionProbe(*m_session).buzzWave.data()) return "buzz";
    return "?";
  }

  const CheckSession* m_session = nullptr;
};

}  // namespace kelvora::testing

namespace kelvora {

// Tests name a command in their messages as the log does.
inline std::ostream& operator<<(std::ostream& out, SessionCommand command) {
  return out << testing::RecordingWindow::NameOf(command);
}

}  // namespace kelvora
