// How far a confirmed record and a bare record lie from the listener's true
// limit, with the session's own rules and a simulated listener; no window and
// no sound. Run by hand (build-dir/bench/kelvora_confirmation_sim).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "check/check_observer.h"
#include "check/check_session.h"
#include "check/session_probe.h"
#include "check/session_window.h"

namespace {

using kelvora::CheckObserver;
using kelvora::CheckSession;
using kelvora::ConfirmationEvent;
using kelvora::JudgedCheck;
using kelvora::PlayOutcome;
using kelvora::SessionProbe;

constexpr int kSessions = 4000;
constexpr int kStaircaseChecks = 30;
constexpr double kLapse = 0.02;
// A confirmation walks down 250 Hz a level; from 22 kHz it ends well within this.
constexpr int kMaxConfirmationChecks = 1000;

// A window that does nothing, with an instant clock that still moves on, so
// that each check draws a new pattern.
class SilentWindow : public kelvora::SessionWindow {
 public:
  void EnableControl(kelvora::SessionCommand, bool) override {}
  void EnableMenuItem(kelvora::SessionCommand, bool) override {}
  void CheckMenuItem(kelvora::SessionCommand, bool) override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  void DrawStatusPanel() override {}
  void DrawCorrectMark() override {}
  void DrawWrongMark() override {}
  void ShowAnswer(int, int, const std::array<bool, 5>&) override {}
  void Sleep(int) override {}
  PlayOutcome Play(std::span<const std::uint8_t>) override { return PlayOutcome::Played; }
  std::time_t Now() override { return ++m_clock; }

 private:
  std::time_t m_clock = 0;
};

// Counts the checks of the confirmation and keeps how it ended.
class ConfirmationLog : public CheckObserver {
 public:
  void OnCheckJudged(const JudgedCheck& check) override {
    if (check.confirmingHz) ++checks;
  }
  void OnConfirmation(ConfirmationEvent event, int level, int, int) override {
    if (event == ConfirmationEvent::Confirmed) confirmed = level;
    if (event == ConfirmationEvent::Confirmed || event == ConfirmationEvent::NoLevel) ended = true;
  }
  int checks = 0;
  int confirmed = 0;  // 0 while no level is confirmed
  bool ended = false;
};

enum class Kind { Guessing, Unsure };

struct Listener {
  double alpha = 0;
  double spread = 0;
  Kind kind = Kind::Guessing;
};

// One answer to the pattern the session just played.
void Answer(CheckSession& session, const Listener& listener, std::mt19937& rng) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  const double pHear =
      1.0 / (1.0 + std::exp((session.view().frequency - listener.alpha) / listener.spread));
  const bool heard = unit(rng) < pHear;
  int answer = SessionProbe(session).answerCount;
  if (heard && unit(rng) < kLapse) {
    // A lapse: a wrong count, or unsure.
    if (listener.kind == Kind::Unsure) {
      answer = 0;
    } else {
      answer = (answer + std::uniform_int_distribution<int>(0, 3)(rng)) % 5 + 1;
    }
  } else if (!heard) {
    answer = listener.kind == Kind::Unsure ? 0 : std::uniform_int_distribution<int>(1, 5)(rng);
  }
  switch (answer) {
    case 1:
      session.OnAnswer1();
      break;
    case 2:
      session.OnAnswer2();
      break;
    case 3:
      session.OnAnswer3();
      break;
    case 4:
      session.OnAnswer4();
      break;
    case 5:
      session.OnAnswer5();
      break;
    default:
      session.OnWrongAnswer();  // "分からない！"
      break;
  }
}

double Percentile(std::vector<double> values, double q) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const double pos = q * static_cast<double>(values.size() - 1);
  const auto low = static_cast<std::size_t>(pos);
  const std::size_t high = std::min(low + 1, values.size() - 1);
  return values[low] + (pos - static_cast<double>(low)) * (values[high] - values[low]);
}

void Simulate(Kind kind, const char* name, unsigned seed) {
  std::mt19937 rng(seed);
  SilentWindow window;
  CheckSession session(window);
  if (!session.AllocateBuffers()) {
    std::printf("%s: no buffers\n", name);
    return;
  }
  session.Begin(9000);
  std::uniform_real_distribution<double> alphaDist(11000.0, 19000.0);
  const double spreads[] = {150.0, 300.0, 600.0};
  std::vector<double> confirmedOff, recordOff, checks;
  int noLevel = 0;
  ConfirmationLog log;
  session.AddObserver(log);
  for (int s = 0; s < kSessions; ++s) {
    Listener listener;
    listener.kind = kind;
    listener.alpha = alphaDist(rng);
    listener.spread = spreads[std::uniform_int_distribution<int>(0, 2)(rng)];
    log = ConfirmationLog();
    session.OnRestart();  // a fresh run at 8000 Hz, automatic change on
    for (int c = 0; c < kStaircaseChecks; ++c) {
      session.OnStartCheck();
      Answer(session, listener, rng);
    }
    const double record = session.view().record;
    if (record > 0) recordOff.push_back(record - listener.alpha);
    session.OnConfirmRecord();
    for (int c = 0; c < kMaxConfirmationChecks && session.view().confirmingLevel; ++c) {
      session.OnStartCheck();
      Answer(session, listener, rng);
    }
    // Ends one still running (never, in practice); choosing it again would start a new one.
    if (session.view().confirmingLevel) session.OnConfirmRecord();
    if (log.checks > 0) checks.push_back(log.checks);
    if (log.confirmed > 0) {
      confirmedOff.push_back(log.confirmed - listener.alpha);
    } else {
      ++noLevel;
    }
  }
  session.ReleaseBuffers();

  std::printf("%s listener, %d sessions of %d checks, then a confirmation\n", name, kSessions,
              kStaircaseChecks);
  std::printf("  %-24s %8s %8s %8s\n", "", "median", "10th", "90th");
  std::printf("  %-24s %+8.0f %+8.0f %+8.0f\n", "confirmed - alpha (Hz)",
              Percentile(confirmedOff, 0.5), Percentile(confirmedOff, 0.1),
              Percentile(confirmedOff, 0.9));
  std::printf("  %-24s %+8.0f %+8.0f %+8.0f\n", "record - alpha (Hz)", Percentile(recordOff, 0.5),
              Percentile(recordOff, 0.1), Percentile(recordOff, 0.9));
  std::printf("  %-24s %8.0f %8s %8.0f\n", "confirmation checks", Percentile(checks, 0.5), "",
              Percentile(checks, 0.9));
  std::printf("  ended without a confirmed level: %d of %d\n\n", noLevel, kSessions);
}

}  // namespace

int main() {
  Simulate(Kind::Guessing, "Guessing", 20261209u);
  Simulate(Kind::Unsure, "Unsure (\"分からない！\")", 20261210u);
  return 0;
}
