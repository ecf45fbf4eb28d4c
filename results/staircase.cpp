#include "results/staircase.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace kelvora {
namespace {

// A fifteenth of the span on each side keeps the outermost marks whole
// while the data fill most of the picture.
constexpr double kRoomShare = 1.0 / 15;

std::vector<std::int64_t> TicksWithin(double low, double high, std::int64_t step,
                                      std::int64_t shift) {
  std::vector<std::int64_t> ticks;
  const auto first = static_cast<std::int64_t>(std::ceil((low + static_cast<double>(shift)) /
                                                         static_cast<double>(step))) *
                         step -
                     shift;
  for (std::int64_t t = first; static_cast<double>(t) <= high; t += step) ticks.push_back(t);
  return ticks;
}

}  // namespace

StaircaseModel BuildStaircase(const std::vector<HistoryRecord>& session) {
  StaircaseModel model;
  int check = 0;
  int wrongAtLevel = 0;
  bool afterConfirming = false;  // the last played check belonged to a confirmation
  for (const HistoryRecord& r : session) {
    ++check;
    if (!r.played) continue;
    model.points.push_back({check, r.frequencyHz, r.correct ? Marker::Circle : Marker::Cross,
                            r.confirmingHz.has_value()});
    if (r.correct) model.recordHz = std::max(model.recordHz.value_or(0), r.frequencyHz);
    const bool continues = afterConfirming;
    afterConfirming = r.confirmingHz.has_value();
    if (!r.confirmingHz) continue;
    // A level ends with its outcome, at another level, or when checks of the
    // staircase come between (a confirmation ended without a result).
    ConfirmationLevel* level = model.levels.empty() ? nullptr : &model.levels.back();
    if (!continues || !level || level->levelHz != *r.confirmingHz ||
        level->outcome != LevelOutcome::Unfinished) {
      model.levels.push_back({*r.confirmingHz, check, check, LevelOutcome::Unfinished});
      level = &model.levels.back();
      wrongAtLevel = 0;
    }
    level->lastCheck = check;
    if (!r.correct) ++wrongAtLevel;
    if (r.confirmedHz && *r.confirmedHz == level->levelHz) {
      level->outcome = LevelOutcome::Confirmed;
    } else if (wrongAtLevel >= 2) {
      level->outcome = LevelOutcome::Failed;
    }
  }
  return model;
}

std::vector<SessionPoint> BuildSessions(const std::vector<HistoryRecord>& file,
                                        const std::vector<HistoryRecord>& current) {
  const std::int64_t currentSession = current.empty() ? -1 : current.front().session;
  std::map<std::int64_t, SessionPoint> sessions;
  auto add = [&sessions](const HistoryRecord& r) {
    const std::optional<std::int64_t> time = ParseIsoTime(r.time);
    if (!time || !r.played || !r.correct || r.frequencyHz <= 0) return;
    auto [it, fresh] =
        sessions.try_emplace(r.session, SessionPoint{r.session, *time, r.ear, 0, std::nullopt});
    SessionPoint& point = it->second;
    point.time = std::max(point.time, *time);
    point.ear = r.ear;
    point.recordHz = std::max(point.recordHz, r.frequencyHz);
    if (r.confirmedHz) point.confirmedHz = std::max(point.confirmedHz.value_or(0), *r.confirmedHz);
  };
  for (const HistoryRecord& r : file) {
    if (r.session != currentSession) add(r);
  }
  for (const HistoryRecord& r : current) add(r);
  std::vector<SessionPoint> points;
  points.reserve(sessions.size());
  for (const auto& [number, point] : sessions) points.push_back(point);
  std::stable_sort(points.begin(), points.end(),
                   [](const SessionPoint& a, const SessionPoint& b) { return a.time < b.time; });
  return points;
}

Axis FitFrequencyAxis(int lowestHz, int highestHz) {
  double low = std::min(lowestHz, highestHz);
  double high = std::max(lowestHz, highestHz);
  // Less than 1 000 Hz of data still gets 1 000 Hz of axis around it.
  if (high - low < 1000) {
    const double middle = (low + high) / 2;
    low = std::max(0.0, middle - 500);
    high = low + 1000;
  }
  const double room = (high - low) * kRoomShare;
  low = std::max(0.0, low - room);
  high += room;
  std::int64_t step = 1;
  for (std::int64_t scale = 1;; scale *= 10) {
    for (std::int64_t factor : {1, 2, 5}) {
      step = factor * scale;
      if ((high - low) / static_cast<double>(step) <= 6) {
        return {low, high, TicksWithin(low, high, step, 0), true};
      }
    }
  }
}

Axis FitTimeAxis(std::int64_t first, std::int64_t last, int utcOffset) {
  double low = static_cast<double>(std::min(first, last));
  double high = static_cast<double>(std::max(first, last));
  // A single session gets an hour around it.
  if (high - low < 3600) {
    const double middle = (low + high) / 2;
    low = middle - 1800;
    high = middle + 1800;
  }
  const double room = (high - low) * kRoomShare;
  low -= room;
  high += room;
  constexpr std::int64_t kDay = 86400;
  constexpr std::int64_t kSteps[] = {
      600,  900,      1800,     3600,      7200,      10800,     21600,      43200,
      kDay, 2 * kDay, 7 * kDay, 14 * kDay, 28 * kDay, 91 * kDay, 182 * kDay, 364 * kDay};
  std::int64_t step = kSteps[0];
  for (std::int64_t candidate : kSteps) {
    step = candidate;
    if ((high - low) / static_cast<double>(step) <= 5) break;
  }
  while ((high - low) / static_cast<double>(step) > 5) step *= 2;
  return {low, high, TicksWithin(low, high, step, utcOffset), step < kDay};
}

}  // namespace kelvora
