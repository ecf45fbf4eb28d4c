#include "check/check_session.h"

#include <cstdlib>
#include <string>
#include <utility>

#include "check/check_observer.h"
#include "check/session_window.h"
#include "sound/synthesis.h"

namespace kelvora {
namespace {

// How many times two random slots are exchanged to scatter the bursts.
constexpr int kSlotExchanges = 1001;

// Pauses around the pattern, so that it neither clips the click of the start
// key nor runs straight into the listener's answer.
constexpr int kPauseBeforePatternMs = 400;
constexpr int kPauseAfterPatternMs = 100;

// The order in which both arrangements visit their controls.
using enum SessionCommand;
constexpr SessionCommand kFrequencyButtons[] = {Up1k,    Up100,  Up10,  Down1k,
                                                Down100, Down10, Set8k, Set16k};
constexpr SessionCommand kSoundMenuItems[] = {Volume, ContinuousTone, Silence};

// The manual frequency commands. The coarse step down keeps the step and the
// score, so a listener can back off quickly without losing the run.
struct NudgeCommand {
  SessionCommand command;
  FrequencyNudge nudge;
};
constexpr NudgeCommand kNudgeCommands[] = {
    {Up1k, {.by = 1000}},  {Down1k, {.by = -1000, .restartsBand = false}},
    {Up100, {.by = 100}},  {Down100, {.by = -100}},
    {Up10, {.by = 10}},    {Down10, {.by = -10}},
    {Set8k, {.to = 8000}}, {Set16k, {.to = 16000}},
};

void Arrange(SessionWindow& window, bool idle) {
  for (SessionCommand control : kFrequencyButtons) window.EnableControl(control, idle);
  for (SessionCommand item : kSoundMenuItems) window.EnableMenuItem(item, idle);
  for (SessionCommand control : kAnswerCommands) window.EnableControl(control, false);
  window.EnableControl(Start, idle);
}

}  // namespace

CheckSession::CheckSession(SessionWindow& window) : m_window(window) {}

bool CheckSession::AllocateBuffers() {
  if (m_testWave.Allocate(kTestWaveBufferSize) && m_chimeWave.Allocate(kChimeWaveBufferSize) &&
      m_buzzWave.Allocate(kBuzzWaveBufferSize)) {
    return true;
  }
  ReleaseBuffers();
  return false;
}

void CheckSession::ReleaseBuffers() {
  m_testWave.Release();
  m_chimeWave.Release();
  m_buzzWave.Release();
}

void CheckSession::Begin(std::int32_t volume) {
  m_volume = volume;
  m_staircase = FrequencyStaircase();
  m_maxHeard = 0;
  m_state = CheckState::Idle;
  m_autoChange = true;
  m_trialCount = 0;
  m_correctCount = 0;
  // The chime and the buzz keep this volume for the whole run.
  RenderChimeAndBuzz(m_chimeWave.bytes(), m_buzzWave.bytes(), m_volume);
}

void CheckSession::OnStartCheck() {
  if (m_state != CheckState::Idle) return;
  m_state = CheckState::Busy;
  ++m_trialCount;
  m_window.BeginWaitCursor();
  std::srand(static_cast<unsigned>(m_window.Now()));
  ArrangeBusyControls();

  m_answerCount = std::rand() % 5 + 1;
  for (int k = 0; k < 5; ++k) m_slots[k] = k < m_answerCount;
  for (int n = 0; n < kSlotExchanges; ++n) {
    const int i = std::rand() % 5;
    const int j = std::rand() % 5;
    std::swap(m_slots[i], m_slots[j]);
  }

  RenderTestPattern(m_testWave.bytes(), m_staircase.frequency(), m_volume, m_slots);
  m_window.Sleep(kPauseBeforePatternMs);
  m_patternPlayed = m_window.Play(m_testWave.bytes()) == PlayOutcome::Played;
  m_window.Sleep(kPauseAfterPatternMs);
  m_window.EndWaitCursor();
  m_state = CheckState::AwaitingAnswer;
  for (SessionCommand control : kAnswerCommands) m_window.EnableControl(control, true);
}

void CheckSession::OnAnswer(int heard) {
  if (m_state != CheckState::AwaitingAnswer) return;
  m_lastAnswer = heard;
  if (heard == m_answerCount) {
    OnCorrectAnswer();
  } else {
    OnWrongAnswer();
  }
}

void CheckSession::OnAnswer1() { OnAnswer(1); }
void CheckSession::OnAnswer2() { OnAnswer(2); }
void CheckSession::OnAnswer3() { OnAnswer(3); }
void CheckSession::OnAnswer4() { OnAnswer(4); }
void CheckSession::OnAnswer5() { OnAnswer(5); }

void CheckSession::OnCorrectAnswer() {
  // Only reached through an answer; the guard keeps m_correctCount from ever
  // passing m_trialCount should it be called out of turn.
  if (m_state != CheckState::AwaitingAnswer) return;
  // The record is the frequency just tested, before the staircase moves it.
  if (m_maxHeard <= m_staircase.frequency()) m_maxHeard = m_staircase.frequency();
  const bool confirming = m_confirmation.has_value();
  const RecordConfirmation::Outcome outcome = Judge(std::exchange(m_lastAnswer, 0), true);
  // A confirmation holds the frequency at its level.
  if (m_autoChange && !confirming) m_staircase.Right();
  m_window.DrawCorrectMark();
  m_window.Play(m_chimeWave.bytes());
  ++m_correctCount;
  if (confirming) m_staircase.Hold(m_confirmation->level());
  m_window.DrawStatusPanel();
  ArrangeIdleControls();
  m_state = CheckState::Idle;
  FinishConfirmationStep(outcome);
}

void CheckSession::OnWrongAnswer() {
  if (m_state != CheckState::AwaitingAnswer) return;
  const bool confirming = m_confirmation.has_value();
  const RecordConfirmation::Outcome outcome = Judge(std::exchange(m_lastAnswer, 0), false);
  m_window.DrawWrongMark();
  m_window.Play(m_buzzWave.bytes());
  // The dialog names the frequency just tested, so it runs before the step.
  m_window.ShowAnswer(m_staircase.frequency(), m_answerCount, m_slots);
  if (confirming) {
    m_staircase.Hold(m_confirmation->level());
  } else if (m_autoChange) {
    m_staircase.Wrong();
  }
  m_window.DrawStatusPanel();
  ArrangeIdleControls();
  m_state = CheckState::Idle;
  FinishConfirmationStep(outcome);
}

// Told before the mark and the sound, so that a line kept from it is kept
// even if the program ends while the chime or the buzz plays.
RecordConfirmation::Outcome CheckSession::Judge(int answer, bool correct) {
  JudgedCheck check;
  check.frequency = m_staircase.frequency();
  check.bursts = m_answerCount;
  check.answer = answer;
  check.correct = correct;
  check.record = m_maxHeard;
  check.trials = m_trialCount;
  // The count itself grows only after the chime, as it always has.
  check.corrects = m_correctCount + (correct ? 1 : 0);
  check.played = m_patternPlayed;
  check.volume = m_volume;
  RecordConfirmation::Outcome outcome = RecordConfirmation::Outcome::Continue;
  if (m_confirmation) {
    check.confirmingHz = m_confirmation->level();
    // A pattern that was not heard whole says nothing about the level.
    if (m_patternPlayed) outcome = m_confirmation->Tell(correct);
    if (outcome == RecordConfirmation::Outcome::Confirmed) {
      check.confirmedHz = m_confirmation->level();
    }
  }
  for (CheckObserver* o : m_observers) o->OnCheckJudged(check);
  return outcome;
}

void CheckSession::FinishConfirmationStep(RecordConfirmation::Outcome outcome) {
  if (!m_confirmation) return;
  const std::int32_t level = m_confirmation->level();
  const int rights = m_confirmation->rights();
  const int checks = m_confirmation->checks();
  ConfirmationEvent event;
  switch (outcome) {
    case RecordConfirmation::Outcome::Continue:
      // A pattern not heard whole was not counted: nothing to tell.
      if (!m_patternPlayed) return;
      for (CheckObserver* o : m_observers) {
        o->OnConfirmation(ConfirmationEvent::Counted, level, rights, checks);
      }
      return;
    case RecordConfirmation::Outcome::NextLevel:
      for (CheckObserver* o : m_observers)
        o->OnConfirmation(ConfirmationEvent::NextLevel, level, 0, 0);
      return;
    case RecordConfirmation::Outcome::Confirmed:
      event = ConfirmationEvent::Confirmed;
      break;
    case RecordConfirmation::Outcome::NoLevel:
    default:
      event = ConfirmationEvent::NoLevel;
      break;
  }
  m_confirmation.reset();
  m_window.CheckMenuItem(SessionCommand::ConfirmRecord, false);
  for (CheckObserver* o : m_observers) o->OnConfirmation(event, level, rights, checks);
}

void CheckSession::OnConfirmRecord() {
  if (m_state != CheckState::Idle) return;
  if (m_confirmation) {
    EndConfirmation();
    return;
  }
  if (m_maxHeard == 0) return;
  m_confirmation.emplace(m_maxHeard);
  m_staircase.Hold(m_confirmation->level());
  m_window.CheckMenuItem(SessionCommand::ConfirmRecord, true);
  m_window.DrawStatusPanel();
  for (CheckObserver* o : m_observers) {
    o->OnConfirmation(ConfirmationEvent::Started, m_confirmation->level(), 0, 0);
  }
}

SessionView CheckSession::view() const {
  SessionView v;
  v.state = m_state;
  v.frequency = m_staircase.frequency();
  v.step = m_staircase.step();
  v.record = m_maxHeard;
  v.trials = m_trialCount;
  v.corrects = m_correctCount;
  v.autoChange = m_autoChange;
  v.volume = m_volume;
  v.ear = m_ear;
  if (m_confirmation) {
    v.confirmingLevel = m_confirmation->level();
    v.confirmingRights = m_confirmation->rights();
    v.confirmingChecks = m_confirmation->checks();
  }
  return v;
}

bool CheckSession::ChooseEar(Ear ear) {
  if (m_state != CheckState::Idle || ear == m_ear) return false;
  m_ear = ear;
  OnRestart();
  return true;
}

void CheckSession::EndConfirmation() {
  if (!m_confirmation) return;
  const std::int32_t level = m_confirmation->level();
  const int rights = m_confirmation->rights();
  const int checks = m_confirmation->checks();
  m_confirmation.reset();
  m_window.CheckMenuItem(SessionCommand::ConfirmRecord, false);
  for (CheckObserver* o : m_observers)
    o->OnConfirmation(ConfirmationEvent::Abandoned, level, rights, checks);
}

void CheckSession::OnRestart() {
  if (m_state == CheckState::Busy) return;
  EndConfirmation();
  m_trialCount = 0;
  m_correctCount = 0;
  m_staircase.Restart();
  m_maxHeard = 0;
  m_state = CheckState::Idle;
  ArrangeIdleControls();
  m_window.DrawStatusPanel();
}

void CheckSession::OnAutoChange() {
  if (m_autoChange) {
    m_window.CheckMenuItem(SessionCommand::AutoChange, false);
    m_autoChange = false;
  } else {
    m_window.CheckMenuItem(SessionCommand::AutoChange, true);
    m_autoChange = true;
  }
}

void CheckSession::ResetStepForBand() {
  m_trialCount = 0;
  m_correctCount = 0;
  m_staircase.ResetStepForBand();
}

// A frequency chosen by hand is no longer the confirmation's level, even when
// the change is refused; a refused change only redraws.
void CheckSession::OnNudge(const FrequencyNudge& nudge) {
  if (m_state != CheckState::Idle) return;
  EndConfirmation();
  if (m_staircase.Nudge(nudge) && nudge.restartsBand) {
    m_trialCount = 0;
    m_correctCount = 0;
  }
  m_window.DrawStatusPanel();
}

// The menu items of both sounds are grayed outside Idle, so neither command
// reaches the session in another state; neither tests it.
void CheckSession::OnContinuousTone() {
  m_state = CheckState::Busy;
  m_window.BeginWaitCursor();
  ArrangeBusyControls();
  RenderContinuousTone(m_testWave.bytes(), m_staircase.frequency(), m_volume);
  m_window.Play(m_testWave.bytes());
  m_window.EndWaitCursor();
  m_state = CheckState::Idle;
  ArrangeIdleControls();
}

void CheckSession::OnSilence() {
  m_state = CheckState::Busy;
  m_window.BeginWaitCursor();
  ArrangeBusyControls();
  RenderSilence(m_testWave.bytes());
  m_window.Play(m_testWave.bytes());
  m_window.EndWaitCursor();
  m_state = CheckState::Idle;
  ArrangeIdleControls();
}

void CheckSession::ArrangeIdleControls() { Arrange(m_window, true); }

void CheckSession::ArrangeBusyControls() { Arrange(m_window, false); }

bool CheckSession::HandleCommand(SessionCommand command) {
  for (const NudgeCommand& nudge : kNudgeCommands) {
    if (command == nudge.command) {
      OnNudge(nudge.nudge);
      return true;
    }
  }
  switch (command) {
    case Start:
      OnStartCheck();
      return true;
    case Answer1:
      OnAnswer1();
      return true;
    case Answer2:
      OnAnswer2();
      return true;
    case Answer3:
      OnAnswer3();
      return true;
    case Answer4:
      OnAnswer4();
      return true;
    case Answer5:
      OnAnswer5();
      return true;
    case DontKnow:
      OnWrongAnswer();
      return true;
    case Restart:
      OnRestart();
      return true;
    case AutoChange:
      OnAutoChange();
      return true;
    case ContinuousTone:
      OnContinuousTone();
      return true;
    case Silence:
      OnSilence();
      return true;
    case ConfirmRecord:
      OnConfirmRecord();
      return true;
    default:
      return false;
  }
}

}  // namespace kelvora
