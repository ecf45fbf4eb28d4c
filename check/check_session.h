#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/frequency_staircase.h"
#include "check/record_confirmation.h"
#include "check/session_command.h"
#include "sound/ear.h"
#include "sound/volume.h"
#include "sound/wave_buffer.h"

namespace kelvora {

class CheckObserver;
class SessionWindow;

enum class CheckState : int { Idle = 0, Busy = 1, AwaitingAnswer = 2 };

// What the window may read of the session: what the panel, the title and the
// menu show. The pattern being tested stays hidden.
struct SessionView {
  CheckState state = CheckState::Idle;
  std::int32_t frequency = 0;
  std::int32_t step = 0;
  std::int32_t record = 0;  // the highest frequency heard; 0 while there is none
  std::int32_t trials = 0;  // the rate's counts
  std::int32_t corrects = 0;
  bool autoChange = true;
  std::int32_t volume = 0;
  Ear ear = Ear::Both;
  // The level of the confirmation that runs, if one does.
  std::optional<std::int32_t> confirmingLevel;
  // Its counts at that level so far; 0 while none runs.
  int confirmingRights = 0;
  int confirmingChecks = 0;
  bool operator==(const SessionView&) const = default;
};

// The hearing check: its fields, the staircase, the manual frequency commands
// and the two control arrangements. The main dialog owns one and routes the
// commands to the handlers; every handler tests m_state itself because
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

  // Who is told each judged check and the course of a confirmation, in the
  // order added; none by default. Not owned.
  void AddObserver(CheckObserver& observer) { m_observers.push_back(&observer); }

  SessionView view() const;

  // The level every sound rendered from now on takes.
  void SetVolume(std::int32_t volume) { m_volume = volume; }
  // A record belongs to one ear: another ear starts the session afresh. Only
  // between checks; false when nothing changed.
  bool ChooseEar(Ear ear);

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
  // The step of the band the frequency is in, and the rate's counts afresh.
  void ResetStepForBand();

  // Confirming the record: starts at the record's frequency in Idle, and
  // ends without a result when chosen again.
  void OnConfirmRecord();
  // Whether the item may be chosen once the session is Idle: a record to
  // confirm, or a confirmation to end.
  bool CanConfirmRecord() const { return m_maxHeard != 0 || m_confirmation.has_value(); }

  // A manual frequency command; refused outside Idle.
  void OnNudge(const FrequencyNudge& nudge);

  // Sounds from the menu that pass the session through Busy.
  void OnContinuousTone();
  void OnSilence();

  void ArrangeIdleControls();
  void ArrangeBusyControls();

  // Routes a command to its handler; false for one the session does not act on.
  bool HandleCommand(SessionCommand command);

 private:
  // Tests arrange a session's state through it.
  friend struct SessionProbe;

  CheckState m_state = CheckState::Idle;
  FrequencyStaircase m_staircase;
  std::int32_t m_maxHeard = 0;
  std::int32_t m_trialCount = 0;
  std::int32_t m_correctCount = 0;
  std::int32_t m_answerCount = 0;
  std::array<bool, 5> m_slots{};
  bool m_autoChange = true;
  std::int32_t m_volume = kStartVolume;
  // Whether the last test pattern was played whole.
  bool m_patternPlayed = true;
  std::optional<RecordConfirmation> m_confirmation;

  WaveBuffer m_testWave;
  WaveBuffer m_chimeWave;
  WaveBuffer m_buzzWave;
  Ear m_ear = Ear::Both;

  void OnAnswer(int heard);
  // Tells the confirmation and the observer about the check just judged;
  // returns what the confirmation made of it.
  RecordConfirmation::Outcome Judge(int answer, bool correct);
  // After the check is over: the frequency and the news of a confirmation
  // that moved on or ended.
  void FinishConfirmationStep(RecordConfirmation::Outcome outcome);
  void EndConfirmation();
  SessionWindow& m_window;
  std::vector<CheckObserver*> m_observers;
  int m_lastAnswer = 0;
};

}  // namespace kelvora
