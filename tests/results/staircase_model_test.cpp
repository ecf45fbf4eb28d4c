// What the results window is to draw, from the lines of a session and a file.

#include <gtest/gtest.h>

#include "results/staircase.h"

namespace kelvora {
namespace {

HistoryRecord Line(std::int64_t session, const char* time, int hz, int answer, bool correct,
                   std::optional<int> record, Ear ear = Ear::Both) {
  HistoryRecord r;
  r.session = session;
  r.time = time;
  r.frequencyHz = hz;
  r.answer = answer;
  r.correct = correct;
  r.recordHz = record;
  r.ear = ear;
  return r;
}

TEST(StaircaseModel, RightAnswersAreCirclesOthersCrossesAndTheRecordIsTheHighestRight) {
  const char* t = "2026-12-08T23:41:22+09:00";
  struct Case {
    const char* name;
    std::vector<HistoryRecord> session;
    std::vector<Marker> markers;
    std::optional<int> record;
  };
  const Case cases[] = {
      {"no check yet", {}, {}, std::nullopt},
      {"a wrong answer and a don't know: no record",
       {Line(1, t, 8000, 2, false, {}), Line(1, t, 7000, 0, false, {})},
       {Marker::Cross, Marker::Cross},
       std::nullopt},
      {"right, wrong, right, don't know",
       {Line(1, t, 8000, 3, true, 8000), Line(1, t, 10000, 1, false, 8000),
        Line(1, t, 9000, 4, true, 9000), Line(1, t, 10000, 0, false, 9000)},
       {Marker::Circle, Marker::Cross, Marker::Circle, Marker::Cross},
       9000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StaircaseModel model = BuildStaircase(c.session);
    ASSERT_EQ(model.points.size(), c.session.size());
    for (std::size_t n = 0; n < model.points.size(); ++n) {
      EXPECT_EQ(model.points[n].check, static_cast<int>(n) + 1);
      EXPECT_EQ(model.points[n].frequencyHz, c.session[n].frequencyHz);
      EXPECT_EQ(model.points[n].marker, c.markers[n]) << "check " << n + 1;
    }
    EXPECT_EQ(model.recordHz, c.record);
  }
}

TEST(StaircaseModel, PastSessionsOnePointEachWithTheCurrentSessionFromMemory) {
  const std::vector<HistoryRecord> file = {
      Line(5, "2026-01-02T10:00:00+09:00", 8000, 1, true, 8000, Ear::Left),
      Line(5, "2026-01-02T10:01:00+09:00", 12000, 1, true, 12000, Ear::Left),
      Line(3, "2026-01-01T10:00:00+09:00", 8000, 0, false, {}),  // no record: no point
      Line(4, "2026-01-01T09:00:00+09:00", 9000, 2, true, 9000, Ear::Right),
      // The session under way, whose second line the file could not take.
      Line(9, "2026-01-03T10:00:00+09:00", 8000, 1, true, 8000),
  };
  const std::vector<HistoryRecord> current = {
      Line(9, "2026-01-03T10:00:00+09:00", 8000, 1, true, 8000),
      Line(9, "2026-01-03T10:02:00+09:00", 10000, 1, true, 10000),
  };
  const std::vector<SessionPoint> points = BuildSessions(file, current);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].session, 4);
  EXPECT_EQ(points[0].ear, Ear::Right);
  EXPECT_EQ(points[1].session, 5);
  EXPECT_EQ(points[1].recordHz, 12000);
  EXPECT_EQ(points[1].time, *ParseIsoTime("2026-01-02T10:01:00+09:00"));
  EXPECT_EQ(points[2].session, 9);
  EXPECT_EQ(points[2].recordHz, 10000);
}

}  // namespace
}  // namespace kelvora
