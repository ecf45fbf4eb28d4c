#include "results/staircase.h"

#include <algorithm>
#include <map>

namespace kelvora {

StaircaseModel BuildStaircase(const std::vector<HistoryRecord>& session) {
  StaircaseModel model;
  for (const HistoryRecord& r : session) {
    model.points.push_back({static_cast<int>(model.points.size()) + 1, r.frequencyHz,
                            r.correct ? Marker::Circle : Marker::Cross});
    if (r.recordHz) model.recordHz = std::max(model.recordHz.value_or(0), *r.recordHz);
  }
  return model;
}

std::vector<SessionPoint> BuildSessions(const std::vector<HistoryRecord>& file,
                                        const std::vector<HistoryRecord>& current) {
  const std::int64_t currentSession = current.empty() ? -1 : current.front().session;
  std::map<std::int64_t, SessionPoint> sessions;
  auto add = [&sessions](const HistoryRecord& r) {
    const std::optional<std::int64_t> time = ParseIsoTime(r.time);
    if (!time || !r.recordHz || *r.recordHz <= 0) return;
    auto [it, fresh] = sessions.try_emplace(r.session, SessionPoint{r.session, *time, r.ear, 0});
    it->second.time = std::max(it->second.time, *time);
    it->second.ear = r.ear;
    it->second.recordHz = std::max(it->second.recordHz, *r.recordHz);
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

}  // namespace kelvora
