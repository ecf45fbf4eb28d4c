#pragma once

// What the results window draws, as data: this session's staircase and one
// point per past session. No Qt here.

#include <cstdint>
#include <optional>
#include <vector>

#include "results/history.h"

namespace kelvora {

enum class Marker { Circle, Cross };

struct StaircasePoint {
  int check;  // 1 for the first answered check
  int frequencyHz;
  Marker marker;  // a circle for a right answer, a cross otherwise
};

struct StaircaseModel {
  std::vector<StaircasePoint> points;
  std::optional<int> recordHz;  // the record after the last check, if any
};

StaircaseModel BuildStaircase(const std::vector<HistoryRecord>& session);

struct SessionPoint {
  std::int64_t session;
  std::int64_t time;  // seconds since the epoch of the session's last check
  Ear ear;
  int recordHz;
};

// One point per session with a record, oldest first. The lines of
// `current` replace whatever the file holds of their session, so the session
// under way shows even when the file could not be written.
std::vector<SessionPoint> BuildSessions(const std::vector<HistoryRecord>& file,
                                        const std::vector<HistoryRecord>& current);

}  // namespace kelvora
