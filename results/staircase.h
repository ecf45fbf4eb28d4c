#pragma once

// What the results window draws, as data: this session's staircase, one
// point per past session, and the axes that fit them. No Qt here.

#include <cstdint>
#include <optional>
#include <vector>

#include "results/history.h"

namespace kelvora {

enum class Marker { Circle, Cross };

struct StaircasePoint {
  int check;  // the check's place among the session's answered checks, from 1
  int frequencyHz;
  Marker marker;            // a circle for a right answer, a cross otherwise
  bool confirming = false;  // a check of a record's confirmation
};

enum class LevelOutcome { Confirmed, Failed, Unfinished };

// One run of confirmation checks at one frequency.
struct ConfirmationLevel {
  int levelHz;
  int firstCheck;
  int lastCheck;
  LevelOutcome outcome;
};

struct StaircaseModel {
  // Checks whose pattern did not play are left out: their answers say
  // nothing about hearing. Their numbers stay free, so the gap shows.
  std::vector<StaircasePoint> points;
  std::vector<ConfirmationLevel> levels;
  std::optional<int> recordHz;  // the highest frequency answered right, if any
};

StaircaseModel BuildStaircase(const std::vector<HistoryRecord>& session);

struct SessionPoint {
  std::int64_t session;
  std::int64_t time;  // seconds since the epoch of the session's last check
  Ear ear;
  int recordHz;
  std::optional<int> confirmedHz;  // the highest level the session confirmed
};

// One point per session with a record, oldest first. The lines of
// `current` replace whatever the file holds of their session, so the session
// under way shows even when the file could not be written.
std::vector<SessionPoint> BuildSessions(const std::vector<HistoryRecord>& file,
                                        const std::vector<HistoryRecord>& current);

// An axis that holds every value with a little room on both sides, and its
// ticks at round steps (1, 2 or 5 times a power of ten; for time, round
// minutes, hours and days).
struct Axis {
  double low = 0;
  double high = 1;
  std::vector<std::int64_t> ticks;
  bool withinADay = true;  // time axes: ticks less than a day apart
};

Axis FitFrequencyAxis(int lowestHz, int highestHz);
// `utcOffset` (seconds east of UTC) puts time ticks on the local clock's
// round minutes and hours.
Axis FitTimeAxis(std::int64_t first, std::int64_t last, int utcOffset);

}  // namespace kelvora
