#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "check/record_confirmation.h"
#include "sound/wave_buffer.h"

namespace kelvora {

class CheckObserver;
class SessionWindow;

enum class CheckState : int { Idle = 0, Busy = 1, AwaitingAnswer = 2 };

// The hearing check: its fields, the staircase, the manual frequency commands
// and the two control arrangements. The main dialog owns one and routes the
// command numbers to the handlers; every handler tests m_state itself because
// keys deliver commands even while their buttons are disabled.
class CheckSession {
 public:
  explicit CheckSession(SessionWindow& window);
  virtual ~CheckSession() = default;
  CheckSession(const CheckSession&) = delete;
  CheckSession& operator=(const CheckSession&) = delete;

  // Takes the three sound buffers in order (test, chime, buzz). On failure the
  // buffers already taken are released again and false is returned.
  bool AllocateBuffers();
  // Gives back whatever buffers are still held (test, chime, buzz).
  void ReleaseBuffers();

  // Who is told each judged check and the course of a confirmation; none by
  // default. Not owned.
  void SetObserver(CheckObserver* observer) { observer_ = observer; }

  // Sets the session's initial values for `volume` and renders the chime and
  // the buzz once at that volume.
  void Begin(std::int32_t volume);

  // Check and scoring.
  void OnStartCheck();
  void OnAnswer1();
  void OnAnswer2();
  void OnAnswer3();
  void OnAnswer4();
  void OnAnswer5();
  void OnWrongAnswer();
  void OnCorrectAnswer();
  void OnRestart();
  void OnAutoChange();
  void ResetStepForBand();

  // Confirming the record: starts at the record's frequency in Idle, and
  // ends without a result when chosen again.
  void OnConfirmRecord();
  // Whether the item may be chosen once the session is Idle: a record to
  // confirm, or a confirmation to end.
  bool CanConfirmRecord() const { return m_maxHeard != 0 || m_confirmation.has_value(); }
  // The level of the confirmation that runs, if one does.
  std::optional<std::int32_t> ConfirmingLevel() const;

  // Manual frequency commands.
  void OnUp1k();
  void OnDown1k();
  void OnUp100();
  void OnDown100();
  void OnUp10();
  void OnDown10();
  void OnSet8k();
  void OnSet16k();

  // Sounds from the menu that pass the session through Busy.
  void OnContinuousTone();
  void OnSilence();

  void ArrangeIdleControls();
  void ArrangeBusyControls();

  // Routes a command number to its handler; false if it is not a session command.
  bool HandleCommand(int id);

  CheckState m_state = CheckState::Idle;
  std::int32_t m_frequency = 8000;
  std::int32_t m_step = 2000;
  std::int32_t m_maxHeard = 0;
  std::int32_t m_trialCount = 0;
  std::int32_t m_correctCount = 0;
  std::int32_t m_answerCount = 0;
  std::array<bool, 5> m_slots{};
  bool m_autoChange = true;
  std::int32_t m_volume = 9000;
  // Whether the last test pattern was played whole.
  bool m_patternPlayed = true;
  std::optional<RecordConfirmation> m_confirmation;

  WaveBuffer m_testWave;
  WaveBuffer m_chimeWave;
  WaveBuffer m_buzzWave;

 private:
  void OnAnswer(int heard);
  // Tells the confirmation and the observer about the check just judged;
  // returns what the confirmation made of it.
  RecordConfirmation::Outcome Judge(int answer, bool correct);
  // After the check is over: the frequency and the news of a confirmation
  // that moved on or ended.
  void FinishConfirmationStep(RecordConfirmation::Outcome outcome);
  void EndConfirmation();
  void OnFrequencyCommand();
  SessionWindow& window_;
  CheckObserver* observer_ = nullptr;
  int lastAnswer_ = 0;
};

// The answer reveal dialog's pattern line, in UTF-8.
std::string ComposeAnswerPattern(const std::array<bool, 5>& slots);

}  // namespace kelvora
